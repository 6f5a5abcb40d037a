#pragma once

#include "framework/core/Clock.h"
#include "framework/gfx/Bitmap.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/Input.h"

#include <functional>

namespace folio {

/// A virtual screen for tests and snapshots: forms show on it, input is given
/// programmatically, time is a manual clock. Every input event is followed by
/// the loop's work (posted messages, then the paint pass), as a real loop
/// would run it. The screen starts at the standard resolution of 96 pixels
/// per inch (Screen->SetPixelsPerInch before forms show picks another) and in
/// the classic colour scheme (Screen->SetColorScheme picks another), and is
/// put back to both when the host goes.
class THeadlessHost {
public:
    /// A screen of ScreenWidth by ScreenHeight pixels whose clock starts at
    /// StartTime milliseconds. Make it before the first form; one host at a
    /// time.
    explicit THeadlessHost(int ScreenWidth = 1024, int ScreenHeight = 768,
                           TMilliseconds StartTime = 1000);
    /// Puts the screen's resolution and colour scheme back as they were.
    ~THeadlessHost();
    THeadlessHost(const THeadlessHost&) = delete;
    THeadlessHost& operator=(const THeadlessHost&) = delete;

    /// The manual clock timers and animations read; Run advances it.
    TManualClock& Clock() { return FClock; }

    ///@{
    /// Moves the pointer to a point in screen coordinates, as a mouse move
    /// (hover, drags and hints follow).
    void MoveTo(int X, int Y);
    void MoveTo(TPoint P) { MoveTo(P.X, P.Y); }
    ///@}
    /// Where the pointer is, in screen coordinates.
    TPoint GetPointer() const { return FPointer; }
    ///@{
    /// Presses or releases Button where the pointer is, with Shift held.
    void Press(TMouseButton Button = mbLeft, TShiftState Shift = {});
    void Release(TMouseButton Button = mbLeft, TShiftState Shift = {});
    ///@}
    ///@{
    /// A press and release where the pointer is, or after moving it to X, Y.
    void Click(TMouseButton Button = mbLeft, TShiftState Shift = {});
    void Click(int X, int Y, TMouseButton Button = mbLeft, TShiftState Shift = {});
    ///@}
    /// Two left clicks at X, Y, quickly enough to make a double click.
    void DoubleClick(int X, int Y, TShiftState Shift = {});
    /// Press at From, move in Steps equal steps to To, release there.
    void Drag(TPoint From, TPoint To, int Steps = 4, TMouseButton Button = mbLeft,
              TShiftState Shift = {});
    ///@{
    /// Turns the wheel (or the sideways wheel) by Delta under the pointer;
    /// 120 is one notch, positive away from the user (to the right).
    void Wheel(int Delta, TShiftState Shift = {});
    void HWheel(int Delta, TShiftState Shift = {});
    ///@}

    ///@{
    /// A key (a virtual key code, VK_RETURN ...) going down or up at the
    /// control with the keyboard focus.
    void KeyDown(unsigned short Key, TShiftState Shift = {});
    void KeyUp(unsigned short Key, TShiftState Shift = {});
    ///@}
    /// A key going down and up.
    void Key(unsigned short Key, TShiftState Shift = {});
    /// Types Text at the focused control, each byte one character message.
    void Type(const String& Text);

    /// Handles everything waiting and paints.
    void RunUntilIdle();
    /// Advances the manual clock by Ms, firing the timers that fall due.
    void Run(TMilliseconds Ms);
    /// Runs Work from the loop, after the messages already queued: how a test
    /// acts while a modal form runs its own loop. A modal loop that runs out
    /// of work raises EInvalidOperation instead of waiting for input that
    /// cannot come.
    void Defer(std::function<void()> Work);

    /// The cursor the screen shows now.
    TCursor GetCursor() const { return InputRouter->GetCursor(); }
    /// Writes a form's surface to a PNG file (painting what is pending
    /// first). Raises EInvalidOperation for a form that is not shown.
    void Screenshot(const TWinControl* Form, const String& PngPath);
    /// A pixel of a form's surface as a colour (0x00BBGGRR); -1 outside.
    TColor Pixel(const TWinControl* Form, int X, int Y) const;
    /// What the screen shows in R (screen coordinates): every shown
    /// top-level window, popups and hints above the forms, in z-order, on
    /// the desktop colour. Paints what is pending first.
    void ScreenPicture(const TRect& R, TBitmap& Picture);
    /// ScreenPicture of R written to a PNG file.
    void ScreenshotScreen(const TRect& R, const String& PngPath);

private:
    static void ClassicColors();

    TManualClock FClock;
    TPoint FPointer;
    HWND FDeferWindow = 0;
    std::vector<std::function<void()>> FDeferred;
};

} // namespace folio
