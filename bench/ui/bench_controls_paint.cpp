// One full paint of each everyday control, laid out and filled as a form
// would show it. bench/peers/qt_controls_paint.cpp paints Qt Widgets'
// counterparts at the same sizes with the same content and the same
// benchmark names, and scripts/compare_controls.sh sets the two side by side.
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/StatusBar.h"
#include "framework/ui/comctrls/ToolBar.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/extctrls/Bevel.h"
#include "framework/ui/extctrls/ScrollBox.h"
#include "framework/ui/extctrls/SpeedButton.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/Memo.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

using namespace folio;

namespace {

template <class T>
T* Place(TWinControl* Parent, int Width, int Height) {
    auto* C = new T(Parent);
    C->SetParent(Parent);
    C->SetBounds(10, 10, Width, Height);
    return C;
}

// Shows Make's control alone on a form, then times repainting it whole.
void PaintLoop(benchmark::State& State, const std::function<TControl*(TForm&)>& Make) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 640, 460);
    TControl* Control = Make(Form);
    Form.Show();
    Host.RunUntilIdle();
    for (auto _ : State) {
        Control->Invalidate();
        Control->Update();
    }
    State.SetItemsProcessed(State.iterations());
}

#define FOLIO_PAINT_BENCH(Name, ...)                                                               \
    void BM_Paint_##Name(benchmark::State& State) {                                                \
        PaintLoop(State, [](TForm & Form) -> TControl* __VA_ARGS__);                               \
    }                                                                                              \
    BENCHMARK(BM_Paint_##Name)

FOLIO_PAINT_BENCH(Button, {
    auto* C = Place<TButton>(&Form, 90, 25);
    C->SetCaption("OK");
    return C;
});

FOLIO_PAINT_BENCH(CheckBox, {
    auto* C = Place<TCheckBox>(&Form, 130, 17);
    C->SetCaption("Show hints");
    C->SetChecked(true);
    return C;
});

FOLIO_PAINT_BENCH(RadioButton, {
    auto* C = Place<TRadioButton>(&Form, 110, 17);
    C->SetCaption("Small icons");
    C->SetChecked(true);
    return C;
});

FOLIO_PAINT_BENCH(RadioGroup, {
    auto* C = Place<TRadioGroup>(&Form, 300, 92);
    C->SetCaption("Animation");
    C->GetItems()->SetText("None\nLinear\nAccelerate\nBounce\nFade\n");
    C->SetColumns(2);
    C->SetItemIndex(2);
    return C;
});

FOLIO_PAINT_BENCH(ProgressBar, {
    auto* C = Place<TProgressBar>(&Form, 272, 18);
    C->SetPosition(60);
    return C;
});

FOLIO_PAINT_BENCH(TrackBar, {
    auto* C = Place<TTrackBar>(&Form, 272, 45);
    C->SetMax(20);
    C->SetFrequency(2);
    C->SetPosition(13);
    return C;
});

FOLIO_PAINT_BENCH(SpinEdit, {
    auto* C = Place<TSpinEdit>(&Form, 90, 24);
    C->SetMaxValue(999);
    C->SetValue(42);
    return C;
});

FOLIO_PAINT_BENCH(Edit, {
    auto* C = Place<TEdit>(&Form, 150, 24);
    C->SetText("Quarterly report");
    return C;
});

FOLIO_PAINT_BENCH(ComboBox, {
    auto* C = Place<TComboBox>(&Form, 150, 24);
    C->GetItems()->SetText("Daily\nWeekly\nMonthly\n");
    C->SetItemIndex(1);
    return C;
});

FOLIO_PAINT_BENCH(ListBox, {
    auto* C = Place<TListBox>(&Form, 200, 200);
    for (int I = 0; I < 30; ++I) C->GetItems()->Add("Entry " + std::to_string(I + 1));
    C->SetItemIndex(3);
    return C;
});

FOLIO_PAINT_BENCH(Memo, {
    auto* C = Place<TMemo>(&Form, 300, 200);
    for (int I = 0; I < 40; ++I)
        C->GetLines()->Add("Line " + std::to_string(I + 1) + " of the quarterly report");
    C->SetScrollBars(ssVertical);
    return C;
});

FOLIO_PAINT_BENCH(StatusBar, {
    auto* C = Place<TStatusBar>(&Form, 582, 19);
    for (const char* Text : {"3 groups", "12 items", "Ready"}) {
        TStatusPanel* Panel = C->GetPanels()->Add();
        Panel->SetText(Text);
        Panel->SetWidth(90);
    }
    return C;
});

FOLIO_PAINT_BENCH(ToolBar, {
    auto* C = Place<TToolBar>(&Form, 300, 28);
    for (const char* Caption : {"New", "Open", "Save", "Cut", "Copy", "Paste"})
        Place<TToolButton>(C, 23, 22)->SetCaption(Caption);
    C->SetShowCaptions(true);
    return C;
});

FOLIO_PAINT_BENCH(SpeedButton, {
    auto* C = Place<TSpeedButton>(&Form, 25, 24);
    C->SetCaption("B");
    C->SetGroupIndex(1);
    C->SetAllowAllUp(true);
    C->SetDown(true);
    return C;
});

FOLIO_PAINT_BENCH(Bevel, {
    auto* C = Place<TBevel>(&Form, 300, 48);
    C->SetShape(bsFrame);
    return C;
});

FOLIO_PAINT_BENCH(ScrollBox, {
    auto* C = Place<TScrollBox>(&Form, 300, 200);
    for (int I = 0; I < 20; ++I) {
        auto* Line = new TLabel(C);
        Line->SetParent(C);
        Line->SetBounds(8, 4 + 18 * I, 0, 0);
        Line->SetCaption("Line " + std::to_string(I + 1));
    }
    return C;
});

FOLIO_PAINT_BENCH(StringGrid, {
    auto* C = Place<TStringGrid>(&Form, 300, 200);
    C->SetColCount(5);
    C->SetRowCount(20);
    for (int Row = 0; Row < 20; ++Row)
        for (int Col = 0; Col < 5; ++Col)
            C->SetCells(Col, Row, std::to_string(Col) + ":" + std::to_string(Row));
    return C;
});

FOLIO_PAINT_BENCH(TreeView, {
    auto* C = Place<TTreeView>(&Form, 300, 400);
    TTreeNodes* Nodes = C->GetItems();
    for (int P = 0; P < 10; ++P) {
        TTreeNode* Parent = Nodes->AddChild(nullptr, "Folder " + std::to_string(P));
        for (int I = 0; I < 9; ++I) Nodes->AddChild(Parent, "Item " + std::to_string(I));
        Parent->SetExpanded(P < 2);
    }
    return C;
});

FOLIO_PAINT_BENCH(ListViewReport, {
    auto* C = Place<TListView>(&Form, 300, 400);
    C->SetViewStyle(vsReport);
    for (const char* Caption : {"Name", "Size", "Kind"}) {
        TListColumn* Column = C->GetColumns()->Add();
        Column->SetCaption(Caption);
        Column->SetWidth(100);
    }
    for (int I = 0; I < 100; ++I) {
        TListItem* Item = C->GetItems()->Add();
        Item->SetCaption("File " + std::to_string(I));
        Item->GetSubItems()->Add(std::to_string(I * 7 % 1000) + " KB");
        Item->GetSubItems()->Add("Document");
    }
    return C;
});

} // namespace

BENCHMARK_MAIN();
