#include "framework/ui/stdctrls/Edit.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/stdctrls/EditText.h"

#include <algorithm>

namespace folio {

using namespace edittext;

namespace {

const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone", "bsSingle"};
    return Names;
}

unsigned CaretBlinkTime = 530;

} // namespace

unsigned GetCaretBlinkTime() {
    return CaretBlinkTime;
}

void SetCaretBlinkTime(unsigned Milliseconds) {
    CaretBlinkTime = Milliseconds;
}

// --- class information ---------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
    using C = TCustomEdit;
    static const TClassInfo Info =
        TClassBuilder<C>("TCustomEdit", &TWinControl::StaticClassInfo())
            .Bool("AutoSize", &C::GetAutoSize, &C::SetAutoSize, true)
            .Unpublished()
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, std::optional<TBorderStyle>(bsSingle))
            .Unpublished()
            .Bool("HideSelection", &C::GetHideSelection, &C::SetHideSelection, true)
            .Unpublished()
            .Int("MaxLength", &C::GetMaxLength, &C::SetMaxLength, 0)
            .Unpublished()
            .Bool("ReadOnly", &C::GetReadOnly, &C::SetReadOnly, false)
            .Unpublished()
            .Event("OnChange", &C::OnChange)
            .Unpublished()
            .Build();
    return Info;
}

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo Info = TClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
                                       .Publish("Anchors")
                                       .Publish("AutoSize")
                                       .Publish("BorderStyle")
                                       .Publish("Color")
                                       .Publish("Ctl3D")
                                       .Publish("Enabled")
                                       .Publish("Font")
                                       .Publish("HideSelection")
                                       .Publish("MaxLength")
                                       .Publish("ParentColor")
                                       .Publish("ParentCtl3D")
                                       .Publish("ParentFont")
                                       .Publish("ReadOnly")
                                       .Publish("TabOrder")
                                       .Publish("TabStop", 1)
                                       .Publish("Text")
                                       .Publish("Visible")
                                       .Publish("OnChange")
                                       .Publish("OnClick")
                                       .Publish("OnEnter")
                                       .Publish("OnExit")
                                       .Publish("OnKeyDown")
                                       .Publish("OnKeyPress")
                                       .Publish("OnKeyUp")
                                       .Publish("OnMouseDown")
                                       .Publish("OnMouseMove")
                                       .Publish("OnMouseUp")
                                       .Creatable()
                                       .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TEdit)

