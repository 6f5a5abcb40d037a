#include "framework/hosts/DesktopColorScheme.h"

#include "framework/hosts/DBusConnection.h"
#include "framework/ui/app/Screen.h"

#include <systemd/sd-bus.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace folio {

namespace {

constexpr const char* PortalName = "org.freedesktop.portal.Desktop";
constexpr const char* PortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* SettingsInterface = "org.freedesktop.portal.Settings";
constexpr const char* AppearanceNamespace = "org.freedesktop.appearance";

String Lower(String S) {
    for (char& C : S) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return S;
}

String Trimmed(const String& S) {
    const auto First = S.find_first_not_of(" \t\r");
    if (First == String::npos) return {};
    const auto Last = S.find_last_not_of(" \t\r");
    return S.substr(First, Last - First + 1);
}

// A theme's name says high contrast ("HighContrast", "HighContrastInverse")
// and whether it is dark ("...Inverse", "...-dark", "...:dark").
void AddThemeName(const String& Name, TGtkAppearance& Gtk) {
    const String Theme = Lower(Name);
    if (Theme.find("highcontrast") != String::npos) {
        Gtk.HighContrast = true;
        if (Theme.find("inverse") != String::npos) Gtk.PreferDark = true;
    }
    const auto Ends = [&](const char* Tail) {
        const size_t N = std::strlen(Tail);
        return Theme.size() >= N && Theme.compare(Theme.size() - N, N, Tail) == 0;
    };
    if (Ends(":dark") || Ends("-dark")) Gtk.PreferDark = true;
}

// Reads a value of the appearance namespace from the variant M is at:
// uint32 as the portal sends it, or wrapped in one more variant as its old
// Read method answers. Anything else is skipped.
bool ReadSettingValue(sd_bus_message* M, int& Value) {
    for (int Depth = 0; Depth < 2; ++Depth) {
        char Type = 0;
        const char* Contents = nullptr;
        if (sd_bus_message_peek_type(M, &Type, &Contents) <= 0 || Type != 'v' || !Contents)
            return false;
        if (std::strcmp(Contents, "u") == 0 || std::strcmp(Contents, "i") == 0) {
            if (sd_bus_message_enter_container(M, 'v', Contents) < 0) return false;
            std::uint32_t Raw = 0;
            const int Read = sd_bus_message_read_basic(M, Contents[0], &Raw);
            sd_bus_message_exit_container(M);
            if (Read <= 0) return false;
            Value = static_cast<int>(Raw);
            return true;
        }
        if (std::strcmp(Contents, "v") != 0) {
            sd_bus_message_skip(M, "v");
            return false;
        }
        if (sd_bus_message_enter_container(M, 'v', "v") < 0) return false;
        const bool Read = ReadSettingValue(M, Value);
        sd_bus_message_exit_container(M);
        return Read;
    }
    return false;
}

// One setting of the appearance namespace into Appearance; answers
// whether it was one that counts.
bool TakeSetting(const char* Key, int Value, TPortalAppearance& Appearance) {
    if (std::strcmp(Key, "color-scheme") == 0) {
        // A value this code does not know is no preference.
        Appearance.ColorScheme = Value >= 0 && Value <= 2 ? Value : 0;
        return true;
    }
    if (std::strcmp(Key, "contrast") == 0) {
        Appearance.Contrast = Value == 1 ? 1 : 0;
        return true;
    }
    return false;
}

// ReadAll's answer: a{sa{sv}}, namespace to key to value.
void ReadAllSettings(sd_bus_message* M, TPortalAppearance& Appearance) {
    if (sd_bus_message_enter_container(M, 'a', "{sa{sv}}") < 0) return;
    while (sd_bus_message_enter_container(M, 'e', "sa{sv}") > 0) {
        const char* Namespace = nullptr;
        if (sd_bus_message_read(M, "s", &Namespace) < 0) return;
        if (!Namespace || std::strcmp(Namespace, AppearanceNamespace) != 0) {
            sd_bus_message_skip(M, "a{sv}");
        } else if (sd_bus_message_enter_container(M, 'a', "{sv}") >= 0) {
            while (sd_bus_message_enter_container(M, 'e', "sv") > 0) {
                const char* Key = nullptr;
                int Value = 0;
                if (sd_bus_message_read(M, "s", &Key) >= 0 && Key && ReadSettingValue(M, Value))
                    TakeSetting(Key, Value, Appearance);
                else
                    sd_bus_message_skip(M, "v");
                sd_bus_message_exit_container(M);
            }
            sd_bus_message_exit_container(M);
        }
        sd_bus_message_exit_container(M);
    }
    sd_bus_message_exit_container(M);
}

} // namespace

