#include "framework/hosts/AtspiTranslate.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

using namespace folio;

namespace {

std::vector<unsigned> StatesIn(const TAtspiStateSet& Set) {
    std::vector<unsigned> States;
    for (unsigned S = 0; S < 64; ++S)
        if (AtspiHasState(Set, S)) States.push_back(S);
    return States;
}

} // namespace

TEST(AtspiTranslate, EveryRoleHasTheBusNumberOfItsMeaning) {
    const struct {
        TAccRole Role;
        unsigned Bus;
    } Rows[] = {
        {TAccRole::Window, 23},       {TAccRole::Client, 39},      {TAccRole::Grouping, 99},
        {TAccRole::PushButton, 43},   {TAccRole::StaticText, 29},  {TAccRole::Text, 79},
        {TAccRole::Graphic, 27},      {TAccRole::PageTabList, 38}, {TAccRole::PageTab, 37},
        {TAccRole::List, 31},         {TAccRole::ListItem, 32},    {TAccRole::Table, 55},
        {TAccRole::ColumnHeader, 10}, {TAccRole::Cell, 56},        {TAccRole::Grid, 55},
        {TAccRole::ProgressBar, 42},  {TAccRole::Chart, 80},       {TAccRole::ScrollBar, 48},
        {TAccRole::CheckBox, 7},      {TAccRole::RadioButton, 44}, {TAccRole::ToggleButton, 62},
        {TAccRole::Slider, 51},       {TAccRole::SpinButton, 52},  {TAccRole::StatusBar, 54},
        {TAccRole::ToolBar, 63},      {TAccRole::Separator, 50},   {TAccRole::ScrollPane, 49},
        {TAccRole::Tree, 65},         {TAccRole::TreeItem, 91},    {TAccRole::MenuBar, 34},
        {TAccRole::MenuItem, 35},
    };
    for (const auto& Row : Rows) EXPECT_EQ(AtspiRole(Row.Role), Row.Bus) << AccRoleName(Row.Role);
    // Every role of the tree is in the table above.
    EXPECT_EQ(std::size(Rows), static_cast<size_t>(TAccRole::MenuItem) + 1);
}

TEST(AtspiTranslate, StatesBecomeTheBusStateSet) {
    using namespace atspi_state;
    const struct {
        const char* What;
        TAccRole Role;
        unsigned States;
        bool Described;
        std::vector<unsigned> Expected;
    } Rows[] = {
        {"plain shown object", TAccRole::Client, 0, false, {Enabled, Sensitive, Showing, Visible}},
        {"disabled button",
         TAccRole::PushButton,
         asDisabled | asFocusable,
         false,
         {Focusable, Showing, Visible}},
        {"hidden object", TAccRole::Client, asInvisible, false, {Enabled, Sensitive}},
        {"item scrolled away",
         TAccRole::ListItem,
         asOffscreen | asSelectable,
         false,
         {Enabled, Selectable, Sensitive, Visible}},
        {"focused control",
         TAccRole::Client,
         asFocused,
         false,
         {Enabled, Focusable, Focused, Sensitive, Showing, Visible}},
        {"open group",
         TAccRole::PageTab,
         asSelectable | asSelected | asExpandable | asExpanded,
         false,
         {Enabled, Expandable, Expanded, Selectable, Selected, Sensitive, Showing, Visible}},
        {"closed group",
         TAccRole::PageTab,
         asSelectable | asExpandable,
         false,
         {Collapsed, Enabled, Expandable, Selectable, Sensitive, Showing, Visible}},
        {"grayed check box",
         TAccRole::CheckBox,
         asCheckable | asIndeterminate,
         false,
         {Checkable, Enabled, Indeterminate, Sensitive, Showing, Visible}},
        {"checked radio button",
         TAccRole::RadioButton,
         asCheckable | asChecked,
         false,
         {Checkable, Checked, Enabled, Sensitive, Showing, Visible}},
        {"tool button held down",
         TAccRole::ToggleButton,
         asPressed,
         false,
         {Enabled, Pressed, Sensitive, Showing, Visible}},
        {"edit box",
         TAccRole::Text,
         0,
         false,
         {Editable, Enabled, Sensitive, Showing, SingleLine, Visible}},
        {"memo",
         TAccRole::Text,
         asMultiLine,
         false,
         {Editable, Enabled, MultiLine, Sensitive, Showing, Visible}},
        {"collapsed tree node",
         TAccRole::TreeItem,
         asSelectable | asExpandable,
         false,
         {Collapsed, Enabled, Expandable, Selectable, Sensitive, Showing, Visible}},
        {"read-only edit box",
         TAccRole::Text,
         asReadOnly,
         false,
         {Enabled, Sensitive, Showing, SingleLine, Visible, ReadOnly}},
        {"read-only other",
         TAccRole::Cell,
         asReadOnly,
         false,
         {Enabled, Sensitive, Showing, Visible, ReadOnly}},
        {"with a hint",
         TAccRole::PushButton,
         0,
         true,
         {Enabled, HasTooltip, Sensitive, Showing, Visible}},
    };
    for (const auto& Row : Rows) {
        std::vector<unsigned> Expected = Row.Expected;
        std::sort(Expected.begin(), Expected.end());
        EXPECT_EQ(StatesIn(AtspiStates(Row.Role, Row.States, Row.Described)), Expected) << Row.What;
    }
    // Read-only lies in the second word.
    const TAtspiStateSet ReadOnlySet = AtspiStates(TAccRole::Text, asReadOnly);
    EXPECT_EQ(ReadOnlySet[1], 1u << (ReadOnly - 32));
    EXPECT_EQ(StatesIn(AtspiApplicationStates()),
              (std::vector<unsigned>{Enabled, Sensitive, Showing, Visible}));
    EXPECT_FALSE(AtspiHasState(AtspiApplicationStates(), 64));
}

