#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/tabs/PageControl.h"
#include "framework/ui/tabs/TabControl.h"
#include "framework/ui/tabs/TabSheet.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct PageControlTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TPageControl* Pages = nullptr;
    std::vector<TTabSheet*> Sheets;
    std::vector<TButton*> Buttons;
    std::vector<int> Changes; // the active page index at each OnChange
    bool Allow = true;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 400, 250);
        Pages = new TPageControl(Form.get());
        Pages->SetName("Pages");
        Pages->SetParent(Form.get());
        Pages->SetBounds(10, 10, 300, 150);
        for (const char* Caption : {"Standard", "Additional", "Samples"}) {
            auto* Sheet = new TTabSheet(Form.get());
            Sheet->SetName(String("Sheet") + Caption);
            Sheet->SetCaption(Caption);
            Sheet->SetPageControl(Pages);
            auto* B = new TButton(Form.get());
            B->SetName(String("Button") + Caption);
            B->SetParent(Sheet);
            B->SetBounds(8, 8, 75, 25);
            Sheets.push_back(Sheet);
            Buttons.push_back(B);
        }
        Pages->OnChanging = [this](TObject*, bool& AllowChange) { AllowChange = Allow; };
        Pages->OnChange = [this](TObject*) { Changes.push_back(Pages->GetActivePageIndex()); };
        Form->Show();
        Host.RunUntilIdle();
    }

    void ClickTab(int I) {
        const TRect R = Pages->TabRect(I);
        const TPoint P =
            Pages->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
    }
};

TEST_F(PageControlTest, AClickOnATabShowsItsSheetUnlessOnChangingRefuses) {
    EXPECT_EQ(Pages->GetActivePage(), Sheets[0]);
    ClickTab(2);
    EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(Sheets[I]->GetVisible(), I == 2) << I;
    EXPECT_TRUE(Buttons[2]->Showing());
    EXPECT_FALSE(Buttons[0]->Showing());
    // A click on the tab already chosen is no change.
    ClickTab(2);
    Allow = false;
    ClickTab(1);
    EXPECT_EQ(Pages->GetActivePage(), Sheets[2]);
    EXPECT_EQ(Changes, std::vector<int>{2});
    // The program's changes fire nothing.
    Pages->SetActivePage(Sheets[0]);
    EXPECT_TRUE(Sheets[0]->GetVisible());
    EXPECT_FALSE(Sheets[2]->GetVisible());
    EXPECT_EQ(Changes.size(), 1u);
}

TEST_F(PageControlTest, ArrowsOnTheTabsAndCtrlTabFromInsideTurnThePages) {
    ClickTab(0);
    ASSERT_TRUE(Pages->Focused());
    Host.Key(VK_RIGHT);
    EXPECT_EQ(Pages->GetActivePageIndex(), 1);
    Host.Key(VK_LEFT);
    EXPECT_EQ(Pages->GetActivePageIndex(), 0);
    // With the focus on a control of the sheet, Ctrl+Tab goes on and
    // Ctrl+Shift+Tab back, round the ends; the focus leaves the hidden sheet.
    Buttons[0]->SetFocus();
    Host.Key(VK_TAB, {ssCtrl});
    EXPECT_EQ(Pages->GetActivePageIndex(), 1);
    EXPECT_FALSE(Buttons[0]->Focused());
    Host.Key(VK_TAB, {ssCtrl, ssShift});
    Host.Key(VK_TAB, {ssCtrl, ssShift});
    EXPECT_EQ(Pages->GetActivePageIndex(), 2);
    EXPECT_EQ(Changes, (std::vector<int>{1, 0, 1, 0, 2}));
}

TEST_F(PageControlTest, RemovingAndMovingSheetsKeepsTheTabsInStep) {
    Pages->SetActivePage(Sheets[1]);
    Sheets[2]->SetPageIndex(0);
    EXPECT_EQ(Pages->GetPage(0), Sheets[2]);
    EXPECT_EQ(Pages->GetActivePage(), Sheets[1]);
    Sheets[1]->SetCaption("Extra");
    EXPECT_EQ(Pages->TabRect(2).IsEmpty(), false);
    delete Sheets[1];
    EXPECT_EQ(Pages->PageCount(), 2);
    ASSERT_NE(Pages->GetActivePage(), nullptr);
    EXPECT_TRUE(Pages->GetActivePage()->GetVisible());
    EXPECT_THROW(Pages->GetPage(2), EListError);
}

