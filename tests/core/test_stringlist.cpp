#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace folio;

namespace {

TEST(StringList, EditsFireOneChangeEachAndOnePerUpdateBracket) {
    TStringList L;
    int Changes = 0;
    L.OnChange = [&](TObject*) { ++Changes; };
    L.Add("b");
    L.Insert(0, "a");
    L.Add("c");
    L.Move(2, 0);
    EXPECT_EQ(L.Items(), (std::vector<String>{"c", "a", "b"}));
    L.SetString(1, "a"); // unchanged
    EXPECT_EQ(Changes, 4);
    L.BeginUpdate();
    L.Delete(0);
    L.Add("d");
    EXPECT_EQ(Changes, 4);
    L.EndUpdate();
    EXPECT_EQ(Changes, 5);
    EXPECT_EQ(L.IndexOf("d"), 2);
    EXPECT_EQ(L.IndexOf("z"), -1);
}

TEST(StringList, IndexesOutsideTheListRaise) {
    TStringList L{"a"};
    EXPECT_THROW(L.GetString(1), EListError);
    EXPECT_THROW(L.GetString(-1), EListError);
    EXPECT_THROW(L.Insert(2, "x"), EListError);
    EXPECT_THROW(L.Delete(1), EListError);
    L.Insert(1, "b");
    EXPECT_EQ(L.GetCount(), 2);
}

TEST(StringList, TextSplitsAtLineBreaks) {
    TStringList L;
    L.SetText("one\r\ntwo\n\nfour\n");
    EXPECT_EQ(L.Items(), (std::vector<String>{"one", "two", "", "four"}));
    EXPECT_EQ(L.GetText(), "one\ntwo\n\nfour\n");
}

TEST(StringList, StringsRoundTripThroughTheirBinaryForm) {
    TStringList L{"Single color", "", String("a\0b", 3)};
    TMemoryStream S;
    L.WriteStrings(S);
    S.SetPosition(0);
    TStringList Back{"old"};
    Back.ReadStrings(S);
    EXPECT_EQ(Back.Items(), L.Items());
}

TEST(StringList, DamagedBinaryFormRaisesAndKeepsTheList) {
    struct Case {
        const char* Why;
        std::vector<std::int32_t> Words;
    };
    const Case Cases[] = {
        {"negative count", {-1}},
        {"count beyond the bytes", {1000000}},
        {"string longer than the rest", {1, 50, 0}},
        {"negative length", {1, -5}},
        {"missing second string", {2, 1, 0x41}},
    };
    for (const Case& C : Cases) {
        TMemoryStream S;
        S.WriteBuffer(C.Words.data(), static_cast<std::int64_t>(C.Words.size() * 4));
        S.SetPosition(0);
        TStringList L{"kept"};
        EXPECT_THROW(L.ReadStrings(S), EStreamError) << C.Why;
        EXPECT_EQ(L.Items(), std::vector<String>{"kept"}) << C.Why;
    }
}

} // namespace
