#include "framework/ui/controls/Accessible.h"

#include "framework/ui/app/Hints.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ButtonControl.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace folio {

const char* AccRoleName(TAccRole Role) {
    switch (Role) {
    case TAccRole::Window:
        return "window";
    case TAccRole::Client:
        return "panel";
    case TAccRole::Grouping:
        return "grouping";
    case TAccRole::PushButton:
        return "push button";
    case TAccRole::StaticText:
        return "label";
    case TAccRole::Text:
        return "text";
    case TAccRole::Graphic:
        return "image";
    case TAccRole::PageTabList:
        return "page tab list";
    case TAccRole::PageTab:
        return "page tab";
    case TAccRole::List:
        return "list";
    case TAccRole::ListItem:
        return "list item";
    case TAccRole::Table:
        return "table";
    case TAccRole::ColumnHeader:
        return "column header";
    case TAccRole::Cell:
        return "table cell";
    case TAccRole::Grid:
        return "grid";
    case TAccRole::ProgressBar:
        return "progress bar";
    case TAccRole::Chart:
        return "chart";
    case TAccRole::ScrollBar:
        return "scroll bar";
    case TAccRole::CheckBox:
        return "check box";
    case TAccRole::RadioButton:
        return "radio button";
    case TAccRole::ToggleButton:
        return "toggle button";
    case TAccRole::Slider:
        return "slider";
    case TAccRole::SpinButton:
        return "spin button";
    case TAccRole::StatusBar:
        return "status bar";
    case TAccRole::ToolBar:
        return "tool bar";
    case TAccRole::Separator:
        return "separator";
    case TAccRole::ScrollPane:
        return "scroll pane";
    case TAccRole::Tree:
        return "tree";
    case TAccRole::TreeItem:
        return "tree item";
    case TAccRole::MenuBar:
        return "menu bar";
    case TAccRole::MenuItem:
        return "menu item";
    }
    return "unknown";
}

String AccStateNames(unsigned States) {
    static const char* const Names[] = {"focusable",     "focused",   "selectable", "selected",
                                        "expandable",    "expanded",  "disabled",   "invisible",
                                        "offscreen",     "read-only", "checkable",  "checked",
                                        "indeterminate", "pressed",   "multi-line"};
    String Result;
    for (unsigned Bit = 0; Bit < std::size(Names); ++Bit) {
        if (!(States & (1u << Bit))) continue;
        if (!Result.empty()) Result += ' ';
        Result += Names[Bit];
    }
    return Result;
}

std::unique_ptr<TAccessible> TAccessible::GetChild(int) const {
    return nullptr;
}

bool TAccessible::DoAction(const String&) {
    return false;
}

String TAccessible::GetColumnName(int Column) const {
    TAccTable Table;
    if (!GetTable(Table) || !Table.HeaderRow || Column < 0 || Column >= Table.Columns)
        return String();
    const auto Header = GetChild(Column);
    return Header ? Header->GetName() : String();
}

// --- the generic object ---------------------------------------------------------------

TControlAccessible::TControlAccessible(TControl* Control, TAccRole Role)
    : FControl(Control), FRole(Role) {}

