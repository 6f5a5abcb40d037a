#include "FormDesigner.h"

#include "ComponentClipboard.h"
#include "DesignCommands.h"
#include "Guides.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace designer {

using namespace folio;

namespace {

// How far the pointer moves before a press on a control becomes a drag, so
// that a click to select never nudges it.
constexpr int DragThreshold = 3;

// The component that holds Instance: Instance itself, or the first
// component among its owners (a bar for one of its groups).
TComponent* HoldingComponent(TPersistent* Instance) {
    for (TPersistent* P = Instance; P; P = P->GetOwner())
        if (auto* C = dynamic_cast<TComponent*>(P)) return C;
    return nullptr;
}

} // namespace

// Hears when the component holding the selection goes, whoever frees it.
class TSelectionWatch : public TComponent {
public:
    explicit TSelectionWatch(std::function<void(TComponent*)> Gone)
        : TComponent(nullptr), FGone(std::move(Gone)) {}
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && FGone) FGone(AComponent);
    }

private:
    std::function<void(TComponent*)> FGone;
};

TFormDesigner::TFormDesigner()
    : FHandles(std::make_unique<TGrabHandles>()), FMarks(std::make_unique<TSelectionMarks>()),
      FBand(std::make_unique<TRubberBand>()), FGuides(std::make_unique<TGuideLines>()),
      FHint(std::make_unique<TPositionHint>()),
      FWatch(std::make_unique<TSelectionWatch>([this](TComponent* Gone) { SelectionGone(Gone); })) {
    FHandles->OnResizeTo = [this](const TRect& Bounds, bool Final) { ResizeTo(Bounds, Final); };
    NewForm();
}

TFormDesigner::~TFormDesigner() {
    HideDragFeedback();
    FHandles->Attach(nullptr);
    FMarks->Show({});
    FBand->Show(nullptr, TRect());
    FDesigned.Form.reset();
}

// --- the form and its file ---------------------------------------------------------

void TFormDesigner::ReplaceForm(TDesignedForm Designed) {
    ForgetSelection();
    if (FDesigned.Form) FDesigned.Form->Hide();
    FDesigned = std::move(Designed);
    FDesigned.Form->SetDesigner(this);
    ShowForm();
    Select(FDesigned.Form.get());
}

void TFormDesigner::ForgetSelection() {
    FHandles->Attach(nullptr);
    FMarks->Show({});
    FBand->Show(nullptr, TRect());
    HideDragFeedback();
    FBanding = false;
    for (TPersistent* P : FSelected)
        if (TComponent* Old = HoldingComponent(P)) FWatch->RemoveFreeNotification(Old);
    FSelection = nullptr;
    FSelected.clear();
    FDragControl = nullptr;
    FDragStarts.clear();
}

void TFormDesigner::ShowForm() {
    FDesigned.Form->Show();
}

void TFormDesigner::NewForm() {
    ReplaceForm(NewDesignedForm(nullptr));
    FFileName.clear();
    FEncoding = feText;
    FUndo.Clear();
    FCurrent = SnapshotForm(*FDesigned.Form);
    FSaved = FCurrent;
    FSelectionBefore = SelectionNames();
    SetModifiedFlag(false);
}

void TFormDesigner::Open(const String& FileName) {
    TDesignedForm Read = ReadDesignedForm(FileName, nullptr);
    bool Binary = false;
    {
        TFileStream File(FileName, fmOpenRead);
        Binary = IsBinaryForm(File);
    }
    ReplaceForm(std::move(Read));
    FFileName = FileName;
    FEncoding = Binary ? feBinary : feText;
    FUndo.Clear();
    FCurrent = SnapshotForm(*FDesigned.Form);
    FSaved = FCurrent;
    FSelectionBefore = SelectionNames();
    SetModifiedFlag(false);
}

void TFormDesigner::Save() {
    if (FFileName.empty())
        throw EInvalidOperation("The form has no file yet: save it with Save As");
    SaveAs(FFileName, FEncoding);
}

void TFormDesigner::SaveAs(const String& FileName, TFormEncoding Encoding) {
    WriteDesignedForm(FDesigned, FileName, Encoding);
    FFileName = FileName;
    FEncoding = Encoding;
    FSaved = FCurrent;
    SetModifiedFlag(false);
}

void TFormDesigner::WriteCopy(const String& FileName) const {
    WriteDesignedForm(FDesigned, FileName, feText);
}

void TFormDesigner::OpenRecovery(const String& Path) {
    TDesignedForm Read = ReadDesignedForm(Path, nullptr);
    const String Saved = FSaved;
    ReplaceForm(std::move(Read));
    FUndo.Clear();
    FCurrent = SnapshotForm(*FDesigned.Form);
    FSelectionBefore = SelectionNames();
    // Undo cannot reach the file's form, but the mark shows until a save.
    FSaved = Saved;
    SetModifiedFlag(true);
    if (OnChanged) OnChanged();
}

