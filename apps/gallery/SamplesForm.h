#pragma once

#include "framework/core/Messages.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

namespace gallery {

// The generated load the graphs show: a few smooth waves with a little
// deterministic noise, so every run (and every snapshot) draws the same
// picture.
class TLoadSource {
public:
    // Three values of one step, each in 0 .. 1000.
    void Next(int (&Values)[3]);

private:
    double Noise(int Span);

    unsigned FSeed = 20240229u;
    int FStep = 0;
};

// The sample controls' form: the two performance graphs side by side, the
// five gauge kinds in a row and the calendar beside two colour grids, each
// under a caption. Laid out with Align, the graphs share the extra width
// and the calendar takes the extra room below; the form does not shrink
// below the size that shows every control whole. The captions of the
// calendar and the grids follow their controls' changes.
class TSamplesForm : public folio::TForm {
public:
    explicit TSamplesForm(folio::TComponent* AOwner);

    // One step of generated data for both graphs.
    void Feed();
    void Dispatch(folio::TMessage& Message) override;

    static constexpr unsigned TickTimer = 1;

    folio::TPerformanceGraph* Graphs[2] = {};
    folio::TCGauge* Gauges[5] = {};
    folio::TCCalendar* Calendar = nullptr;
    folio::TCColorGrid* ColorGrid = nullptr;
    folio::TCColorGrid* WideGrid = nullptr;
    folio::TLabel* CalendarCaption = nullptr;
    folio::TLabel* ColorGridCaption = nullptr;
    folio::TLabel* WideGridCaption = nullptr;

protected:
    void Resize() override;

private:
    // The live window: the graphs scroll and the gauges keep moving.
    void Tick();
    void ShowCalendarDate();
    void ShowGridColours(folio::TLabel* Caption, const folio::String& Name,
                         const folio::TCColorGrid* Grid);

    TLoadSource Load;
    folio::TPanel* GraphCells[2] = {};
};

} // namespace gallery
