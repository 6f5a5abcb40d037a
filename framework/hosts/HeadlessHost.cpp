#include "framework/hosts/HeadlessHost.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Png.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"

namespace folio {

THeadlessHost::THeadlessHost(int ScreenWidth, int ScreenHeight, TMilliseconds StartTime)
    : FClock(StartTime) {
    SetMainThread();
    ResumeSynchronize();
    Application->SetClock(&FClock);
    Screen->SetSize(ScreenWidth, ScreenHeight);
    // Every host starts at the standard resolution; a test or a snapshot
    // that wants another sets it before its forms show.
    Screen->SetPixelsPerInch(96);
    ClassicColors();
    InputRouter->Reset();
    FDeferWindow = AllocateHWnd([this](TMessage& M) {
        if (M.Msg != WM_USER || FDeferred.empty()) return;
        auto Work = std::move(FDeferred.front());
        FDeferred.erase(FDeferred.begin());
        Work();
    });
    // A modal form's loop handles what the test deferred. Once nothing is
    // left, no input can ever come on this host: the form fails instead of
    // waiting forever, so a test that forgot to close it ends.
    SetModalLoopStep([] {
        if (!Application->ProcessMessages())
            throw EInvalidOperation(
                "A modal form waits on the headless host, but nothing is left to give it input "
                "(defer the input with THeadlessHost::Defer before showing the form)");
    });
    Application->ProcessMessages();
}

THeadlessHost::~THeadlessHost() {
    SetModalLoopStep(nullptr);
    DeallocateHWnd(FDeferWindow);
    InputRouter->Reset();
    Application->SetClock(nullptr);
    Screen->SetPixelsPerInch(96);
    ClassicColors();
}

void THeadlessHost::ClassicColors() {
    // Nothing on this screen asks a desktop: it follows one that says
    // nothing, which is the classic scheme, whatever a test chose before.
    Screen->SetDesktopColorScheme(csClassic);
    Screen->SetFollowDesktopColorScheme(true);
}

void THeadlessHost::RunUntilIdle() {
    Application->ProcessMessages();
}

void THeadlessHost::Run(TMilliseconds Ms) {
    Application->AdvanceTime(Ms);
}

void THeadlessHost::Defer(std::function<void()> Work) {
    FDeferred.push_back(std::move(Work));
    PostMessage(FDeferWindow, WM_USER);
}

void THeadlessHost::MoveTo(int X, int Y) {
    FPointer = Point(X, Y);
    InputRouter->MouseMove(FPointer);
    RunUntilIdle();
}

void THeadlessHost::Press(TMouseButton Button, TShiftState Shift) {
    InputRouter->MouseDown(Button, FPointer, Shift);
    RunUntilIdle();
}

void THeadlessHost::Release(TMouseButton Button, TShiftState Shift) {
    InputRouter->MouseUp(Button, FPointer, Shift);
    RunUntilIdle();
}

void THeadlessHost::Click(TMouseButton Button, TShiftState Shift) {
    Press(Button, Shift);
    Release(Button, Shift);
}

void THeadlessHost::Click(int X, int Y, TMouseButton Button, TShiftState Shift) {
    MoveTo(X, Y);
    Click(Button, Shift);
}

void THeadlessHost::DoubleClick(int X, int Y, TShiftState Shift) {
    // Two clicks at one place and one moment: the router pairs them.
    MoveTo(X, Y);
    Click(mbLeft, Shift);
    Click(mbLeft, Shift);
}

void THeadlessHost::Drag(TPoint From, TPoint To, int Steps, TMouseButton Button,
                         TShiftState Shift) {
    MoveTo(From);
    Press(Button, Shift);
    if (Steps < 1) Steps = 1;
    for (int I = 1; I <= Steps; ++I) {
        const TPoint P{From.X + (To.X - From.X) * I / Steps, From.Y + (To.Y - From.Y) * I / Steps};
        FPointer = P;
        InputRouter->MouseMove(P, Shift);
        RunUntilIdle();
    }
    Release(Button, Shift);
}

void THeadlessHost::HWheel(int Delta, TShiftState Shift) {
    InputRouter->MouseHWheel(Delta, FPointer, Shift);
    RunUntilIdle();
}

void THeadlessHost::Wheel(int Delta, TShiftState Shift) {
    InputRouter->MouseWheel(Delta, FPointer, Shift);
    RunUntilIdle();
}

void THeadlessHost::KeyDown(unsigned short Key, TShiftState Shift) {
    InputRouter->KeyDown(Key, Shift);
    RunUntilIdle();
}

void THeadlessHost::KeyUp(unsigned short Key, TShiftState Shift) {
    InputRouter->KeyUp(Key, Shift);
    RunUntilIdle();
}

void THeadlessHost::Key(unsigned short Key, TShiftState Shift) {
    KeyDown(Key, Shift);
    KeyUp(Key, Shift);
}

void THeadlessHost::Type(const String& Text) {
    for (char Ch : Text) {
        InputRouter->Char(Ch);
        RunUntilIdle();
    }
}

void THeadlessHost::Screenshot(const TWinControl* Form, const String& PngPath) {
    RunUntilIdle();
    const TPixelSurface* S = Form ? Form->GetSurface() : nullptr;
    if (!S || !S->Valid())
        throw EInvalidOperation("Cannot take a screenshot of a form that is not shown: " + PngPath);
    SavePng(*S, PngPath);
}

TColor THeadlessHost::Pixel(const TWinControl* Form, int X, int Y) const {
    const TPixelSurface* S = Form ? Form->GetSurface() : nullptr;
    if (!S || !S->Valid() || X < 0 || Y < 0 || X >= S->Width || Y >= S->Height) return -1;
    return PixelToRgb(S->Row(Y)[X]);
}

} // namespace folio

namespace folio {

void THeadlessHost::ScreenPicture(const TRect& R, TBitmap& Picture) {
    RunUntilIdle();
    Picture.SetSize(R.Width(), R.Height());
    TCanvas* Canvas = Picture.GetCanvas();
    Canvas->GetBrush()->SetColor(clBackground);
    Canvas->FillRect(Rect(0, 0, R.Width(), R.Height()));
    for (TWinControl* W : InputRouter->TopLevels()) {
        const TPixelSurface* S = W->GetVisible() ? W->GetSurface() : nullptr;
        if (!S || !S->Valid()) continue;
        for (int Y = 0; Y < S->Height; ++Y) {
            const int PY = W->GetTop() + Y - R.Top;
            if (PY < 0 || PY >= R.Height()) continue;
            TPixel* Row = Picture.ScanLine(PY);
            for (int X = 0; X < S->Width; ++X) {
                const int PX = W->GetLeft() + X - R.Left;
                if (PX >= 0 && PX < R.Width()) Row[PX] = S->Row(Y)[X];
            }
        }
    }
}

void THeadlessHost::ScreenshotScreen(const TRect& R, const String& PngPath) {
    TBitmap Picture;
    ScreenPicture(R, Picture);
    SavePng(Picture, PngPath);
}

} // namespace folio