TColorScheme ChooseColorScheme(const char* Override, TPortalAppearance Portal, TGtkAppearance Gtk) {
    TColorScheme Chosen = csClassic;
    if (Override && *Override && ColorSchemeFromName(Override, Chosen)) return Chosen;
    const bool PortalDark = Portal.ColorScheme == 1;
    const bool PortalLight = Portal.ColorScheme == 2;
    // The portal's high contrast takes its dark or light from the portal
    // when it says, else from what GTK was told.
    if (Portal.Contrast == 1) {
        const bool Dark = PortalDark || (!PortalLight && Gtk.PreferDark);
        return Dark ? csHighContrastDark : csHighContrastLight;
    }
    if (PortalDark) return csDark;
    if (PortalLight) return csLight;
    if (Gtk.HighContrast) return Gtk.PreferDark ? csHighContrastDark : csHighContrastLight;
    if (Gtk.PreferDark) return csDark;
    return csClassic;
}

TGtkAppearance GtkAppearanceFromTheme(const char* Theme) {
    TGtkAppearance Gtk;
    if (Theme && *Theme) AddThemeName(Theme, Gtk);
    return Gtk;
}

TGtkAppearance GtkAppearanceFromSettings(const String& Ini, TGtkAppearance Gtk) {
    std::istringstream Lines(Ini);
    String Line;
    bool InSettings = false;
    while (std::getline(Lines, Line)) {
        Line = Trimmed(Line);
        if (Line.empty() || Line[0] == '#' || Line[0] == ';') continue;
        if (Line[0] == '[') {
            InSettings = Lower(Line) == "[settings]";
            continue;
        }
        if (!InSettings) continue;
        const auto Equals = Line.find('=');
        if (Equals == String::npos) continue;
        const String Key = Lower(Trimmed(Line.substr(0, Equals)));
        const String Value = Trimmed(Line.substr(Equals + 1));
        if (Key == "gtk-application-prefer-dark-theme") {
            const String V = Lower(Value);
            Gtk.PreferDark = V == "1" || V == "true" || V == "yes";
        } else if (Key == "gtk-theme-name") {
            AddThemeName(Value, Gtk);
        }
    }
    return Gtk;
}

TGtkAppearance ReadGtkAppearance() {
    TGtkAppearance Gtk;
    String Config;
    if (const char* Xdg = std::getenv("XDG_CONFIG_HOME"); Xdg && *Xdg)
        Config = Xdg;
    else if (const char* Home = std::getenv("HOME"); Home && *Home)
        Config = String(Home) + "/.config";
    for (const char* Version : {"gtk-3.0", "gtk-4.0"}) {
        if (Config.empty()) break;
        std::ifstream File(Config + "/" + Version + "/settings.ini");
        if (!File) continue;
        std::ostringstream Text;
        Text << File.rdbuf();
        Gtk = GtkAppearanceFromSettings(Text.str(), Gtk);
    }
    // GTK_THEME goes over the settings files, as it does for GTK itself.
    if (const char* Theme = std::getenv("GTK_THEME"); Theme && *Theme) AddThemeName(Theme, Gtk);
    return Gtk;
}

bool FollowSchemeVariable() {
    const char* Name = std::getenv("FOLIO_COLOR_SCHEME");
    TColorScheme Scheme = csClassic;
    if (!Name || !*Name || !ColorSchemeFromName(Name, Scheme)) return false;
    Screen->SetDesktopColorScheme(Scheme);
    return true;
}

