#include "AtspiClient.h"
#include "framework/ui/app/Clipboard.h"

using namespace folio;
using namespace folio::testing;

namespace {

constexpr const char* TextIface = "org.a11y.atspi.Text";
constexpr const char* EditableIface = "org.a11y.atspi.EditableText";

// The text events of one step, as "member:minor detail1 detail2 text".
std::vector<std::string> TextEvents(const std::vector<THeard>& Heard, const std::string& Path) {
    std::vector<std::string> Out;
    for (const THeard& E : Heard)
        if (E.Path == Path && E.Member.rfind("Text", 0) == 0)
            Out.push_back(E.Member + ":" + E.Minor + " " + std::to_string(E.Detail) + " " +
                          std::to_string(E.Detail2) + " " + E.Text);
    return Out;
}

int ReadInt(TReply& R) {
    int Value = -100;
    if (R.Ok()) sd_bus_message_read(R.Message, "i", &Value);
    return Value;
}

bool ReadBool(TReply& R) {
    int Value = 0;
    return R.Ok() && sd_bus_message_read(R.Message, "b", &Value) >= 0 && Value;
}

} // namespace

TEST_F(AtspiBridge, EditBoxesTellTheirTextAndCaretAsTheyChange) {
    TSampleForm Sample;
    const std::string Edit = FormChild(1);
    TListener Listener(Bus.Address());
    ASSERT_TRUE(Listener.Connected());
    TCustomEdit* E = Sample.Edit;
    // Offsets and lengths count characters: the e with an accent is two bytes.
    const struct {
        const char* What;
        std::function<void()> Step;
        std::vector<std::string> Expected;
    } Rows[] = {
        {"the program sets the text",
         [&] { E->SetText("Caf\xC3\xA9"); },
         {"TextChanged:insert 0 4 Caf\xC3\xA9"}},
        {"the caret goes to the end", [&] { E->SetSelStart(5); }, {"TextCaretMoved: 4 0 "}},
        {"a letter is typed",
         [&] { E->SetSelText("s"); },
         {"TextChanged:insert 4 1 s", "TextCaretMoved: 5 0 "}},
        {"two letters are chosen",
         [&] {
             E->SetSelStart(1);
             E->SetSelLength(2);
         },
         {"TextCaretMoved: 3 0 ", "TextSelectionChanged: 0 0 "}},
        {"the choice is typed over",
         [&] { E->SetSelText("o"); },
         {"TextChanged:delete 1 2 af", "TextChanged:insert 1 1 o", "TextCaretMoved: 2 0 ",
          "TextSelectionChanged: 0 0 "}},
        {"the program replaces it all",
         [&] { E->SetText("New"); },
         {"TextChanged:delete 0 4 Co\xC3\xA9s", "TextChanged:insert 0 3 New",
          "TextCaretMoved: 0 0 "}},
        {"the same text again", [&] { E->SetText("New"); }, {}},
        {"the program empties it", [&] { E->Clear(); }, {"TextChanged:delete 0 3 New"}},
    };
    for (const auto& Row : Rows) {
        Listener.Heard.clear();
        Row.Step();
        EXPECT_EQ(TextEvents(Listener.Settle(60), Edit), Row.Expected) << Row.What;
    }
    // A turn of many steps tells each text change in order and the caret
    // once, where it ended.
    Listener.Heard.clear();
    for (const char* Letter : {"a", "b", "c"}) E->SetSelText(Letter);
    EXPECT_EQ(TextEvents(Listener.Settle(60), Edit),
              (std::vector<std::string>{"TextChanged:insert 0 1 a", "TextChanged:insert 1 1 b",
                                        "TextChanged:insert 2 1 c", "TextCaretMoved: 3 0 "}));
}

