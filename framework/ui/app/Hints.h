#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// The small window that shows a hint: a frame around the text on the info
/// colour. It is a top-level window that never takes the focus.
class THintWindow : public TCustomControl {
    FOLIO_CLASS(THintWindow)
public:
    /// A hidden hint window owned by AOwner.
    explicit THintWindow(TComponent* AOwner);

    /// Shows the window with AHint at Rect (screen coordinates).
    virtual void ActivateHint(const TRect& Rect, const String& AHint);
    /// The rectangle, at (0, 0), that AHint needs with its lines wrapped at
    /// MaxWidth pixels, frame and margins included.
    virtual TRect CalcHintRect(int MaxWidth, const String& AHint);
    /// Hides the window and gives its surface back.
    void ReleaseHandle();

protected:
    /// Draws the frame and the text on the info colour.
    void Paint() override;
};

/// What the hint manager asks a control with CM_HINTSHOW before a hint shows.
/// The control may change the text, the place and the cursor rectangle: the
/// hint stays while the pointer stays inside that rectangle, and moving out
/// of it counts as moving to another control, so that one control can give
/// each of its parts a hint of its own.
struct THintInfo {
    /// The control whose hint shows.
    TControl* HintControl = nullptr;
    /// The pointer, in the hint control's client coordinates.
    TPoint CursorPos;
    /// In the hint control's client coordinates; its client rectangle unless
    /// the control narrows it.
    TRect CursorRect;
    /// Where the hint window's top left corner goes, in screen coordinates.
    TPoint HintPos;
    /// The width in pixels the hint's lines wrap at.
    int HintMaxWidth = 0;
    /// The text shown; on arrival the short part of the control's Hint, or of
    /// its nearest parent's that has one.
    String HintStr;
};

///@{
/// The part of a hint before the first '|', shown in the hint window, and
/// the part after it (the whole hint when there is no '|').
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);
///@}

/// Shows the hints of the controls under the pointer. The hint control is
/// the one under the pointer or, when its ShowHint is off, its nearest parent
/// whose ShowHint is on (ParentShowHint makes children follow their parent).
/// The pointer resting over it for Application's hint pause shows its hint,
/// or its nearest parent's when it has none. The hint hides
/// when the pointer moves to another control, on a press, a key or the wheel,
/// and after the hide pause. Moving from a shown hint to another control
/// with a hint shows the new one after the short pause. Leaving the cursor
/// rectangle the control gave in CM_HINTSHOW counts as such a move. The
/// application owns the one hint manager (Application->GetHintManager()).
class THintManager {
public:
    THintManager() = default;
    THintManager(const THintManager&) = delete;
    THintManager& operator=(const THintManager&) = delete;

    /// From the input router: the pointer moved over Control (null: over
    /// nothing). Buttons tells whether a mouse button is down.
    void MouseMoved(TControl* Control, bool Buttons);
    /// Hides the hint and forgets the control, so only the next pointer move
    /// starts a new pause.
    void Cancel();
    /// Control (or something containing it) is hidden or being destroyed.
    void ControlGone(TControl* Control);

    /// The control whose hint shows or is pending (null when none).
    TControl* HintControl() const { return FControl; }
    /// The hint window while it shows, else null.
    THintWindow* ShownWindow() const;

private:
    void TimerFired(unsigned Id);
    void Arm(bool Short);
    void Show();
    void Hide();

    TControl* FControl = nullptr;
    TControl* FUnder = nullptr;
    THintWindow* FWindow = nullptr;
    HWND FTimerWindow = 0;
    bool FShown = false;
    // The cursor rectangle of the last hint asked for, in screen coordinates.
    TRect FCursorRect;
    bool FHasCursorRect = false;
    // The short pause runs after a shown hint hid; each move restarts it.
    bool FReshowPending = false;
};

} // namespace folio
