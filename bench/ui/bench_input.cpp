// Input routing: a pointer move over a form of 50 controls, found in z-order,
// converted to client coordinates and delivered as WM_MOUSEMOVE.
#include "framework/hosts/HeadlessHost.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace folio;

namespace {

class TTarget : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    long long Moves = 0;

protected:
    void MouseMove(TShiftState, int X, int Y) override { Moves += X + Y; }
};

// Arg 0: the pointer moves inside one control of the grid. Arg 1: it
// alternates between two controls, so every move leaves one and enters the
// other. Arg 2: as 1, with hints on every control, so every move also
// restarts the hint pause.
void BM_PointerMoveAmong50(benchmark::State& State) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 800, 600);
    std::vector<TTarget*> Targets;
    for (int I = 0; I < 50; ++I) {
        auto* T = new TTarget(&Form);
        T->SetBounds((I % 10) * 80, (I / 10) * 120, 70, 110);
        T->SetParent(&Form);
        if (State.range(0) == 2) {
            T->SetHint("Tile");
            T->SetShowHint(true);
        }
        Targets.push_back(T);
    }
    Form.Show();
    Host.RunUntilIdle();
    const bool Cross = State.range(0) != 0;
    // Control 37 sits in row 3, column 7.
    const TPoint A{7 * 80 + 10, 3 * 120 + 10};
    const TPoint B = Cross ? TPoint{6 * 80 + 10, 3 * 120 + 10} : TPoint{7 * 80 + 20, 3 * 120 + 20};
    bool Flip = false;
    for (auto _ : State) {
        InputRouter->MouseMove(Flip ? A : B);
        Flip = !Flip;
    }
    State.SetItemsProcessed(State.iterations());
    benchmark::DoNotOptimize(Targets[37]->Moves);
}
BENCHMARK(BM_PointerMoveAmong50)->Arg(0)->Arg(1)->Arg(2);

// The physical anchor: copying the bytes of one 70 x 110 control's pixels.
void BM_AnchorMemcpyControlPixels(benchmark::State& State) {
    std::vector<char> A(70 * 110 * 4, 1), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::DoNotOptimize(B.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<long long>(A.size()));
}
BENCHMARK(BM_AnchorMemcpyControlPixels);

} // namespace

BENCHMARK_MAIN();
