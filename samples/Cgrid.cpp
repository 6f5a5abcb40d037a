#include "samples/Cgrid.h"

#include "samples/SamplesAccessible.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/forms/Palette.h"
#include "framework/ui/input/VirtualKeys.h"
#include "samples/SampleStrings.h"

#include <algorithm>

namespace folio {

namespace {
// The control's accessible object, found by its class.
const TAccessibleRegistration AccessibleRegistration(TCColorGrid::StaticClassInfo(),
                                                     CreateColorGridAccessible);
} // namespace

namespace {

const std::vector<String>& OrderingNames() {
    static const std::vector<String> Names{"go16x1", "go8x2", "go4x4", "go2x8", "go1x16"};
    return Names;
}

constexpr int SquareCount = 16;
constexpr unsigned MarkFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;

bool ValidSquare(int Index) {
    return Index >= 0 && Index < SquareCount;
}

} // namespace

const TClassInfo& TCColorGrid::StaticClassInfo() {
    using C = TCColorGrid;
    static const TClassInfo Info =
        TClassBuilder<C>("TCColorGrid", &TCustomControl::StaticClassInfo())
            .Publish("Anchors")
            .Publish("Constraints")
            .Publish("Ctl3D")
            .Publish("DragCursor")
            .Publish("DragMode")
            .Publish("Enabled")
            .Publish("Font")
            .Publish("ParentCtl3D")
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("ShowHint")
            .Publish("TabOrder")
            .Publish("TabStop", 0)
            .Publish("Visible")
            .Publish("OnClick")
            .Publish("OnDragDrop")
            .Publish("OnDragOver")
            .Publish("OnEndDrag")
            .Publish("OnEnter")
            .Publish("OnExit")
            .Publish("OnKeyDown")
            .Publish("OnKeyPress")
            .Publish("OnKeyUp")
            .Publish("OnMouseDown")
            .Publish("OnMouseMove")
            .Publish("OnMouseUp")
            .Publish("OnStartDrag")
            .Bool("ClickEnablesColor", &C::GetClickEnablesColor, &C::SetClickEnablesColor, false)
            .Int("ForegroundIndex", &C::GetForegroundIndex, &C::SetForegroundIndex, 0)
            .Int("BackgroundIndex", &C::GetBackgroundIndex, &C::SetBackgroundIndex, 0)
            .Bool("ForegroundEnabled", &C::GetForegroundEnabled, &C::EnableForeground, true)
            .Bool("BackgroundEnabled", &C::GetBackgroundEnabled, &C::EnableBackground, true)
            .Int("Selection", &C::GetSelection, &C::SetSelection, 0)
            .Enum("GridOrdering", "TGridOrdering", OrderingNames(), &C::GetGridOrdering,
                  &C::SetGridOrdering, std::optional<TGridOrdering>(go4x4))
            .Event("OnChange", &C::OnChange)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TCColorGrid)

// --- construction ------------------------------------------------------------------------

TCColorGrid::TCColorGrid(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clBtnFace);
    GetCanvas()->GetBrush()->SetStyle(bsSolid);
    GetCanvas()->GetPen()->SetColor(clBlack);
    SetBounds(0, 0, 100, 100);
    GetPaletteEntries(0, DefaultPaletteSize, FPalette.data());
}

TCColorGrid::~TCColorGrid() = default;

void TCColorGrid::CreateWnd() {
    TCustomControl::CreateWnd();
    // The squares are drawn straight onto the window outside the paint pass
    // as well, so they must never spill onto overlapping siblings.
    const HWND Handle = GetHandle();
    SetWindowLong(Handle, GWL_STYLE, GetWindowLong(Handle, GWL_STYLE) | WS_CLIPSIBLINGS);
}

// --- setters -------------------------------------------------------------------------------

void TCColorGrid::SetForegroundIndex(int Value) {
    if (Value == FForegroundIndex || !FForegroundEnabled) return;
    // Redrawing the old square removes its mark.
    DrawSquare(FForegroundIndex, IsHighlighted(FForegroundIndex));
    FForegroundIndex = Value;
    // The background's "BG" mark on the new square becomes "FB".
    if (FForegroundIndex == FBackgroundIndex)
        DrawSquare(FBackgroundIndex, IsHighlighted(FBackgroundIndex));
    DrawFgBg();
    Change();
}

void TCColorGrid::SetBackgroundIndex(int Value) {
    if (Value == FBackgroundIndex || !FBackgroundEnabled) return;
    DrawSquare(FBackgroundIndex, IsHighlighted(FBackgroundIndex));
    FBackgroundIndex = Value;
    if (FBackgroundIndex == FForegroundIndex)
        DrawSquare(FForegroundIndex, IsHighlighted(FForegroundIndex));
    DrawFgBg();
    Change();
}

void TCColorGrid::EnableForeground(bool Value) {
    if (Value == FForegroundEnabled) return;
    FForegroundEnabled = Value;
    DrawSquare(FForegroundIndex, IsHighlighted(FForegroundIndex));
    DrawFgBg();
}

