// The monkey test's events: what the generator makes from a seed and the
// windows it meets, and the lines that carry them into a replay.

#include "MonkeyEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

using namespace monkey;

namespace {

std::vector<TWindowView> SomeWindows() {
    TWindowView Main{"Folio bar gallery", 10, 20, 700, 560, false};
    TWindowView Dialog{"Edit \"groups\" \\ of Folio1", 300, 200, 464, 300, false};
    TWindowView List{"", 40, 80, 120, 90, true};
    return {Main, Dialog, List};
}

const TWindowView* Named(const std::vector<TWindowView>& Windows, const std::string& Name) {
    for (const TWindowView& W : Windows)
        if (WindowName(W) == Name) return &W;
    return nullptr;
}

} // namespace

TEST(MonkeyEvents, EveryKindReadsBackAsItWasWritten) {
    const auto Make = [](TKind Kind, std::string Window, int X, int Y, int X2, int Y2, int Count,
                         std::string Text) {
        TEvent E;
        E.Kind = Kind;
        E.Window = std::move(Window);
        E.X = X;
        E.Y = Y;
        E.X2 = X2;
        E.Y2 = Y2;
        E.Count = Count;
        E.Text = std::move(Text);
        return E;
    };
    const TEvent Cases[] = {
        Make(TKind::Move, "Folio bar gallery", 5, 6, 0, 0, 0, ""),
        Make(TKind::Click, "Folio designer: Form1*", 0, 0, 0, 0, 0, ""),
        Make(TKind::DoubleClick, "Say \"hi\" \\ there", 7, 8, 0, 0, 0, ""),
        Make(TKind::RightClick, "[popup]", 1, 2, 0, 0, 0, ""),
        Make(TKind::Drag, "Standard controls", 1, 2, 300, 400, 7, ""),
        Make(TKind::Wheel, "Samples", 3, 4, 0, 0, -3, ""),
        Make(TKind::Key, "", 0, 0, 0, 0, 0, "ctrl+shift+z"),
        Make(TKind::Type, "", 0, 0, 0, 0, 0, "a \"quoted\" \\ word"),
        Make(TKind::Type, "", 0, 0, 0, 0, 0, " "),
        Make(TKind::Resize, "Open", 0, 0, 640, 480, 0, ""),
        Make(TKind::Close, "", 0, 0, 0, 0, 0, ""),
        Make(TKind::Wait, "", 0, 0, 0, 0, 250, ""),
        Make(TKind::Save, "", 0, 0, 0, 0, 0, ""),
        Make(TKind::Reopen, "", 0, 0, 0, 0, 0, ""),
    };
    for (const TEvent& Event : Cases) {
        const std::string Line = FormatEvent(Event);
        SCOPED_TRACE(Line);
        EXPECT_EQ(Line.find('\n'), std::string::npos);
        const std::optional<TEvent> Read = ParseEvent(Line);
        ASSERT_TRUE(Read.has_value());
        EXPECT_EQ(*Read, Event);
    }
}

TEST(MonkeyEvents, LinesThatAreNoEventAreRefused) {
    const char* const Cases[] = {
        "",
        "# a comment",
        "jump \"Main\" 1 2",
        "click \"Main\" 1",
        "click \"Main\" 1 2 3",
        "click \"Main 1 2",
        "click \"Main\\",
        "click \"Main\" one 2",
        "click \"Main\" 1 2x",
        "click \"Main\" 99999999999 2",
        "drag \"Main\" 1 2 3 4",
        "wheel \"Main\" 1 2",
        "key",
        "key ctrl+z F2",
        "type",
        "wait",
        "wait soon",
        "save now",
        "close",
    };
    for (const char* Line : Cases) EXPECT_FALSE(ParseEvent(Line).has_value()) << Line;
}

