// The four sample controls on one form: a calendar, a colour grid, a gauge
// and a performance graph, each answering the others.

#include "ExampleHost.h"

#include "framework/core/DateUtils.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

using namespace folio;

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "sample-controls");

    TForm Form(nullptr);
    Host.Place(Form, "Sample controls", 470, 300);

    auto* Calendar = new TCCalendar(&Form);
    Calendar->SetParent(&Form);
    Calendar->SetBounds(10, 10, 230, 150);
    // A fixed day, so that the picture is the same on every run.
    Calendar->SetCalendarDate(EncodeDate(2026, 12, 11));

    auto* Colours = new TCColorGrid(&Form);
    Colours->SetParent(&Form);
    Colours->SetBounds(250, 10, 210, 150);

    auto* Gauge = new TCGauge(&Form);
    Gauge->SetParent(&Form);
    Gauge->SetBounds(10, 170, 120, 120);
    Gauge->SetKind(gkPie);

    auto* Graph = new TPerformanceGraph(&Form);
    Graph->SetParent(&Form);
    Graph->SetBounds(140, 170, 320, 120);
    Graph->SetKind(pgBar);

    // The gauge shows how far through its month the chosen day is.
    auto ShowDay = [Calendar, Gauge](TObject*) {
        const int Days = DaysInAMonth(Calendar->GetYear(), Calendar->GetMonth());
        Gauge->SetProgress(Calendar->GetDay() * 100 / Days);
    };
    Calendar->OnChange = ShowDay;
    ShowDay(nullptr);
    // The gauge takes the grid's foreground colour.
    Colours->OnChange = [Colours, Gauge](TObject*) {
        Gauge->SetForeColor(Colours->GetForegroundColor());
    };

    // A graph step holds up to 16 points; each Update closes a step.
    for (int Step = 0; Step < 24; ++Step) {
        Graph->DataPoint(clLime, 20 + (Step * 37) % 60);
        Graph->DataPoint(clRed, 10 + (Step * 23) % 30);
        Graph->Update();
    }

    // Headless, a user picks day 20 and a blue foreground.
    return Host.Run(Form, [Calendar, Colours](THeadlessHost& Screen) {
        for (int Row = 1; Row < 7; ++Row)
            for (int Col = 0; Col < 7; ++Col)
                if (Calendar->GetCellText(Col, Row) == "20") {
                    const TPoint P = examples::ScreenCentre(Calendar, Calendar->CellRect(Col, Row));
                    Screen.Click(P.X, P.Y);
                }
        const TPoint P = examples::ScreenCentre(Colours, Colours->SquareRect(12));
        Screen.Click(P.X, P.Y);
    });
}
