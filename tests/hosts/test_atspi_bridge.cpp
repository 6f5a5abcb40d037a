#include "AtspiClient.h"

using namespace folio;
using namespace folio::testing;

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

namespace {

// A tool bar of two parts: a toggle that is down while Down holds, and a
// button that cannot be checked.
bool Down = false;
const int ToggleKey = 0, PlainKey = 0;

class TPartNode : public TAccessible {
public:
    explicit TPartNode(bool Toggle) : FToggle(Toggle) {}
    TAccRole GetRole() const override {
        return FToggle ? TAccRole::ToggleButton : TAccRole::PushButton;
    }
    String GetName() const override { return FToggle ? "Bold" : "Print"; }
    unsigned GetStates() const override {
        return FToggle ? asCheckable | (Down ? asChecked : 0u) : 0u;
    }
    TRect GetBounds() const override { return TRect{}; }
    const void* GetKey() const override { return FToggle ? &ToggleKey : &PlainKey; }

private:
    bool FToggle;
};

class TPartsNode : public TControlAccessible {
public:
    explicit TPartsNode(TControl* C) : TControlAccessible(C, TAccRole::ToolBar) {}
    int GetChildCount() const override { return 2; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= 2) return nullptr;
        return std::make_unique<TPartNode>(Index == 0);
    }
};

std::unique_ptr<TAccessible> MakeParts(TControl* C) {
    return std::make_unique<TPartsNode>(C);
}

} // namespace

// A checkable part going down or up is heard as "checked" with its new
// state, once per turn however often it was told; a part that cannot be
// checked is never heard as checked.
TEST_F(AtspiBridge, ACheckablePartIsHeardGoingDownAndUp) {
    TAccessibleRegistration AsParts(TPanel::StaticClassInfo(), MakeParts);
    TSampleForm Sample;
    Down = false;
    const std::string Toggle = Client->Ref(FormChild(3), "GetChildAtIndex", 0);
    const std::string Plain = Client->Ref(FormChild(3), "GetChildAtIndex", 1);
    ASSERT_FALSE(Toggle.empty());
    TListener Listener(Bus.Address());
    ASSERT_TRUE(Listener.Connected());
    const auto Checked = [&] {
        std::vector<std::pair<std::string, int>> Out;
        for (const THeard& E : Listener.Settle())
            if (E.Member == "StateChanged" && E.Minor == "checked")
                Out.emplace_back(E.Path, E.Detail);
        Listener.Heard.clear();
        return Out;
    };
    const struct {
        bool Down;
        int Tellings;
        const void* Key;
        std::vector<std::pair<std::string, int>> Heard;
    } Steps[] = {
        {true, 1, &ToggleKey, {{Toggle, 1}}},
        {false, 3, &ToggleKey, {{Toggle, 0}}},
        {true, 1, &PlainKey, {}},
    };
    for (const auto& Step : Steps) {
        Down = Step.Down;
        for (int I = 0; I < Step.Tellings; ++I)
            NotifyAccessible(Sample.Panel, Step.Key, TAccEvent::StateChanged);
        EXPECT_EQ(Checked(), Step.Heard) << Step.Down << " " << Step.Tellings;
    }
    EXPECT_TRUE(Has(Client->States(Toggle), 4u)) << "checked, as last told";
    EXPECT_FALSE(Has(Client->States(Plain), 4u));
}
