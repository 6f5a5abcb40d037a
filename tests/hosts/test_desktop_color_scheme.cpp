#include "framework/hosts/DesktopColorScheme.h"

#include "PrivateBus.h"
#include "framework/hosts/DBusConnection.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/paint/PaintPass.h"

#include <systemd/sd-bus.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

using namespace folio;
using folio::testing::TPrivateBus;
using folio::testing::TScopedEnv;

namespace {

TEST(DesktopColorScheme, TheSchemeForWhatTheDesktopSays) {
    struct TCase {
        const char* Override;
        TPortalAppearance Portal;
        TGtkAppearance Gtk;
        TColorScheme Scheme;
    };
    const TGtkAppearance None, Dark{true, false}, Contrast{false, true}, ContrastDark{true, true};
    const TCase Cases[] = {
        // Nothing said anywhere: classic.
        {nullptr, {-1, -1}, None, csClassic},
        {"", {0, 0}, None, csClassic},
        // The portal.
        {nullptr, {1, 0}, None, csDark},
        {nullptr, {2, 0}, None, csLight},
        {nullptr, {1, 1}, None, csHighContrastDark},
        {nullptr, {2, 1}, None, csHighContrastLight},
        {nullptr, {0, 1}, None, csHighContrastLight},
        {nullptr, {-1, 1}, None, csHighContrastLight},
        // GTK when the portal has no preference or is not there.
        {nullptr, {0, 0}, Dark, csDark},
        {nullptr, {-1, -1}, Dark, csDark},
        {nullptr, {-1, -1}, Contrast, csHighContrastLight},
        {nullptr, {-1, -1}, ContrastDark, csHighContrastDark},
        {nullptr, {0, 1}, Dark, csHighContrastDark},
        // The portal goes over GTK when it says something.
        {nullptr, {2, 0}, Dark, csLight},
        {nullptr, {2, 1}, Dark, csHighContrastLight},
        {nullptr, {0, 0}, ContrastDark, csHighContrastDark},
        // The user's variable goes over all of it.
        {"light", {1, 1}, ContrastDark, csLight},
        {"classic", {1, 0}, Dark, csClassic},
        {"high-contrast-dark", {2, 0}, None, csHighContrastDark},
        // One that names no scheme is passed over.
        {"purple", {1, 0}, None, csDark},
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(ChooseColorScheme(C.Override, C.Portal, C.Gtk), C.Scheme)
            << (C.Override ? C.Override : "-") << " " << C.Portal.ColorScheme << "/"
            << C.Portal.Contrast << " gtk " << C.Gtk.PreferDark << C.Gtk.HighContrast;
}

TEST(DesktopColorScheme, WhatGtkIsTold) {
    struct TTheme {
        const char* Theme;
        TGtkAppearance Gtk;
    };
    const TTheme Themes[] = {
        {nullptr, {}},
        {"", {}},
        {"Adwaita", {}},
        {"Adwaita:dark", {true, false}},
        {"Adwaita-dark", {true, false}},
        {"HighContrast", {false, true}},
        {"HighContrastInverse", {true, true}},
        {"darkness", {}},
    };
    for (const TTheme& T : Themes)
        EXPECT_EQ(GtkAppearanceFromTheme(T.Theme), T.Gtk) << (T.Theme ? T.Theme : "(null)");

    struct TIni {
        const char* Text;
        TGtkAppearance Gtk;
    };
    const TIni Inis[] = {
        {"[Settings]\ngtk-application-prefer-dark-theme=1\n", {true, false}},
        {"[Settings]\ngtk-application-prefer-dark-theme = true\n", {true, false}},
        {"[Settings]\r\ngtk-application-prefer-dark-theme=0\r\n", {}},
        {"[Settings]\ngtk-theme-name=HighContrast\n", {false, true}},
        {"[Settings]\ngtk-theme-name=Adwaita-dark\n", {true, false}},
        {"# gtk-application-prefer-dark-theme=1\n[Settings]\n", {}},
        {"[Other]\ngtk-application-prefer-dark-theme=1\n", {}},
        {"gtk-application-prefer-dark-theme=1\n", {}},
        {"[Settings]\ngtk-application-prefer-dark-theme\n", {}},
        {"", {}},
    };
    for (const TIni& I : Inis) EXPECT_EQ(GtkAppearanceFromSettings(I.Text, {}), I.Gtk) << I.Text;
    // A file that turns the dark variant off wins over one read before.
    EXPECT_EQ(GtkAppearanceFromSettings("[Settings]\ngtk-application-prefer-dark-theme=false\n",
                                        {true, false}),
              TGtkAppearance{});
}

TEST(DesktopColorScheme, GtkSettingsFilesAndTheThemeVariable) {
    const std::filesystem::path Dir =
        std::filesystem::temp_directory_path() / ("folio-gtk-" + std::to_string(getpid()));
    std::filesystem::create_directories(Dir / "gtk-3.0");
    std::ofstream(Dir / "gtk-3.0" / "settings.ini")
        << "[Settings]\ngtk-application-prefer-dark-theme=1\n";
    TScopedEnv Config("XDG_CONFIG_HOME", Dir.c_str());
    {
        TScopedEnv Theme("GTK_THEME", nullptr);
        EXPECT_EQ(ReadGtkAppearance(), (TGtkAppearance{true, false}));
    }
    {
        TScopedEnv Theme("GTK_THEME", "HighContrast");
        EXPECT_EQ(ReadGtkAppearance(), (TGtkAppearance{true, true}));
    }
    std::filesystem::create_directories(Dir / "gtk-4.0");
    std::ofstream(Dir / "gtk-4.0" / "settings.ini")
        << "[Settings]\ngtk-application-prefer-dark-theme=0\n";
    {
        TScopedEnv Theme("GTK_THEME", nullptr);
        EXPECT_EQ(ReadGtkAppearance(), TGtkAppearance{});
    }
    std::filesystem::remove_all(Dir);
}

// The desktop portal's Settings interface, played by the test on a bus
// connection and a thread of its own.
class TPortalStandIn {
public:
    explicit TPortalStandIn(const std::string& Address, unsigned Scheme, unsigned Contrast)
        : FScheme(Scheme), FContrast(Contrast) {
        sd_bus_new(&FBus);
        sd_bus_set_address(FBus, Address.c_str());
        sd_bus_set_bus_client(FBus, 1);
        if (sd_bus_start(FBus) < 0 ||
            sd_bus_add_object_vtable(FBus, nullptr, "/org/freedesktop/portal/desktop",
                                     "org.freedesktop.portal.Settings", Vtable, this) < 0 ||
            sd_bus_request_name(FBus, "org.freedesktop.portal.Desktop", 0) < 0) {
            FBus = sd_bus_flush_close_unref(FBus);
            return;
        }
        FThread = std::thread([this] { Serve(); });
    }
    ~TPortalStandIn() {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        sd_bus_flush_close_unref(FBus);
    }
    bool Running() const { return FBus != nullptr; }
    // The desktop's setting changes: the portal says so to everyone.
    void Change(const char* Namespace, const char* Key, unsigned Value) {
        std::lock_guard Guard(FLock);
        FChanges.push_back({Namespace, Key, Value});
    }
    unsigned ReadCalls() const { return FReadCalls.load(); }

private:
    struct TChange {
        std::string Namespace, Key;
        unsigned Value;
    };

    static int ReadAll(sd_bus_message* Call, void* Data, sd_bus_error*) {
        auto* Self = static_cast<TPortalStandIn*>(Data);
        ++Self->FReadCalls;
        sd_bus_message* R = nullptr;
        sd_bus_message_new_method_return(Call, &R);
        sd_bus_message_open_container(R, 'a', "{sa{sv}}");
        // Another namespace first: it is passed over.
        sd_bus_message_append(R, "{sa{sv}}", "org.example.other", 1, "color-scheme", "u", 2u);
        sd_bus_message_open_container(R, 'e', "sa{sv}");
        sd_bus_message_append(R, "s", "org.freedesktop.appearance");
        sd_bus_message_open_container(R, 'a', "{sv}");
        sd_bus_message_append(R, "{sv}", "accent-color", "(ddd)", 0.1, 0.2, 0.3);
        sd_bus_message_append(R, "{sv}", "color-scheme", "u", Self->FScheme);
        sd_bus_message_append(R, "{sv}", "contrast", "u", Self->FContrast);
        sd_bus_message_close_container(R);
        sd_bus_message_close_container(R);
        sd_bus_message_close_container(R);
        const int Sent = sd_bus_send(nullptr, R, nullptr);
        sd_bus_message_unref(R);
        return Sent < 0 ? Sent : 1;
    }

    void Serve() {
        while (!FStop) {
            while (sd_bus_process(FBus, nullptr) > 0) {
            }
            std::vector<TChange> Changes;
            {
                std::lock_guard Guard(FLock);
                Changes.swap(FChanges);
            }
            for (const TChange& C : Changes)
                sd_bus_emit_signal(FBus, "/org/freedesktop/portal/desktop",
                                   "org.freedesktop.portal.Settings", "SettingChanged", "ssv",
                                   C.Namespace.c_str(), C.Key.c_str(), "u", C.Value);
            sd_bus_flush(FBus);
            sd_bus_wait(FBus, 5000);
        }
    }

    static const sd_bus_vtable Vtable[];
    sd_bus* FBus = nullptr;
    unsigned FScheme, FContrast;
    std::atomic<bool> FStop{false};
    std::atomic<unsigned> FReadCalls{0};
    std::mutex FLock;
    std::vector<TChange> FChanges;
    std::thread FThread;
};

const sd_bus_vtable TPortalStandIn::Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("ReadAll", "as", "a{sa{sv}}", &TPortalStandIn::ReadAll,
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("SettingChanged", "ssv", 0),
    SD_BUS_VTABLE_END,
};

// Runs the loop (the headless host's clock is manual, so no timer can end a
// blocking wait) until Done holds or five seconds pass.
bool PollUntil(const std::function<bool()>& Done) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Done() && std::chrono::steady_clock::now() < End) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return Done();
}