String TFormDesigner::GetDocumentName() const {
    return FFileName.empty() ? FDesigned.Form->GetName()
                             : std::filesystem::path(FFileName).filename().string();
}

String TFormDesigner::GetTitle() const {
    const String Name = GetDocumentName();
    return FModified ? Name + " *" : Name;
}

void TFormDesigner::SetModifiedFlag(bool Value) {
    FModified = Value;
    if (OnTitleChanged) OnTitleChanged();
}

// --- selection -----------------------------------------------------------------------

TControl* TFormDesigner::SelectedControl() const {
    return dynamic_cast<TControl*>(FSelection);
}

bool TFormDesigner::IsSelected(const TPersistent* Instance) const {
    return std::find(FSelected.begin(), FSelected.end(), Instance) != FSelected.end();
}

void TFormDesigner::Select(TPersistent* Instance) {
    ApplySelection(Instance ? std::vector<TPersistent*>{Instance} : std::vector<TPersistent*>{},
                   Instance);
}

void TFormDesigner::SelectList(const std::vector<TPersistent*>& Instances, TPersistent* Current) {
    std::vector<TPersistent*> List;
    for (TPersistent* P : Instances) {
        auto* C = dynamic_cast<TComponent*>(P);
        // Several are components of the form; the form goes with none.
        if (!C || C == FDesigned.Form.get() || C->GetOwner() != FDesigned.Form.get()) continue;
        if (std::find(List.begin(), List.end(), P) == List.end()) List.push_back(P);
    }
    if (List.empty()) return Select(FDesigned.Form.get());
    if (List.size() == 1) return Select(List.front());
    if (std::find(List.begin(), List.end(), Current) == List.end()) Current = List.back();
    ApplySelection(std::move(List), Current);
}

void TFormDesigner::ToggleSelection(TPersistent* Instance) {
    if (!Instance || Instance == FDesigned.Form.get()) return;
    std::vector<TPersistent*> List;
    for (TPersistent* P : FSelected)
        if (P != FDesigned.Form.get() && dynamic_cast<TComponent*>(P)) List.push_back(P);
    if (const auto It = std::find(List.begin(), List.end(), Instance); It != List.end()) {
        List.erase(It);
        SelectList(List, List.empty() ? nullptr : List.back());
    } else {
        List.push_back(Instance);
        SelectList(List, Instance);
    }
}

void TFormDesigner::ApplySelection(std::vector<TPersistent*> Selected, TPersistent* Current) {
    for (TPersistent* P : FSelected)
        if (TComponent* Old = HoldingComponent(P)) FWatch->RemoveFreeNotification(Old);
    FSelected = std::move(Selected);
    FSelection = Current;
    for (TPersistent* P : FSelected)
        if (TComponent* Holder = HoldingComponent(P)) FWatch->FreeNotification(Holder);
    UpdateMarks();
    // A selection made outside a change is where an undo of the next one
    // comes back to; one made by a change (the dropped component) is not.
    if (FChangeDepth == 0) FSelectionBefore = SelectionNames();
    if (OnSelectionChanged) OnSelectionChanged();
}

void TFormDesigner::UpdateMarks() {
    // One control has handles to size it by; several have grey marks.
    if (FSelected.size() > 1) {
        FHandles->Attach(nullptr);
        FMarks->Show(SelectedControls());
    } else {
        FMarks->Show({});
        auto* Control = SelectedControl();
        FHandles->Attach(Control == FDesigned.Form.get() ? nullptr : Control);
    }
}

void TFormDesigner::SelectionGone(TComponent* Gone) {
    const auto Held = [Gone](TPersistent* P) { return HoldingComponent(P) == Gone; };
    if (std::any_of(FSelected.begin(), FSelected.end(), Held)) {
        std::erase_if(FSelected, Held);
        if (Held(FSelection)) FSelection = FSelected.empty() ? nullptr : FSelected.back();
        UpdateMarks();
    }
    std::erase_if(FDragStarts, [Gone](const auto& S) { return S.first == Gone; });
    if (FDragControl == Gone) FDragControl = nullptr;
    if (FEditOnRelease == Gone) FEditOnRelease = nullptr;
}

std::vector<TControl*> TFormDesigner::SelectedControls() const {
    std::vector<TControl*> Controls;
    for (TPersistent* P : FSelected)
        if (auto* C = dynamic_cast<TControl*>(P); C && C != FDesigned.Form.get())
            Controls.push_back(C);
    return Controls;
}

std::vector<TComponent*> TFormDesigner::SelectedTops() const {
    std::vector<TComponent*> Tops;
    for (TPersistent* P : FSelected) {
        auto* C = dynamic_cast<TComponent*>(P);
        if (!C || C == FDesigned.Form.get()) continue;
        bool Inside = false;
        if (auto* Control = dynamic_cast<TControl*>(C))
            for (TControl* Up = Control->GetParent(); Up && !Inside; Up = Up->GetParent())
                Inside = IsSelected(Up);
        if (!Inside) Tops.push_back(C);
    }
    return Tops;
}