struct TDesktopColorScheme::TImpl {
    TDBusConnection* Bus = nullptr;
    sd_bus_slot* ReadCall = nullptr;
    sd_bus_slot* Changes = nullptr;
    bool Answered = false;
    TPortalAppearance Portal;
    TGtkAppearance Gtk;
    String Override;
    TColorScheme Scheme = csClassic;

    void Apply() {
        Scheme = ChooseColorScheme(Override.c_str(), Portal, Gtk);
        Screen->SetDesktopColorScheme(Scheme);
    }

    static int OnReadAll(sd_bus_message* M, void* Data, sd_bus_error*) {
        auto* Self = static_cast<TImpl*>(Data);
        Self->ReadCall = sd_bus_slot_unref(Self->ReadCall);
        Self->Answered = true;
        // No portal, or one without the Settings interface: GTK decides.
        if (!sd_bus_message_is_method_error(M, nullptr)) ReadAllSettings(M, Self->Portal);
        Self->Apply();
        return 0;
    }

    static int OnSettingChanged(sd_bus_message* M, void* Data, sd_bus_error*) {
        auto* Self = static_cast<TImpl*>(Data);
        const char* Namespace = nullptr;
        const char* Key = nullptr;
        if (sd_bus_message_read(M, "ss", &Namespace, &Key) < 0 || !Namespace || !Key ||
            std::strcmp(Namespace, AppearanceNamespace) != 0)
            return 0;
        int Value = 0;
        if (!ReadSettingValue(M, Value)) return 0;
        TPortalAppearance Next = Self->Portal;
        if (!TakeSetting(Key, Value, Next) || Next == Self->Portal) return 0;
        Self->Portal = Next;
        Self->Apply();
        return 0;
    }
};

TDesktopColorScheme::TDesktopColorScheme(TDBusConnection* Bus, int WaitMs)
    : FImpl(std::make_unique<TImpl>()) {
    TImpl& I = *FImpl;
    if (const char* Override = std::getenv("FOLIO_COLOR_SCHEME"); Override && *Override) {
        TColorScheme Named;
        if (ColorSchemeFromName(Override, Named)) {
            I.Override = Override;
            I.Apply();
            return;
        }
        std::fprintf(stderr,
                     "FOLIO_COLOR_SCHEME=%s names no colour scheme (classic, light, dark, "
                     "high-contrast-dark, high-contrast-light); following the desktop.\n",
                     Override);
    }
    I.Gtk = ReadGtkAppearance();
    I.Apply();
    if (!Bus || !Bus->Connected()) return;
    I.Bus = Bus;
    sd_bus* B = Bus->Bus();
    // Listening first: a change made while the first answer travels is not
    // lost.
    sd_bus_match_signal_async(B, &I.Changes, nullptr, PortalPath, SettingsInterface,
                              "SettingChanged", &TImpl::OnSettingChanged, nullptr, &I);
    const char* Namespaces[] = {AppearanceNamespace, nullptr};
    sd_bus_message* Call = nullptr;
    if (sd_bus_message_new_method_call(B, &Call, PortalName, PortalPath, SettingsInterface,
                                       "ReadAll") >= 0 &&
        sd_bus_message_append_strv(Call, const_cast<char**>(Namespaces)) >= 0)
        sd_bus_call_async(B, &I.ReadCall, Call, &TImpl::OnReadAll, &I, 0);
    sd_bus_message_unref(Call);
    Bus->Changed();
    if (WaitMs > 0) Bus->RunUntil([&I] { return I.Answered; }, WaitMs);
}

TDesktopColorScheme::~TDesktopColorScheme() {
    // The slots hold the bus's calls back into this object; without them
    // nothing calls it any more.
    sd_bus_slot_unref(FImpl->ReadCall);
    sd_bus_slot_unref(FImpl->Changes);
}

TColorScheme TDesktopColorScheme::GetScheme() const {
    return FImpl->Scheme;
}

TPortalAppearance TDesktopColorScheme::GetPortal() const {
    return FImpl->Portal;
}

bool TDesktopColorScheme::PortalAnswered() const {
    return FImpl->Answered;
}

} // namespace folio