TEST_F(AtspiBridge, TheTextInterfaceReadsAndMovesTheCaretAndSelection) {
    TSampleForm Sample;
    Sample.Edit->SetText("\xC3\xA9t\xC3\xA9 2024");
    const std::string Edit = FormChild(1);
    const auto Caret = [&] {
        TReply R;
        Client->Call(R, Edit, "org.freedesktop.DBus.Properties", "Get", "ss", TextIface,
                     "CaretOffset");
        int Value = -100;
        if (R.Ok()) sd_bus_message_read(R.Message, "v", "i", &Value);
        return Value;
    };
    const auto Selection = [&] {
        TReply N, S;
        Client->Call(N, Edit, TextIface, "GetNSelections");
        Client->Call(S, Edit, TextIface, "GetSelection", "i", 0);
        int Start = -1, End = -1;
        if (S.Ok()) sd_bus_message_read(S.Message, "ii", &Start, &End);
        return std::to_string(ReadInt(N)) + ":" + std::to_string(Start) + "-" + std::to_string(End);
    };
    EXPECT_EQ(Caret(), 0);
    EXPECT_EQ(Selection(), "0:0-0");
    // The box's own moves, in bytes, read as characters.
    Sample.Edit->SetSelStart(5);
    EXPECT_EQ(Caret(), 3);
    Sample.Edit->SetSelLength(3);
    EXPECT_EQ(Caret(), 6);
    EXPECT_EQ(Selection(), "1:3-6");
    // The client's moves, in characters, reach the box in bytes.
    const struct {
        const char* Method;
        const char* Signature;
        std::vector<int> Args;
        bool Answer;
        int SelStart, SelLength;
    } Rows[] = {
        {"SetCaretOffset", "i", {2}, true, 3, 0},
        {"SetCaretOffset", "i", {100}, true, 10, 0},
        {"AddSelection", "ii", {0, 2}, true, 0, 3},
        // There is one selection: a second is refused, and so is any but 0.
        {"AddSelection", "ii", {3, 4}, false, 0, 3},
        {"SetSelection", "iii", {1, 3, 4}, false, 0, 3},
        {"SetSelection", "iii", {0, 4, 1}, true, 2, 4},
        {"RemoveSelection", "i", {1}, false, 2, 4},
        {"RemoveSelection", "i", {0}, true, 6, 0},
        {"RemoveSelection", "i", {0}, false, 6, 0},
    };
    for (const auto& Row : Rows) {
        TReply R;
        if (Row.Args.size() == 1)
            Client->Call(R, Edit, TextIface, Row.Method, Row.Signature, Row.Args[0]);
        else if (Row.Args.size() == 2)
            Client->Call(R, Edit, TextIface, Row.Method, Row.Signature, Row.Args[0], Row.Args[1]);
        else
            Client->Call(R, Edit, TextIface, Row.Method, Row.Signature, Row.Args[0], Row.Args[1],
                         Row.Args[2]);
        EXPECT_EQ(ReadBool(R), Row.Answer) << Row.Method << " " << Row.Args[0];
        EXPECT_EQ(Sample.Edit->GetSelStart(), Row.SelStart) << Row.Method << " " << Row.Args[0];
        EXPECT_EQ(Sample.Edit->GetSelLength(), Row.SelLength) << Row.Method << " " << Row.Args[0];
    }
    // A label has text but no caret.
    TReply LabelCaret;
    Client->Call(LabelCaret, FormChild(2), "org.freedesktop.DBus.Properties", "Get", "ss",
                 TextIface, "CaretOffset");
    int Value = 0;
    ASSERT_GE(sd_bus_message_read(LabelCaret.Message, "v", "i", &Value), 0);
    EXPECT_EQ(Value, -1);
    TReply LabelMove;
    Client->Call(LabelMove, FormChild(2), TextIface, "SetCaretOffset", "i", 1);
    EXPECT_FALSE(ReadBool(LabelMove));
}