TSelectionNames TFormDesigner::SelectionNames() const {
    TSelectionNames Names;
    for (TPersistent* P : FSelected)
        if (TComponent* C = HoldingComponent(P)) Names.push_back(C->GetName());
    // The current one last, where a selection of several keeps it.
    if (TComponent* C = HoldingComponent(FSelection))
        if (FSelected.size() > 1) {
            std::erase(Names, C->GetName());
            Names.push_back(C->GetName());
        }
    return Names;
}

void TFormDesigner::SelectNames(const TSelectionNames& Names) {
    std::vector<TPersistent*> Found;
    for (const String& Name : Names)
        if (TPersistent* P =
                Name == FDesigned.Form->GetName() ? FDesigned.Form.get() : GetComponent(Name))
            Found.push_back(P);
    if (Found.size() == 1) return Select(Found.front());
    SelectList(Found, Found.empty() ? nullptr : Found.back());
}

void TFormDesigner::SelectComponent(TPersistent* Instance) {
    Select(Instance);
}

// --- changes -----------------------------------------------------------------------

void TFormDesigner::SetShowGrid(bool Value) {
    if (Value == FShowGrid) return;
    FShowGrid = Value;
    FDesigned.Form->Invalidate();
}

void TFormDesigner::PaintGrid() {
    if (!FShowGrid || FGridSize < 2) return;
    TCanvas* Canvas = FDesigned.Form->GetCanvas();
    // Only the points inside what is being painted: a drag repaints small
    // rectangles many times a second.
    const TRect Area =
        Canvas->HasClipRect() ? Canvas->GetClipRect() : FDesigned.Form->GetClientRect();
    const TColor Dot = clBtnText;
    const auto First = [this](int From) {
        return (std::max(0, From) + FGridSize - 1) / FGridSize * FGridSize;
    };
    for (int Y = First(Area.Top); Y < Area.Bottom; Y += FGridSize)
        for (int X = First(Area.Left); X < Area.Right; X += FGridSize) Canvas->SetPixel(X, Y, Dot);
}

int TFormDesigner::Snap(int Value) const {
    if (!FSnapToGrid || FGridSize <= 1) return Value;
    const int Down = Value >= 0 ? Value / FGridSize * FGridSize
                                : -((-Value + FGridSize - 1) / FGridSize * FGridSize);
    return Value - Down >= (FGridSize + 1) / 2 ? Down + FGridSize : Down;
}

void TFormDesigner::BeginChange() {
    ++FChangeDepth;
}

void TFormDesigner::EndChange() {
    if (FChangeDepth == 0) return;
    if (--FChangeDepth == 0 && FChangePending) {
        FChangePending = false;
        RecordChange();
    }
}

void TFormDesigner::Modified() {
    if (FChangeDepth > 0) {
        FChangePending = true;
        return;
    }
    RecordChange();
}

void TFormDesigner::RecordChange() {
    FMarks->Update();
    String After = SnapshotForm(*FDesigned.Form);
    // A change that changed nothing (a verb that found nothing to do) is
    // still told, but there is nothing to undo.
    TSelectionNames Selection = SelectionNames();
    if (After != FCurrent) FUndo.Record(FCurrent, FSelectionBefore, After, Selection);
    FCurrent = std::move(After);
    FSelectionBefore = std::move(Selection);
    FHandles->Update();
    SetModifiedFlag(true);
    if (OnChanged) OnChanged();
}

void TFormDesigner::Undo() {
    if (!FUndo.CanUndo()) return;
    TSelectionNames Selection;
    String State = FUndo.Undo(FCurrent, Selection);
    ShowHistoryStep(State, Selection);
}

void TFormDesigner::Redo() {
    if (!FUndo.CanRedo()) return;
    TSelectionNames Selection;
    String State = FUndo.Redo(FCurrent, Selection);
    ShowHistoryStep(State, Selection);
}

void TFormDesigner::ShowHistoryStep(const String& State, const TSelectionNames& Selection) {
    ShowSnapshot(State);
    // The form keeps its place on the screen, so it may write itself other
    // than the step held it: the history goes on from the form as shown,
    // or the next change would record that difference as one of its own.
    String Shown = SnapshotForm(*FDesigned.Form);
    if (Shown != State) FUndo.Rebase(State, Shown);
    FCurrent = std::move(Shown);
    // The selection is found again by name in the form as it was.
    SelectNames(Selection);
    SetModifiedFlag(FCurrent != FSaved);
    if (OnChanged) OnChanged();
}

void TFormDesigner::ClearHistory() {
    FUndo.Clear();
    if (OnTitleChanged) OnTitleChanged();
}