TEST_F(PageControlTest, AFormFileKeepsTheSheetsTheirControlsAndTheActivePage) {
    Pages->SetActivePage(Sheets[2]);
    TMemoryStream S;
    WriteComponent(S, Form.get(), nullptr, feText);
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    auto* Copy = dynamic_cast<TPageControl*>(Read.FindComponent("Pages"));
    ASSERT_NE(Copy, nullptr);
    ASSERT_EQ(Copy->PageCount(), 3);
    EXPECT_EQ(Copy->GetActivePage(), Read.FindComponent("SheetSamples"));
    EXPECT_EQ(Copy->GetPage(1)->GetCaption(), "Additional");
    EXPECT_EQ(Read.FindComponent("ButtonAdditional")->GetParentComponent(), Copy->GetPage(1));
    EXPECT_TRUE(Copy->GetPage(2)->GetVisible());
    EXPECT_FALSE(Copy->GetPage(0)->GetVisible());
}

TEST(TabControl, TabsAreItsOwnStringsAndAFormFileKeepsThem) {
    THeadlessHost Host;
    TForm Form(nullptr);
    auto* Tabs = new TTabControl(&Form);
    Tabs->SetName("Tabs");
    Tabs->SetParent(&Form);
    Tabs->GetTabs()->SetText("One\nTwo\nThree\n");
    Tabs->SetTabIndex(1);
    TMemoryStream S;
    WriteComponent(S, &Form, nullptr, feBinary);
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    auto* Copy = dynamic_cast<TTabControl*>(Read.FindComponent("Tabs"));
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetTabs()->GetText(), "One\nTwo\nThree\n");
    EXPECT_EQ(Copy->GetTabIndex(), 1);
    // Fewer tabs pull the index back inside them.
    Copy->GetTabs()->Delete(2);
    Copy->GetTabs()->Delete(1);
    EXPECT_EQ(Copy->GetTabIndex(), 0);
}

// A tab's edges: highlight on the left and top with the corner cut, the
// dark line and the shadow on the right, no foot line.
TEST(TabLook, TabEdgesAreRaisedOnThreeSides) {
    TBitmap B;
    B.SetSize(40, 30);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, 40, 30));
    DrawTab(C, Rect(5, 5, 25, 20));
    auto Px = [&](int X, int Y) { return C->GetPixel(X, Y); };
    EXPECT_EQ(Px(5, 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(5, 19), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(12, 5), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Px(24, 12), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(Px(23, 12), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Px(12, 12), ColorToRGB(clBtnFace));
    EXPECT_EQ(Px(12, 19), ColorToRGB(clBtnFace));
    EXPECT_EQ(Px(5, 5), clWhite);
    EXPECT_EQ(Px(12, 20), clWhite);
}

// The display area's raised top edge runs under the other tabs and breaks
// under the selected one, which opens into its page.
TEST_F(PageControlTest, TheSelectedTabOpensIntoThePage) {
    Pages->SetActivePage(Sheets[1]);
    Host.RunUntilIdle();
    const int EdgeY = Pages->TabRowHeight();
    auto Px = [&](int I) {
        const TRect R = Pages->TabRect(I);
        const TPoint P = Pages->ClientToScreen(Point((R.Left + R.Right) / 2, EdgeY));
        const TPoint F = Form->ScreenToClient(P);
        return Host.Pixel(Form.get(), F.X, F.Y);
    };
    EXPECT_EQ(Px(0), ColorToRGB(cl3DLight));
    EXPECT_EQ(Px(1), ColorToRGB(clBtnFace));
    EXPECT_EQ(Px(2), ColorToRGB(cl3DLight));
}

} // namespace
