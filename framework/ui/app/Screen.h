#pragma once

#include "framework/core/Types.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/ui/controls/Cursors.h"

#include <functional>
#include <vector>

namespace folio {

class TControl;
class TCustomForm;
class TWinControl;

/// The screen: every form, the active one, the cursor, the size.
class TScreen {
public:
    /// How many forms exist, shown or not.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    /// The form at Index, in the order they were made; raises EListError
    /// outside 0 .. FormCount() - 1.
    TCustomForm* Forms(int Index) const;
    /// The form that gets the keys; null when none is active.
    TCustomForm* GetActiveForm() const { return FActiveForm; }
    /// The active form's active control; null without one.
    TWinControl* GetActiveControl() const;
    ///@{
    /// A cursor other than crDefault shows everywhere.
    /// crDefault (the default) lets each control show its own.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    ///@}
    ///@{
    /// Keyboard cues. Controls that show their focus rectangle only once the
    /// keyboard is in use, as desktops do, ask here: a key press turns the
    /// cues on, a mouse press turns them off again. A change repaints the
    /// focused control.
    /// Off by default.
    bool GetFocusCues() const { return FFocusCues; }
    void SetFocusCues(bool Value);
    ///@}
    ///@{
    /// The screen's size in pixels; 1024 by 768 until a host sets it.
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    ///@}
    /// A new size makes the whole screen the work area again.
    void SetSize(int Width, int Height);
    ///@{
    /// The part of the screen where forms go: the screen without the
    /// desktop's panels and, once the host knows it, without the frame a
    /// window manager puts round a form (a form's bounds are its client
    /// area). Hosts set it; forms shown too large for it are fitted into it.
    /// The whole screen by default; setting an empty rectangle makes it the
    /// whole screen again.
    TRect GetWorkAreaRect() const { return FWorkArea; }
    void SetWorkAreaRect(const TRect& Value);
    ///@}
    ///@{
    /// The display's resolution (96 is the standard one). Hosts set it from
    /// the display before forms show; new fonts convert points with it and
    /// forms that are Scaled grow to it when they first show.
    int GetPixelsPerInch() const;
    void SetPixelsPerInch(int Value);
    ///@}

    /// The colour scheme the system colours resolve through. A change tells
    /// every control on every form (CM_SYSCOLORCHANGE) and repaints each form
    /// once, in the next paint pass.
    TColorScheme GetColorScheme() const { return folio::GetColorScheme(); }
    /// The program's choice of scheme; from then on the desktop's is no
    /// longer followed (SetFollowDesktopColorScheme(true) follows it again).
    void SetColorScheme(TColorScheme Scheme);
    /// The program's own table of system colours (csCustom), likewise.
    void SetSystemColors(const TSystemColorTable& Colors, TColorSchemeTraits Traits = {});
    ///@{
    /// Whether the scheme follows the desktop's (true until the program
    /// chooses one). A window host tells the screen what the desktop asks
    /// for; the headless host asks nothing, so it stays classic.
    bool GetFollowDesktopColorScheme() const { return FFollowDesktop; }
    void SetFollowDesktopColorScheme(bool Value);
    ///@}
    ///@{
    /// Hosts: the scheme the desktop asks for now (csClassic when it says
    /// nothing). Taken at once while the screen follows the desktop.
    TColorScheme GetDesktopColorScheme() const { return FDesktopScheme; }
    void SetDesktopColorScheme(TColorScheme Scheme);
    ///@}
    /// Tells every control that the system colours changed and repaints
    /// every form; then OnSystemColorsChanged.
    void SystemColorsChanged();
    /// The system colours changed and every form was told.
    std::function<void()> OnSystemColorsChanged;

    ///@{
    /// Internal bookkeeping of the forms: made, gone, activated, hidden, and
    /// modal forms opened and closed.
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void ActivateForm(TCustomForm* Form);
    void FormHidden(TCustomForm* Form);
    void PushModal(TCustomForm* Form);
    void PopModal(TCustomForm* Form);
    ///@}
    /// True when a modal form shows and C is not on it.
    bool IsBlockedByModal(const TControl* C) const;

private:
    std::vector<TCustomForm*> FForms;
    std::vector<TCustomForm*> FModalForms;
    TCustomForm* FActiveForm = nullptr;
    TCursor FCursor = crDefault;
    bool FFocusCues = false;
    bool FFollowDesktop = true;
    TColorScheme FDesktopScheme = csClassic;
    int FWidth = 1024;
    int FHeight = 768;
    TRect FWorkArea{0, 0, 1024, 768};
};

/// The screen of the process.
extern TScreen* const Screen;

} // namespace folio