void TFormDesigner::ShowSnapshot(const String& Snapshot) {
    // The form shown becomes the snapshot's, in the window it has: a new
    // window would take the keyboard from wherever the user was typing.
    ForgetSelection();
    RestoreFormInPlace(*FDesigned.Form, Snapshot);
    Select(FDesigned.Form.get());
}

// --- the clipboard ---------------------------------------------------------------------

void TFormDesigner::CopySelection() {
    std::vector<String> Names;
    for (TComponent* C : SelectedTops()) Names.push_back(C->GetName());
    if (Names.empty()) return;
    Clipboard()->SetAsText(CopyComponentsText(SnapshotTree(SnapshotForm(*FDesigned.Form)), Names));
}

void TFormDesigner::CutSelection() {
    if (SelectedTops().empty()) return;
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    CopySelection();
    DeleteSelection();
}

void TFormDesigner::Paste() {
    const String Text = Clipboard()->GetAsText();
    if (Text.empty()) return;
    // Into a selected control that takes children, else beside the selection.
    String Parent;
    if (TControl* Control = SelectedControl()) {
        if (Control->GetControlStyle().Contains(csAcceptsControls))
            Parent = Control->GetName();
        else if (Control->GetParent())
            Parent = Control->GetParent()->GetName();
    }
    TFormObject Tree = SnapshotTree(SnapshotForm(*FDesigned.Form));
    const std::vector<String> Pasted = PasteComponentsText(Tree, Text, Parent, FGridSize);
    const String Snapshot = TreeSnapshot(Tree);
    // A value the reader refuses in the pasted blocks raises on a form of
    // their own, before the form shown loses anything.
    RestoreForm(Snapshot, nullptr);
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    ShowSnapshot(Snapshot);
    SelectNames(Pasted);
    Modified();
}

TComponent* TFormDesigner::DropComponent(const TClassInfo& Class, TWinControl* Parent, TPoint Pos) {
    if (!Class.CreateComponent)
        throw EInvalidOperation("The class " + Class.Name + " cannot be created by name");
    TForm* Form = FDesigned.Form.get();
    TComponent* Component = Class.CreateComponent(Form);
    TScopeGuard Undo([Component] { delete Component; });
    Component->SetName(UniqueName(Class.Name));
    if (auto* Control = dynamic_cast<TControl*>(Component)) {
        if (!Parent) Parent = Form;
        Control->SetBounds(Snap(Pos.X), Snap(Pos.Y), Control->GetWidth(), Control->GetHeight());
        Control->SetParent(Parent);
        // Buttons, labels and panels start out showing their name.
        if (Control->GetControlStyle().Contains(csSetCaption))
            Control->SetText(Component->GetName());
    }
    Undo.Dismiss();
    FPaletteClass = nullptr;
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    Select(Component);
    Modified();
    return Component;
}

void TFormDesigner::SelectNextComponent(bool Forward) {
    TForm* Form = FDesigned.Form.get();
    const int Count = Form->ComponentCount();
    if (Count == 0) return;
    TComponent* Current = HoldingComponent(FSelection);
    const int Index = Current && Current != Form ? Current->ComponentIndex() : -1;
    const int Next =
        Index < 0 ? (Forward ? 0 : Count - 1) : (Index + (Forward ? 1 : Count - 1)) % Count;
    Select(Form->Components(Next));
}

void TFormDesigner::DeleteSelection() {
    const std::vector<TComponent*> Tops = SelectedTops();
    if (Tops.empty()) return;
    // The parent of the current one is selected next (the form for several
    // or for a component that is no control).
    TComponent* Next = FDesigned.Form.get();
    if (Tops.size() == 1)
        if (auto* Control = dynamic_cast<TControl*>(Tops.front()))
            if (Control->GetParent()) Next = Control->GetParent();
    // A container goes with what it holds: the controls inside it belong to
    // the form, and would otherwise stay in it, unseen, without a parent.
    std::vector<String> Names;
    std::function<void(TComponent*)> Collect = [&](TComponent* C) {
        if (auto* Container = dynamic_cast<TWinControl*>(C))
            for (int I = 0; I < Container->ControlCount(); ++I)
                if (TControl* Child = Container->Controls(I);
                    Child->GetOwner() == FDesigned.Form.get())
                    Collect(Child);
        Names.push_back(C->GetName());
    };
    for (TComponent* C : Tops) Collect(C);
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    Select(Next);
    // Innermost first, and by name: a component may take others with it.
    for (const String& Name : Names) delete GetComponent(Name);
    Modified();
}

void TFormDesigner::ApplyBounds(TControl* Control, const TRect& Bounds) {
    Control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    FHandles->Update();
    FMarks->Update();
}

void TFormDesigner::MoveSelection(int DX, int DY) {
    std::vector<TControl*> Controls;
    for (TComponent* C : SelectedTops())
        if (auto* Control = dynamic_cast<TControl*>(C)) Controls.push_back(Control);
    if (Controls.empty()) return;
    for (TControl* Control : Controls) {
        const TRect R = Control->GetBoundsRect();
        Control->SetBounds(R.Left + DX, R.Top + DY, R.Width(), R.Height());
    }
    FHandles->Update();
    FMarks->Update();
    Modified();
}

