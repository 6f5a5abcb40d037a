// The form designer on the headless screen with a form of 200 components,
// one of them a bar of 100 groups of 100 items: opening the form file and
// showing it with the bar selected and its properties in the inspector
// (text and binary files), and one pointer move of a mouse drag of a
// component with the repaint it causes (a gauge, and the bar itself), and
// the tab-order dialog on 200 controls.
// Beside them, in the same run, the physical floor: a copy of the designed
// form's pixels.

#include "DesignedForm.h"
#include "DesignerWindow.h"
#include "TabOrderDialog.h"

#include "folio/Folio.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "samples/Cgauges.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace folio;
using namespace designer;

namespace {

constexpr int Components = 200;
constexpr int Groups = 100;
constexpr int ItemsPerGroup = 100;
constexpr int FormWidth = 1000;
constexpr int FormHeight = 700;

// The bar down the left side, the other 199 components in a grid beside it.
TDesignedForm MakeForm() {
    TDesignedForm Designed = NewDesignedForm(nullptr);
    TForm* Form = Designed.Form.get();
    Form->SetBounds(0, 0, FormWidth, FormHeight);
    auto* Bar = new TFolio(Form);
    Bar->SetName("Bar");
    Bar->SetBounds(8, 8, 200, FormHeight - 60);
    Bar->SetParent(Form);
    for (int G = 0; G < Groups; ++G) {
        TFolioGroup* Group = Bar->GetGroups()->Add("Group " + std::to_string(G + 1));
        for (int I = 0; I < ItemsPerGroup; ++I)
            Group->GetItems()->Add("Item " + std::to_string(I + 1), -1);
    }
    for (int I = 1; I < Components; ++I) {
        const String Name = "C" + std::to_string(I);
        TControl* Control = nullptr;
        switch (I % 5) {
        case 0:
            Control = new TButton(Form);
            break;
        case 1:
            Control = new TLabel(Form);
            break;
        case 2:
            Control = new TEdit(Form);
            break;
        case 3:
            Control = new TPanel(Form);
            break;
        default:
            Control = new TCGauge(Form);
            break;
        }
        Control->SetName(Name);
        const int Column = (I - 1) % 16;
        const int Row = (I - 1) / 16;
        Control->SetBounds(224 + Column * 48, 8 + Row * 52, 44, 40);
        Control->SetParent(Form);
        if (Control->GetControlStyle().Contains(csSetCaption)) Control->SetText(Name);
    }
    return Designed;
}

// One designer session for the whole program: its window shown, the test
// form written as a text and a binary file.
struct TSession {
    THeadlessHost Host{1280, 800};
    std::unique_ptr<TDesignerWindow> Window;
    std::filesystem::path Dir = std::filesystem::temp_directory_path() /
                                ("folio-bench-designer-" + std::to_string(::getpid()));

