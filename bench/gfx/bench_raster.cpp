// Canvas raster primitives, each beside its anchor: a memset or memcpy of the
// bytes the primitive writes, measured in the same run. Every primitive also
// reports "x_anchor", its CPU time divided by the anchor's (best of seven
// batches).

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

using namespace folio;

namespace {

// Thread CPU time: other processes sharing the machine do not count.
double CpuNs() {
    timespec T;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return T.tv_sec * 1e9 + T.tv_nsec;
}

// Nanoseconds per call of Fn: the best of several timed batches.
template <class F>
double TimeNs(F&& Fn, int Batch) {
    double Best = 1e30;
    for (int Round = 0; Round < 7; ++Round) {
        const double T0 = CpuNs();
        for (int I = 0; I < Batch; ++I) Fn();
        Best = std::min(Best, (CpuNs() - T0) / Batch);
    }
    return Best;
}

double MemsetNs(size_t Bytes, int Batch) {
    std::vector<unsigned char> Buffer(Bytes);
    int Value = 0;
    return TimeNs(
        [&] {
            std::memset(Buffer.data(), ++Value & 0xFF, Bytes);
            benchmark::ClobberMemory();
        },
        Batch);
}

double MemcpyNs(size_t Bytes, int Batch) {
    std::vector<unsigned char> A(Bytes, 1), B(Bytes, 2);
    return TimeNs(
        [&] {
            std::memcpy(B.data(), A.data(), Bytes);
            benchmark::ClobberMemory();
        },
        Batch);
}

// Runs Fn under the benchmark loop and reports it against the anchor.
template <class F>
void RunAgainst(benchmark::State& State, double AnchorNs, F&& Fn) {
    const double T0 = CpuNs();
    std::int64_t N = 0;
    for (auto _ : State) {
        Fn();
        benchmark::ClobberMemory();
        ++N;
    }
    const double Ns = (CpuNs() - T0) / static_cast<double>(std::max<std::int64_t>(N, 1));
    State.counters["anchor_ns"] = AnchorNs;
    State.counters["x_anchor"] = Ns / AnchorNs;
}

void Paper(TBitmap& B, int W, int H) {
    B.SetSize(W, H);
    B.GetCanvas()->GetPen()->SetColor(clBlack);
    B.GetCanvas()->GetBrush()->SetColor(clRed);
}

void BM_FillRect_240x720(benchmark::State& State) {
    TBitmap B;
    Paper(B, 240, 720);
    TCanvas* C = B.GetCanvas();
    const double Anchor = MemsetNs(240 * 720 * 4, 200);
    int I = 0;
    RunAgainst(State, Anchor, [&] {
        C->GetBrush()->SetColor((++I & 1) ? clRed : clBlue);
        C->FillRect(Rect(0, 0, 240, 720));
    });
}
BENCHMARK(BM_FillRect_240x720);

void BM_Anchor_Memset_240x720(benchmark::State& State) {
    std::vector<unsigned char> Buffer(240 * 720 * 4);
    int Value = 0;
    for (auto _ : State) {
        std::memset(Buffer.data(), ++Value & 0xFF, Buffer.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Anchor_Memset_240x720);

void CopyBench(benchmark::State& State, TCopyMode Mode, bool ViaDraw) {
    TBitmap Src, Dst;
    Paper(Src, 240, 600);
    Paper(Dst, 240, 600);
    Src.GetCanvas()->FillRect(Rect(0, 0, 240, 600));
    TCanvas* C = Dst.GetCanvas();
    C->SetCopyMode(Mode);
    const double Anchor = MemcpyNs(240 * 600 * 4, 200);
    RunAgainst(State, Anchor, [&] {
        if (ViaDraw)
            C->Draw(0, 0, &Src);
        else
            C->CopyRect(Rect(0, 0, 240, 600), Src.GetCanvas(), Rect(0, 0, 240, 600));
    });
}

void BM_CopyRect_240x600(benchmark::State& State) {
    CopyBench(State, cmSrcCopy, false);
}
BENCHMARK(BM_CopyRect_240x600);
void BM_Draw_240x600(benchmark::State& State) {
    CopyBench(State, cmSrcCopy, true);
}
BENCHMARK(BM_Draw_240x600);
void BM_CopyRect_Xor_240x600(benchmark::State& State) {
    CopyBench(State, cmSrcInvert, false);
}
BENCHMARK(BM_CopyRect_Xor_240x600);
void BM_Draw_Xor_240x600(benchmark::State& State) {
    CopyBench(State, cmSrcInvert, true);
}
BENCHMARK(BM_Draw_Xor_240x600);

void BM_Anchor_Memcpy_240x600(benchmark::State& State) {
    std::vector<unsigned char> A(240 * 600 * 4, 1), B(240 * 600 * 4, 2);
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Anchor_Memcpy_240x600);

void BM_HorizontalLine_240(benchmark::State& State) {
    TBitmap B;
    Paper(B, 256, 256);
    TCanvas* C = B.GetCanvas();
    const double Anchor = MemsetNs(240 * 4, 20000);
    int Y = 0;
    RunAgainst(State, Anchor, [&] {
        Y = (Y + 1) & 255;
        C->MoveTo(8, Y);
        C->LineTo(248, Y);
    });
}
BENCHMARK(BM_HorizontalLine_240);

void BM_DiagonalLine_100(benchmark::State& State) {
    TBitmap B;
    Paper(B, 256, 256);
    TCanvas* C = B.GetCanvas();
    const double Anchor = MemsetNs(100 * 4, 20000);
    int X = 0;
    RunAgainst(State, Anchor, [&] {
        X = (X + 1) & 127;
        C->MoveTo(X, 10);
        C->LineTo(X + 100, 10 + 73); // a 100-pixel line at a shallow angle
    });
}
BENCHMARK(BM_DiagonalLine_100);

void BM_RectangleOutline_40x20(benchmark::State& State) {
    TBitmap B;
    Paper(B, 256, 256);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    // The outline's 2 * (40 + 20) - 4 pixels.
    const double Anchor = MemsetNs((2 * (40 + 20) - 4) * 4, 20000);
    int X = 0;
    RunAgainst(State, Anchor, [&] {
        X = (X + 1) & 127;
        C->Rectangle(X, 30, X + 40, 50);
    });
}
BENCHMARK(BM_RectangleOutline_40x20);

void ShapeBench(benchmark::State& State, bool Pie) {
    TBitmap B;
    Paper(B, 256, 256);
    TCanvas* C = B.GetCanvas();
    const double Anchor = MemsetNs(32 * 32 * 4, 20000);
    int X = 0;
    RunAgainst(State, Anchor, [&] {
        X = (X + 1) & 127;
        if (Pie)
            C->Pie(X, 40, X + 32, 72, X + 32, 40, X, 56);
        else
            C->Ellipse(X, 40, X + 32, 72);
    });
}

void BM_FilledEllipse_32x32(benchmark::State& State) {
    ShapeBench(State, false);
}
BENCHMARK(BM_FilledEllipse_32x32);
void BM_FilledPie_32x32(benchmark::State& State) {
    ShapeBench(State, true);
}
BENCHMARK(BM_FilledPie_32x32);

} // namespace

BENCHMARK_MAIN();