void TFormDesigner::SizeSelection(int DW, int DH) {
    const std::vector<TControl*> Controls = SelectedControls();
    if (Controls.empty()) return;
    for (TControl* Control : Controls) {
        TRect R = Control->GetBoundsRect();
        R.Right = std::max(R.Left + 1, R.Right + DW);
        R.Bottom = std::max(R.Top + 1, R.Bottom + DH);
        ApplyBounds(Control, R);
    }
    Modified();
}

void TFormDesigner::AlignSelection(TAlignCommand Command) {
    TControl* Current = SelectedControl();
    std::vector<TControl*> Controls = SelectedControls();
    if (!Current || Current == FDesigned.Form.get()) {
        if (Controls.empty()) return;
        Current = Controls.back();
    }
    std::erase_if(Controls,
                  [Current](TControl* C) { return C->GetParent() != Current->GetParent(); });
    if (Controls.size() < 2) return;
    std::vector<TRect> Bounds;
    for (TControl* C : Controls) Bounds.push_back(C->GetBoundsRect());
    const std::size_t Reference = static_cast<std::size_t>(
        std::find(Controls.begin(), Controls.end(), Current) - Controls.begin());
    const std::vector<TRect> Aligned = AlignedBounds(Bounds, Reference, Command);
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    for (std::size_t I = 0; I < Controls.size(); ++I)
        if (Aligned[I] != Bounds[I]) {
            ApplyBounds(Controls[I], Aligned[I]);
            Modified();
        }
}

bool TFormDesigner::CanHold(const TWinControl* Parent, const TControl* Control) const {
    const TForm* Form = FDesigned.Form.get();
    if (!Parent || !Control || Control == Form) return false;
    if (Parent != Form && Parent->GetOwner() != Form) return false;
    if (!Parent->GetControlStyle().Contains(csAcceptsControls)) return false;
    for (const TControl* Up = Parent; Up; Up = Up->GetParent())
        if (Up == Control) return false;
    return true;
}

void TFormDesigner::Reparent(const std::vector<TControl*>& Controls, TWinControl* NewParent) {
    for (const TControl* Control : Controls)
        if (!CanHold(NewParent, Control))
            throw EInvalidOperation(
                (NewParent ? NewParent->GetName() : String("Nothing")) + " cannot hold " +
                (Control ? Control->GetName() : String("that")) +
                (NewParent && !NewParent->GetControlStyle().Contains(csAcceptsControls)
                     ? ": it holds no other controls"
                     : ""));
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    for (TControl* Control : Controls) {
        if (Control->GetParent() == NewParent) continue;
        const TPoint OnScreen =
            Control->GetParent()
                ? Control->GetParent()->ClientToScreen(Point(Control->GetLeft(), Control->GetTop()))
                : Point(Control->GetLeft(), Control->GetTop());
        TPoint At = NewParent->ScreenToClient(OnScreen);
        At.X = std::clamp(Snap(At.X), 0,
                          std::max(0, NewParent->GetClientWidth() - Control->GetWidth()));
        At.Y = std::clamp(Snap(At.Y), 0,
                          std::max(0, NewParent->GetClientHeight() - Control->GetHeight()));
        Control->SetParent(NewParent);
        Control->SetBounds(At.X, At.Y, Control->GetWidth(), Control->GetHeight());
        Modified();
    }
    UpdateMarks();
}

TWinControl* TFormDesigner::ContainerAt(TPoint ScreenPos) const {
    TWinControl* At = FDesigned.Form.get();
    const auto Dragged = [this](const TControl* C) {
        return std::any_of(FDragStarts.begin(), FDragStarts.end(),
                           [C](const auto& S) { return S.first == C; });
    };
    for (bool Deeper = true; Deeper;) {
        Deeper = false;
        const TPoint P = At->ScreenToClient(ScreenPos);
        // The topmost control under the point; one that holds no children
        // leaves the drop to the container around it.
        for (int I = At->ControlCount() - 1; I >= 0; --I) {
            TControl* C = At->Controls(I);
            if (C->GetOwner() != FDesigned.Form.get() || !C->GetVisible() || Dragged(C) ||
                !C->GetBoundsRect().Contains(P))
                continue;
            auto* W = dynamic_cast<TWinControl*>(C);
            if (W && W->GetControlStyle().Contains(csAcceptsControls)) {
                At = W;
                Deeper = true;
            }
            break;
        }
    }
    return At;
}

void TFormDesigner::BringSelectionToFront() {
    const std::vector<TControl*> Controls = SelectedControls();
    if (Controls.empty()) return;
    for (TControl* C : Controls) {
        C->BringToFront();
        C->SetComponentIndex(FDesigned.Form->ComponentCount() - 1);
    }
    UpdateMarks();
    Modified();
}

