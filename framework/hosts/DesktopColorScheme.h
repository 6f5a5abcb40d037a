#pragma once

#include "framework/gfx/ColorSchemes.h"

#include <memory>

namespace folio {

class TDBusConnection;

/// What the desktop's appearance settings say (the freedesktop appearance
/// namespace, read through the desktop portal's Settings interface).
struct TPortalAppearance {
    /// color-scheme: 0 no preference, 1 prefers dark, 2 prefers light;
    /// -1 when the portal did not say.
    int ColorScheme = -1;
    /// contrast: 0 normal, 1 higher contrast; -1 when not said.
    int Contrast = -1;
    /// Equal when both settings are.
    bool operator==(const TPortalAppearance&) const = default;
};

/// What a desktop without the portal leaves for GTK programs: the dark
/// variant asked for (gtk-application-prefer-dark-theme, a GTK_THEME ending
/// in ":dark", a theme named "...-dark") and the high-contrast themes.
struct TGtkAppearance {
    bool PreferDark = false;   ///< a dark variant is asked for
    bool HighContrast = false; ///< a high-contrast theme is chosen
    /// Equal when both flags are.
    bool operator==(const TGtkAppearance&) const = default;
};

//// The scheme for what the desktop says. The user's FOLIO_COLOR_SCHEME (a
/// scheme name; null or empty: not set) goes over everything; then the
/// portal's settings, then GTK's; a desktop that says nothing gets the
/// classic scheme. High contrast comes in the dark variant when dark is
/// asked for and in the light one otherwise. An override that names no
/// scheme is passed over (the caller tells the user).
TColorScheme ChooseColorScheme(const char* Override, TPortalAppearance Portal, TGtkAppearance Gtk);

/// What a GTK_THEME value ("Adwaita:dark", "HighContrastInverse") asks
/// for; null or empty: nothing.
TGtkAppearance GtkAppearanceFromTheme(const char* Theme);
/// Adds what the text of a GTK settings.ini says (in its [Settings] section)
/// to Gtk and answers the result.
TGtkAppearance GtkAppearanceFromSettings(const String& Ini, TGtkAppearance Gtk);
/// What GTK_THEME and the user's gtk-4.0 and gtk-3.0 settings.ini files ask
/// for; GTK_THEME goes over the files, as it does for GTK itself.
TGtkAppearance ReadGtkAppearance();

/// For a program on the headless screen, which asks no desktop: takes the
/// scheme FOLIO_COLOR_SCHEME names as the desktop's word
/// (TScreen::SetDesktopColorScheme). Answers whether it named one.
bool FollowSchemeVariable();

/// Follows the desktop's colour scheme for the screen: works the scheme out
/// when made and tells TScreen::SetDesktopColorScheme, and after that
/// whenever the portal reports a change of its appearance settings
/// (SettingChanged), so that every form repaints in the new scheme at once.
/// With FOLIO_COLOR_SCHEME set, that scheme holds and the bus is not asked.
/// Bus may be null (no session bus): then only GTK's settings count.
class TDesktopColorScheme {
public:
    /// Waits up to WaitMs for the portal's first answer, so that the first
    /// window shows in the desktop's scheme; a later answer still switches.
    /// A FOLIO_COLOR_SCHEME that names no scheme is reported on the standard
    /// error and passed over.
    explicit TDesktopColorScheme(TDBusConnection* Bus, int WaitMs = 250);
    /// Stops listening to the portal; the screen keeps the scheme it has.
    ~TDesktopColorScheme();
    TDesktopColorScheme(const TDesktopColorScheme&) = delete;
    TDesktopColorScheme& operator=(const TDesktopColorScheme&) = delete;

    /// The scheme the desktop asks for now.
    TColorScheme GetScheme() const;
    /// The portal's appearance settings as last read (-1s until it answers).
    TPortalAppearance GetPortal() const;
    /// The portal answered the first read (with settings or an error).
    bool PortalAnswered() const;

    /// The follower's state, shared with the bus's handlers.
    struct TImpl;

private:
    std::unique_ptr<TImpl> FImpl;
};

} // namespace folio
