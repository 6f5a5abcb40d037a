#include "framework/ui/grids/StringGrid.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"

#include <climits>

namespace folio {

const TClassInfo& TStringGrid::StaticClassInfo() {
    using C = TStringGrid;
    static const TClassInfo Info =
        TClassBuilder<C>("TStringGrid", &TCustomGrid::StaticClassInfo())
            .Bool("StoreCells", &C::GetStoreCells, &C::SetStoreCells, false)
            .Event("OnSetEditText", &C::OnSetEditText)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "BorderStyle", "ColCount", "Ctl3D", "DefaultColWidth",
                      "DefaultRowHeight", "FixedColor", "FixedCols", "FixedRows", "Font",
                      "GridLineWidth", "Options", "ParentColor", "ParentCtl3D", "ParentFont",
                      "RowCount", "ScrollBars", "TabOrder"})
            .Publish("TabStop", 1)
            .Publish("Color", clWindow)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TStringGrid)

TStringGrid::TStringGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
    FEditor = std::make_unique<TInplaceEdit>(this);
    FEditor->OnDone = [this](bool Accept, const String& Text) {
        if (Accept && GetOptions().Contains(goEditing)) {
            SetCells(FEditCell.X, FEditCell.Y, Text);
            if (OnSetEditText) OnSetEditText(this, FEditCell.X, FEditCell.Y, Text);
        }
        if (CanFocus() && !Focused()) SetFocus();
    };
}

TStringGrid::~TStringGrid() {
    FEditor->OnDone = nullptr;
    FEditor.reset();
}

String TStringGrid::GetCells(int ACol, int ARow) const {
    const auto It = FCells.find({ARow, ACol});
    return It == FCells.end() ? String() : It->second;
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value) {
    if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount())
        throw EInvalidOperation(Format("Grid cell (%d, %d) out of range (%d columns, %d rows)",
                                       ACol, ARow, GetColCount(), GetRowCount()));
    const auto Key = std::make_pair(ARow, ACol);
    if (Value.empty())
        FCells.erase(Key);
    else
        FCells[Key] = Value;
    InvalidateCell(ACol, ARow);
}

// --- editing ---------------------------------------------------------------------------------

void TStringGrid::StartEdit(const String& Text, bool SelectAll) {
    if (!GetOptions().Contains(goEditing) || !GetEnabled()) return;
    const TRect R = CellRect(GetCol(), GetRow());
    if (R.IsEmpty()) return;
    FEditCell = TGridCoord{GetCol(), GetRow()};
    FEditor->Start(R, Text);
    if (!SelectAll) FEditor->SetSelStart(static_cast<int>(Text.size()));
}

void TStringGrid::ShowEditor() {
    StartEdit(GetCells(GetCol(), GetRow()), true);
}

void TStringGrid::HideEditor(bool Accept) {
    FEditor->Finish(Accept);
}

bool TStringGrid::SelectCell(int ACol, int ARow) {
    if (!TCustomGrid::SelectCell(ACol, ARow)) return false;
    // Leaving a cell keeps what was typed in it.
    if (IsEditing()) HideEditor(true);
    return true;
}

void TStringGrid::KeyDown(unsigned short& Key, TShiftState Shift) {
    if ((Key == VK_F2 || Key == VK_RETURN) && GetOptions().Contains(goEditing)) {
        ShowEditor();
        Key = 0;
        return;
    }
    TCustomGrid::KeyDown(Key, Shift);
}

void TStringGrid::KeyPress(char& Key) {
    TCustomGrid::KeyPress(Key);
    // A typed character starts an edit that replaces the cell's text.
    if (static_cast<unsigned char>(Key) >= ' ' && Key != 0x7F && GetOptions().Contains(goEditing) &&
        !IsEditing()) {
        StartEdit(String(1, Key), false);
        Key = 0;
    }
}

void TStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomGrid::MouseDown(Button, Shift, X, Y);
    // The grid makes no click events of its own presses: a double click is
    // the press that carries ssDouble.
    if (Button == mbLeft && Shift.Contains(ssDouble))
        FEditOnRelease = GetOptions().Contains(goEditing);
}

void TStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomGrid::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft && FEditOnRelease) {
        FEditOnRelease = false;
        ShowEditor();
    }
}

void TStringGrid::Dispatch(TMessage& Message) {
    // Enter opens the editor rather than pressing the form's default button.
    if (Message.Msg == CM_WANTSPECIALKEY && Message.WParam == VK_RETURN &&
        GetOptions().Contains(goEditing)) {
        Message.Result = 1;
        return;
    }
    if (Message.Msg == WM_GETDLGCODE) {
        TCustomGrid::Dispatch(Message);
        Message.Result |= DLGC_WANTCHARS;
        return;
    }
    TCustomGrid::Dispatch(Message);
}

// --- painting --------------------------------------------------------------------------------

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) {
    TCustomGrid::DrawCell(ACol, ARow, ARect, AState);
    const auto It = FCells.find({ARow, ACol});
    if (It == FCells.end()) return;
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsClear);
    DrawCaption(Canvas, It->second, Rect(ARect.Left + 2, ARect.Top, ARect.Right - 2, ARect.Bottom),
                DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS),
                true);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

// --- forms -----------------------------------------------------------------------------------

void TStringGrid::DefineProperties(TFiler* Filer) {
    TCustomGrid::DefineProperties(Filer);
    const auto* Ancestor = dynamic_cast<const TStringGrid*>(Filer->Ancestor());
    const bool HasData = FStoreCells && (Ancestor ? Ancestor->FCells != FCells : !FCells.empty());
    Filer->DefineProperty(
        "Cells",
        [this](TReader& Reader) {
            // Read aside; the cells change only once all of them were read.
            std::map<std::pair<int, int>, String> Read;
            Reader.ReadListBegin();
            while (!Reader.EndOfList()) {
                if (static_cast<int>(Read.size()) >= MaxFormCells)
                    throw EReadError(Format("A grid stores at most %d cells", MaxFormCells));
                Reader.ReadListBegin();
                const long long Col = Reader.ReadInteger();
                const long long Row = Reader.ReadInteger();
                String Text = Reader.ReadString();
                Reader.ReadListEnd();
                if (Col < 0 || Row < 0 || Col >= MaxCellCount || Row >= MaxCellCount)
                    throw EReadError(
                        Format("A grid cell (%lld, %lld) lies outside any grid", Col, Row));
                if (!Text.empty())
                    Read[{static_cast<int>(Row), static_cast<int>(Col)}] = std::move(Text);
            }
            Reader.ReadListEnd();
            FCells = std::move(Read);
            Invalidate();
        },
        [this](TWriter& Writer) {
            Writer.WriteListBegin();
            for (const auto& [Key, Text] : FCells) {
                Writer.WriteListBegin();
                Writer.WriteInteger(Key.second);
                Writer.WriteInteger(Key.first);
                Writer.WriteString(Text);
                Writer.WriteListEnd();
            }
            Writer.WriteListEnd();
        },
        HasData);
}

} // namespace folio