void TFormDesigner::SendSelectionToBack() {
    const std::vector<TControl*> Controls = SelectedControls();
    if (Controls.empty()) return;
    // The last sent goes lowest: in reverse, the selection keeps its own order.
    for (auto It = Controls.rbegin(); It != Controls.rend(); ++It) {
        (*It)->SendToBack();
        (*It)->SetComponentIndex(0);
    }
    UpdateMarks();
    Modified();
}

// --- component editors ----------------------------------------------------------------

std::unique_ptr<TComponentEditor> TFormDesigner::GetComponentEditor(TComponent* Component) {
    return DesignRegistry().GetComponentEditor(Component, this);
}

void TFormDesigner::ExecuteVerb(const String& Verb) {
    auto* Component = dynamic_cast<TComponent*>(FSelection);
    if (!Component) throw EInvalidOperation("Verbs belong to components; select one first");
    auto Editor = GetComponentEditor(Component);
    for (int I = 0; I < Editor->GetVerbCount(); ++I)
        if (Editor->GetVerb(I) == Verb) {
            BeginChange();
            TScopeGuard End([this] { EndChange(); });
            Editor->ExecuteVerb(I);
            return;
        }
    throw EInvalidOperation(Component->GetName() + " has no verb \"" + Verb + "\"");
}

void TFormDesigner::EditComponent(TComponent* Component) {
    auto Editor = GetComponentEditor(Component);
    BeginChange();
    TScopeGuard End([this] { EndChange(); });
    Editor->Edit();
}

// --- input -----------------------------------------------------------------------------

bool TFormDesigner::IsDesignMsg(TControl* Sender, TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        // Every key on the designed form is the designer's.
        Message.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS;
        return true;
    case CM_WANTSPECIALKEY:
        Message.Result = 1;
        return true;
    case WM_KEYDOWN:
        return KeyMessage(Message);
    case WM_KEYUP:
    case WM_CHAR:
        return true;
    default:
        return MouseMessage(Sender, Message);
    }
}

bool TFormDesigner::MouseMessage(TControl* Sender, TMessage& Message) {
    const TPoint P = LParamToPoint(Message.LParam);
    // The control may want some presses itself (the bar's captions).
    if (Sender != FDesigned.Form.get() && !FDragControl && !FBanding &&
        Sender->Perform(CM_DESIGNHITTEST, Message.WParam, Message.LParam) != 0)
        return false;
    const auto OnForm = [&] { return FDesigned.Form->ScreenToClient(Sender->ClientToScreen(P)); };
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        PressOn(Sender, P, (Message.WParam & (MK_SHIFT | MK_CONTROL)) != 0);
        return true;
    case WM_MOUSEMOVE:
        if (!(Message.WParam & MK_LBUTTON)) return true;
        if (FDragControl) DragTo(Sender->ClientToScreen(P));
        if (FBanding) BandTo(OnForm());
        return true;
    case WM_LBUTTONUP:
        if (FBanding) EndBand(OnForm());
        if (FDragControl) {
            DragTo(Sender->ClientToScreen(P));
            const bool Moved = FDragMoved;
            // Let go over another container, the dragged controls move into it.
            TWinControl* Target = Moved ? ContainerAt(Sender->ClientToScreen(P)) : nullptr;
            std::vector<TControl*> Moving;
            for (const auto& Start : FDragStarts) Moving.push_back(Start.first);
            TControl* Pressed = std::exchange(FDragControl, nullptr);
            HideDragFeedback();
            FDragStarts.clear();
            if (Moved) {
                BeginChange();
                TScopeGuard End([this] { EndChange(); });
                if (Target && Pressed->GetParent() != Target &&
                    std::all_of(Moving.begin(), Moving.end(),
                                [&](TControl* C) { return CanHold(Target, C); }))
                    Reparent(Moving, Target);
                Modified();
            } else if (FSelected.size() > 1)
                // A click that did not drag selects the one clicked alone.
                Select(Pressed);
        }
        if (TControl* Edited = std::exchange(FEditOnRelease, nullptr)) EditComponent(Edited);
        return true;
    case WM_LBUTTONDBLCLK:
        // The editor (often a dialog) opens once the button is up, so that
        // the dialog gets the mouse and not the control under it.
        if (Sender != FDesigned.Form.get()) FEditOnRelease = Sender;
        return true;
    case WM_RBUTTONDOWN:
        // A right click inside the selection keeps it, for commands on all.
        if (!IsSelected(Sender)) Select(Sender);
        return true;
    case WM_RBUTTONUP:
        if (OnContextMenu) OnContextMenu(Sender, Sender->ClientToScreen(P));
        return true;
    default:
        return true;
    }
}