TEST(MonkeyEvents, ASeedGivesTheSameEventsAndEachLandsInItsWindow) {
    const std::vector<TWindowView> Windows = SomeWindows();
    for (const TProfile& Profile : {TProfile::Gallery(), TProfile::Designer()}) {
        std::mt19937_64 A(7), B(7);
        std::map<TKind, int> Seen;
        int OnPopup = 0, Pointed = 0;
        for (int I = 0; I < 20000; ++I) {
            const TEvent Event = NextEvent(A, Windows, Profile);
            ASSERT_EQ(Event, NextEvent(B, Windows, Profile)) << I;
            ++Seen[Event.Kind];
            // Every event survives its trip through a replay file.
            const std::optional<TEvent> Read = ParseEvent(FormatEvent(Event));
            ASSERT_TRUE(Read.has_value()) << FormatEvent(Event);
            ASSERT_EQ(*Read, Event);
            switch (Event.Kind) {
            case TKind::Move:
            case TKind::Click:
            case TKind::DoubleClick:
            case TKind::RightClick:
            case TKind::Wheel:
            case TKind::Drag: {
                const TWindowView* W = Named(Windows, Event.Window);
                ASSERT_NE(W, nullptr) << FormatEvent(Event);
                EXPECT_GE(Event.X, 0);
                EXPECT_LT(Event.X, W->Width);
                EXPECT_GE(Event.Y, 0);
                EXPECT_LT(Event.Y, W->Height);
                if (Event.Kind == TKind::Drag) {
                    EXPECT_LT(Event.X2, W->Width);
                    EXPECT_LT(Event.Y2, W->Height);
                    EXPECT_GE(Event.Count, 1);
                }
                if (Event.Kind == TKind::Wheel) {
                    EXPECT_NE(Event.Count, 0);
                }
                ++Pointed;
                OnPopup += W->Popup ? 1 : 0;
                break;
            }
            case TKind::Resize:
            case TKind::Close: {
                const TWindowView* W = Named(Windows, Event.Window);
                ASSERT_NE(W, nullptr) << FormatEvent(Event);
                EXPECT_FALSE(W->Popup);
                if (Event.Kind == TKind::Resize) {
                    EXPECT_GE(Event.X2, 200);
                    EXPECT_GE(Event.Y2, 150);
                }
                break;
            }
            case TKind::Key:
                EXPECT_NE(std::find(Profile.Keys.begin(), Profile.Keys.end(), Event.Text),
                          Profile.Keys.end());
                break;
            case TKind::Type:
                EXPECT_GE(Event.Text.size(), 1u);
                EXPECT_LE(Event.Text.size(), 8u);
                break;
            case TKind::Wait:
                EXPECT_GE(Event.Count, 20);
                break;
            default:
                break;
            }
        }
        // Every kind the profile weighs comes up, and popups draw most of
        // the pointer while one is open.
        for (const TProfile::TWeight& W : Profile.Weights)
            EXPECT_GT(Seen[W.Kind], 0) << static_cast<int>(W.Kind);
        EXPECT_GT(OnPopup * 100, Pointed * (Profile.PopupShare - 5));
        EXPECT_LT(OnPopup * 100, Pointed * (Profile.PopupShare + 5));
    }
}

TEST(MonkeyEvents, TheRandomStreamStaysInStepWhateverWindowsShow) {
    // A replay from a seed asks for the same events even when a window
    // opened a little later than in the first run: every event takes as
    // many values, so one event's difference does not shift all that follow.
    const std::vector<TWindowView> Windows = SomeWindows();
    const std::vector<TWindowView> Fewer = {Windows[0]};
    const TProfile Profile = TProfile::Designer();
    std::mt19937_64 A(11), B(11);
    for (int I = 0; I < 100; ++I) {
        NextEvent(A, Windows, Profile);
        NextEvent(B, I % 3 == 0 ? std::vector<TWindowView>{} : Fewer, Profile);
    }
    EXPECT_EQ(A, B);
    EXPECT_EQ(NextEvent(A, Windows, Profile), NextEvent(B, Windows, Profile));

    // Without windows there is nothing to aim at: the monkey waits.
    std::mt19937_64 C(3);
    for (int I = 0; I < 200; ++I) {
        const TEvent Event = NextEvent(C, {}, Profile);
        if (Event.Kind == TKind::Wait) {
            EXPECT_GE(Event.Count, 20);
        }
        EXPECT_TRUE(Event.Window.empty()) << FormatEvent(Event);
    }
}