class DesktopColorSchemeOnABus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
        Connection = TDBusConnection::OpenAddress(Bus.Address());
        ASSERT_NE(Connection, nullptr);
    }
    void TearDown() override { Connection.reset(); }
    TScopedEnv NoOverride{"FOLIO_COLOR_SCHEME", nullptr};
    TScopedEnv NoGtkTheme{"GTK_THEME", nullptr};
    TScopedEnv NoGtkSettings{"XDG_CONFIG_HOME", "/nonexistent-config"};
    THeadlessHost Host;
    TPrivateBus Bus;
    std::unique_ptr<TDBusConnection> Connection;
};

TEST_F(DesktopColorSchemeOnABus, TheFirstWindowAlreadyShowsThePortalsScheme) {
    TPortalStandIn Portal(Bus.Address(), 1, 0);
    ASSERT_TRUE(Portal.Running());
    TDesktopColorScheme Desktop(Connection.get());
    // Waited for the answer before the first window could show.
    EXPECT_TRUE(Desktop.PortalAnswered());
    EXPECT_EQ(Desktop.GetPortal(), (TPortalAppearance{1, 0}));
    EXPECT_EQ(Desktop.GetScheme(), csDark);
    EXPECT_EQ(Screen->GetColorScheme(), csDark);
    EXPECT_EQ(Portal.ReadCalls(), 1u);
}

