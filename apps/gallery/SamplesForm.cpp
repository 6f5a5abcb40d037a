#include "SamplesForm.h"

#include "framework/core/DateUtils.h"
#include "framework/ui/stdctrls/Panel.h"

#include <algorithm>
#include <cmath>

namespace gallery {

using namespace folio;

namespace {

// Steps fed to the graphs before the form is first shown: more than a
// graph can hold, so the picture starts full and the ring has wrapped.
constexpr int WarmUpSteps = 300;
constexpr int Margin = 5;
constexpr int GraphRowHeight = 190;
constexpr int GaugeRowHeight = 135;
constexpr int GaugeWidth = 146;
// The colour grids keep cells in which their marks ("FG", "BG", "FB") sit
// clear of the squares' raised frames.
constexpr int GridSize = 4 * 40;
constexpr int WideGridWidth = 8 * 28;
constexpr int WideGridHeight = 2 * 26;
// The least room the calendar's seven rows of day numbers need.
constexpr int LeastCalendarHeight = 150;

const TColor SeriesColors[3] = {0x30B030, 0x2080F0, 0xE05030};

const char* const MonthNames[12] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};

TPanel* Plain(TComponent* Owner, TWinControl* Parent, TAlign Align, int Size) {
    auto* Panel = new TPanel(Owner);
    Panel->SetBevelOuter(bvNone);
    Panel->SetParent(Parent);
    if (Align == alTop || Align == alBottom)
        Panel->SetHeight(Size);
    else if (Align == alLeft || Align == alRight)
        Panel->SetWidth(Size);
    Panel->SetAlign(Align);
    return Panel;
}

// A panel holding a caption line above a control; the control fills the
// rest unless Fill is false, when it keeps its own size under the caption.
TLabel* Captioned(TComponent* Owner, TPanel* Panel, const String& Text, TControl* Control,
                  bool Fill = true) {
    Panel->SetPanelBorderWidth(Margin);
    auto* Caption = new TLabel(Owner);
    Caption->SetCaption(Text);
    Caption->SetParent(Panel);
    Caption->SetAlign(alTop);
    Control->SetParent(Panel);
    if (Fill)
        Control->SetAlign(alClient);
    else
        Control->SetBounds(Margin, Margin + Caption->GetHeight() + 2, Control->GetWidth(),
                           Control->GetHeight());
    return Caption;
}

} // namespace

void TLoadSource::Next(int (&Values)[3]) {
    const auto Level = [](double V) { return V < 0 ? 0 : V > 1000 ? 1000 : static_cast<int>(V); };
    const double T = FStep++ * 0.07;
    Values[0] = Level(350 + 220 * std::sin(T) + Noise(60));
    Values[1] = Level(550 + 180 * std::sin(T * 0.43 + 1.3) + Noise(90));
    Values[2] = Level(200 + 140 * std::cos(T * 1.7) + Noise(40));
}

double TLoadSource::Noise(int Span) {
    FSeed = FSeed * 1103515245u + 12345u;
    return static_cast<double>((FSeed >> 16) % static_cast<unsigned>(2 * Span + 1)) - Span;
}

