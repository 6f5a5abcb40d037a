#pragma once

// The bus side of the accessibility bridge's tests: a client that calls the
// program's objects from a thread of its own while the program's loop runs,
// a form of standard controls, the desktop's services and a listener of events.

#include "PrivateBus.h"
#include "framework/hosts/AtspiBridge.h"
#include "framework/hosts/DBusConnection.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/ScrollBar.h"
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>
#include <thread>

namespace folio::testing {

constexpr const char* AccessibleIface = "org.a11y.atspi.Accessible";
constexpr const char* ComponentIface = "org.a11y.atspi.Component";
constexpr const char* ActionIface = "org.a11y.atspi.Action";
constexpr const char* Root = "/org/a11y/atspi/accessible/root";

// Runs the program's loop without blocking until Done holds or Ms pass.
inline bool Pump(const std::function<bool()>& Done, int Ms = 5000) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!Done() && std::chrono::steady_clock::now() < End) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return Done();
}

inline sd_bus* Open(const std::string& Address) {
    sd_bus* Bus = nullptr;
    sd_bus_new(&Bus);
    sd_bus_set_address(Bus, Address.c_str());
    sd_bus_set_bus_client(Bus, 1);
    if (sd_bus_start(Bus) < 0) Bus = sd_bus_unref(Bus);
    return Bus;
}

// One answer the client got.
struct TReply {
    sd_bus_message* Message = nullptr;
    sd_bus_error Error = SD_BUS_ERROR_NULL;
    int Result = 0;
    TReply() = default;
    TReply(const TReply&) = delete;
    TReply& operator=(const TReply&) = delete;
    ~TReply() {
        sd_bus_message_unref(Message);
        sd_bus_error_free(&Error);
    }
    bool Ok() const { return Result >= 0; }
    std::string ErrorName() const { return Error.name ? Error.name : ""; }
};

// A client of the accessibility bus, as a screen reader is: it calls the
// program's objects synchronously from a thread of its own while the
// program's loop runs here.
class TClient {
public:
    TClient(const std::string& Address, std::string Program)
        : FBus(Open(Address)), FProgram(std::move(Program)) {}
    ~TClient() { sd_bus_flush_close_unref(FBus); }
    bool Connected() const { return FBus != nullptr; }

