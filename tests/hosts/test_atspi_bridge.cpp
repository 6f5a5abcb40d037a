#include "framework/hosts/AtspiBridge.h"

#include "PrivateBus.h"
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

#include <systemd/sd-bus.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

using namespace folio;
using folio::testing::TPrivateBus;
using folio::testing::TScopedEnv;

namespace {

constexpr const char* AccessibleIface = "org.a11y.atspi.Accessible";
constexpr const char* ComponentIface = "org.a11y.atspi.Component";
constexpr const char* ActionIface = "org.a11y.atspi.Action";
constexpr const char* Root = "/org/a11y/atspi/accessible/root";

// Runs the program's loop without blocking until Done holds or Ms pass.
bool Pump(const std::function<bool()>& Done, int Ms = 5000) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (!Done() && std::chrono::steady_clock::now() < End) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return Done();
}

sd_bus* Open(const std::string& Address) {
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

bool Has(const std::vector<unsigned>& States, unsigned S) {
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

} // namespace

TEST_F(AtspiBridge, AClientWalksTheTreeWithRolesNamesAndStates) {
    TSampleForm Sample;
    EXPECT_EQ(Client->Role(Root), 75u);
    EXPECT_EQ(Client->Property(Root, "org.a11y.atspi.Application", "ToolkitName"), "Folio");
    const auto Forms = Client->Children(Root);
    ASSERT_EQ(Forms.size(), 1u);
    EXPECT_EQ(Client->Role(Forms[0]), 23u);
    EXPECT_EQ(Client->Property(Forms[0], AccessibleIface, "Name"), "Orders");
    const auto Controls = Client->Children(Forms[0]);
    ASSERT_EQ(Controls.size(), 4u);
    const struct {
        unsigned Role;
        const char* Name;
        const char* Description;
        int Children;
    } Expected[] = {
        {43, "Send", "Sends the order", 0},
        {79, "Customer", "Customer", 0},
        // A caption that is not UTF-8 reaches the bus with a replacement.
        {29, "Caf\xEF\xBF\xBD", "", 0},
        {99, "Tools", "", 1},
    };
    for (int I = 0; I < 4; ++I) {
        const std::string& Path = Controls[static_cast<size_t>(I)];
        EXPECT_EQ(Client->Role(Path), Expected[I].Role) << I;
        EXPECT_EQ(Client->Property(Path, AccessibleIface, "Name"), Expected[I].Name) << I;
        EXPECT_EQ(Client->Property(Path, AccessibleIface, "Description"), Expected[I].Description)
            << I;
        EXPECT_EQ(Client->Int(Path, "GetIndexInParent"), I);
        EXPECT_EQ(Client->Ref(Path, "GetApplication"), Root);
        EXPECT_EQ(Client->Ref(Forms[0], "GetChildAtIndex", I), Path) << "the same path again";
        EXPECT_EQ(Client->Children(Path).size(), static_cast<size_t>(Expected[I].Children));
    }
    // Parents lead back to the root, whose parent is none without a registry.
    const std::string Inner = Client->Ref(Controls[3], "GetChildAtIndex", 0);
    EXPECT_EQ(Client->Property(Inner, AccessibleIface, "Name"), "Inner");
    TReply Parent;
    Client->Call(Parent, Inner, "org.freedesktop.DBus.Properties", "Get", "ss", AccessibleIface,
                 "Parent");
    const char* Name = nullptr;
    const char* Object = nullptr;
    ASSERT_GE(sd_bus_message_read(Parent.Message, "v", "(so)", &Name, &Object), 0);
    EXPECT_EQ(std::string(Object), Controls[3]);
    EXPECT_EQ(Client->Int(Root, "GetIndexInParent"), -1);
    // States: enabled, shown, focusable for the button; editable for the edit box.
    const auto ButtonStates = Client->States(Controls[0]);
    for (const unsigned S : {8u, 24u, 25u, 30u, 13u}) EXPECT_TRUE(Has(ButtonStates, S)) << S;
    Sample.Send->SetEnabled(false);
    EXPECT_FALSE(Has(Client->States(Controls[0]), 8u));
    EXPECT_TRUE(Has(Client->States(Controls[1]), 7u));
    // Interfaces: a button has an action, a label none.
    EXPECT_EQ(Client->Interfaces(Controls[0]).back(), ActionIface);
    EXPECT_EQ(Client->Interfaces(Controls[2]),
              (std::vector<std::string>{AccessibleIface, ComponentIface, "org.a11y.atspi.Text"}));
    EXPECT_EQ(Client->Interfaces(Root).back(), "org.a11y.atspi.Application");
}

TEST_F(AtspiBridge, ObjectsThatAreGoneAnswerAnError) {
    TSampleForm Sample;
    const std::string Send = FormChild(0);
    const std::string Label = FormChild(2);
    const std::string Panel = FormChild(3);
    ASSERT_FALSE(Send.empty());
    delete Sample.Send;
    // The label moved up one place and keeps its path.
    EXPECT_EQ(Client->Int(Label, "GetIndexInParent"), 1);
    EXPECT_EQ(Client->Int(Panel, "GetIndexInParent"), 2);
    const struct {
        std::string Path;
        const char* Iface;
        const char* Method;
    } Calls[] = {
        {Send, AccessibleIface, "GetRole"},
        {Send, ComponentIface, "GetExtents"},
        {Send, ActionIface, "DoAction"},
        {"/org/a11y/atspi/accessible/999999", AccessibleIface, "GetRole"},
        {"/org/a11y/atspi/accessible/0", AccessibleIface, "GetRole"},
        {"/org/a11y/atspi/accessible/x1", AccessibleIface, "GetRole"},
        {"/org/a11y/atspi/accessible/99999999999999999999999", AccessibleIface, "GetRole"},
    };
    for (const auto& C : Calls) {
        TReply R;
        if (std::strcmp(C.Method, "GetRole") == 0)
            Client->Call(R, C.Path, C.Iface, C.Method);
        else
            Client->Call(R, C.Path, C.Iface, C.Method, C.Iface == ActionIface ? "i" : "u", 0);
        EXPECT_FALSE(R.Ok()) << C.Path << " " << C.Method;
        EXPECT_EQ(R.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject") << C.Path;
    }
    // A child index out of range is the caller's error.
    TReply OutOfRange;
    Client->Call(OutOfRange, Panel, AccessibleIface, "GetChildAtIndex", "i", 5);
    EXPECT_EQ(OutOfRange.ErrorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    // A form closed and freed takes its whole subtree.
    const std::string Inner = Client->Ref(Panel, "GetChildAtIndex", 0);
    Sample.Form.reset();
    EXPECT_EQ(Client->Children(Root).size(), 0u);
    TReply Late;
    Client->Call(Late, Inner, AccessibleIface, "GetRole");
    EXPECT_EQ(Late.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject");
}

TEST_F(AtspiBridge, ActionsRunOnTheLoopAfterTheAnswer) {
    TSampleForm Sample;
    const std::string Send = FormChild(0);
    EXPECT_EQ(Client->Property(Send, ActionIface, "NActions"), "<error>") << "NActions is an int";
    TReply Names;
    Client->Call(Names, Send, ActionIface, "GetName", "i", 0);
    const char* Name = nullptr;
    ASSERT_GE(sd_bus_message_read(Names.Message, "s", &Name), 0);
    EXPECT_STREQ(Name, "press");
    TReply Done;
    Client->Call(Done, Send, ActionIface, "DoAction", "i", 0);
    int Started = 0;
    ASSERT_GE(sd_bus_message_read(Done.Message, "b", &Started), 0);
    EXPECT_TRUE(Started);
    EXPECT_TRUE(Pump([&] { return Sample.Clicks == 1; }));
    // No such action, and a disabled button, do nothing.
    TReply Missing;
    Client->Call(Missing, Send, ActionIface, "DoAction", "i", 3);
    EXPECT_EQ(Missing.ErrorName(), "org.freedesktop.DBus.Error.InvalidArgs");
    Sample.Send->SetEnabled(false);
    TReply Refused;
    Client->Call(Refused, Send, ActionIface, "DoAction", "i", 0);
    ASSERT_GE(sd_bus_message_read(Refused.Message, "b", &Started), 0);
    EXPECT_FALSE(Started);
    Pump([] { return false; }, 50);
    EXPECT_EQ(Sample.Clicks, 1);
    // A label offers no Action interface at all.
    TReply NoAction;
    Client->Call(NoAction, FormChild(2), ActionIface, "GetActions");
    EXPECT_FALSE(NoAction.Ok());
}

TEST_F(AtspiBridge, ExtentsHitTestsAndFocus) {
    TSampleForm Sample;
    const std::string Panel = FormChild(3);
    const std::string Inner = Client->Ref(Panel, "GetChildAtIndex", 0);
    const TRect OnScreen = GetAccessible(Sample.Inner)->GetBounds();
    const TRect Form = GetAccessible(Sample.Form.get())->GetBounds();
    const TRect PanelBox = GetAccessible(Sample.Panel)->GetBounds();
    const struct {
        unsigned Kind;
        int X, Y;
    } Rows[] = {
        {0, OnScreen.Left, OnScreen.Top},
        {1, OnScreen.Left - Form.Left, OnScreen.Top - Form.Top},
        {2, OnScreen.Left - PanelBox.Left, OnScreen.Top - PanelBox.Top},
    };
    for (const auto& Row : Rows) {
        TReply R;
        Client->Call(R, Inner, ComponentIface, "GetExtents", "u", Row.Kind);
        int X = 0, Y = 0, W = 0, H = 0;
        ASSERT_GE(sd_bus_message_read(R.Message, "(iiii)", &X, &Y, &W, &H), 0);
        EXPECT_EQ(X, Row.X) << Row.Kind;
        EXPECT_EQ(Y, Row.Y) << Row.Kind;
        EXPECT_EQ(W, 60);
        EXPECT_EQ(H, 23);
    }
    EXPECT_EQ(OnScreen.Left, PanelBox.Left + 20);
    // The deepest object under a point, from the form down.
    const std::string FormPath = Client->Children(Root)[0];
    const auto At = [&](int X, int Y, unsigned Kind = 0) {
        TReply R;
        Client->Call(R, FormPath, ComponentIface, "GetAccessibleAtPoint", "iiu", X, Y, Kind);
        const char* Name = nullptr;
        const char* Object = nullptr;
        if (!R.Ok() || sd_bus_message_read(R.Message, "(so)", &Name, &Object) < 0)
            return std::string();
        return std::string(Object);
    };
    EXPECT_EQ(At(OnScreen.Left + 5, OnScreen.Top + 5), Inner);
    EXPECT_EQ(At(OnScreen.Left + 5 - Form.Left, OnScreen.Top + 5 - Form.Top, 1), Inner);
    EXPECT_EQ(At(PanelBox.Left + 150, PanelBox.Top + 150), Panel);
    EXPECT_EQ(At(Form.Left + 5, Form.Bottom - 5), FormPath);
    EXPECT_EQ(At(Form.Right + 50, Form.Top), "/org/a11y/atspi/null");
    TReply Contains;
    Client->Call(Contains, Inner, ComponentIface, "Contains", "iiu", OnScreen.Left, OnScreen.Top,
                 0u);
    int Inside = 0;
    ASSERT_GE(sd_bus_message_read(Contains.Message, "b", &Inside), 0);
    EXPECT_TRUE(Inside);
    // Grabbing the focus gives the control the keyboard.
    Sample.Inner->SetTabStop(true);
    TReply Focus;
    Client->Call(Focus, Inner, ComponentIface, "GrabFocus");
    int Took = 0;
    ASSERT_GE(sd_bus_message_read(Focus.Message, "b", &Took), 0);
    EXPECT_TRUE(Took);
    EXPECT_TRUE(Sample.Inner->Focused());
    EXPECT_TRUE(Has(Client->States(Inner), 12u));
}

namespace {

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
    std::atomic<int> Embeds{0};
    std::string Plug;

private:
    static int GetAddress(sd_bus_message* M, void* Data, sd_bus_error*) {
        return sd_bus_reply_method_return(M, "s", static_cast<TDesktop*>(Data)->FAddress.c_str());
    }
    static int IsEnabled(sd_bus*, const char*, const char*, const char*, sd_bus_message* Reply,
                         void* Data, sd_bus_error*) {
        return sd_bus_message_append(Reply, "b", static_cast<TDesktop*>(Data)->FEnabled);
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
        SD_BUS_VTABLE_START(0), SD_BUS_PROPERTY("IsEnabled", "b", IsEnabled, 0, 0),
        SD_BUS_VTABLE_END};
    static constexpr sd_bus_vtable SocketVtable[] = {
        SD_BUS_VTABLE_START(0), SD_BUS_METHOD("Embed", "(so)", "(so)", Embed, 0),
        SD_BUS_VTABLE_END};

    sd_bus* FBus = nullptr;
    std::string FAddress;
    int FEnabled;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

} // namespace

TEST(AtspiBridgeStart, FollowsTheDesktopAndTheVariable) {
    TPrivateBus Bus;
    if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
    THeadlessHost Host;
    const struct {
        const char* Variable;
        bool Enabled;
        bool Exports;
    } Rows[] = {
        {nullptr, true, true},
        {nullptr, false, false},
        {"1", false, true},
        {"0", true, false},
    };
    for (const auto& Row : Rows) {
        TScopedEnv Variable("FOLIO_ACCESSIBILITY", Row.Variable);
        TDesktop Desktop(Bus.Address(), Row.Enabled);
        auto Session = TDBusConnection::OpenAddress(Bus.Address());
        ASSERT_NE(Session, nullptr);
        auto Bridge = TAtspiBridge::Start(Session.get());
        if (Row.Variable && std::strcmp(Row.Variable, "0") == 0) {
            EXPECT_EQ(Bridge, nullptr);
            continue;
        }
        ASSERT_NE(Bridge, nullptr);
        if (Row.Exports) {
            EXPECT_TRUE(Pump([&] { return Bridge->Embedded(); })) << Row.Enabled;
            EXPECT_EQ(Desktop.Embeds, 1);
            const char* Unique = nullptr;
            sd_bus_get_unique_name(Bridge->Bus()->Bus(), &Unique);
            EXPECT_EQ(Desktop.Plug, std::string(Unique) + Root);
        } else {
            Pump([] { return false; }, 200);
            EXPECT_FALSE(Bridge->Exporting());
            EXPECT_EQ(Desktop.Embeds, 0);
        }
    }
    // No session bus: nothing starts.
    EXPECT_EQ(TAtspiBridge::Start(nullptr), nullptr);
}

namespace {

// The bus's object events a client hears: member, kind and first number.
struct THeard {
    std::string Path, Member, Minor;
    int Detail = 0;
};

int OnEvent(sd_bus_message* M, void* Data, sd_bus_error*) {
    THeard E;
    E.Path = sd_bus_message_get_path(M);
    E.Member = sd_bus_message_get_member(M);
    const char* Minor = nullptr;
    int Detail2 = 0;
    if (sd_bus_message_read(M, "sii", &Minor, &E.Detail, &Detail2) >= 0 && Minor) E.Minor = Minor;
    static_cast<std::vector<THeard>*>(Data)->push_back(E);
    return 0;
}

} // namespace

TEST_F(AtspiBridge, FocusMovesAreHeardAsTheyHappen) {
    TSampleForm Sample;
    const std::string Send = FormChild(0);
    const std::string Inner = Client->Ref(FormChild(3), "GetChildAtIndex", 0);
    sd_bus* Listener = Open(Bus.Address());
    ASSERT_NE(Listener, nullptr);
    std::vector<THeard> Heard;
    ASSERT_GE(sd_bus_match_signal(Listener, nullptr, nullptr, nullptr,
                                  "org.a11y.atspi.Event.Object", nullptr, OnEvent, &Heard),
              0);
    sd_bus_flush(Listener);
    const auto HearUntil = [&](size_t Count) {
        return Pump([&] {
            while (sd_bus_process(Listener, nullptr) > 0) {
            }
            return Heard.size() >= Count;
        });
    };
    // From the edit box to the button, then into the panel.
    const std::string Edit = FormChild(1);
    Sample.Edit->SetFocus();
    Pump([] { return false; }, 50);
    while (sd_bus_process(Listener, nullptr) > 0) {
    }
    Heard.clear();
    Sample.Send->SetFocus();
    Sample.Inner->SetTabStop(true);
    Sample.Inner->SetFocus();
    ASSERT_TRUE(HearUntil(4));
    const struct {
        std::string Path;
        int Detail;
    } Expected[] = {{Edit, 0}, {Send, 1}, {Send, 0}, {Inner, 1}};
    for (size_t I = 0; I < 4; ++I) {
        EXPECT_EQ(Heard[I].Member, "StateChanged") << I;
        EXPECT_EQ(Heard[I].Minor, "focused") << I;
        EXPECT_EQ(Heard[I].Path, Expected[I].Path) << I;
        EXPECT_EQ(Heard[I].Detail, Expected[I].Detail) << I;
    }
    // A control the client never asked about still gets a path of its own.
    TEdit* Late = new TEdit(Sample.Form.get());
    Late->SetParent(Sample.Form.get());
    Late->SetBounds(10, 100, 80, 21);
    Late->SetFocus();
    ASSERT_TRUE(HearUntil(6));
    EXPECT_EQ(Heard[5].Path, FormChild(4));
    EXPECT_EQ(Heard[5].Detail, 1);
    sd_bus_flush_close_unref(Listener);
}

TEST_F(AtspiBridge, TextOfLabelsAndEditBoxesCountsCharacters) {
    TSampleForm Sample;
    Sample.Label->SetCaption("Caf\xC3\xA9 au lait");
    Sample.Edit->SetText("12 Main St");
    const std::string Label = FormChild(2);
    const std::string Edit = FormChild(1);
    const auto Int = [&](const std::string& Path, const char* Name) {
        TReply R;
        Client->Call(R, Path, "org.freedesktop.DBus.Properties", "Get", "ss", "org.a11y.atspi.Text",
                     Name);
        int Value = -1;
        if (R.Ok()) sd_bus_message_read(R.Message, "v", "i", &Value);
        return Value;
    };
    EXPECT_EQ(Int(Label, "CharacterCount"), 12);
    EXPECT_EQ(Int(Edit, "CharacterCount"), 10);
    const struct {
        std::string Path;
        int Start, End;
        const char* Expected;
    } Texts[] = {
        {Label, 0, -1, "Caf\xC3\xA9 au lait"},
        {Label, 3, 4, "\xC3\xA9"},
        {Label, 5, 7, "au"},
        {Label, 10, 100, "it"},
        {Edit, 3, 7, "Main"},
    };
    for (const auto& T : Texts) {
        TReply R;
        Client->Call(R, T.Path, "org.a11y.atspi.Text", "GetText", "ii", T.Start, T.End);
        const char* Text = nullptr;
        ASSERT_GE(sd_bus_message_read(R.Message, "s", &Text), 0);
        EXPECT_STREQ(Text, T.Expected) << T.Start;
    }
    TReply Word;
    Client->Call(Word, Label, "org.a11y.atspi.Text", "GetStringAtOffset", "iu", 6, 1u);
    const char* Text = nullptr;
    int Start = 0, End = 0;
    ASSERT_GE(sd_bus_message_read(Word.Message, "sii", &Text, &Start, &End), 0);
    EXPECT_STREQ(Text, "au ");
    EXPECT_EQ(Start, 5);
    EXPECT_EQ(End, 8);
    // A button offers no text of its own.
    TReply None;
    Client->Call(None, FormChild(0), "org.a11y.atspi.Text", "GetText", "ii", 0, -1);
    EXPECT_FALSE(None.Ok());
}

TEST_F(AtspiBridge, AScrollBarsValueIsReadAndSet) {
    TSampleForm Sample;
    auto* Scroll = new TScrollBar(Sample.Form.get());
    Scroll->SetParent(Sample.Form.get());
    Scroll->SetBounds(10, 250, 200, 17);
    Scroll->SetParams(30, 0, 100);
    const std::string Path = FormChild(4);
    EXPECT_EQ(Client->Role(Path), 48u);
    const auto Value = [&](const char* Name) {
        TReply R;
        Client->Call(R, Path, "org.freedesktop.DBus.Properties", "Get", "ss",
                     "org.a11y.atspi.Value", Name);
        double V = -1;
        if (R.Ok()) sd_bus_message_read(R.Message, "v", "d", &V);
        return V;
    };
    EXPECT_EQ(Value("MinimumValue"), 0);
    EXPECT_EQ(Value("MaximumValue"), 100);
    EXPECT_EQ(Value("CurrentValue"), 30);
    const auto Set = [&](double V) {
        TReply R;
        Client->Call(R, Path, "org.freedesktop.DBus.Properties", "Set", "ssv",
                     "org.a11y.atspi.Value", "CurrentValue", "d", V);
        return R.Ok();
    };
    EXPECT_TRUE(Set(64.4));
    EXPECT_EQ(Scroll->GetPosition(), 64);
    EXPECT_TRUE(Set(1e9));
    EXPECT_EQ(Scroll->GetPosition(), 100) << "kept in range";
    Scroll->SetEnabled(false);
    EXPECT_FALSE(Set(10));
    EXPECT_EQ(Scroll->GetPosition(), 100);
}

namespace {

// A control whose parts are chosen among, as a bar's groups are: pressing
// a part chooses it.
int Chosen = 1;

class TChoiceNode : public TAccessible {
public:
    explicit TChoiceNode(int Index) : FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::PageTab; }
    String GetName() const override { return "Part " + std::to_string(FIndex); }
    unsigned GetStates() const override {
        return asSelectable | (Chosen == FIndex ? asSelected : 0u);
    }
    TRect GetBounds() const override { return TRect{}; }
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String&) override {
        Chosen = FIndex;
        return true;
    }

private:
    int FIndex;
};

class TChoicesNode : public TControlAccessible {
public:
    explicit TChoicesNode(TControl* C) : TControlAccessible(C, TAccRole::PageTabList) {}
    int GetChildCount() const override { return 3; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= 3) return nullptr;
        return std::make_unique<TChoiceNode>(Index);
    }
};

std::unique_ptr<TAccessible> MakeChoices(TControl* C) {
    return std::make_unique<TChoicesNode>(C);
}

} // namespace

TEST_F(AtspiBridge, SelectionChoosesAChildThroughItsPress) {
    TAccessibleRegistration AsChoices(TPanel::StaticClassInfo(), MakeChoices);
    TSampleForm Sample;
    Chosen = 1;
    const std::string Choices = FormChild(3);
    const auto Selected = [&] {
        TReply R;
        Client->Call(R, Choices, "org.freedesktop.DBus.Properties", "Get", "ss",
                     "org.a11y.atspi.Selection", "NSelectedChildren");
        int N = -1;
        if (R.Ok()) sd_bus_message_read(R.Message, "v", "i", &N);
        return N;
    };
    EXPECT_EQ(Selected(), 1);
    TReply Which;
    Client->Call(Which, Choices, "org.a11y.atspi.Selection", "GetSelectedChild", "i", 0);
    const char* Name = nullptr;
    const char* Object = nullptr;
    ASSERT_GE(sd_bus_message_read(Which.Message, "(so)", &Name, &Object), 0);
    EXPECT_EQ(std::string(Object), Client->Ref(Choices, "GetChildAtIndex", 1));
    TReply Choose;
    Client->Call(Choose, Choices, "org.a11y.atspi.Selection", "SelectChild", "i", 2);
    int Took = 0;
    ASSERT_GE(sd_bus_message_read(Choose.Message, "b", &Took), 0);
    EXPECT_TRUE(Took);
    EXPECT_TRUE(Pump([] { return Chosen == 2; }));
    TReply Is;
    Client->Call(Is, Choices, "org.a11y.atspi.Selection", "IsChildSelected", "i", 2);
    int Yes = 0;
    ASSERT_GE(sd_bus_message_read(Is.Message, "b", &Yes), 0);
    EXPECT_TRUE(Yes);
    TReply Clear;
    Client->Call(Clear, Choices, "org.a11y.atspi.Selection", "ClearSelection");
    ASSERT_GE(sd_bus_message_read(Clear.Message, "b", &Took), 0);
    EXPECT_FALSE(Took);
    EXPECT_EQ(Selected(), 1);
}