TSamplesForm::TSamplesForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Folio sample controls");
    SetBounds(60, 60, 760, 590);
    SetClientWidth(740);
    SetClientHeight(560);
    SetColor(clBtnFace);

    // Rows from the top: the graphs, the gauges, then the calendar with the
    // colour grids at its right, which takes whatever height is left.
    TPanel* GraphRow = Plain(this, this, alTop, GraphRowHeight);
    TPanel* GaugeRow = Plain(this, this, alTop, GaugeRowHeight);
    TPanel* BottomRow = Plain(this, this, alClient, 0);

    const char* GraphNames[2] = {"Performance graph, stacked bars (pgBar)",
                                 "Performance graph, lines (pgLine), pen width 2"};
    for (int I = 0; I < 2; ++I) {
        Graphs[I] = new TPerformanceGraph(this);
        Graphs[I]->SetGraphKind(I == 0 ? pgBar : pgLine);
        TPanel* Cell = Plain(this, GraphRow, I == 0 ? alLeft : alClient, GetClientWidth() / 2);
        Captioned(this, Cell, GraphNames[I], Graphs[I]);
        GraphCells[I] = Cell;
    }
    Graphs[0]->SetBackColor(0x201810);
    Graphs[0]->SetForeColor(0x505050);
    Graphs[1]->SetBackColor(clBlack);
    Graphs[1]->SetForeColor(0x006000);
    Graphs[1]->SetPenWidth(2);

    const TCGaugeKind Kinds[5] = {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle};
    const char* GaugeNames[5] = {"Text", "Horizontal bar", "Vertical bar", "Pie", "Needle"};
    const int Percents[5] = {15, 37, 62, 80, 45};
    const TColor Fore[5] = {clNavy, clNavy, 0x207020, 0x2060C0, clMaroon};
    for (int I = 0; I < 5; ++I) {
        Gauges[I] = new TCGauge(this);
        Gauges[I]->SetKind(Kinds[I]);
        Gauges[I]->SetForeColor(Fore[I]);
        Gauges[I]->SetProgress(Percents[I]);
        // Left to right in the order made: each new one goes after the last.
        TPanel* Cell = Plain(this, GaugeRow, alNone, 0);
        Cell->SetBounds(I * GaugeWidth, 0, GaugeWidth, GaugeRowHeight);
        Cell->SetAlign(alLeft);
        Captioned(this, Cell, GaugeNames[I], Gauges[I]);
    }

    // The grids keep their size at the right; the calendar takes the rest.
    TPanel* GridColumn = Plain(this, BottomRow, alRight, GridSize + WideGridWidth + 4 * Margin);
    TPanel* GridCell = Plain(this, GridColumn, alLeft, GridSize + 2 * Margin);
    TPanel* WideCell = Plain(this, GridColumn, alClient, 0);
    TPanel* CalendarCell = Plain(this, BottomRow, alClient, 0);

    Calendar = new TCCalendar(this);
    Calendar->SeTCCalendarDate(EncodeDate(2024, 2, 29));
    Calendar->SetUseCurrentDate(false);
    CalendarCaption = Captioned(this, CalendarCell, "Calendar", Calendar);

    ColorGrid = new TCColorGrid(this);
    ColorGrid->SetBounds(0, 0, GridSize, GridSize);
    ColorGrid->SetForegroundIndex(12);
    ColorGrid->SetBackgroundIndex(11);
    ColorGridCaption = Captioned(this, GridCell, "Colour grid", ColorGrid, false);

    WideGrid = new TCColorGrid(this);
    WideGrid->SetGridOrdering(go8x2);
    WideGrid->SetBounds(0, 0, WideGridWidth, WideGridHeight);
    WideGrid->SetForegroundIndex(4);
    WideGrid->SetBackgroundIndex(4);
    WideGridCaption = Captioned(this, WideCell, "Colour grid 8 x 2", WideGrid, false);

    ShowCalendarDate();
    ShowGridColours(ColorGridCaption, "Colour grid", ColorGrid);
    ShowGridColours(WideGridCaption, "Colour grid 8 x 2", WideGrid);
    Calendar->OnChange = [this](TObject*) { ShowCalendarDate(); };
    ColorGrid->OnChange = [this](TObject*) {
        ShowGridColours(ColorGridCaption, "Colour grid", ColorGrid);
    };
    WideGrid->OnChange = [this](TObject*) {
        ShowGridColours(WideGridCaption, "Colour grid 8 x 2", WideGrid);
    };

    const int LeastWidth = 5 * GaugeWidth + Margin;
    const int LeastHeight = GraphRowHeight + GaugeRowHeight +
                            std::max(LeastCalendarHeight, ColorGrid->GetTop() + GridSize + Margin);
    GetConstraints()->SetMinWidth(LeastWidth + GetWidth() - GetClientWidth());
    GetConstraints()->SetMinHeight(LeastHeight + GetHeight() - GetClientHeight());

    for (int I = 0; I < WarmUpSteps; ++I) Feed();
}

void TSamplesForm::Feed() {
    int Values[3];
    Load.Next(Values);
    // Bars stack, so their points go in ascending order of the running
    // total; lines take each series' own value.
    int Total = 0;
    for (int I = 0; I < 3; ++I) {
        Total += Values[I] / 3;
        Graphs[0]->DataPoint(SeriesColors[I], Total);
        Graphs[1]->DataPoint(SeriesColors[I], Values[I]);
    }
    for (TPerformanceGraph* Graph : Graphs) Graph->Update();
}

void TSamplesForm::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_TIMER && Message.WParam == TickTimer) {
        Tick();
        return;
    }
    TForm::Dispatch(Message);
}

void TSamplesForm::Resize() {
    TForm::Resize();
    // The two graphs share the width.
    if (GraphCells[0]) GraphCells[0]->SetWidth(GetClientWidth() / 2);
}

void TSamplesForm::Tick() {
    Feed();
    for (TCGauge* Gauge : Gauges) {
        const int Next = Gauge->GetProgress() + 1;
        Gauge->SetProgress(Next > Gauge->GetMaxValue() ? Gauge->GetMinValue() : Next);
    }
}

void TSamplesForm::ShowCalendarDate() {
    const int Month = Calendar->GetMonth();
    const String Name = Month >= 1 && Month <= 12 ? MonthNames[Month - 1] : "";
    CalendarCaption->SetCaption("Calendar: " + std::to_string(Calendar->GetDay()) + " " + Name +
                                " " + std::to_string(Calendar->GetYear()));
}

void TSamplesForm::ShowGridColours(TLabel* Caption, const String& Name, const TCColorGrid* Grid) {
    Caption->SetCaption(Name + ": FG " + std::to_string(Grid->GetForegroundIndex()) + ", BG " +
                        std::to_string(Grid->GetBackgroundIndex()));
}

} // namespace gallery
