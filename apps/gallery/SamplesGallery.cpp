#include "SamplesGallery.h"

#include "framework/core/DateUtils.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Messages.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Png.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/Application.h"
#include "framework/ui/Form.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace gallery {

using namespace folio;

namespace {

// Steps fed to the graphs before the form is first shown: more than a
// graph can hold, so the picture starts full and the ring has wrapped.
constexpr int WarmUpSteps = 300;
constexpr unsigned TickTimer = 1;
constexpr unsigned TickInterval = 150;

// The generated load: a few smooth waves with a little deterministic noise,
// so every run (and every snapshot) draws the same picture.
class TLoadSource {
public:
    // Three values of one step, each in 0 .. 1000.
    void Next(int (&Values)[3]) {
        const double T = FStep++ * 0.07;
        Values[0] = Level(350 + 220 * std::sin(T) + Noise(60));
        Values[1] = Level(550 + 180 * std::sin(T * 0.43 + 1.3) + Noise(90));
        Values[2] = Level(200 + 140 * std::cos(T * 1.7) + Noise(40));
    }

private:
    double Noise(int Span) {
        FSeed = FSeed * 1103515245u + 12345u;
        return static_cast<double>((FSeed >> 16) % static_cast<unsigned>(2 * Span + 1)) - Span;
    }
    static int Level(double V) { return V < 0 ? 0 : V > 1000 ? 1000 : static_cast<int>(V); }

    unsigned FSeed = 20240229u;
    int FStep = 0;
};

const TColor SeriesColors[3] = {0x30B030, 0x2080F0, 0xE05030};

// The form draws the captions above its controls itself: the framework has
// no label control, and the captions never change.
class TSamplesForm : public TForm {
public:
    explicit TSamplesForm(TComponent* AOwner) : TForm(AOwner) {
        SetCaption("Folio sample controls");
        SetBounds(60, 60, 760, 590);
        SetClientWidth(740);
        SetClientHeight(560);
        SetColor(clBtnFace);

        for (int I = 0; I < 2; ++I) {
            Graphs[I] = new TPerformanceGraph(this);
            Graphs[I]->SetParent(this);
            Graphs[I]->SetBounds(10 + I * 365, 30, 355, 160);
            Graphs[I]->SetGraphKind(I == 0 ? pgBar : pgLine);
        }
        Graphs[0]->SetBackColor(0x201810);
        Graphs[0]->SetForeColor(0x505050);
        Graphs[1]->SetBackColor(clBlack);
        Graphs[1]->SetForeColor(0x006000);
        Graphs[1]->SetPenWidth(2);

        const TCGaugeKind Kinds[5] = {gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle};
        const int Percents[5] = {15, 37, 62, 80, 45};
        const TColor Fore[5] = {clNavy, clNavy, 0x207020, 0x2060C0, clMaroon};
        for (int I = 0; I < 5; ++I) {
            Gauges[I] = new TCGauge(this);
            Gauges[I]->SetParent(this);
            Gauges[I]->SetBounds(10 + I * 146, 230, 130, I == 4 ? 80 : 100);
            Gauges[I]->SetKind(Kinds[I]);
            Gauges[I]->SetForeColor(Fore[I]);
            Gauges[I]->SetProgress(Percents[I]);
        }

        Calendar = new TCCalendar(this);
        Calendar->SetParent(this);
        Calendar->SetBounds(10, 370, 326, 179);
        Calendar->SeTCCalendarDate(EncodeDate(2024, 2, 29));
        Calendar->SetUseCurrentDate(false);

        ColorGrid = new TCColorGrid(this);
        ColorGrid->SetParent(this);
        ColorGrid->SetBounds(370, 370, 180, 180);
        ColorGrid->SetForegroundIndex(12);
        ColorGrid->SetBackgroundIndex(11);

        WideGrid = new TCColorGrid(this);
        WideGrid->SetParent(this);
        WideGrid->SetGridOrdering(go8x2);
        WideGrid->SetBounds(570, 370, 160, 40);
        WideGrid->SetForegroundIndex(4);
        WideGrid->SetBackgroundIndex(4);

        for (int I = 0; I < WarmUpSteps; ++I) Feed();
    }

    // One step of generated data for both graphs.
    void Feed() {
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

    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_TIMER && Message.WParam == TickTimer) {
            Tick();
            return;
        }
        TForm::Dispatch(Message);
    }

    TPerformanceGraph* Graphs[2] = {};
    TCGauge* Gauges[5] = {};
    TCCalendar* Calendar = nullptr;
    TCColorGrid* ColorGrid = nullptr;
    TCColorGrid* WideGrid = nullptr;

protected:
    void Paint() override {
        TForm::Paint();
        TCanvas* C = GetCanvas();
        C->GetBrush()->SetStyle(bsClear);
        C->GetFont()->SetColor(clBtnText);
        C->TextOut(10, 10, "Performance graph, stacked bars (pgBar)");
        C->TextOut(375, 10, "Performance graph, lines (pgLine), pen width 2");
        const char* GaugeNames[5] = {"Text", "Horizontal bar", "Vertical bar", "Pie", "Needle"};
        for (int I = 0; I < 5; ++I) C->TextOut(10 + I * 146, 210, GaugeNames[I]);
        C->TextOut(10, 350, "Calendar: 29 February 2024");
        C->TextOut(370, 350, "Colour grid: FG 12, BG 11");
        C->TextOut(570, 350, "8 x 2, one square both");
        C->GetBrush()->SetStyle(bsSolid);
    }

private:
    // The live window: the graphs scroll and the gauges keep moving.
    void Tick() {
        Feed();
        for (TCGauge* Gauge : Gauges) {
            const int Next = Gauge->GetProgress() + 1;
            Gauge->SetProgress(Next > Gauge->GetMaxValue() ? Gauge->GetMinValue() : Next);
        }
    }

    TLoadSource Load;
};

bool WriteSnapshot(std::ostream& Out, const std::string& SnapshotDir) {
    THeadlessHost Host(1024, 768);
    TSamplesForm Form(nullptr);
    Form.Show();
    Host.RunUntilIdle();

    std::filesystem::create_directories(SnapshotDir);
    const String Path = SnapshotDir + "/samples-gallery.png";
    Host.Screenshot(&Form, Path);
    Out << "Samples gallery snapshot: " << std::filesystem::absolute(Path).string() << "\n";
    return true;
}

bool ShowWindow(std::ostream& Out) {
    TSdlHost Host;
    TSamplesForm Form(nullptr);
    Form.Show();
    SetTimer(Form.GetHandle(), TickTimer, TickInterval);
    Out << "The samples gallery is open in a window; close it to finish.\n";
    // Runs until the window is closed or the application is told to quit.
    Host.Run();
    return true;
}

} // namespace

bool RunSamplesGallery(std::ostream& Out, const std::string& SnapshotDir, bool ForceSnapshots) {
    try {
        const char* Display = std::getenv("DISPLAY");
        if (!ForceSnapshots && Display && *Display && TSdlHost::DisplayAvailable())
            return ShowWindow(Out);
        return WriteSnapshot(Out, SnapshotDir);
    } catch (const Exception& E) {
        Out << "The samples gallery failed: " << E.what() << "\n";
        return false;
    }
}

} // namespace gallery