    template <typename... TArgs>
    void Call(TReply& R, const std::string& Path, const char* Iface, const char* Method,
              const char* Signature = "", TArgs... Args) {
        sd_bus_message* M = nullptr;
        sd_bus_message_new_method_call(FBus, &M, FProgram.c_str(), Path.c_str(), Iface, Method);
        if constexpr (sizeof...(TArgs) > 0) sd_bus_message_append(M, Signature, Args...);
        auto Done = std::async(std::launch::async, [&] {
            return sd_bus_call(FBus, M, 5'000'000, &R.Error, &R.Message);
        });
        Pump([&] { return Done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        R.Result = Done.get();
        sd_bus_message_unref(M);
    }
    // An object reference answer: the path.
    std::string Ref(const std::string& Path, const char* Method, int Index = -1) {
        TReply R;
        if (Index >= 0)
            Call(R, Path, AccessibleIface, Method, "i", Index);
        else
            Call(R, Path, AccessibleIface, Method);
        const char* Name = nullptr;
        const char* Object = nullptr;
        if (!R.Ok() || sd_bus_message_read(R.Message, "(so)", &Name, &Object) < 0) return "";
        return Object;
    }
    std::vector<std::string> Children(const std::string& Path) {
        TReply R;
        Call(R, Path, AccessibleIface, "GetChildren");
        std::vector<std::string> Paths;
        if (!R.Ok()) return Paths;
        sd_bus_message_enter_container(R.Message, 'a', "(so)");
        const char* Name = nullptr;
        const char* Object = nullptr;
        while (sd_bus_message_read(R.Message, "(so)", &Name, &Object) > 0) Paths.push_back(Object);
        return Paths;
    }
    unsigned Role(const std::string& Path) {
        TReply R;
        Call(R, Path, AccessibleIface, "GetRole");
        unsigned Role = 0;
        if (R.Ok()) sd_bus_message_read(R.Message, "u", &Role);
        return Role;
    }
    int Int(const std::string& Path, const char* Method) {
        TReply R;
        Call(R, Path, AccessibleIface, Method);
        int Value = -100;
        if (R.Ok()) sd_bus_message_read(R.Message, "i", &Value);
        return Value;
    }
    std::string Property(const std::string& Path, const char* Iface, const char* Name) {
        TReply R;
        Call(R, Path, "org.freedesktop.DBus.Properties", "Get", "ss", Iface, Name);
        const char* Text = nullptr;
        if (!R.Ok() || sd_bus_message_read(R.Message, "v", "s", &Text) < 0) return "<error>";
        return Text;
    }
    std::vector<unsigned> States(const std::string& Path) {
        TReply R;
        Call(R, Path, AccessibleIface, "GetState");
        std::vector<unsigned> States;
        std::uint32_t Low = 0, High = 0;
        if (!R.Ok() || sd_bus_message_read(R.Message, "au", 2, &Low, &High) < 0) return States;
        for (unsigned S = 0; S < 64; ++S)
            if ((S < 32 ? Low >> S : High >> (S - 32)) & 1u) States.push_back(S);
        return States;
    }
    std::vector<std::string> Interfaces(const std::string& Path) {
        TReply R;
        Call(R, Path, AccessibleIface, "GetInterfaces");
        std::vector<std::string> Names;
        if (!R.Ok()) return Names;
        sd_bus_message_enter_container(R.Message, 'a', "s");
        const char* Name = nullptr;
        while (sd_bus_message_read(R.Message, "s", &Name) > 0) Names.push_back(Name);
        return Names;
    }

private:
    sd_bus* FBus;
    std::string FProgram;
};

inline bool Has(const std::vector<unsigned>& States, unsigned S) {
    return std::find(States.begin(), States.end(), S) != States.end();
}

// A form of standard controls, shown at (100, 50) on the headless screen.
struct TSampleForm {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TButton* Send = new TButton(Form.get());
    TEdit* Edit = new TEdit(Form.get());
    TLabel* Label = new TLabel(Form.get());
    TPanel* Panel = new TPanel(Form.get());
    TButton* Inner = new TButton(Form.get());
    int Clicks = 0;
    TSampleForm() {
        Form->SetBounds(100, 50, 400, 300);
        Form->SetCaption("Orders");
        Send->SetParent(Form.get());
        Send->SetBounds(10, 10, 75, 23);
        Send->SetCaption("Send");
        Send->SetHint("Sends the order");
        Send->OnClick = [this](TObject*) { ++Clicks; };
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 40, 120, 21);
        Edit->SetHint("Customer");
        Label->SetParent(Form.get());
        Label->SetBounds(10, 70, 60, 15);
        Label->SetCaption("Caf\xE9");
        Panel->SetParent(Form.get());
        Panel->SetBounds(150, 10, 200, 200);
        Panel->SetCaption("Tools");
        Inner->SetParent(Panel);
        Inner->SetBounds(20, 20, 60, 23);
        Inner->SetCaption("Inner");
        Form->Show();
    }
};

class AtspiBridge : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
        Bridge = TAtspiBridge::Export(TDBusConnection::OpenAddress(Bus.Address()));
        ASSERT_NE(Bridge, nullptr);
        const char* Unique = nullptr;
        ASSERT_GE(sd_bus_get_unique_name(Bridge->Bus()->Bus(), &Unique), 0);
        Client = std::make_unique<TClient>(Bus.Address(), Unique);
        ASSERT_TRUE(Client->Connected());
    }
    // The path of the form's child at Index.
    std::string FormChild(int Index) {
        const auto Forms = Client->Children(Root);
        return Forms.empty() ? "" : Client->Ref(Forms[0], "GetChildAtIndex", Index);
    }

    THeadlessHost Host;
    TPrivateBus Bus;
    std::unique_ptr<TAtspiBridge> Bridge;
    std::unique_ptr<TClient> Client;
};

