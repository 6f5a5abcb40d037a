#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/StatusBar.h"
#include "framework/ui/comctrls/ToolBar.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/extctrls/ScrollBox.h"
#include "framework/ui/extctrls/Splitter.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct BarsAndBoxesTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }

    template <class T>
    T* Add(TWinControl* Parent, int X = 0, int Y = 0, int W = 50, int H = 50) {
        auto* C = new T(Form.get());
        C->SetParent(Parent);
        C->SetBounds(X, Y, W, H);
        return C;
    }

    void Show() {
        Form->Show();
        Host.RunUntilIdle();
    }

    void ClickAt(TControl* C, int X, int Y) {
        const TPoint P = C->ClientToScreen(Point(X, Y));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
    }
};

TEST_F(BarsAndBoxesTest, AStatusBarLaysOutItsPanelsAlongTheFoot) {
    auto* Bar = Add<TStatusBar>(Form.get());
    for (int Width : {100, 50, 70}) Bar->GetPanels()->Add()->SetWidth(Width);
    Bar->GetPanels()->GetPanel(0)->SetText("Ready");
    Bar->GetPanels()->GetPanel(2)->SetText("3 items");
    Show();
    EXPECT_EQ(Bar->GetAlign(), alBottom);
    EXPECT_EQ(Bar->GetTop() + Bar->GetHeight(), Form->GetClientHeight());
    const int W = Bar->GetClientWidth();
    const struct {
        int Index;
        int Left, Right;
    } Panels[] = {{0, 0, 100}, {1, 102, 152}, {2, 154, W}, {3, 0, 0}};
    for (const auto& P : Panels) {
        EXPECT_EQ(Bar->PanelRect(P.Index).Left, P.Left) << P.Index;
        EXPECT_EQ(Bar->PanelRect(P.Index).Right, P.Right) << P.Index;
    }
    EXPECT_EQ(Bar->PanelAt(Point(120, 10)), 1);
    EXPECT_EQ(Bar->PanelAt(Point(101, 10)), -1);
    EXPECT_EQ(GetAccessible(Bar)->GetRole(), TAccRole::StatusBar);
    EXPECT_EQ(GetAccessible(Bar)->GetName(), "Ready, 3 items");
    Bar->SetSimplePanel(true);
    Bar->SetSimpleText("Saving...");
    EXPECT_EQ(Bar->PanelRect(0).Right, W);
    EXPECT_EQ(GetAccessible(Bar)->GetName(), "Saving...");
    // A great many panels cost what the ones that show cost.
    Bar->SetSimplePanel(false);
    Bar->GetPanels()->BeginUpdate();
    for (int I = 0; I < 100000; ++I) Bar->GetPanels()->Add()->SetWidth(0);
    Bar->GetPanels()->EndUpdate();
    Host.RunUntilIdle();
    EXPECT_TRUE(Bar->PanelRect(99999).IsEmpty());
}

TEST_F(BarsAndBoxesTest, ASplitterResizesItsNeighbourWithinTheLimits) {
    struct Case {
        TAlign Align;
        int Drag;     // along the split, away from the neighbour's side
        int Expected; // the neighbour's width or height
    };
    // The form's client is 400 x 300 less its frame; the splitter is 3.
    const Case Cases[] = {
        {alLeft, 50, 150},   {alLeft, -500, 30}, {alLeft, 1000, 0},
        {alRight, -50, 150}, {alTop, 40, 140},   {alBottom, -40, 140},
    };
    for (const Case& C : Cases) {
        auto* Side = Add<TPanel>(Form.get(), 0, 0, 100, 100);
        Side->SetAlign(C.Align);
        auto* Split = Add<TSplitter>(Form.get(), 0, 0, 3, 3);
        Split->SetAlign(C.Align);
        // Placed past the neighbour, as a designer drops it.
        if (C.Align == alLeft) Split->SetLeft(150);
        if (C.Align == alTop) Split->SetTop(150);
        if (C.Align == alRight) Split->SetLeft(0);
        if (C.Align == alBottom) Split->SetTop(0);
        auto* Rest = Add<TPanel>(Form.get());
        Rest->SetAlign(alClient);
        int Moved = 0;
        Split->OnMoved = [&](TObject*) { ++Moved; };
        Show();
        ASSERT_EQ(Split->FindNeighbour(), Side) << int(C.Align);
        const bool Across = C.Align == alLeft || C.Align == alRight;
        const TPoint From = Split->ClientToScreen(Point(1, 1));
        const TPoint To = Across ? Point(From.X + C.Drag, From.Y) : Point(From.X, From.Y + C.Drag);
        Host.Drag(From, To, 5);
        const int Size = Across ? Side->GetWidth() : Side->GetHeight();
        const int Room = Across ? Form->GetClientWidth() : Form->GetClientHeight();
        // 0 stands for "as far as the other side's least size allows".
        EXPECT_EQ(Size, C.Expected ? C.Expected : Room - 3 - Split->GetMinSize()) << int(C.Align);
        EXPECT_GE(Across ? Rest->GetWidth() : Rest->GetHeight(), Split->GetMinSize());
        EXPECT_EQ(Moved, 1);
        delete Rest;
        delete Split;
        delete Side;
    }
}