// --- construction ----------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    SetBounds(GetLeft(), GetTop(), 121, 25);
    SetTabStop(true);
    SetColor(clWindow);
    SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks, csFramed, csOpaque});
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    // The border follows BorderStyle, not csFramed: flat or 3-D by Ctl3D.
    Params.Style &= ~WS_BORDER;
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
    if (FBorderStyle == bsSingle) {
        if (NewStyleControls && GetCtl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    FLayoutValid = false;
    AdjustHeight();
}

// --- properties ----------------------------------------------------------------------

void TCustomEdit::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomEdit::AdjustHeight() {
    // A single-line box fits its font: one line, the margins and the frame.
    if (!FAutoSize || IsMultiLine()) return;
    const int H = LineHeight() + 2 * Margin + 2 * GetBorderWidth();
    if (H != GetHeight()) SetHeight(H);
}

void TCustomEdit::FontChanged() {
    FLayoutValid = false;
    TWinControl::FontChanged();
    AdjustHeight();
}

void TCustomEdit::TextChanged() {
    FLayoutValid = false;
    FBreaksValid = false;
    const int Len = static_cast<int>(GetText().size());
    if (!FInTextSet) {
        // A text set by the program puts the caret at its start.
        FAnchor = FCaret = 0;
        FScrollX = FScrollY = 0;
    }
    FAnchor = std::min(FAnchor, Len);
    FCaret = std::min(FCaret, Len);
    // The program's text replaces the whole text; the user's edits tell
    // their own part (ReplaceSelection). A listener that came after the
    // text was last told reads the text afresh and hears no removal.
    if (!FInTextSet) {
        if (FToldGeneration == AccessibleTextGeneration())
            NotifyAccessibleText(this, {false, 0, FToldText});
        NotifyAccessibleText(this, {true, 0, GetText()});
    }
    if (AccessibleTextHeard()) {
        FToldText = GetText();
        FToldGeneration = AccessibleTextGeneration();
    } else if (FToldGeneration) {
        FToldText = String();
        FToldGeneration = 0;
    }
    TWinControl::TextChanged();
    if (!FInTextSet) TellCaret();
    Change();
}

void TCustomEdit::TellCaret() {
    const bool Moved = FCaret != FToldCaret;
    // An empty selection that moves with the caret is no selection change.
    const bool Reselected = (FAnchor != FCaret || FToldAnchor != FToldCaret) &&
                            std::minmax(FAnchor, FCaret) != std::minmax(FToldAnchor, FToldCaret);
    FToldCaret = FCaret;
    FToldAnchor = FAnchor;
    if (Moved) NotifyAccessible(this, TAccEvent::CaretMoved);
    if (Reselected) NotifyAccessible(this, TAccEvent::SelectionChanged);
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// --- selection --------------------------------------------------------------------------

int TCustomEdit::GetSelStart() const {
    return std::min(FAnchor, FCaret);
}

int TCustomEdit::GetSelLength() const {
    return std::abs(FCaret - FAnchor);
}

void TCustomEdit::SetSelStart(int Value) {
    Value = std::clamp(Value, 0, static_cast<int>(GetText().size()));
    // A place inside a character moves back to the character's start.
    if (Value < static_cast<int>(GetText().size())) Value = PrevPos(NextPos(Value));
    FAnchor = FCaret = Value;
    ScrollCaretIntoView();
    Invalidate();
    TellCaret();
}

void TCustomEdit::SetSelLength(int Value) {
    const int Start = GetSelStart();
    int End = std::clamp(Start + std::max(Value, 0), 0, static_cast<int>(GetText().size()));
    // The selection takes a character it reaches into whole.
    if (End > Start && End < static_cast<int>(GetText().size())) End = NextPos(PrevPos(End));
    FAnchor = Start;
    FCaret = End;
    ScrollCaretIntoView();
    Invalidate();
    TellCaret();
}

String TCustomEdit::GetSelText() const {
    return GetText().substr(static_cast<size_t>(GetSelStart()),
                            static_cast<size_t>(GetSelLength()));
}

void TCustomEdit::SetSelText(const String& Value) {
    ReplaceSelection(Value);
}

void TCustomEdit::SelectAll() {
    FAnchor = 0;
    FCaret = static_cast<int>(GetText().size());
    ScrollCaretIntoView();
    Invalidate();
    TellCaret();
}

void TCustomEdit::ClearSelection() {
    if (GetSelLength() > 0) ReplaceSelection(String());
}

void TCustomEdit::CopyToClipboard() {
    if (GetSelLength() > 0) Clipboard()->SetAsText(GetSelText());
}

void TCustomEdit::CutToClipboard() {
    if (FReadOnly) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
    if (FReadOnly) return;
    String Text = Clipboard()->GetAsText();
    // A single-line box takes the first line of what is pasted.
    if (!IsMultiLine()) {
        const size_t Cut = Text.find_first_of("\r\n");
        if (Cut != String::npos) Text.resize(Cut);
    }
    ReplaceSelection(Text);
}

void TCustomEdit::ReplaceSelection(const String& Value) {
    String Insert = Value;
    const size_t Start = static_cast<size_t>(GetSelStart());
    const size_t Length = static_cast<size_t>(GetSelLength());
    if (FMaxLength > 0) {
        const size_t Room = GetText().size() - Length >= static_cast<size_t>(FMaxLength)
                                ? 0
                                : static_cast<size_t>(FMaxLength) - (GetText().size() - Length);
        if (Insert.size() > Room) {
            // Never cut a character in half.
            size_t Keep = Room;
            while (Keep > 0 && IsContinuation(Insert[Keep])) --Keep;
            Insert.resize(Keep);
        }
    }
    if (Length == 0 && Insert.empty()) return;
    if (Length > 0 && AccessibleTextHeard())
        NotifyAccessibleText(this, {false, static_cast<int>(Start),
                                    std::string_view(GetText()).substr(Start, Length)});
    String NewText = GetText();
    NewText.replace(Start, Length, Insert);
    FAnchor = FCaret = static_cast<int>(Start + Insert.size());
    FModified = true;
    {
        TTemporaryChange Setting(FInTextSet, true);
        TControl::SetText(NewText);
    }
    NotifyAccessibleText(this, {true, static_cast<int>(Start), Insert});
    ScrollCaretIntoView();
    TellCaret();
}

int TCustomEdit::PrevPos(int Pos) const {
    if (!FBreaksValid) {
        FindTextBreaks(GetText(), FBreaks);
        FBreaksValid = true;
    }
    if (Pos <= 0) return 0;
    Pos = std::min(Pos, static_cast<int>(GetText().size())) - 1;
    while (Pos > 0 && !(FBreaks[static_cast<size_t>(Pos)] & tbGraphemeStart)) --Pos;
    return Pos;
}

int TCustomEdit::NextPos(int Pos) const {
    PrevPos(0); // the character places of the text
    const int Len = static_cast<int>(GetText().size());
    if (Pos >= Len) return Len;
    ++Pos;
    while (Pos < Len && !(FBreaks[static_cast<size_t>(Pos)] & tbGraphemeStart)) ++Pos;
    return Pos;
}

void TCustomEdit::MoveCaret(int Pos, bool Extend) {
    FCaret = std::clamp(Pos, 0, static_cast<int>(GetText().size()));
    if (!Extend) FAnchor = FCaret;
    ScrollCaretIntoView();
    Invalidate();
    TellCaret();
}

} // namespace folio
