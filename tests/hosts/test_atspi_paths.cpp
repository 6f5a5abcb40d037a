#include "AtspiClient.h"

#include <numeric>

using namespace folio;
using namespace folio::testing;

TEST(AtspiBridgeStart, FollowsTheDesktopTurningAccessibilityOnAndOff) {
    TPrivateBus Bus;
    if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
    THeadlessHost Host;
    TScopedEnv Variable("FOLIO_ACCESSIBILITY", nullptr);
    TDesktop Desktop(Bus.Address(), false);
    auto Session = TDBusConnection::OpenAddress(Bus.Address());
    ASSERT_NE(Session, nullptr);
    auto Bridge = TAtspiBridge::Start(Session.get());
    ASSERT_NE(Bridge, nullptr);
    Pump([] { return false; }, 100);
    EXPECT_FALSE(Bridge->Exporting());
    const struct {
        bool Enabled;
        int Embeds;
    } Steps[] = {{true, 1}, {false, 1}, {false, 1}, {true, 2}, {true, 2}};
    for (const auto& Step : Steps) {
        Desktop.SetEnabled(Step.Enabled);
        EXPECT_TRUE(Pump([&] {
            return Bridge->Exporting() == Step.Enabled && Bridge->Embedded() == Step.Enabled &&
                   Desktop.Embeds == Step.Embeds;
        })) << Step.Enabled
            << " " << Step.Embeds;
        Pump([] { return false; }, 50);
        EXPECT_EQ(Desktop.Embeds, Step.Embeds);
    }
    // Stopped, it hears no changes of the tree.
    Desktop.SetEnabled(false);
    ASSERT_TRUE(Pump([&] { return !Bridge->Exporting(); }));
    TSampleForm Sample;
    Sample.Edit->SetText("not told");
    Pump([] { return false; }, 30);
    EXPECT_EQ(Bridge->KnownObjects(), 0u);
}

TEST(AtspiBridgeStart, TheVariableOutranksTheDesktopsSwitch) {
    TPrivateBus Bus;
    if (!Bus.Running()) GTEST_SKIP() << "dbus-daemon could not be started";
    THeadlessHost Host;
    TScopedEnv Variable("FOLIO_ACCESSIBILITY", "1");
    TDesktop Desktop(Bus.Address(), true);
    auto Session = TDBusConnection::OpenAddress(Bus.Address());
    auto Bridge = TAtspiBridge::Start(Session.get());
    ASSERT_TRUE(Pump([&] { return Bridge->Embedded(); }));
    Desktop.SetEnabled(false);
    Pump([] { return false; }, 200);
    EXPECT_TRUE(Bridge->Exporting());
}

namespace {

// A control with as many parts as Count says, each known by a key of its
// own; Order says which key stands at each place.
int Count = 0;
std::vector<int> Order;
std::vector<char> Keys(16, 0);

class TPartNode : public TAccessible {
public:
    explicit TPartNode(int Index) : FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::ListItem; }
    String GetName() const override { return "Part " + std::to_string(FIndex); }
    TRect GetBounds() const override { return TRect{}; }
    const void* GetKey() const override {
        return Order.empty() ? nullptr : &Keys[static_cast<size_t>(Order[size_t(FIndex)])];
    }

private:
    int FIndex;
};

class TPartsNode : public TControlAccessible {
public:
    explicit TPartsNode(TControl* C) : TControlAccessible(C, TAccRole::List) {}
    int GetChildCount() const override { return Count; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= Count) return nullptr;
        return std::make_unique<TPartNode>(Index);
    }
};

std::unique_ptr<TAccessible> MakeParts(TControl* C) {
    return std::make_unique<TPartsNode>(C);
}

} // namespace