TEST(AtspiTranslate, InterfacesFollowWhatANodeCanDo) {
    const auto Names = [](int Actions) {
        std::vector<std::string> Out;
        for (const char* N : AtspiInterfaces(TAccRole::PushButton, Actions)) Out.push_back(N);
        return Out;
    };
    EXPECT_EQ(Names(0),
              (std::vector<std::string>{"org.a11y.atspi.Accessible", "org.a11y.atspi.Component"}));
    EXPECT_EQ(Names(2),
              (std::vector<std::string>{"org.a11y.atspi.Accessible", "org.a11y.atspi.Component",
                                        "org.a11y.atspi.Action"}));
    // A table that tells its shape offers Table besides Selection.
    const auto Table = AtspiInterfaces(TAccRole::Table, 0, false, false, true);
    EXPECT_EQ(std::string(Table.back()), "org.a11y.atspi.Table");
    EXPECT_EQ(AtspiInterfaces(TAccRole::Table, 0).size(), Table.size() - 1);
}

// A table's cells by row and column against its children: with and
// without a header row, at the edges, outside, and in a table too large
// for a child index.
TEST(AtspiTranslate, TableCellsAndChildIndicesMeet) {
    const TAccTable Plain{3, 2, false};
    const TAccTable Headed{3, 2, true};
    const struct {
        TAccTable Table;
        int Row, Column, Index;
    } Cells[] = {
        {Plain, 0, 0, 0},
        {Plain, 0, 1, 1},
        {Plain, 2, 1, 5},
        {Headed, 0, 0, 2},
        {Headed, 2, 1, 7},
        {Plain, 3, 0, -1},
        {Plain, 0, 2, -1},
        {Plain, -1, 0, -1},
        {Plain, 0, -1, -1},
        {Headed, -1, 0, -1},
        {TAccTable{0, 2, false}, 0, 0, -1},
        {TAccTable{3, 0, false}, 0, 0, -1},
        {TAccTable{2000000000, 2000000000, false}, 1999999999, 0, -1},
    };
    for (const auto& C : Cells) {
        EXPECT_EQ(AtspiTableIndex(C.Table, C.Row, C.Column), C.Index) << C.Row << "," << C.Column;
        if (C.Index < 0) continue;
        int Row = -5, Column = -5;
        EXPECT_TRUE(AtspiTableCell(C.Table, C.Index, Row, Column));
        EXPECT_EQ(std::pair(Row, Column), std::pair(C.Row, C.Column)) << C.Index;
    }
    // A column header is in row -1 of its column; indices past the cells
    // or before the first are in none.
    const struct {
        TAccTable Table;
        int Index;
        bool Found;
        int Row, Column;
    } Children[] = {
        {Headed, 1, true, -1, 1},
        {Headed, 8, false, -1, -1},
        {Plain, 6, false, -1, -1},
        {Plain, -1, false, -1, -1},
        {TAccTable{3, 0, false}, 0, false, -1, -1},
    };
    for (const auto& C : Children) {
        int Row = -5, Column = -5;
        EXPECT_EQ(AtspiTableCell(C.Table, C.Index, Row, Column), C.Found) << C.Index;
        EXPECT_EQ(std::pair(Row, Column), std::pair(C.Row, C.Column)) << C.Index;
    }
}