void TFormDesigner::PressOn(TControl* Sender, TPoint ClientPos, bool Adding) {
    if (FPaletteClass) {
        // A control that takes children gets the new one; any other control
        // hands it to its parent, where it lands under the pointer.
        auto* Parent = dynamic_cast<TWinControl*>(Sender);
        TPoint Pos = ClientPos;
        if (!Parent || !Sender->GetControlStyle().Contains(csAcceptsControls)) {
            Parent = Sender->GetParent();
            Pos = Parent->ScreenToClient(Sender->ClientToScreen(ClientPos));
        }
        DropComponent(*FPaletteClass, Parent, Pos);
        return;
    }
    if (Sender == FDesigned.Form.get()) {
        // The form's empty area: a band selects what it touches.
        if (!Adding) Select(Sender);
        FBanding = true;
        FBandAdds = Adding;
        FBandStart = FBandEnd = ClientPos;
        return;
    }
    if (Adding) {
        ToggleSelection(Sender);
        return;
    }
    // A press inside a selection of several drags them all.
    if (!IsSelected(Sender) || FSelected.size() < 2)
        Select(Sender);
    else
        ApplySelection(FSelected, Sender);
    FDragControl = Sender;
    FDragStart = Sender->ClientToScreen(ClientPos);
    FDragBounds = Sender->GetBoundsRect();
    FDragStarts.clear();
    for (TComponent* C : SelectedTops())
        if (auto* Control = dynamic_cast<TControl*>(C))
            FDragStarts.emplace_back(Control, Control->GetBoundsRect());
    FDragMoved = false;
}

void TFormDesigner::DragTo(TPoint ScreenPos) {
    const int DX = ScreenPos.X - FDragStart.X;
    const int DY = ScreenPos.Y - FDragStart.Y;
    if (!FDragMoved && std::abs(DX) < DragThreshold && std::abs(DY) < DragThreshold) return;
    FDragMoved = true;
    // The control pressed lines up with a neighbour or the parent where one
    // is near, else lands on the grid; the others keep their places beside it.
    int MoveX = Snap(FDragBounds.Left + DX) - FDragBounds.Left;
    int MoveY = Snap(FDragBounds.Top + DY) - FDragBounds.Top;
    std::optional<int> GuideX, GuideY;
    TWinControl* Parent = FDragControl->GetParent();
    if (FSnapToGuides && Parent) {
        const TRect Proposed = Bounds(FDragBounds.Left + DX, FDragBounds.Top + DY,
                                      FDragBounds.Width(), FDragBounds.Height());
        const TGuideSnap Guides =
            SnapToGuides(Proposed, Neighbours(FDragControl), Parent->GetClientRect(), GuideReach);
        if (Guides.GuideX) {
            MoveX = DX + Guides.DX;
            GuideX = Guides.GuideX;
        }
        if (Guides.GuideY) {
            MoveY = DY + Guides.DY;
            GuideY = Guides.GuideY;
        }
    }
    // The marks of the selection follow once all of it has moved: placing
    // them after each control would place every mark once per control.
    for (const auto& [Control, Start] : FDragStarts)
        Control->SetBounds(Start.Left + MoveX, Start.Top + MoveY, Start.Width(), Start.Height());
    FHandles->Update();
    FMarks->Update();
    FGuides->Show(Parent, GuideX, GuideY);
    const TPoint Pointer = FDesigned.Form->ScreenToClient(ScreenPos);
    FHint->ShowAt(FDesigned.Form.get(), Point(Pointer.X + 16, Pointer.Y + 16),
                  IntToStr(FDragControl->GetLeft()) + ", " + IntToStr(FDragControl->GetTop()));
    if (OnSelectionMoved) OnSelectionMoved();
}

std::vector<TRect> TFormDesigner::Neighbours(const TControl* Control) const {
    std::vector<TRect> Others;
    const TWinControl* Parent = Control->GetParent();
    if (!Parent) return Others;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* Sibling = Parent->Controls(I);
        if (Sibling == Control || Sibling->GetOwner() != FDesigned.Form.get() ||
            !Sibling->GetVisible())
            continue;
        if (std::any_of(FDragStarts.begin(), FDragStarts.end(),
                        [Sibling](const auto& S) { return S.first == Sibling; }))
            continue;
        Others.push_back(Sibling->GetBoundsRect());
    }
    return Others;
}

void TFormDesigner::HideDragFeedback() {
    FGuides->Hide();
    FHint->ShowAt(nullptr, TPoint(), String());
}