TEST_F(AtspiBridge, PathsOfObjectsThatAreGoneAreForgotten) {
    TAccessibleRegistration AsParts(TPanel::StaticClassInfo(), MakeParts);
    TSampleForm Sample;
    const std::string Parts = FormChild(3);
    // Parts known by their place: 3,000 paths, more than the table holds
    // before it is first looked through; all still there, all kept.
    Order.clear();
    Count = 3000;
    ASSERT_EQ(Client->Children(Parts).size(), 3000u);
    Pump([] { return false; }, 30);
    EXPECT_GE(Bridge->KnownObjects(), 3000u);
    const std::string Last = Client->Ref(Parts, "GetChildAtIndex", 2999);
    // Most go; the change of children makes the bridge forget them.
    Count = 10;
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    Pump([] { return false; }, 50);
    EXPECT_LT(Bridge->KnownObjects(), 30u);
    TReply Gone;
    Client->Call(Gone, Last, AccessibleIface, "GetRole");
    EXPECT_EQ(Gone.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject");
    EXPECT_EQ(Client->Children(Parts).size(), 10u);
    // Parts known by keys keep their paths when they trade places, also
    // through the table's look-through.
    Count = 4;
    Order = {0, 1, 2, 3};
    const auto Before = Client->Children(Parts);
    Order = {3, 2, 1, 0};
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    Pump([] { return false; }, 50);
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(Client->Int(Before[static_cast<size_t>(I)], "GetIndexInParent"), 3 - I);
    Order.clear();
}

TEST_F(AtspiBridge, AMillionChildrenAreListedInPartAndReachedByIndex) {
    TAccessibleRegistration AsParts(TPanel::StaticClassInfo(), MakeParts);
    TSampleForm Sample;
    Order.clear();
    Count = 1'000'000;
    const std::string Parts = FormChild(3);
    EXPECT_EQ(Client->Property(Parts, AccessibleIface, "ChildCount"), "<error>") << "an int";
    TReply Counted;
    Client->Call(Counted, Parts, "org.freedesktop.DBus.Properties", "Get", "ss", AccessibleIface,
                 "ChildCount");
    int N = 0;
    ASSERT_GE(sd_bus_message_read(Counted.Message, "v", "i", &N), 0);
    EXPECT_EQ(N, 1'000'000);
    EXPECT_EQ(Client->Children(Parts).size(), size_t(TAtspiBridge::MaxChildrenListed));
    const std::string Far = Client->Ref(Parts, "GetChildAtIndex", 999'999);
    EXPECT_EQ(Client->Property(Far, AccessibleIface, "Name"), "Part 999999");
    EXPECT_EQ(Client->Int(Far, "GetIndexInParent"), 999'999);
    EXPECT_LT(Bridge->KnownObjects(), size_t(TAtspiBridge::MaxChildrenListed) + 100);
    Count = 0;
}

namespace {

// One object of the cache's answer.
struct TCached {
    std::string Path, Parent, Name;
    int Index = 0, Children = 0;
    unsigned Role = 0;
    std::vector<std::string> Interfaces;
};

// Reads one "((so)(so)(so)iiassusau)" item.
bool ReadCached(sd_bus_message* M, TCached& C) {
    if (sd_bus_message_enter_container(M, 'r', "(so)(so)(so)iiassusau") <= 0) return false;
    const char *Name = nullptr, *Path = nullptr, *AppName = nullptr, *App = nullptr,
               *ParentName = nullptr, *Parent = nullptr;
    sd_bus_message_read(M, "(so)(so)(so)ii", &Name, &Path, &AppName, &App, &ParentName, &Parent,
                        &C.Index, &C.Children);
    C.Path = Path;
    C.Parent = Parent;
    sd_bus_message_enter_container(M, 'a', "s");
    const char* Interface = nullptr;
    while (sd_bus_message_read(M, "s", &Interface) > 0) C.Interfaces.push_back(Interface);
    sd_bus_message_exit_container(M);
    const char *Text = nullptr, *Description = nullptr;
    sd_bus_message_read(M, "sus", &Text, &C.Role, &Description);
    C.Name = Text;
    sd_bus_message_skip(M, "au");
    sd_bus_message_exit_container(M);
    return true;
}

int OnCache(sd_bus_message* M, void* Data, sd_bus_error*) {
    auto* Heard = static_cast<std::vector<std::string>*>(Data);
    const std::string Member = sd_bus_message_get_member(M);
    if (Member == "AddAccessible") {
        TCached C;
        if (ReadCached(M, C)) Heard->push_back("add " + C.Path + " " + C.Name);
    } else {
        const char *Name = nullptr, *Path = nullptr;
        if (sd_bus_message_read(M, "(so)", &Name, &Path) >= 0)
            Heard->push_back("remove " + std::string(Path));
    }
    return 0;
}

} // namespace

TEST_F(AtspiBridge, TheCacheGivesTheWholeTreeInOneAnswerAndFollowsIt) {
    TSampleForm Sample;
    TReply R;
    Client->Call(R, "/org/a11y/atspi/cache", "org.a11y.atspi.Cache", "GetItems");
    ASSERT_TRUE(R.Ok()) << R.ErrorName();
    ASSERT_GE(sd_bus_message_enter_container(R.Message, 'a', "((so)(so)(so)iiassusau)"), 0);
    std::vector<TCached> Items;
    for (TCached C; ReadCached(R.Message, C); C = TCached()) Items.push_back(C);
    // The application, the form, its four controls and the button in the panel.
    ASSERT_EQ(Items.size(), 7u);
    EXPECT_EQ(Items[0].Path, Root);
    EXPECT_EQ(Items[0].Role, 75u);
    EXPECT_EQ(Items[0].Index, -1);
    for (const TCached& C : Items) {
        if (C.Path == Root) continue;
        // Each reads as the object itself does, one call at a time.
        EXPECT_EQ(C.Name, Client->Property(C.Path, AccessibleIface, "Name")) << C.Path;
        EXPECT_EQ(C.Role, Client->Role(C.Path)) << C.Path;
        EXPECT_EQ(C.Index, Client->Int(C.Path, "GetIndexInParent")) << C.Path;
        EXPECT_EQ(C.Interfaces, Client->Interfaces(C.Path)) << C.Path;
        EXPECT_EQ(C.Children, static_cast<int>(Client->Children(C.Path).size())) << C.Path;
        TReply Parent;
        Client->Call(Parent, C.Path, "org.freedesktop.DBus.Properties", "Get", "ss",
                     AccessibleIface, "Parent");
        const char *Name = nullptr, *Object = nullptr;
        ASSERT_GE(sd_bus_message_read(Parent.Message, "v", "(so)", &Name, &Object), 0);
        EXPECT_EQ(C.Parent, Object) << C.Path;
    }
    EXPECT_EQ(Items[6].Name, "Inner");
    EXPECT_EQ(Items[6].Parent, FormChild(3));
    // Children that come and go are told to the cache's listeners.
    sd_bus* Listener = Open(Bus.Address());
    ASSERT_NE(Listener, nullptr);
    std::vector<std::string> Heard;
    sd_bus_match_signal(Listener, nullptr, nullptr, "/org/a11y/atspi/cache", "org.a11y.atspi.Cache",
                        nullptr, OnCache, &Heard);
    sd_bus_flush(Listener);
    const auto Hear = [&] {
        Pump(
            [&] {
                while (sd_bus_process(Listener, nullptr) > 0) {
                }
                return false;
            },
            80);
    };
    auto* Second = new TButton(Sample.Form.get());
    Second->SetParent(Sample.Panel);
    Second->SetCaption("Second");
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    Hear();
    const std::string SecondPath = Client->Ref(FormChild(3), "GetChildAtIndex", 1);
    EXPECT_NE(std::find(Heard.begin(), Heard.end(), "add " + SecondPath + " Second"), Heard.end());
    Heard.clear();
    delete Second;
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    Hear();
    EXPECT_EQ(std::count(Heard.begin(), Heard.end(), "remove " + SecondPath), 1);
    sd_bus_flush_close_unref(Listener);
}

// Role names are the bus's names of the roles GetRole gives, for every
// kind of object of a form.
TEST_F(AtspiBridge, RoleNamesAreTheBussNamesOfTheRoles) {
    TSampleForm Sample;
    const std::string Form = Client->Children(Root).at(0);
    const struct {
        std::string Path;
        const char* Name;
    } Rows[] = {
        {Root, "application"},   {Form, "frame"},         {FormChild(0), "push button"},
        {FormChild(1), "entry"}, {FormChild(2), "label"}, {FormChild(3), "grouping"},
    };
    for (const auto& Row : Rows)
        for (const char* Method : {"GetRoleName", "GetLocalizedRoleName"}) {
            TReply R;
            Client->Call(R, Row.Path, AccessibleIface, Method);
            const char* Name = nullptr;
            ASSERT_GE(sd_bus_message_read(R.Message, "s", &Name), 0) << Row.Path;
            EXPECT_STREQ(Name, Row.Name) << Row.Path << " " << Method;
        }
}

namespace {

// A node with one part that opens and closes, as a bar's group does.
bool Opened = false;
const int SectionKey = 0;

class TSectionNode : public TAccessible {
public:
    TAccRole GetRole() const override { return TAccRole::PageTab; }
    String GetName() const override { return "Section"; }
    unsigned GetStates() const override { return asExpandable | (Opened ? asExpanded : 0u); }
    TRect GetBounds() const override { return TRect{}; }
    const void* GetKey() const override { return &SectionKey; }
};

class TSectionsNode : public TControlAccessible {
public:
    explicit TSectionsNode(TControl* C) : TControlAccessible(C, TAccRole::PageTabList) {}
    int GetChildCount() const override { return 1; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        return Index == 0 ? std::make_unique<TSectionNode>() : nullptr;
    }
};

std::unique_ptr<TAccessible> MakeSections(TControl* C) {
    return std::make_unique<TSectionsNode>(C);
}

} // namespace

// Opening and closing is heard as expanded and as collapsed, each with its
// new value, so that a client keeping the states never has both.
TEST_F(AtspiBridge, OpeningIsHeardAsExpandedAndCollapsed) {
    TAccessibleRegistration AsSections(TPanel::StaticClassInfo(), MakeSections);
    TSampleForm Sample;
    Opened = false;
    const std::string Section = Client->Ref(FormChild(3), "GetChildAtIndex", 0);
    TListener Listener(Bus.Address());
    ASSERT_TRUE(Listener.Connected());
    for (const bool Open : {true, false}) {
        Opened = Open;
        NotifyAccessible(Sample.Panel, &SectionKey, TAccEvent::StateChanged);
        std::vector<std::pair<std::string, int>> States;
        for (const THeard& E : Listener.Settle())
            if (E.Member == "StateChanged" && E.Path == Section)
                States.emplace_back(E.Minor, E.Detail);
        Listener.Heard.clear();
        EXPECT_EQ(States, (std::vector<std::pair<std::string, int>>{{"expanded", Open},
                                                                    {"collapsed", !Open}}))
            << Open;
    }
}

// A child that goes is heard as removed from its parent, with its own
// object and last place; one the client never met is not told at all.
TEST_F(AtspiBridge, ARemovedChildIsHeardWithItsObject) {
    TSampleForm Sample;
    auto* Second = new TButton(Sample.Form.get());
    Second->SetParent(Sample.Panel);
    Second->SetCaption("Second");
    const std::string Panel = FormChild(3);
    const auto Met = Client->Children(Panel);
    ASSERT_EQ(Met.size(), 2u);
    const std::string SecondPath = Met[1];
    TListener Listener(Bus.Address());
    ASSERT_TRUE(Listener.Connected());
    const auto Removals = [&] {
        std::vector<std::string> Out;
        for (const THeard& E : Listener.Settle())
            if (E.Member == "ChildrenChanged" && E.Minor == "remove")
                Out.push_back(E.Path + " " + std::to_string(E.Detail) + " " + E.Object);
        Listener.Heard.clear();
        return Out;
    };
    delete Second;
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    EXPECT_EQ(Removals(), std::vector<std::string>{Panel + " 1 " + SecondPath});
    // The last child gone leaves no remove without an object behind.
    auto* Unmet = new TButton(Sample.Form.get());
    Unmet->SetParent(Sample.Panel);
    delete Unmet;
    delete Sample.Inner;
    Sample.Inner = nullptr;
    NotifyAccessible(Sample.Panel, TAccEvent::ChildrenChanged);
    const auto Last = Removals();
    EXPECT_EQ(Last, std::vector<std::string>{Panel + " 0 " + Met[0]})
        << "only the inner button, which the client met";
}