namespace {

// A caption with an accelerator mark reads without it: "&Send" is "Send".
bool CaptionHasAccelerator(const TControl* C) {
    if (const auto* L = dynamic_cast<const TLabel*>(C)) return L->GetShowAccelChar();
    return dynamic_cast<const TButton*>(C) || dynamic_cast<const TButtonControl*>(C) ||
           dynamic_cast<const TGroupBox*>(C);
}

String CaptionName(const TControl* C) {
    return CaptionHasAccelerator(C) ? StripHotkey(C->GetCaption()) : C->GetCaption();
}

// The shown labels on Control's window whose FocusControl is Control.
void FindLabels(const TControl* Control, const TWinControl* Under, std::vector<TControl*>& Out) {
    for (int I = 0; I < Under->ControlCount(); ++I) {
        TControl* C = Under->Controls(I);
        if (!C->GetVisible()) continue;
        if (const auto* L = dynamic_cast<const TLabel*>(C)) {
            if (L->GetFocusControl() == Control) Out.push_back(C);
        } else if (const auto* W = dynamic_cast<const TWinControl*>(C)) {
            FindLabels(Control, W, Out);
        }
    }
}

std::vector<TControl*> LabelsOf(const TControl* Control) {
    std::vector<TControl*> Labels;
    if (dynamic_cast<const TWinControl*>(Control))
        if (const TWinControl* Top = Control->GetTopLevel(); Top && Top != Control)
            FindLabels(Control, Top, Labels);
    return Labels;
}

// What names a control that has no caption of its own: its label's text.
String LabelName(const TControl* Control) {
    const auto Labels = LabelsOf(Control);
    return Labels.empty() ? String() : CaptionName(Labels.front());
}

} // namespace

String TControlAccessible::GetName() const {
    String Name = CaptionName(FControl);
    return Name.empty() ? LabelName(FControl) : Name;
}

std::vector<TControl*> TControlAccessible::GetLabelFor() const {
    if (const auto* L = dynamic_cast<const TLabel*>(FControl))
        if (TWinControl* Target = L->GetFocusControl()) return {Target};
    return {};
}

std::vector<TControl*> TControlAccessible::GetLabelledBy() const {
    return LabelsOf(FControl);
}

String TControlAccessible::GetDescription() const {
    return GetShortHint(FControl->GetHint());
}

unsigned TControlAccessible::GetStates() const {
    unsigned S = 0;
    if (!FControl->GetEnabled()) S |= asDisabled;
    if (!FControl->GetVisible()) S |= asInvisible;
    if (auto* W = dynamic_cast<TWinControl*>(FControl)) {
        if (W->GetTabStop() && W->CanFocus()) S |= asFocusable;
        if (W->Focused()) S |= asFocused;
    }
    return S;
}

TRect TControlAccessible::GetBounds() const {
    if (!FControl->GetVisible()) return TRect{};
    const TRect C = FControl->GetClientRect();
    const TPoint TopLeft = FControl->ClientToScreen(Point(C.Left, C.Top));
    return Bounds(TopLeft.X, TopLeft.Y, C.Width(), C.Height());
}

std::vector<TControl*> TControlAccessible::ShownChildren() const {
    std::vector<TControl*> Shown;
    if (auto* W = dynamic_cast<TWinControl*>(FControl))
        for (int I = 0; I < W->ControlCount(); ++I)
            if (W->Controls(I)->GetVisible()) Shown.push_back(W->Controls(I));
    return Shown;
}

int TControlAccessible::GetChildCount() const {
    return static_cast<int>(ShownChildren().size());
}

std::unique_ptr<TAccessible> TControlAccessible::GetChild(int Index) const {
    const std::vector<TControl*> Shown = ShownChildren();
    if (Index < 0 || Index >= static_cast<int>(Shown.size())) return nullptr;
    return GetAccessible(Shown[static_cast<size_t>(Index)]);
}

bool TControlAccessible::GrabFocus() {
    auto* W = dynamic_cast<TWinControl*>(FControl);
    if (!W || !W->CanFocus()) return false;
    W->SetFocus();
    return W->Focused();
}

namespace {

class TButtonAccessible : public TControlAccessible {
public:
    explicit TButtonAccessible(TControl* C) : TControlAccessible(C, TAccRole::PushButton) {}
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" || !FControl->GetEnabled()) return false;
        FControl->Click();
        return true;
    }
};