void TCColorGrid::EnableBackground(bool Value) {
    if (Value == FBackgroundEnabled) return;
    FBackgroundEnabled = Value;
    DrawSquare(FBackgroundIndex, IsHighlighted(FBackgroundIndex));
    DrawFgBg();
}

void TCColorGrid::SetSelection(int Value) {
    if (Value == FSelection) return;
    DrawSquare(FSelection, false);
    FSelection = Value;
    DrawSquare(FSelection, FFocused);
    DrawFgBg();
}

void TCColorGrid::SetGridOrdering(TGridOrdering Value) {
    if (Value == FGridOrdering) return;
    FGridOrdering = Value;
    const int Ordinal = static_cast<int>(Value);
    FColumns = SquareCount >> Ordinal;
    FRows = 1 << Ordinal;
    UpdateCellSizes(true);
}

void TCColorGrid::Change() {
    if (OnChange) OnChange(this);
}

void TCColorGrid::PickForeground(int Square) {
    if (!FForegroundEnabled && FClickEnablesColor) {
        FForegroundEnabled = true;
        DrawSquare(FForegroundIndex, IsHighlighted(FForegroundIndex));
        // Forces the setter below to see a change, so OnChange fires even
        // when the square picked is the one the disabled side held.
        FForegroundIndex = -1;
    }
    SetForegroundIndex(Square);
}

void TCColorGrid::PickBackground(int Square) {
    if (!FBackgroundEnabled && FClickEnablesColor) {
        FBackgroundEnabled = true;
        DrawSquare(FBackgroundIndex, IsHighlighted(FBackgroundIndex));
        FBackgroundIndex = -1;
    }
    SetBackgroundIndex(Square);
}

// --- geometry ------------------------------------------------------------------------------

void TCColorGrid::UpdateCellSizes(bool Repaint) {
    const int NewWidth = (GetWidth() / FColumns) * FColumns;
    const int NewHeight = (GetHeight() / FRows) * FRows;
    SetBoundsRect(Bounds(GetLeft(), GetTop(), NewWidth, NewHeight));
    FCellWidth = GetWidth() / FColumns;
    FCellHeight = GetHeight() / FRows;
    if (Repaint) Invalidate();
}

int TCColorGrid::SquareFromPos(int X, int Y) const {
    // Until the first size message the square size is unknown; it follows
    // from the current size then. A control smaller than its grid still
    // answers a square rather than dividing by zero.
    const int CellWidth = FCellWidth > 0 ? FCellWidth : std::max(1, GetWidth() / FColumns);
    const int CellHeight = FCellHeight > 0 ? FCellHeight : std::max(1, GetHeight() / FRows);
    X = std::clamp(X, 0, std::max(0, GetWidth() - 1));
    Y = std::clamp(Y, 0, std::max(0, GetHeight() - 1));
    const int Col = std::min(X / CellWidth, FColumns - 1);
    const int Row = std::min(Y / CellHeight, FRows - 1);
    return Row * FColumns + Col;
}

TRect TCColorGrid::SquareRect(int Index) const {
    const int Col = Index % FColumns;
    const int Row = Index / FColumns;
    return Bounds(Col * FCellWidth, Row * FCellHeight, FCellWidth, FCellHeight);
}

TColor TCColorGrid::SquareColor(int Index) const {
    // Squares 8 to 15 show the bright colours, which follow the palette's
    // four special shades.
    if (!ValidSquare(Index)) return clNone;
    const TPaletteEntry& E = FPalette[Index < 8 ? Index : Index + 4];
    return static_cast<TColor>(E.peRed | (E.peGreen << 8) | (E.peBlue << 16));
}

TColor TCColorGrid::MarkColor(int Index) const {
    if (!ValidSquare(Index)) return clNone;
    const TPaletteEntry& E = FPalette[Index < 8 ? Index : Index + 4];
    auto Contrast = [](unsigned char C) { return C >= 128 ? 0 : 255; };
    return static_cast<TColor>(Contrast(E.peRed) | (Contrast(E.peGreen) << 8) |
                               (Contrast(E.peBlue) << 16));
}

// --- painting ------------------------------------------------------------------------------

