#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

const char* const LongCaption = "A caption far too long for the narrow bar to show whole";

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A narrow bar that shows hints, with its own hint: the first group has
// items with hints of their own, one whose hint is switched off, one with a
// caption that does not fit and a plain one; the second group's caption has
// a hint, the third's is cut.
struct BarHintTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 500);
        Bar = new TFolio(Form.get());
        Bar->SetBounds(10, 10, 120, 460);
        Bar->SetParent(Form.get());
        Bar->SetHint("The bar");
        Bar->SetShowHint(true);
        TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
        AddItem(Mail, "Inbox", "Unread mail|All mail that came in", true);
        AddItem(Mail, "Sent", "Sent mail", true);
        AddItem(Mail, LongCaption, "", false);
        AddItem(Mail, "Drafts", "Hidden hint", false);
        TFolioGroup* Places = Bar->GetGroups()->Add("Places");
        Places->SetHint("Places on disk");
        Places->SetShowHint(true);
        Bar->GetGroups()->Add(LongCaption);
        Form->Show();
        Host.RunUntilIdle();
    }
    void TearDown() override { Form.reset(); }
    static void AddItem(TFolioGroup* G, const String& Caption, const String& Hint, bool Show) {
        TFolioItem* I = G->GetItems()->Add(Caption, -1);
        I->SetHint(Hint);
        I->SetShowHint(Show);
    }
    TFolioItem* Item(int I) const { return Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(I); }
    TPoint OnItem(int I) const { return Bar->ClientToScreen(Centre(Item(I)->GetImageRect())); }
    TPoint OnCaption(int G) const {
        return Bar->ClientToScreen(Centre(Bar->GetGroups()->GetGroup(G)->GetCaptionRect()));
    }
    static String Shown() {
        THintWindow* W = Application->GetHintManager().ShownWindow();
        return W ? W->GetCaption() : String("(none)");
    }
    // Rests the pointer at P after it came from outside the form.
    String RestAt(TPoint P) {
        Host.MoveTo(Point(600, 600));
        Host.MoveTo(P);
        Host.Run(Application->GetHintPause());
        return Shown();
    }
};

} // namespace

TEST_F(BarHintTest, EachCaptionAndItemShowsItsOwnHintOrItsCutCaptionOrElseTheBars) {
    struct Case {
        const char* What;
        std::function<TPoint(BarHintTest&)> Where;
        String Expected;
    };
    const Case Cases[] = {
        {"item with a hint", [](BarHintTest& T) { return T.OnItem(0); }, "Unread mail"},
        {"another item with a hint", [](BarHintTest& T) { return T.OnItem(1); }, "Sent mail"},
        {"cut item caption", [](BarHintTest& T) { return T.OnItem(2); }, LongCaption},
        {"item whose hint is off", [](BarHintTest& T) { return T.OnItem(3); }, "The bar"},
        {"caption that fits", [](BarHintTest& T) { return T.OnCaption(0); }, "The bar"},
        {"caption with a hint", [](BarHintTest& T) { return T.OnCaption(1); }, "Places on disk"},
        {"cut caption", [](BarHintTest& T) { return T.OnCaption(2); }, LongCaption},
        {"background below the items",
         [](BarHintTest& T) {
             const TRect C = T.Bar->GetGroups()->GetGroup(0)->GetClientRect();
             return T.Bar->ClientToScreen(Point(C.Left + 5, C.Bottom - 5));
         },
         "The bar"},
    };
    for (const Case& C : Cases) EXPECT_EQ(RestAt(C.Where(*this)), C.Expected) << C.What;
    EXPECT_TRUE(Bar->IsCaptionCut(Bar->GetGroups()->GetGroup(2)));
    EXPECT_FALSE(Bar->IsCaptionCut(Bar->GetGroups()->GetGroup(0)));
    EXPECT_TRUE(Bar->IsItemCaptionCut(Item(2)));
    EXPECT_FALSE(Bar->IsItemCaptionCut(Item(0)));
}

TEST_F(BarHintTest, TheTipWaitsForThePauseAndChangesAsThePointerMovesToTheNextItem) {
    Host.MoveTo(OnItem(0));
    Host.Run(Application->GetHintPause() - 1);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(1);
    EXPECT_EQ(Shown(), "Unread mail");
    // Within the same item the tip stays.
    Host.MoveTo(Point(OnItem(0).X + 2, OnItem(0).Y + 1));
    EXPECT_EQ(Shown(), "Unread mail");
    // Onto the next item: the tip hides at once and the next one shows
    // after the short pause, as between two controls.
    Host.MoveTo(OnItem(1));
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(Application->GetHintShortPause());
    EXPECT_EQ(Shown(), "Sent mail");
    // Up to a caption the same way.
    Host.MoveTo(OnCaption(1));
    Host.Run(Application->GetHintShortPause());
    EXPECT_EQ(Shown(), "Places on disk");
}

TEST_F(BarHintTest, ABarThatShowsNoHintsShowsNoTipsEvenForCutCaptions) {
    Bar->SetShowHint(false);
    EXPECT_EQ(RestAt(OnItem(2)), "(none)");
    EXPECT_EQ(RestAt(OnCaption(2)), "(none)");
    EXPECT_EQ(RestAt(OnItem(0)), "(none)");
}

TEST_F(BarHintTest, AnItemScrolledAwayUnderTheTipGivesWayToTheItemNowThere) {
    // A short bar, so that the group scrolls.
    Bar->SetHeight(150);
    Host.RunUntilIdle();
    Host.MoveTo(OnItem(0));
    Host.Run(Application->GetHintPause());
    ASSERT_EQ(Shown(), "Unread mail");
    const TPoint P = OnItem(0);
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Shown(), "(none)");
    Host.MoveTo(Point(P.X + 1, P.Y));
    Host.Run(Application->GetHintPause());
    EXPECT_EQ(Shown(), "Sent mail");
}