// Check boxes and radio buttons: checkable, with the state they show, and
// "press" does what a click does.
class TCheckAccessible : public TButtonAccessible {
public:
    TCheckAccessible(TControl* C, TAccRole Role) : TButtonAccessible(C) { FRole = Role; }
    unsigned GetStates() const override {
        unsigned S = TControlAccessible::GetStates() | asCheckable;
        if (const auto* Box = dynamic_cast<const TCheckBox*>(FControl)) {
            if (Box->GetState() == cbChecked) S |= asChecked;
            if (Box->GetState() == cbGrayed) S |= asIndeterminate;
        } else if (static_cast<const TRadioButton*>(FControl)->GetChecked()) {
            S |= asChecked;
        }
        return S;
    }
};

class TEditAccessible : public TControlAccessible {
public:
    explicit TEditAccessible(TControl* C) : TControlAccessible(C, TAccRole::Text) {}
    // An edit box is known by what it is for (its hint, else its label),
    // not by its text.
    String GetName() const override {
        String Name = GetDescription();
        return Name.empty() ? LabelName(FControl) : Name;
    }
    String GetValue() const override { return FControl->GetText(); }
    unsigned GetStates() const override {
        return TControlAccessible::GetStates() | (Edit()->GetReadOnly() ? asReadOnly : 0u) |
               ((Edit()->GetStyle() & ES_MULTILINE) ? asMultiLine : 0u);
    }
    bool GetCaret(TAccCaret& Caret) const override {
        Caret.Caret = Edit()->GetCaretPos();
        Caret.SelStart = Edit()->GetSelStart();
        Caret.SelEnd = Caret.SelStart + Edit()->GetSelLength();
        return true;
    }
    bool SetTextSelection(int Start, int End) override {
        if (Start > End) std::swap(Start, End);
        Edit()->SetSelStart(Start);
        Edit()->SetSelLength(End - Edit()->GetSelStart());
        return true;
    }
    bool ReplaceText(int Start, int End, const String& Text) override {
        if (Edit()->GetReadOnly() || !Edit()->GetEnabled()) return false;
        SetTextSelection(Start, End);
        Edit()->SetSelText(Text);
        return true;
    }

private:
    TCustomEdit* Edit() const { return static_cast<TCustomEdit*>(FControl); }
};

class TScrollBarAccessible : public TControlAccessible {
public:
    explicit TScrollBarAccessible(TControl* C) : TControlAccessible(C, TAccRole::ScrollBar) {}
    String GetValue() const override { return std::to_string(Bar()->GetPosition()); }
    bool GetRange(TAccRange& Range) const override {
        Range = {double(Bar()->GetMin()), double(Bar()->GetMax()), double(Bar()->GetPosition()), 1};
        return true;
    }
    bool SetRangeValue(double Value) override {
        if (!FControl->GetEnabled()) return false;
        const double Kept = std::clamp(Value, double(Bar()->GetMin()), double(Bar()->GetMax()));
        Bar()->SetPosition(static_cast<int>(std::lround(Kept)));
        return true;
    }

private:
    TScrollBar* Bar() const { return static_cast<TScrollBar*>(FControl); }
};

// The framework's own controls, most specific first.
std::unique_ptr<TAccessible> StandardAccessible(TControl* C) {
    if (dynamic_cast<TButton*>(C)) return std::make_unique<TButtonAccessible>(C);
    if (dynamic_cast<TCheckBox*>(C))
        return std::make_unique<TCheckAccessible>(C, TAccRole::CheckBox);
    if (dynamic_cast<TRadioButton*>(C))
        return std::make_unique<TCheckAccessible>(C, TAccRole::RadioButton);
    if (dynamic_cast<TCustomEdit*>(C)) return std::make_unique<TEditAccessible>(C);
    if (dynamic_cast<TScrollBar*>(C)) return std::make_unique<TScrollBarAccessible>(C);
    TAccRole Role = TAccRole::Client;
    if (dynamic_cast<TCustomForm*>(C))
        Role = TAccRole::Window;
    else if (dynamic_cast<TLabel*>(C))
        Role = TAccRole::StaticText;
    else if (dynamic_cast<TPanel*>(C) || dynamic_cast<TGroupBox*>(C))
        Role = TAccRole::Grouping;
    else if (dynamic_cast<TImage*>(C))
        Role = TAccRole::Graphic;
    return std::make_unique<TControlAccessible>(C, Role);
}