TEST_F(DesktopColorSchemeOnABus, WithoutAPortalTheDesktopSaysNothing) {
    TDesktopColorScheme Desktop(Connection.get());
    EXPECT_TRUE(Desktop.PortalAnswered());
    EXPECT_EQ(Desktop.GetPortal(), TPortalAppearance{});
    EXPECT_EQ(Screen->GetColorScheme(), csClassic);
}

TEST_F(DesktopColorSchemeOnABus, TheUsersVariableGoesOverThePortal) {
    TPortalStandIn Portal(Bus.Address(), 1, 0);
    TScopedEnv Override("FOLIO_COLOR_SCHEME", "high-contrast-light");
    TDesktopColorScheme Desktop(Connection.get());
    EXPECT_EQ(Screen->GetColorScheme(), csHighContrastLight);
    EXPECT_EQ(Portal.ReadCalls(), 0u);
    Portal.Change("org.freedesktop.appearance", "color-scheme", 1);
    PollUntil([] { return false; });
    EXPECT_EQ(Screen->GetColorScheme(), csHighContrastLight);
}

TEST_F(DesktopColorSchemeOnABus, ChangesOnTheDesktopRepaintEveryFormOnce) {
    TPortalStandIn Portal(Bus.Address(), 0, 0);
    TDesktopColorScheme Desktop(Connection.get());
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 120, 80);
    Form.Show();
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(&Form, 60, 40), ColorSchemeColors(csClassic)[15]);

    struct TStep {
        const char* Namespace;
        const char* Key;
        unsigned Value;
        TColorScheme Scheme;
    };
    const TStep Steps[] = {
        {"org.freedesktop.appearance", "color-scheme", 1, csDark},
        {"org.freedesktop.appearance", "contrast", 1, csHighContrastDark},
        {"org.freedesktop.appearance", "color-scheme", 2, csHighContrastLight},
        {"org.freedesktop.appearance", "contrast", 0, csLight},
        {"org.freedesktop.appearance", "color-scheme", 0, csClassic},
    };
    for (const TStep& S : Steps) {
        const unsigned Painted = Application->GetPaintPass().PaintMessages();
        Portal.Change(S.Namespace, S.Key, S.Value);
        EXPECT_TRUE(PollUntil([&] { return Screen->GetColorScheme() == S.Scheme; }))
            << ColorSchemeName(S.Scheme);
        Host.RunUntilIdle();
        EXPECT_EQ(Host.Pixel(&Form, 60, 40), ColorSchemeColors(S.Scheme)[15]);
        // One form without children: one paint of its window.
        EXPECT_EQ(Application->GetPaintPass().PaintMessages() - Painted, 1u)
            << ColorSchemeName(S.Scheme);
    }
    // Settings of other namespaces, and keys that do not count, change
    // nothing; neither does the same value again.
    const unsigned Painted = Application->GetPaintPass().PaintMessages();
    Portal.Change("org.example.other", "color-scheme", 1);
    Portal.Change("org.freedesktop.appearance", "accent", 1);
    Portal.Change("org.freedesktop.appearance", "color-scheme", 0);
    const unsigned Turns = Connection->Counts().Messages;
    PollUntil([&] { return Connection->Counts().Messages >= Turns + 3; });
    Host.RunUntilIdle();
    EXPECT_EQ(Screen->GetColorScheme(), csClassic);
    EXPECT_EQ(Application->GetPaintPass().PaintMessages(), Painted);
}

TEST_F(DesktopColorSchemeOnABus, AProgramsChoiceIsNotUndoneByTheDesktop) {
    TPortalStandIn Portal(Bus.Address(), 2, 0);
    TDesktopColorScheme Desktop(Connection.get());
    EXPECT_EQ(Screen->GetColorScheme(), csLight);
    Screen->SetColorScheme(csHighContrastDark);
    Portal.Change("org.freedesktop.appearance", "color-scheme", 1);
    EXPECT_TRUE(PollUntil([] { return Screen->GetDesktopColorScheme() == csDark; }));
    EXPECT_EQ(Screen->GetColorScheme(), csHighContrastDark);
    // Following the desktop again takes what it says now.
    Screen->SetFollowDesktopColorScheme(true);
    EXPECT_EQ(Screen->GetColorScheme(), csDark);
}

} // namespace
