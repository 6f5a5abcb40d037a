// Dragging an item over the bar: one DragOver call between the items of an
// open group of N large items (N = 100 and N = 100,000, scrolled to the
// middle), the same move routed from the pointer through the input router
// and the drag manager, and, measured in the same run, a plain pointer move
// routed to the bar (hover tracking) and memset of the bar's pixels.

#include "bench/folio/BenchAnchor.h"
#include "bench/folio/BenchBar.h"
#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr int BarWidth = 240;
constexpr int BarHeight = 720;

// Lets the benchmark call the bar's drag handler as the drag manager does.
struct TBenchBar : TFolio {
    using TFolio::TFolio;
    void Over(TObject* Source, int X, int Y, bool& Accept) {
        DragOver(Source, X, Y, dsDragMove, Accept);
    }
};

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

struct TDragScene {
    THeadlessHost Host;
    TImageList Images{nullptr};
    TForm Form{nullptr};
    TBenchBar* Bar = nullptr;
    TFolioGroup* Open = nullptr;
    TPoint GapA, GapB; // client points over two gaps between items

    explicit TDragScene(int Items) {
        Bar = new TBenchBar(&Form);
        FillBenchBar(Form, *Bar, Images, BarWidth, BarHeight, Items);
        Open = Bar->GetGroups()->GetGroup(3);
        Bar->SetVisibleGroup(3);
        Form.Show();
        Host.RunUntilIdle();
        const int Start = Items / 2;
        Open->SetStartItem(Start);
        GapA = Centre(Open->GetInsertMarkRect(Start + 1));
        GapB = Centre(Open->GetInsertMarkRect(Start + 3));
    }
    ~TDragScene() {
        if (Application->GetDragManager().Active()) Host.Key(VK_ESCAPE);
        Host.Release();
    }

    // A real drag of the first item shown: press, then move past the threshold.
    void StartDrag() {
        const TPoint P = Centre(Open->GetItems()->GetItem(Open->GetStartItem())->GetImageRect());
        Host.MoveTo(Bar->ClientToScreen(P));
        Host.Press();
        Host.MoveTo(Bar->ClientToScreen(Point(P.X, P.Y + Mouse->GetDragThreshold())));
    }
};

void BM_MemsetBarPixels(benchmark::State& State) {
    MemsetPixels(State, BarWidth * BarHeight);
}
BENCHMARK(BM_MemsetBarPixels)->Unit(benchmark::kMicrosecond);

// Every call lands in another gap, so each one also moves the insert mark
// and asks for a repaint: the dearest kind of move.
void BM_DragOverBetweenItems(benchmark::State& State) {
    TDragScene Scene(static_cast<int>(State.range(0)));
    Scene.StartDrag();
    TObject* Source = Application->GetDragManager().DragObject();
    bool Flip = false;
    int Accepted = 0;
    for (auto _ : State) {
        const TPoint P = Flip ? Scene.GapA : Scene.GapB;
        bool Accept = false;
        Scene.Bar->Over(Source, P.X, P.Y, Accept);
        Accepted += Accept;
        Flip = !Flip;
    }
    if (Accepted != static_cast<int>(State.iterations()) || Scene.Bar->GetInsertIndex() < 0)
        State.SkipWithError("the pointer was not between items");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_DragOverBetweenItems)->Arg(100)->Arg(100000)->Unit(benchmark::kNanosecond);

// The same moves as the pointer makes them, in a drag (the router finds the
// bar, the drag manager sends it the move and picks the cursor) and, for
// comparison, without one (the bar tracks the hovered item).
void BM_PointerMoveRouted(benchmark::State& State) {
    TDragScene Scene(static_cast<int>(State.range(0)));
    const bool Dragging = State.range(1) != 0;
    if (Dragging) Scene.StartDrag();
    const TPoint A = Scene.Bar->ClientToScreen(Scene.GapA);
    const TPoint B = Scene.Bar->ClientToScreen(Scene.GapB);
    bool Flip = false;
    for (auto _ : State) {
        InputRouter->MouseMove(Flip ? A : B);
        Flip = !Flip;
    }
    if (Dragging && (!Application->GetDragManager().Active() || Scene.Bar->GetInsertIndex() < 0))
        State.SkipWithError("the drag did not run over the gaps");
    State.SetLabel(Dragging ? "dragging an item" : "no drag");
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_PointerMoveRouted)
    ->Args({100, 0})
    ->Args({100000, 0})
    ->Args({100, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