    TSession() {
        RegisterStandardControls();
        {
            static const int Owner = 0;
            TRegistrationScope Scope(DesignRegistry(), &Owner);
            RegisterComponents("Marrow", {&TFolio::StaticClassInfo()});
            RegisterComponents("Samples", {&TCGauge::StaticClassInfo()});
        }
        std::filesystem::create_directories(Dir);
        TDesignedForm Designed = MakeForm();
        WriteDesignedForm(Designed, File(feText), feText);
        WriteDesignedForm(Designed, File(feBinary), feBinary);
        Window = std::make_unique<TDesignerWindow>();
        Window->OnAskSave = [](const String&) { return mrNo; };
        Window->Show();
        Host.RunUntilIdle();
    }
    ~TSession() {
        Window.reset();
        std::filesystem::remove_all(Dir);
    }
    String File(TFormEncoding Encoding) const {
        return (Dir / (Encoding == feText ? "text.form" : "binary.form")).string();
    }
    TFormDesigner& Designer() { return Window->Designer(); }
    // Opens the test form and selects Name, and waits until all of it is
    // painted.
    TControl* OpenAndSelect(TFormEncoding Encoding, const String& Name) {
        Designer().Open(File(Encoding));
        auto* Selected = dynamic_cast<TControl*>(Designer().GetComponent(Name));
        Designer().SelectComponent(Selected);
        Host.RunUntilIdle();
        return Selected;
    }
};

TSession& Session() {
    static TSession S;
    return S;
}

// Arg 0: the text file, 1: the binary one. The form shown before is a new
// empty one, put there outside the timing.
void BM_OpenFormShowInspector(benchmark::State& State) {
    TSession& S = Session();
    const TFormEncoding Encoding = State.range(0) == 0 ? feText : feBinary;
    for (auto _ : State) {
        State.PauseTiming();
        S.Designer().NewForm();
        S.Host.RunUntilIdle();
        State.ResumeTiming();
        S.OpenAndSelect(Encoding, "Bar");
    }
    if (S.Designer().GetForm()->ComponentCount() != Components ||
        S.Window->Inspector().RowCount() < 20)
        State.SkipWithError("the form or the inspector came out wrong");
}
BENCHMARK(BM_OpenFormShowInspector)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A gauge is dragged, Arg 0: in the middle of the grid; 1: from the grid's
// first column to the left, over the bar, which repaints where it is
// uncovered. Each iteration is one pointer move of 16 pixels (two grid
// steps) with the button held, and the paint pass that shows it.
void BM_DragMove(benchmark::State& State) {
    TSession& S = Session();
    TControl* Dragged = S.OpenAndSelect(feBinary, State.range(0) == 0 ? "C84" : "C49");
    const int Sign = State.range(0) == 0 ? 1 : -1;
    const TRect Dropped = Dragged->GetBoundsRect();
    const TPoint From =
        Dragged->ClientToScreen(Point(Dragged->GetWidth() / 2, Dragged->GetHeight() - 4));
    S.Host.MoveTo(From);
    S.Host.Press();
    // Past the drag threshold first, so every timed move moves the control.
    S.Host.MoveTo(From.X + Sign * 8, From.Y);
    S.Host.RunUntilIdle();
    bool Back = false;
    for (auto _ : State) {
        S.Host.MoveTo(From.X + Sign * (Back ? 8 : 24), From.Y + (Back ? 0 : 16));
        S.Host.RunUntilIdle();
        Back = !Back;
    }
    const bool Moved = Dragged->GetBoundsRect() != Dropped;
    S.Host.Release();
    S.Host.RunUntilIdle();
    if (!Moved) State.SkipWithError("the drag did not move the control");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_DragMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Fifty components selected (the first fifty of the grid) are dragged
// together with the guides on: each iteration is one pointer move with the
// lining up against the other 150 and the paint pass that shows it.
void BM_DragSelectionOf50(benchmark::State& State) {
    TSession& S = Session();
    TControl* Dragged = S.OpenAndSelect(feBinary, "C20");
    std::vector<TPersistent*> Fifty;
    for (int I = 1; I <= 50; ++I)
        Fifty.push_back(S.Designer().GetComponent("C" + std::to_string(I)));
    S.Designer().SelectList(Fifty, Dragged);
    S.Designer().SetSnapToGuides(true);
    S.Host.RunUntilIdle();
    const TRect Dropped = Dragged->GetBoundsRect();
    const TPoint From =
        Dragged->ClientToScreen(Point(Dragged->GetWidth() / 2, Dragged->GetHeight() - 4));
    S.Host.MoveTo(From);
    S.Host.Press();
    S.Host.MoveTo(From.X + 8, From.Y);
    S.Host.RunUntilIdle();
    bool Back = false;
    for (auto _ : State) {
        S.Host.MoveTo(From.X + (Back ? 8 : 27), From.Y + (Back ? 0 : 13));
        S.Host.RunUntilIdle();
        Back = !Back;
    }
    const bool Moved = Dragged->GetBoundsRect() != Dropped;
    const bool All = S.Designer().GetSelectionList().size() == 50;
    S.Host.Release();
    S.Host.RunUntilIdle();
    if (!Moved || !All) State.SkipWithError("the selection did not move as one");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_DragSelectionOf50)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A band dragged over a form of 1,000 small controls: each iteration is
// one pointer move of the band with its repaint; the release selects.
void BM_BandOver1000(benchmark::State& State) {
    TSession& S = Session();
    const std::filesystem::path File = S.Dir / "thousand.form";
    if (!std::filesystem::exists(File)) {
        TDesignedForm Designed = NewDesignedForm(nullptr);
        Designed.Form->SetBounds(0, 0, FormWidth, FormHeight);
        for (int I = 0; I < 1000; ++I) {
            auto* Control = new TPanel(Designed.Form.get());
            Control->SetName("P" + std::to_string(I));
            Control->SetBounds(4 + I % 40 * 24, 4 + I / 40 * 26, 20, 22);
            Control->SetParent(Designed.Form.get());
        }
        WriteDesignedForm(Designed, File.string(), feBinary);
    }
    S.Designer().Open(File.string());
    S.Host.RunUntilIdle();
    TForm* Form = S.Designer().GetForm();
    const TPoint From = Form->ClientToScreen(Point(2, 2));
    S.Host.MoveTo(From);
    S.Host.Press();
    bool Back = false;
    for (auto _ : State) {
        S.Host.MoveTo(From.X + (Back ? 400 : 600), From.Y + (Back ? 300 : 450));
        S.Host.RunUntilIdle();
        Back = !Back;
    }
    S.Host.Release();
    S.Host.RunUntilIdle();
    if (S.Designer().GetSelectionList().size() < 100)
        State.SkipWithError("the band selected too little");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_BandOver1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The tab-order dialog on a form of 200 buttons: each iteration opens the
// dialog on the form's controls and shows it painted, moves the first
// control to the end with Down, and applies the order as one undo step.
void BM_TabOrderDialogOf200(benchmark::State& State) {
    TSession& S = Session();
    const std::filesystem::path File = S.Dir / "buttons.form";
    if (!std::filesystem::exists(File)) {
        TDesignedForm Designed = NewDesignedForm(nullptr);
        Designed.Form->SetBounds(0, 0, FormWidth, FormHeight);
        for (int I = 0; I < 200; ++I) {
            auto* Control = new TButton(Designed.Form.get());
            Control->SetName("B" + std::to_string(I));
            Control->SetBounds(4 + I % 20 * 48, 4 + I / 20 * 30, 44, 26);
            Control->SetParent(Designed.Form.get());
        }
        WriteDesignedForm(Designed, File.string(), feBinary);
    }
    S.Designer().Open(File.string());
    S.Host.RunUntilIdle();
    TForm* Form = S.Designer().GetForm();
    const size_t Steps = S.Designer().UndoCount();
    for (auto _ : State) {
        TTabOrderDialog Dialog(*Form, Form);
        Dialog.Form().Show();
        S.Host.RunUntilIdle();
        for (int I = 0; I < 199; ++I) Dialog.MoveChosen(1);
        ApplyTabOrder(S.Designer(), Dialog.Order());
        Dialog.Form().Hide();
    }
    S.Host.RunUntilIdle();
    if (S.Designer().UndoCount() != Steps + static_cast<size_t>(State.iterations()))
        State.SkipWithError("the order was not applied as one step each time");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_TabOrderDialogOf200)->Unit(benchmark::kMillisecond)->UseRealTime();

// The physical anchor: copying the designed form's pixels once.
void BM_AnchorMemcpyFormPixels(benchmark::State& State) {
    std::vector<char> A(static_cast<size_t>(FormWidth) * FormHeight * 4, 1), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::DoNotOptimize(B.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<long long>(A.size()));
}
BENCHMARK(BM_AnchorMemcpyFormPixels)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