// The desktop's side on the session bus (org.a11y.Bus: its Status and the
// accessibility bus's address) and the registry on the accessibility bus,
// served from a thread of their own, as the desktop's services are.
class TDesktop {
public:
    TDesktop(const std::string& Address, bool Enabled) : FAddress(Address), FEnabled(Enabled) {
        FBus = Open(Address);
        if (!FBus) return;
        sd_bus_add_object_vtable(FBus, nullptr, "/org/a11y/bus", "org.a11y.Bus", BusVtable, this);
        sd_bus_add_object_vtable(FBus, nullptr, "/org/a11y/bus", "org.a11y.Status", StatusVtable,
                                 this);
        sd_bus_add_object_vtable(FBus, nullptr, Root, "org.a11y.atspi.Socket", SocketVtable, this);
        sd_bus_request_name(FBus, "org.a11y.Bus", 0);
        sd_bus_request_name(FBus, "org.a11y.atspi.Registry", 0);
        FThread = std::thread([this] {
            while (!FStop) {
                if (FTell.exchange(false))
                    sd_bus_emit_properties_changed(FBus, "/org/a11y/bus", "org.a11y.Status",
                                                   "IsEnabled", nullptr);
                if (sd_bus_process(FBus, nullptr) > 0) continue;
                sd_bus_wait(FBus, 10000);
            }
        });
    }
    ~TDesktop() {
        FStop = true;
        if (FThread.joinable()) FThread.join();
        sd_bus_flush_close_unref(FBus);
    }
    // Turns accessibility on or off and tells the session bus, as the
    // desktop's settings do.
    void SetEnabled(bool Enabled) {
        FEnabled = Enabled;
        FTell = true;
    }
    std::atomic<int> Embeds{0};
    std::string Plug;

private:
    static int GetAddress(sd_bus_message* M, void* Data, sd_bus_error*) {
        return sd_bus_reply_method_return(M, "s", static_cast<TDesktop*>(Data)->FAddress.c_str());
    }
    static int IsEnabled(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply,
                         void* Data, sd_bus_error*) {
        return sd_bus_message_append(Reply, "b", static_cast<TDesktop*>(Data)->FEnabled.load());
    }
    static int Embed(sd_bus_message* M, void* Data, sd_bus_error*) {
        auto* D = static_cast<TDesktop*>(Data);
        const char* Name = nullptr;
        const char* Path = nullptr;
        sd_bus_message_read(M, "(so)", &Name, &Path);
        D->Plug = std::string(Name) + Path;
        const char* Own = nullptr;
        sd_bus_get_unique_name(D->FBus, &Own);
        ++D->Embeds;
        return sd_bus_reply_method_return(M, "(so)", Own, Root);
    }
    static constexpr sd_bus_vtable BusVtable[] = {
        SD_BUS_VTABLE_START(0), SD_BUS_METHOD("GetAddress", "", "s", GetAddress, 0),
        SD_BUS_VTABLE_END};
    static constexpr sd_bus_vtable StatusVtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_PROPERTY("IsEnabled", "b", IsEnabled, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE),
        SD_BUS_VTABLE_END};
    static constexpr sd_bus_vtable SocketVtable[] = {
        SD_BUS_VTABLE_START(0), SD_BUS_METHOD("Embed", "(so)", "(so)", Embed, 0),
        SD_BUS_VTABLE_END};

    sd_bus* FBus = nullptr;
    std::string FAddress;
    std::atomic<int> FEnabled;
    std::atomic<bool> FTell{false};
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// The bus's object events a client hears: member, kind and first number.
struct THeard {
    std::string Path, Member, Minor;
    int Detail = 0;
    int Detail2 = 0;
    // The value when it is a text, or the path of the object it names.
    std::string Text;
    std::string Object;
};

inline int OnEvent(sd_bus_message* M, void* Data, sd_bus_error*) {
    THeard E;
    E.Path = sd_bus_message_get_path(M);
    E.Member = sd_bus_message_get_member(M);
    const char* Minor = nullptr;
    if (sd_bus_message_read(M, "sii", &Minor, &E.Detail, &E.Detail2) >= 0 && Minor) E.Minor = Minor;
    char Type = 0;
    const char* Contents = nullptr;
    if (sd_bus_message_peek_type(M, &Type, &Contents) > 0 && Type == 'v' && Contents) {
        const char* Text = nullptr;
        const char* Name = nullptr;
        if (std::strcmp(Contents, "s") == 0 && sd_bus_message_read(M, "v", "s", &Text) >= 0 && Text)
            E.Text = Text;
        else if (std::strcmp(Contents, "(so)") == 0 &&
                 sd_bus_message_read(M, "v", "(so)", &Name, &Text) >= 0 && Text)
            E.Object = Text;
    }
    static_cast<std::vector<THeard>*>(Data)->push_back(E);
    return 0;
}

// A client that listens to every object event of the bus.
class TListener {
public:
    explicit TListener(const std::string& Address) : FBus(Open(Address)) {
        if (FBus)
            sd_bus_match_signal(FBus, nullptr, nullptr, nullptr, "org.a11y.atspi.Event.Object",
                                nullptr, OnEvent, &Heard);
        if (FBus) sd_bus_flush(FBus);
    }
    ~TListener() { sd_bus_flush_close_unref(FBus); }
    TListener(const TListener&) = delete;
    TListener& operator=(const TListener&) = delete;
    bool Connected() const { return FBus != nullptr; }
    // Runs the program's loop for Ms and takes in what was heard meanwhile.
    const std::vector<THeard>& Settle(int Ms = 100) {
        Pump(
            [&] {
                while (sd_bus_process(FBus, nullptr) > 0) {
                }
                return false;
            },
            Ms);
        return Heard;
    }
    std::vector<THeard> Heard;

private:
    sd_bus* FBus;
};

} // namespace folio::testing