std::unordered_map<const TClassInfo*, std::vector<TAccessibleFactory>>& Factories() {
    static std::unordered_map<const TClassInfo*, std::vector<TAccessibleFactory>> Map;
    return Map;
}

} // namespace

TAccessibleRegistration::TAccessibleRegistration(const TClassInfo& Class,
                                                 TAccessibleFactory Factory)
    : FClass(&Class), FFactory(Factory) {
    Factories()[FClass].push_back(FFactory);
}

TAccessibleRegistration::~TAccessibleRegistration() {
    auto& Map = Factories();
    const auto Found = Map.find(FClass);
    if (Found == Map.end()) return;
    auto& Stack = Found->second;
    for (auto It = Stack.end(); It != Stack.begin();)
        if (*--It == FFactory) {
            Stack.erase(It);
            break;
        }
    if (Stack.empty()) Map.erase(Found);
}

std::unique_ptr<TAccessible> GetAccessible(TControl* Control) {
    if (!Control) return nullptr;
    const auto& Map = Factories();
    for (const TClassInfo* Class = &Control->ClassInfo(); Class; Class = Class->Parent) {
        const auto Found = Map.find(Class);
        if (Found != Map.end() && !Found->second.empty()) return Found->second.back()(Control);
    }
    return StandardAccessible(Control);
}

// --- events ------------------------------------------------------------------------------

namespace {

TAccEventListener& Listener() {
    static TAccEventListener Current;
    return Current;
}

} // namespace

void SetAccessibleEventListener(TAccEventListener NewListener) {
    Listener() = std::move(NewListener);
}

void NotifyAccessible(TControl* Control, const void* Key, TAccEvent Event) {
    if (const auto& Current = Listener(); Current && Control) Current(Control, Key, Event);
}

namespace {

TAccTextListener& TextListener() {
    static TAccTextListener Current;
    return Current;
}

unsigned TextGeneration = 0;

} // namespace

void SetAccessibleTextListener(TAccTextListener NewListener) {
    TextListener() = std::move(NewListener);
    ++TextGeneration;
}

unsigned AccessibleTextGeneration() {
    return TextListener() ? TextGeneration : 0;
}

bool AccessibleTextHeard() {
    return static_cast<bool>(TextListener());
}

void NotifyAccessibleText(TControl* Control, const TAccTextChange& Change) {
    if (const auto& Current = TextListener(); Current && Control && !Change.Text.empty())
        Current(Control, Change);
}

// --- the text picture --------------------------------------------------------------------

namespace {

void Describe(const TAccessible& Node, int Depth, int MaxChildren, String& Out) {
    Out.append(static_cast<size_t>(Depth) * 2, ' ');
    Out += AccRoleName(Node.GetRole());
    Out += " \"" + Node.GetName() + "\"";
    if (const unsigned S = Node.GetStates()) Out += " [" + AccStateNames(S) + "]";
    if (const String V = Node.GetValue(); !V.empty()) Out += " = " + V;
    Out += '\n';
    const int Count = Node.GetChildCount();
    const int Shown = std::min(Count, MaxChildren);
    for (int I = 0; I < Shown; ++I)
        if (const auto Child = Node.GetChild(I)) Describe(*Child, Depth + 1, MaxChildren, Out);
    if (Count > Shown) {
        Out.append(static_cast<size_t>(Depth + 1) * 2, ' ');
        Out += "(" + std::to_string(Count - Shown) + " more)\n";
    }
}

} // namespace

String DescribeAccessibleTree(const TAccessible& Root, int MaxChildren) {
    String Out;
    Describe(Root, 0, MaxChildren, Out);
    return Out;
}

} // namespace folio
