// Tree and list views: a full paint and one scroll step of a view of 100
// and of 100,000 entries (the cost should follow what is visible, not what
// exists), and adding 100,000 entries inside BeginUpdate / EndUpdate.
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/TreeView.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr int ViewWidth = 300;
constexpr int ViewHeight = 400;

// Count nodes: Count / 100 top-level nodes, each expanded, with 99 children.
void FillTree(TTreeView& Tree, int Count) {
    TTreeNodes* N = Tree.GetItems();
    N->BeginUpdate();
    for (int P = 0; P < Count / 100; ++P) {
        TTreeNode* Parent = N->AddChild(nullptr, "Folder " + std::to_string(P));
        for (int C = 0; C < 99; ++C) N->AddChild(Parent, "Item " + std::to_string(C));
        Parent->SetExpanded(true);
    }
    N->EndUpdate();
}

struct TTreeBench {
    THeadlessHost Host;
    TForm Form{nullptr};
    TTreeView* Tree;

    explicit TTreeBench(int Count) : Tree(new TTreeView(&Form)) {
        Form.SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
        Tree->SetParent(&Form);
        Tree->SetBounds(0, 0, ViewWidth, ViewHeight);
        FillTree(*Tree, Count);
        Tree->SetTopIndex(static_cast<int>(Tree->Rows().size()) / 2);
        Form.Show();
        Host.RunUntilIdle();
    }
};

void BM_TreeFullPaint(benchmark::State& State) {
    TTreeBench B(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        B.Tree->Invalidate();
        B.Tree->Update();
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_TreeFullPaint)->Arg(100)->Arg(100000);

void BM_TreeScrollStep(benchmark::State& State) {
    TTreeBench B(static_cast<int>(State.range(0)));
    const int Top = B.Tree->GetTopIndex();
    bool Down = true;
    for (auto _ : State) {
        B.Tree->SetTopIndex(Down ? Top + 1 : Top);
        B.Tree->Update();
        Down = !Down;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_TreeScrollStep)->Arg(100)->Arg(100000);

void BM_TreeAdd100000InUpdate(benchmark::State& State) {
    THeadlessHost Host;
    TForm Form(nullptr);
    auto* Tree = new TTreeView(&Form);
    Tree->SetParent(&Form);
    Tree->SetBounds(0, 0, ViewWidth, ViewHeight);
    Form.Show();
    Host.RunUntilIdle();
    for (auto _ : State) {
        FillTree(*Tree, 100000);
        State.PauseTiming();
        Tree->GetItems()->Clear();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * 100000);
}
BENCHMARK(BM_TreeAdd100000InUpdate)->Unit(benchmark::kMillisecond);

// Count items of a caption and two more columns.
void FillList(TListView& View, int Count) {
    TListItems* Items = View.GetItems();
    Items->BeginUpdate();
    for (int I = 0; I < Count; ++I) {
        TListItem* Item = Items->Add();
        Item->SetCaption("File " + std::to_string(I));
        Item->GetSubItems()->Add(std::to_string(I * 7 % 1000) + " KB");
        Item->GetSubItems()->Add("Document");
    }
    Items->EndUpdate();
}

struct TListBench {
    THeadlessHost Host;
    TForm Form{nullptr};
    TListView* View;

    explicit TListBench(int Count) : View(new TListView(&Form)) {
        Form.SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
        View->SetParent(&Form);
        View->SetBounds(0, 0, ViewWidth, ViewHeight);
        View->SetViewStyle(vsReport);
        for (const char* Caption : {"Name", "Size", "Kind"}) {
            TListColumn* Column = View->GetColumns()->Add();
            Column->SetCaption(Caption);
            Column->SetWidth(100);
        }
        FillList(*View, Count);
        View->SetTopLine(Count / 2);
        Form.Show();
        Host.RunUntilIdle();
    }
};

void BM_ListReportFullPaint(benchmark::State& State) {
    TListBench B(static_cast<int>(State.range(0)));
    for (auto _ : State) {
        B.View->Invalidate();
        B.View->Update();
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_ListReportFullPaint)->Arg(100)->Arg(100000);

void BM_ListReportScrollStep(benchmark::State& State) {
    TListBench B(static_cast<int>(State.range(0)));
    const int Top = B.View->GetTopLine();
    bool Down = true;
    for (auto _ : State) {
        B.View->SetTopLine(Down ? Top + 1 : Top);
        B.View->Update();
        Down = !Down;
    }
    State.SetItemsProcessed(State.iterations());
}
BENCHMARK(BM_ListReportScrollStep)->Arg(100)->Arg(100000);

void BM_ListAdd100000InUpdate(benchmark::State& State) {
    THeadlessHost Host;
    TForm Form(nullptr);
    auto* View = new TListView(&Form);
    View->SetParent(&Form);
    View->SetBounds(0, 0, ViewWidth, ViewHeight);
    View->SetViewStyle(vsReport);
    Form.Show();
    Host.RunUntilIdle();
    for (auto _ : State) {
        FillList(*View, 100000);
        State.PauseTiming();
        View->GetItems()->Clear();
        State.ResumeTiming();
    }
    State.SetItemsProcessed(State.iterations() * 100000);
}
BENCHMARK(BM_ListAdd100000InUpdate)->Unit(benchmark::kMillisecond);

// The physical anchor: copying the bytes of the view's pixels once.
void BM_AnchorMemcpyViewPixels(benchmark::State& State) {
    std::vector<char> A(ViewWidth * ViewHeight * 4, 1), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::DoNotOptimize(B.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<long long>(A.size()));
}
BENCHMARK(BM_AnchorMemcpyViewPixels);

} // namespace

BENCHMARK_MAIN();