TEST_F(BarsAndBoxesTest, AScrollBoxShowsBarsWhenItsChildrenReachBeyond) {
    auto* Box = Add<TScrollBox>(Form.get(), 10, 10, 200, 150);
    auto* Near = Add<TPanel>(Box, 10, 10, 50, 50);
    Show();
    EXPECT_FALSE(Box->GetVertScrollBar()->GetVisible());
    EXPECT_FALSE(Box->GetHorzScrollBar()->GetVisible());
    auto* Far = Add<TPanel>(Box, 20, 400, 50, 50);
    Host.RunUntilIdle();
    EXPECT_TRUE(Box->GetVertScrollBar()->GetVisible());
    EXPECT_FALSE(Box->GetHorzScrollBar()->GetVisible());
    EXPECT_EQ(Box->GetRange().cy, 450);
    // The wheel scrolls down by notches; the end stops it.
    Host.MoveTo(Box->ClientToScreen(Point(100, 100)));
    Host.Wheel(-120);
    EXPECT_EQ(Box->GetScrollPos().Y, 40);
    EXPECT_EQ(Far->GetTop(), 360);
    EXPECT_EQ(Near->GetTop(), -30);
    EXPECT_EQ(Box->GetVertScrollBar()->GetPosition(), 40);
    for (int I = 0; I < 20; ++I) Host.Wheel(-120);
    EXPECT_EQ(Box->GetScrollPos().Y, 450 - Box->GetViewRect().Height());
    // The bar's own arrow scrolls too.
    Box->ScrollTo(0, 0);
    TScrollBar* Bar = Box->GetVertScrollBar();
    ClickAt(Bar, 5, Bar->GetHeight() - 5);
    EXPECT_EQ(Box->GetScrollPos().Y, 8);
    EXPECT_EQ(Near->GetTop(), 2);
    EXPECT_EQ(GetAccessible(Box)->GetRole(), TAccRole::ScrollPane);
    // Children that fit again take the bar away.
    delete Far;
    Host.RunUntilIdle();
    EXPECT_FALSE(Box->GetVertScrollBar()->GetVisible());
    EXPECT_EQ(Near->GetTop(), 10);
}

TEST_F(BarsAndBoxesTest, AToolBarLinesUpItsButtonsAndTheyActByStyle) {
    auto* Bar = Add<TToolBar>(Form.get());
    TImageList Images(Form.get());
    TBitmap Red(16, 16);
    Red.GetCanvas()->GetBrush()->SetColor(clRed);
    Red.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    Images.Add(&Red, nullptr);
    Bar->SetImages(&Images);
    TPopupMenu Menu(Form.get());
    int Popups = 0;
    Menu.OnPopup = [&](TObject*) { ++Popups; };
    const TToolButtonStyle Styles[] = {tbsButton, tbsSeparator, tbsCheck,   tbsCheck,
                                       tbsCheck,  tbsDivider,   tbsDropDown};
    TToolButton* B[7];
    int Clicks = 0;
    for (int I = 0; I < 7; ++I) {
        B[I] = Add<TToolButton>(Bar);
        B[I]->SetStyle(Styles[I]);
        B[I]->SetGrouped(I == 2 || I == 3);
        B[I]->SetImageIndex(I == 0 ? 0 : -1);
        B[I]->OnClick = [&](TObject*) { ++Clicks; };
    }
    B[6]->SetDropdownMenu(&Menu);
    Show();
    // Buttons 23 wide from 2, separators 8, the drop-down 12 wider.
    const int Lefts[] = {2, 25, 33, 56, 79, 102, 110};
    for (int I = 0; I < 7; ++I) EXPECT_EQ(B[I]->GetLeft(), Lefts[I]) << I;
    EXPECT_EQ(B[6]->GetWidth(), 35);
    EXPECT_EQ(Host.Pixel(Form.get(), B[0]->GetLeft() + 11, B[0]->GetTop() + 11), ColorToRGB(clRed));
    const struct {
        int Button;
        bool Down[3]; // of buttons 2, 3 and 4 afterwards
    } Steps[] = {{2, {true, false, false}},
                 {3, {false, true, false}},
                 {3, {false, true, false}},
                 {4, {false, true, true}},
                 {4, {false, true, false}}};
    for (const auto& S : Steps) {
        Host.Run(1000);
        ClickAt(B[S.Button], 5, 5);
        for (int I = 0; I < 3; ++I) EXPECT_EQ(B[2 + I]->GetDown(), S.Down[I]) << S.Button;
    }
    EXPECT_EQ(Clicks, 5);
    // The arrow opens the menu without a click; the face clicks.
    ClickAt(B[6], 30, 10);
    EXPECT_EQ(Popups, 1);
    EXPECT_EQ(Clicks, 5);
    Host.Key(27);
    Host.Run(1000);
    ClickAt(B[6], 5, 10);
    EXPECT_EQ(Clicks, 6);
    EXPECT_EQ(GetAccessible(Bar)->GetRole(), TAccRole::ToolBar);
    EXPECT_EQ(GetAccessible(B[3])->GetRole(), TAccRole::ToggleButton);
    EXPECT_TRUE(GetAccessible(B[3])->GetStates() & asPressed);
    EXPECT_EQ(GetAccessible(B[1])->GetRole(), TAccRole::Separator);
    // References go when what they point at goes.
    B[6]->SetDropdownMenu(nullptr);
    Bar->SetImages(nullptr);
}

} // namespace
