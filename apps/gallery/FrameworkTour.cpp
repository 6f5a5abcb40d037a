#include "FrameworkTour.h"

#include "framework/core/DateUtils.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "framework/ui/app/Application.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

using namespace folio;

namespace gallery {

namespace {

// Counts down on a worker; every step is handed to the user-interface thread.
class TCountdown : public TThread {
public:
    TCountdown(std::ostream& Out, int Steps) : TThread(true), FOut(Out), FSteps(Steps) {}

protected:
    void Execute() override {
        for (int I = FSteps; I > 0 && !Terminated(); --I) {
            Synchronize([this, I] {
                FOut << "  step " << I << " runs on the "
                     << (IsMainThread() ? "user-interface" : "worker") << " thread\n";
            });
            Sleep(10);
        }
    }

private:
    std::ostream& FOut;
    int FSteps;
};

bool TimerAndThreadRoundTrip(std::ostream& Out) {
    Out << "Timers and a worker thread:\n";
    int Ticks = 0;
    bool WorkerDone = false;
    const auto Start = std::chrono::steady_clock::now();
    HWND Window = AllocateHWnd([&](TMessage& M) {
        if (M.Msg != WM_TIMER) return;
        ++Ticks;
        if (WorkerDone && Ticks >= 5) Application->Terminate();
    });
    SetTimer(Window, 1, 20);

    TCountdown Worker(Out, 3);
    Worker.OnTerminate = [&](TObject*) { WorkerDone = true; };
    Worker.Start();
    Application->Run();
    Worker.WaitFor();
    DeallocateHWnd(Window);

    const auto Elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - Start)
                             .count();
    Out << "  the 20 ms timer ticked " << Ticks << " times in " << Elapsed
        << " ms while the worker ran\n";
    return WorkerDone && Ticks >= 5;
}

bool StreamRoundTrip(std::ostream& Out) {
    Out << "A stream round trip through a file:\n";
    char Pattern[] = "/tmp/folio-galleryXXXXXX";
    const int Fd = mkstemp(Pattern);
    if (Fd < 0) return false;
    close(Fd);
    const String FileName = Pattern;

    TMemoryStream Written;
    const std::vector<int> Values = {100, -1, 0x7FFFFFFF, 42};
    for (int V : Values) Written.WriteBuffer(&V, sizeof V);
    Written.SaveToFile(FileName);

    TMemoryStream Read;
    Read.LoadFromFile(FileName);
    std::vector<int> Back(Values.size());
    Read.ReadBuffer(Back.data(), static_cast<std::int64_t>(Back.size() * sizeof(int)));
    Out << "  wrote " << Written.GetSize() << " bytes to " << FileName << ", read back";
    for (int V : Back) Out << ' ' << V;
    Out << '\n';

    bool Refused = false;
    try {
        Read.ReadBuffer(Back.data(), 1);
    } catch (const EReadError& E) {
        Out << "  reading past the end is refused: " << E.Message() << '\n';
        Refused = true;
    }
    std::remove(FileName.c_str());
    return Back == Values && Refused;
}

} // namespace

bool RunFrameworkTour(std::ostream& Out) {
    int Year, Month, Day;
    DecodeDate(Date(), Year, Month, Day);
    Out << Format("Folio framework tour, %04d-%02d-%02d (%s)\n", Year, Month, Day,
                  LongDayName(DayOfWeek(Date())).c_str());
    const bool TimersOk = TimerAndThreadRoundTrip(Out);
    const bool StreamOk = StreamRoundTrip(Out);
    return TimersOk && StreamOk;
}

} // namespace gallery