void TFormDesigner::ResizeTo(const TRect& Bounds, bool Final) {
    TControl* Control = SelectedControl();
    if (!Control) return;
    if (!FResizeStart) FResizeStart = Control->GetBoundsRect();
    const TRect Start = *FResizeStart;
    // Only the edges the handle moves line up or snap; the others stay.
    std::optional<int> GuideX, GuideY;
    const std::vector<TRect> Others = Neighbours(Control);
    const TRect Room = Control->GetParent() ? Control->GetParent()->GetClientRect() : TRect();
    auto SnapOne = [&](int Value, int Was, bool Vertical) {
        if (Value == Was) return Value;
        if (FSnapToGuides && Control->GetParent()) {
            const TEdgeSnap E = SnapEdge(Value, Vertical, Others, Room, GuideReach);
            if (E.Guide) {
                (Vertical ? GuideX : GuideY) = E.Guide;
                return E.Value;
            }
        }
        return Snap(Value);
    };
    TRect R;
    R.Left = SnapOne(Bounds.Left, Start.Left, true);
    R.Top = SnapOne(Bounds.Top, Start.Top, false);
    R.Right = std::max(R.Left + 1, SnapOne(Bounds.Right, Start.Right, true));
    R.Bottom = std::max(R.Top + 1, SnapOne(Bounds.Bottom, Start.Bottom, false));
    ApplyBounds(Control, R);
    if (Final) {
        FResizeStart.reset();
        HideDragFeedback();
        Modified();
        return;
    }
    FGuides->Show(Control->GetParent(), GuideX, GuideY);
    const TPoint Corner = FDesigned.Form->ScreenToClient(
        Control->ClientToScreen(Point(Control->GetWidth(), Control->GetHeight())));
    FHint->ShowAt(FDesigned.Form.get(), Point(Corner.X + 12, Corner.Y + 12),
                  IntToStr(Control->GetWidth()) + " x " + IntToStr(Control->GetHeight()));
    if (OnSelectionMoved) OnSelectionMoved();
}

TRect TFormDesigner::GetBandRect() const {
    if (!FBanding) return TRect();
    return Rect(std::min(FBandStart.X, FBandEnd.X), std::min(FBandStart.Y, FBandEnd.Y),
                std::max(FBandStart.X, FBandEnd.X), std::max(FBandStart.Y, FBandEnd.Y));
}

void TFormDesigner::BandTo(TPoint FormPos) {
    FBandEnd = FormPos;
    FBand->Show(FDesigned.Form.get(), GetBandRect());
}

void TFormDesigner::EndBand(TPoint FormPos) {
    FBandEnd = FormPos;
    const TRect Band = GetBandRect();
    FBanding = false;
    FBand->Show(nullptr, TRect());
    // A press without a drag only selects the form.
    if (Band.Width() < DragThreshold && Band.Height() < DragThreshold) return;
    std::vector<TPersistent*> Touched;
    if (FBandAdds)
        for (TPersistent* P : FSelected)
            if (P != FDesigned.Form.get()) Touched.push_back(P);
    TForm* Form = FDesigned.Form.get();
    for (int I = 0; I < Form->ControlCount(); ++I) {
        TControl* Control = Form->Controls(I);
        if (Control->GetOwner() != Form) continue; // the designer's own handles
        const TRect R = Control->GetBoundsRect();
        if (R.Left < Band.Right && Band.Left < R.Right && R.Top < Band.Bottom &&
            Band.Top < R.Bottom && !IsSelected(Control))
            Touched.push_back(Control);
    }
    SelectList(Touched, Touched.empty() ? nullptr : Touched.back());
}

bool TFormDesigner::KeyMessage(TMessage& Message) {
    const bool Shift = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0) {
        switch (Message.WParam) {
        case 'C':
            CopySelection();
            break;
        case 'X':
            CutSelection();
            break;
        case 'V':
            RunReporting(*this, [this] { Paste(); });
            break;
        case 'Z':
            Shift ? Redo() : Undo();
            break;
        case 'Y':
            Redo();
            break;
        default:
            if (OnCommandKey)
                OnCommandKey(static_cast<unsigned short>(Message.WParam),
                             Shift ? TShiftState{ssCtrl, ssShift} : TShiftState{ssCtrl});
            break;
        }
        return true;
    }
    const int Step = 1;
    switch (Message.WParam) {
    case VK_LEFT:
        Shift ? SizeSelection(-Step, 0) : MoveSelection(-Step, 0);
        break;
    case VK_RIGHT:
        Shift ? SizeSelection(Step, 0) : MoveSelection(Step, 0);
        break;
    case VK_UP:
        Shift ? SizeSelection(0, -Step) : MoveSelection(0, -Step);
        break;
    case VK_DOWN:
        Shift ? SizeSelection(0, Step) : MoveSelection(0, Step);
        break;
    case VK_DELETE:
        DeleteSelection();
        break;
    case VK_TAB:
        SelectNextComponent(!Shift);
        break;
    case VK_ESCAPE:
        // Up to the parent, as far as the form.
        if (FBanding) {
            FBanding = false;
            FBand->Show(nullptr, TRect());
        } else if (TControl* Control = SelectedControl(); Control && Control->GetParent())
            Select(Control->GetParent());
        else if (FSelection && !dynamic_cast<TComponent*>(FSelection))
            Select(HoldingComponent(FSelection));
        break;
    default:
        break;
    }
    return true;
}

} // namespace designer