TEST_F(AtspiBridge, EditableTextEditsOnTheNextTurnAsTypingWould) {
    TSampleForm Sample;
    const std::string Edit = FormChild(1);
    EXPECT_EQ(Client->Interfaces(Edit).back(), EditableIface);
    int Changes = 0;
    Sample.Edit->OnChange = [&](TObject*) { ++Changes; };
    const struct {
        const char* Method;
        std::function<void(TReply&)> Call;
        const char* Before;
        const char* After;
    } Rows[] = {
        {"SetTextContents",
         [&](TReply& R) {
             Client->Call(R, Edit, EditableIface, "SetTextContents", "s", "na\xC3\xAFve");
         },
         "old", "na\xC3\xAFve"},
        {"InsertText after the i with two dots",
         [&](TReply& R) { Client->Call(R, Edit, EditableIface, "InsertText", "isi", 3, "!?", 1); },
         "na\xC3\xAFve", "na\xC3\xAF!ve"},
        {"InsertText of it all beyond the end",
         [&](TReply& R) { Client->Call(R, Edit, EditableIface, "InsertText", "isi", 99, "s", -1); },
         "ab", "abs"},
        {"DeleteText of characters 1 to 3",
         [&](TReply& R) { Client->Call(R, Edit, EditableIface, "DeleteText", "ii", 1, 3); },
         "\xC3\xA9t\xC3\xA9s", "\xC3\xA9s"},
        {"DeleteText to the end",
         [&](TReply& R) { Client->Call(R, Edit, EditableIface, "DeleteText", "ii", 2, -1); },
         "abcdef", "ab"},
    };
    for (const auto& Row : Rows) {
        Sample.Edit->SetText(Row.Before);
        Changes = 0;
        TReply R;
        Row.Call(R);
        EXPECT_TRUE(ReadBool(R)) << Row.Method;
        EXPECT_TRUE(Pump([&] { return Sample.Edit->GetText() == Row.After; }, 2000)) << Row.Method;
        EXPECT_EQ(Changes, 1) << Row.Method;
        EXPECT_TRUE(Sample.Edit->GetModified()) << Row.Method;
    }
    // The box's length limit holds for the client as for the user.
    Sample.Edit->SetText("abc");
    Sample.Edit->SetMaxLength(4);
    TReply Long;
    Client->Call(Long, Edit, EditableIface, "InsertText", "isi", 3, "defg", 4);
    EXPECT_TRUE(ReadBool(Long));
    EXPECT_TRUE(Pump([&] { return Sample.Edit->GetText() == "abcd"; }, 2000));
    // A read-only or disabled box refuses, and nothing changes.
    for (const bool ReadOnly : {true, false}) {
        Sample.Edit->SetReadOnly(ReadOnly);
        Sample.Edit->SetEnabled(ReadOnly);
        TReply Refused;
        Client->Call(Refused, Edit, EditableIface, "SetTextContents", "s", "x");
        EXPECT_TRUE(Refused.Ok());
        EXPECT_FALSE(ReadBool(Refused)) << ReadOnly;
        Pump([] { return false; }, 30);
        EXPECT_EQ(Sample.Edit->GetText(), "abcd");
    }
    Sample.Edit->SetEnabled(true);
    // A box freed before the turn comes is not touched; one freed before the
    // call answers that it is gone; a label is not editable at all.
    TReply Late;
    Client->Call(Late, Edit, EditableIface, "SetTextContents", "s", "late");
    delete Sample.Edit;
    Pump([] { return false; }, 30);
    TReply Gone;
    Client->Call(Gone, Edit, EditableIface, "SetTextContents", "s", "x");
    EXPECT_EQ(Gone.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject");
    TReply Label;
    Client->Call(Label, FormChild(1), EditableIface, "SetTextContents", "s", "x");
    EXPECT_FALSE(Label.Ok());
}

namespace {

// The relations of a node: type and target paths, "1:/path 2:/path".
std::string Relations(TClient& Client, const std::string& Path) {
    TReply R;
    Client.Call(R, Path, AccessibleIface, "GetRelationSet");
    std::string Out;
    if (!R.Ok() || sd_bus_message_enter_container(R.Message, 'a', "(ua(so))") < 0) return "<error>";
    while (sd_bus_message_enter_container(R.Message, 'r', "ua(so)") > 0) {
        unsigned Type = 0;
        sd_bus_message_read(R.Message, "u", &Type);
        sd_bus_message_enter_container(R.Message, 'a', "(so)");
        const char* Name = nullptr;
        const char* Object = nullptr;
        while (sd_bus_message_read(R.Message, "(so)", &Name, &Object) > 0)
            Out += (Out.empty() ? "" : " ") + std::to_string(Type) + ":" + Object;
        sd_bus_message_exit_container(R.Message);
        sd_bus_message_exit_container(R.Message);
    }
    return Out;
}

} // namespace

TEST_F(AtspiBridge, ALabelNamesTheControlItFocuses) {
    TSampleForm Sample;
    Sample.Edit->SetHint("");
    Sample.Label->SetCaption("&Customer:");
    Sample.Send->SetCaption("&Send && close");
    const std::string Send = FormChild(0);
    const std::string Edit = FormChild(1);
    const std::string Label = FormChild(2);
    // Without FocusControl there is no relation and the box has no name.
    EXPECT_EQ(Relations(*Client, Label), "");
    EXPECT_EQ(Client->Property(Edit, AccessibleIface, "Name"), "");
    Sample.Label->SetFocusControl(Sample.Edit);
    const struct {
        std::string Path;
        std::string Relations;
        const char* Name;
    } Rows[] = {
        {Label, "1:" + Edit, "Customer:"},
        {Edit, "2:" + Label, "Customer:"},
        {Send, "", "Send & close"},
    };
    for (const auto& Row : Rows) {
        EXPECT_EQ(Relations(*Client, Row.Path), Row.Relations) << Row.Name;
        EXPECT_EQ(Client->Property(Row.Path, AccessibleIface, "Name"), Row.Name);
    }
    // The box's own hint names it before its label does; a label that shows
    // its ampersands keeps them.
    Sample.Edit->SetHint("Customer number");
    Sample.Label->SetShowAccelChar(false);
    EXPECT_EQ(Client->Property(Edit, AccessibleIface, "Name"), "Customer number");
    EXPECT_EQ(Client->Property(Label, AccessibleIface, "Name"), "&Customer:");
    // A hidden label is no relation; a freed target takes its relation along.
    Sample.Label->SetVisible(false);
    EXPECT_EQ(Relations(*Client, Edit), "");
    Sample.Label->SetVisible(true);
    delete Sample.Edit;
    EXPECT_EQ(Relations(*Client, FormChild(1)), "");
}

TEST_F(AtspiBridge, InterfacesListValueAndEditableTextWhereTheyAre) {
    TSampleForm Sample;
    auto* Scroll = new TScrollBar(Sample.Form.get());
    Scroll->SetParent(Sample.Form.get());
    Scroll->SetBounds(10, 250, 200, 17);
    const std::vector<std::string> Base{AccessibleIface, ComponentIface};
    const auto With = [&](std::vector<std::string> More) {
        auto All = Base;
        All.insert(All.end(), More.begin(), More.end());
        return All;
    };
    EXPECT_EQ(Client->Interfaces(FormChild(4)), With({"org.a11y.atspi.Value"}));
    EXPECT_EQ(Client->Interfaces(FormChild(1)), With({TextIface, EditableIface}));
    Sample.Edit->SetReadOnly(true);
    EXPECT_EQ(Client->Interfaces(FormChild(1)), With({TextIface, EditableIface}))
        << "read only for now, editable text still";
}

// Copy, cut and paste through the framework's clipboard, counted in
// characters: a copy at once and from any box, a cut or paste on the next
// turn and only where the user could edit, a box of one line taking the
// first line of what is pasted.
TEST_F(AtspiBridge, EditableTextCopiesCutsAndPastesThroughTheClipboard) {
    TSampleForm Sample;
    const std::string Edit = FormChild(1);
    const struct {
        const char* Method;
        const char* Signature;
        int First, Second;
        bool ReadOnly;
        const char* Before;
        const char* ClipboardBefore;
        bool Answer;
        const char* After;
        const char* ClipboardAfter;
    } Rows[] = {
        {"CopyText", "ii", 1, 3, false, "\xC3\xA9t\xC3\xA9s", "", true, "\xC3\xA9t\xC3\xA9s",
         "t\xC3\xA9"},
        {"CopyText", "ii", 3, 1, false, "abcdef", "", true, "abcdef", "bc"},
        {"CopyText", "ii", 2, -1, false, "abcdef", "", true, "abcdef", "cdef"},
        {"CopyText", "ii", 2, 2, false, "abcdef", "kept", true, "abcdef", "kept"},
        {"CopyText", "ii", 0, 2, true, "abcdef", "", true, "abcdef", "ab"},
        {"CutText", "ii", 1, 3, false, "abcdef", "", true, "adef", "bc"},
        {"CutText", "ii", 3, -1, false, "\xC3\xA9t\xC3\xA9s", "", true, "\xC3\xA9t\xC3\xA9", "s"},
        {"CutText", "ii", 1, 3, true, "abcdef", "kept", false, "abcdef", "kept"},
        {"PasteText", "i", 1, 0, false, "abc", "XY", true, "aXYbc", "XY"},
        {"PasteText", "i", 99, 0, false, "abc", "one\ntwo", true, "abcone", "one\ntwo"},
        {"PasteText", "i", 0, 0, true, "abc", "XY", false, "abc", "XY"},
    };
    for (const auto& Row : Rows) {
        const std::string What = std::string(Row.Method) + " " + std::to_string(Row.First) + " " +
                                 std::to_string(Row.Second) + (Row.ReadOnly ? " read-only" : "");
        Sample.Edit->SetReadOnly(false);
        Sample.Edit->SetText(Row.Before);
        Sample.Edit->SetReadOnly(Row.ReadOnly);
        Clipboard()->SetAsText(Row.ClipboardBefore);
        TReply R;
        if (std::strcmp(Row.Signature, "i") == 0)
            Client->Call(R, Edit, EditableIface, Row.Method, "i", Row.First);
        else
            Client->Call(R, Edit, EditableIface, Row.Method, "ii", Row.First, Row.Second);
        ASSERT_TRUE(R.Ok()) << What;
        if (std::strcmp(Row.Method, "CopyText") != 0) {
            EXPECT_EQ(ReadBool(R), Row.Answer) << What;
        }
        EXPECT_EQ(Clipboard()->GetAsText(), Row.ClipboardAfter) << What << ": copied at once";
        Pump(
            [&] {
                return Sample.Edit->GetText() == Row.After && std::string(Row.After) != Row.Before;
            },
            300);
        EXPECT_EQ(Sample.Edit->GetText(), Row.After) << What;
    }
    Sample.Edit->SetReadOnly(false);
    // A box that is gone answers so, and its text stays off the clipboard.
    Clipboard()->SetAsText("kept");
    delete Sample.Edit;
    TReply Gone;
    Client->Call(Gone, Edit, EditableIface, "CopyText", "ii", 0, 2);
    EXPECT_EQ(Gone.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject");
    EXPECT_EQ(Clipboard()->GetAsText(), "kept");
    Clipboard()->SetAsText("");
}