void TCColorGrid::DrawSquare(int Index, bool Highlight) {
    if (!ValidSquare(Index)) return;
    // Outside the paint pass this draws on the shown window at once (and
    // nowhere without one); the next paint draws the same.
    TCanvas* Canvas = GetCanvas();
    TPen* Pen = Canvas->GetPen();
    TBrush* Brush = Canvas->GetBrush();
    const TColor Color = SquareColor(Index);
    const bool Ctl3D = GetCtl3D();
    TRect R = SquareRect(Index);
    if (Ctl3D) {
        Pen->SetColor(clBtnFace);
        Canvas->Rectangle(R);
        InflateRect(R, -1, -1);
        Frame3D(Canvas, R, clBtnShadow, clBtnHighlight, 2);
    } else
        Pen->SetColor(clBlack);
    Brush->SetColor(Color);
    if (Ctl3D) Pen->SetColor(Color);
    if (!Highlight) {
        Canvas->Rectangle(R);
        return;
    }
    if (Ctl3D) {
        Canvas->Rectangle(R);
        InflateRect(R, -1, -1);
        Canvas->DrawFocusRect(R);
        return;
    }
    Pen->SetColor(clBlack);
    Pen->SetMode(pmNot);
    Canvas->Rectangle(R);
    Pen->SetMode(pmCopy);
    Canvas->Rectangle(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
}

void TCColorGrid::DrawMark(int Index, const char* Text) {
    // A square outside the grid has no place for a mark (and no colour).
    if (!ValidSquare(Index)) return;
    TCanvas* Canvas = GetCanvas();
    Canvas->GetFont()->SetColor(MarkColor(Index));
    TRect R = SquareRect(Index);
    DrawText(Canvas->GetHandle(), String(Text), R, MarkFormat);
}

void TCColorGrid::DrawFgBg() {
    TCanvas* Canvas = GetCanvas();
    const int OldMode = SetBkMode(Canvas->GetHandle(), TRANSPARENT);
    const bool Same = FForegroundIndex == FBackgroundIndex;
    if (FForegroundEnabled) DrawMark(FForegroundIndex, Same && FBackgroundEnabled ? SFB : SFG);
    if (FBackgroundEnabled) DrawMark(FBackgroundIndex, Same && FForegroundEnabled ? SFB : SBG);
    SetBkMode(Canvas->GetHandle(), OldMode);
}

void TCColorGrid::Paint() {
    GetCanvas()->SetFont(GetFont());
    for (int Row = 0; Row < FRows; ++Row)
        for (int Col = 0; Col < FColumns; ++Col) DrawSquare(Row * FColumns + Col, false);
    DrawSquare(FSelection, FFocused);
    DrawFgBg();
}

// --- mouse ---------------------------------------------------------------------------------

void TCColorGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    FDragButton = Button;
    FDragging = true;
    const int Square = SquareFromPos(X, Y);
    if (Button == mbLeft)
        PickForeground(Square);
    else {
        SetMouseCapture(true);
        PickBackground(Square);
    }
    SetSelection(Square);
    if (GetTabStop()) SetFocus();
}

void TCColorGrid::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    // Dragging moves the colour but never enables a disabled side.
    const int Square = SquareFromPos(X, Y);
    if (FDragButton == mbLeft)
        SetForegroundIndex(Square);
    else
        SetBackgroundIndex(Square);
    SetSelection(Square);
}

void TCColorGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDragging = false;
    if (FDragButton != mbLeft) SetMouseCapture(false);
}

// --- keyboard ------------------------------------------------------------------------------

void TCColorGrid::KeyDown(unsigned short& Key, TShiftState Shift) {
    // OnKeyDown sees every key exactly once, handled here or not.
    TCustomControl::KeyDown(Key, Shift);
    const int N = FColumns * FRows;
    const int C = FColumns;
    const int S = FSelection;
    int T = S;
    switch (Key) {
    case VK_RIGHT:
    case VK_SPACE:
        T = S == N - 1 ? 0 : S + 1;
        break;
    case VK_LEFT:
        T = S == 0 ? N - 1 : S - 1;
        break;
    // Up and down walk column by column: off the bottom row onto the top of
    // the next column, off the top row onto the bottom of the previous one.
    case VK_DOWN:
        T = S + C < N ? S + C : (S != N - 1 ? S % C + 1 : 0);
        break;
    case VK_UP:
        T = S >= C ? S - C : (S != 0 ? N - C + S - 1 : N - 1);
        break;
    case VK_HOME:
        T = 0;
        break;
    case VK_END:
        T = N - 1;
        break;
    // Virtual-key codes of letters are the capitals, whatever the Shift state.
    case 'F':
        PickForeground(S);
        SetSelection(S);
        Click();
        break;
    case 'B':
        PickBackground(S);
        SetSelection(S);
        Click();
        break;
    default:
        return;
    }
    Key = 0;
    if (T != FSelection) SetSelection(T);
}

// --- messages ------------------------------------------------------------------------------

void TCColorGrid::WMSize(TMessage&) {
    UpdateCellSizes(false);
}

void TCColorGrid::WMSetFocus(TMessage&) {
    FFocused = true;
    DrawSquare(FSelection, true);
    DrawFgBg();
}

void TCColorGrid::WMKillFocus(TMessage&) {
    FFocused = false;
    DrawSquare(FSelection, false);
    DrawFgBg();
}

void TCColorGrid::WMGetDlgCode(TMessage& Message) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TCColorGrid::CMCtl3DChanged(TMessage&) {
    Invalidate();
}

void TCColorGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// --- registration --------------------------------------------------------------------------

namespace Cgrid {
void Register() {
    RegisterComponents(LoadStr(SSamplesPage), {&TCColorGrid::StaticClassInfo()});
}
} // namespace Cgrid

} // namespace folio