TEST(AtspiTranslate, TextsReachTheBusAsWellFormedUtf8) {
    const String Replacement = "\xEF\xBF\xBD";
    const struct {
        String In;
        String Out;
    } Rows[] = {
        {"Inbox", "Inbox"},
        {"Caf\xC3\xA9", "Caf\xC3\xA9"},
        {"", ""},
        {"Caf\xE9", "Caf" + Replacement},
        {String("a\0b", 3), "a" + Replacement + "b"},
        {"\xE2\x82", Replacement + Replacement},
        {"\xC0\xAF!", Replacement + Replacement + "!"},
        {"\xED\xA0\x80", Replacement + Replacement + Replacement},
    };
    for (const auto& Row : Rows) EXPECT_EQ(AtspiText(Row.In), Row.Out) << Row.In;
}

TEST(AtspiTranslate, ExtentsInEachKindOfCoordinates) {
    const TRect OnScreen = Bounds(130, 90, 75, 23);
    const TPoint Window{100, 50};
    const TPoint Parent{120, 80};
    const struct {
        unsigned Kind;
        TRect Expected;
    } Rows[] = {
        {0, Bounds(130, 90, 75, 23)},
        {1, Bounds(30, 40, 75, 23)},
        {2, Bounds(10, 10, 75, 23)},
        {7, Bounds(130, 90, 75, 23)},
    };
    for (const auto& Row : Rows) {
        const TRect R = AtspiExtents(OnScreen, Row.Kind, Window, Parent);
        EXPECT_EQ(R.Left, Row.Expected.Left) << Row.Kind;
        EXPECT_EQ(R.Top, Row.Expected.Top) << Row.Kind;
        EXPECT_EQ(R.Width(), 75) << Row.Kind;
        EXPECT_EQ(R.Height(), 23) << Row.Kind;
    }
}

TEST(AtspiTranslate, TextOffsetsCountCharacters) {
    const String Text = "Caf\xC3\xA9 au  lait";
    EXPECT_EQ(AtspiCharCount(Text), 13);
    EXPECT_EQ(AtspiCharCount(""), 0);
    EXPECT_EQ(AtspiCharCount("\xFF"), 1) << "a stray byte is one replacement character";
    const struct {
        int Start, End;
        String Expected;
    } Subs[] = {
        {0, -1, Text}, {3, 4, "\xC3\xA9"}, {-5, 3, "Caf"}, {11, 99, "it"}, {6, 2, ""},
    };
    for (const auto& S : Subs) EXPECT_EQ(AtspiSubText(Text, S.Start, S.End), S.Expected) << S.Start;
    EXPECT_EQ(AtspiCharAt(Text, 3), U'\u00E9');
    EXPECT_EQ(AtspiCharAt(Text, 13), 0u);
    EXPECT_EQ(AtspiCharAt(Text, -1), 0u);
    const struct {
        int Offset;
        unsigned Kind;
        String Expected;
        int Start, End;
    } Spans[] = {
        {3, 0, "\xC3\xA9", 3, 4}, {0, 1, "Caf\xC3\xA9 ", 0, 5},
        {6, 1, "au  ", 5, 9},     {8, 1, "au  ", 5, 9},
        {12, 1, "lait", 9, 13},   {4, 3, Text, 0, 13},
        {13, 1, "", 0, 0},        {-2, 0, "", 0, 0},
    };
    for (const auto& S : Spans) {
        int Start = -1, End = -1;
        EXPECT_EQ(AtspiTextAt(Text, S.Offset, S.Kind, Start, End), S.Expected) << S.Offset;
        EXPECT_EQ(Start, S.Start) << S.Offset;
        EXPECT_EQ(End, S.End) << S.Offset;
    }
}

TEST(AtspiTranslate, ByteAndCharacterOffsetsMeetEachOther) {
    // An e with an accent (two bytes), a stray byte (one character, as its
    // replacement) and a three-byte euro sign.
    const String Text = "a\xC3\xA9\xFF\xE2\x82\xAC!";
    const struct { int Byte, Char; } Places[] = {{0, 0}, {1, 1}, {3, 2}, {4, 3}, {7, 4}, {8, 5}};
    for (const auto& P : Places) {
        EXPECT_EQ(AtspiCharOffset(Text, P.Byte), P.Char) << P.Byte;
        EXPECT_EQ(AtspiByteOffset(Text, P.Char), P.Byte) << P.Char;
    }
    EXPECT_EQ(AtspiCharOffset(Text, 99), 5) << "kept at the end";
    EXPECT_EQ(AtspiCharOffset(Text, -3), 0);
    EXPECT_EQ(AtspiByteOffset(Text, 99), 8);
    EXPECT_EQ(AtspiByteOffset(Text, -1), 0);
    EXPECT_EQ(AtspiCharOffset(Text, 8), AtspiCharCount(Text));
}
