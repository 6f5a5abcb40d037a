#include "PropertyRoundTrip.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct LabelTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TLabel* Label = nullptr;
    TEdit* First = nullptr;
    TEdit* Name = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        First = AddEdit(10);
        Name = AddEdit(40);
        Label = new TLabel(Form.get());
        Label->SetParent(Form.get());
        Label->SetBounds(170, 44, 60, 17);
        Label->SetCaption("&Name:");
        Label->SetFocusControl(Name);
    }

    TEdit* AddEdit(int Top) {
        auto* E = new TEdit(Form.get());
        E->SetParent(Form.get());
        E->SetBounds(10, Top, 150, 25);
        return E;
    }

    TSize Extent(const String& Text, unsigned Flags = 0, int Width = 0) {
        TCanvas* C = Label->GetCanvas();
        C->SetFont(Label->GetFont());
        TRect R = Rect(0, 0, Width, 0);
        DrawText(C, Text, R, DT_CALCRECT | DT_EXPANDTABS | Flags);
        return TSize{R.Width(), R.Height()};
    }
};

TEST_F(LabelTest, TheAcceleratorFocusesTheLabelsControl) {
    Form->Show();
    First->SetFocus();
    // Inside an edit box a plain 'n' is text; Alt+N is the accelerator.
    Host.Key('N', {ssAlt});
    EXPECT_TRUE(Name->Focused());
    EXPECT_EQ(First->GetText(), "");
}

TEST_F(LabelTest, TheAcceleratorIsIgnoredWhenItCannotFocusAnything) {
    Form->Show();
    struct Case {
        const char* Why;
        std::function<void()> Break;
        std::function<void()> Mend;
    };
    const Case Cases[] = {
        {"disabled control", [&] { Name->SetEnabled(false); }, [&] { Name->SetEnabled(true); }},
        {"hidden control", [&] { Name->SetVisible(false); }, [&] { Name->SetVisible(true); }},
        {"disabled label", [&] { Label->SetEnabled(false); }, [&] { Label->SetEnabled(true); }},
        {"no accelerator shown", [&] { Label->SetShowAccelChar(false); },
         [&] { Label->SetShowAccelChar(true); }},
    };
    for (const Case& C : Cases) {
        First->SetFocus();
        C.Break();
        Host.Key('N', {ssAlt});
        EXPECT_TRUE(First->Focused()) << C.Why;
        C.Mend();
    }
    Host.Key('N', {ssAlt});
    EXPECT_TRUE(Name->Focused());
}

TEST_F(LabelTest, TheFocusControlReferenceIsDroppedWhenTheControlIsFreed) {
    delete Name;
    EXPECT_EQ(Label->GetFocusControl(), nullptr);
    Form->Show();
    Host.Key('N', {ssAlt});
}

TEST_F(LabelTest, AutoSizeFitsTheTextAndARightAlignedLabelKeepsItsRightEdge) {
    const TSize Text = Extent("Name:", 0);
    EXPECT_EQ(Label->GetWidth(), Text.cx);
    EXPECT_EQ(Label->GetHeight(), Text.cy);
    Label->SetAlignment(taRightJustify);
    const int Right = Label->GetLeft() + Label->GetWidth();
    Label->SetCaption("A much longer caption");
    EXPECT_EQ(Label->GetWidth(), Extent("A much longer caption").cx);
    EXPECT_EQ(Label->GetLeft() + Label->GetWidth(), Right);
}

TEST_F(LabelTest, WordWrapKeepsTheWidthAndGrowsDown) {
    Label->SetAutoSize(false);
    Label->SetWidth(60);
    Label->SetWordWrap(true);
    Label->SetAutoSize(true);
    const String Long = "several words that cannot fit one short line";
    Label->SetCaption(Long);
    EXPECT_EQ(Label->GetWidth(), 60);
    EXPECT_EQ(Label->GetHeight(), Extent(Long, DT_WORDBREAK, 60).cy);
    EXPECT_GT(Label->GetHeight(), 2 * Extent("x").cy);
}

TEST_F(LabelTest, TransparentLetsTheParentShowThrough) {
    Form->SetColor(clBtnFace);
    Label->SetParentColor(false);
    Label->SetColor(clYellow);
    Label->SetAutoSize(false);
    Label->SetBounds(170, 100, 100, 30);
    Label->SetCaption("");
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(Form.get(), 200, 110), clYellow);
    Label->SetTransparent(true);
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(Form.get(), 200, 110), ColorToRGB(clBtnFace));
}

TEST_F(LabelTest, ALabelFollowsItsParentsColourUntilGivenItsOwn) {
    Form->SetColor(clAqua);
    EXPECT_EQ(Label->GetColor(), clAqua);
    Label->SetColor(clRed);
    EXPECT_FALSE(Label->GetParentColor());
    Form->SetColor(clLime);
    EXPECT_EQ(Label->GetColor(), clRed);
}

TEST_F(LabelTest, PublishedPropertiesSurviveACopyThroughTheTable) {
    Label->SetAlignment(taCenter);
    Label->SetLayout(tlBottom);
    Label->SetTransparent(true);
    Label->SetWordWrap(true);
    Label->GetFont()->SetStyle({fsUnderline});
    Label->GetFont()->SetColor(clBlue);
    Label->SetCursor(crHandPoint);
    TLabel Copy(nullptr);
    proptest::CopyPublished(*Label, Copy);
    proptest::ExpectSamePublished(*Label, Copy);
    EXPECT_EQ(Copy.GetCursor(), crHandPoint);
    EXPECT_TRUE(Copy.GetFont()->GetStyle().Contains(fsUnderline));
}

} // namespace
