#include "PropertyRoundTrip.h"

#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ListBoxTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TListBox* List = nullptr;
    std::vector<int> Clicks; // ItemIndex at each OnClick

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 300, 300);
        List = new TListBox(Form.get());
        List->SetParent(Form.get());
        // Ten rows of 16 pixels inside the two-pixel sunken edge.
        List->SetBounds(10, 10, 150, 164);
        List->SetItemHeight(16);
        for (int I = 0; I < 30; ++I) List->GetItems()->Add("Item " + std::to_string(I));
        List->GetItems()->SetString(3, "Alpha");
        List->OnClick = [this](TObject*) { Clicks.push_back(List->GetItemIndex()); };
        Form->Show();
        List->SetFocus();
        Host.RunUntilIdle();
    }

    TPoint RowPoint(int Row) { return List->ClientToScreen(Point(20, Row * 16 + 8)); }
};

TEST_F(ListBoxTest, KeysMoveTheSelectionAndKeepItInView) {
    struct Step {
        unsigned short Key;
        int Index;
        int Top;
    };
    const Step Steps[] = {{VK_DOWN, 0, 0}, {VK_DOWN, 1, 0},    {VK_NEXT, 10, 1}, {VK_END, 29, 20},
                          {VK_UP, 28, 20}, {VK_PRIOR, 19, 19}, {VK_HOME, 0, 0},  {VK_UP, 0, 0}};
    for (const Step& S : Steps) {
        Host.Key(S.Key);
        EXPECT_EQ(List->GetItemIndex(), S.Index) << S.Key;
        EXPECT_EQ(List->GetTopIndex(), S.Top) << S.Key;
    }
    // One click per real change: the last Up at the top changed nothing.
    EXPECT_EQ(Clicks, (std::vector<int>{0, 1, 10, 29, 28, 19, 0}));
}

TEST_F(ListBoxTest, TypedLettersFindTheNextItemStartingWithThem) {
    Host.Type("a");
    EXPECT_EQ(List->GetItemIndex(), 3);
    Host.Type("i");
    EXPECT_EQ(List->GetItemIndex(), 4);
    Host.Type("A");
    EXPECT_EQ(List->GetItemIndex(), 3);
}

TEST_F(ListBoxTest, ClickingAndDraggingSelectTheItemUnderThePointer) {
    Host.Click(RowPoint(4).X, RowPoint(4).Y);
    EXPECT_EQ(List->GetItemIndex(), 4);
    Host.Drag(RowPoint(2), RowPoint(6), 4);
    EXPECT_EQ(List->GetItemIndex(), 6);
    // Dragging below the box scrolls it along, an item a move.
    Host.Drag(RowPoint(8), RowPoint(12), 4);
    EXPECT_EQ(List->GetItemIndex(), 12);
    EXPECT_EQ(List->GetTopIndex(), 3);
    EXPECT_EQ(Clicks.front(), 4);
}

TEST_F(ListBoxTest, TheScrollBarShowsOnlyWhileTheItemsDoNotFit) {
    TScrollBar* Bar = List->GetScrollBar();
    EXPECT_TRUE(Bar->GetVisible());
    EXPECT_EQ(List->ItemRect(0).Right, List->GetClientWidth() - Bar->GetWidth());
    // The bar scrolls the list.
    const TPoint Down = Bar->ClientToScreen(Point(5, Bar->GetHeight() - 5));
    Host.Click(Down.X, Down.Y);
    EXPECT_EQ(List->GetTopIndex(), 1);
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(List->GetTopIndex(), 4);
    EXPECT_EQ(Bar->GetPosition(), 4);
    while (List->Count() > 10) List->GetItems()->Delete(0);
    EXPECT_FALSE(Bar->GetVisible());
    EXPECT_EQ(List->GetTopIndex(), 0);
    EXPECT_EQ(List->ItemRect(0).Right, List->GetClientWidth());
}

TEST_F(ListBoxTest, TheSelectedItemIsHighlightedAndItsFocusRectangleShowsWithTheFocus) {
    List->SetItemIndex(1);
    Host.RunUntilIdle();
    const TPoint P = List->ClientToScreen(Point(100, 16 + 8));
    const TPoint Form0 = Form->ClientToScreen(Point(0, 0));
    auto Px = [&](int X, int Y) {
        Host.RunUntilIdle();
        return Host.Pixel(Form.get(), X - Form0.X, Y - Form0.Y);
    };
    EXPECT_EQ(Px(P.X, P.Y), ColorToRGB(clHighlight));
    EXPECT_EQ(Px(P.X, P.Y + 16), ColorToRGB(clWindow));
    // The dotted focus rectangle runs along the item's top row.
    const TPoint Top = List->ClientToScreen(Point(0, 16));
    int Dots = 0;
    for (int X = 0; X < 100; ++X) Dots += Px(Top.X + X, Top.Y) != ColorToRGB(clHighlight);
    EXPECT_GE(Dots, 45);
    auto* Other = new TListBox(Form.get());
    Other->SetParent(Form.get());
    Other->SetLeft(200);
    Other->SetFocus();
    Dots = 0;
    for (int X = 0; X < 100; ++X) Dots += Px(Top.X + X, Top.Y) != ColorToRGB(clHighlight);
    EXPECT_EQ(Dots, 0);
}

TEST_F(ListBoxTest, OwnerDrawingGetsEachShownItemWithItsState) {
    List->SetStyle(lbOwnerDrawFixed);
    List->SetItemIndex(2);
    std::vector<int> Drawn;
    TOwnerDrawState SelectedState;
    List->OnDrawItem = [&](TObject*, int Index, const TRect&, TOwnerDrawState State) {
        Drawn.push_back(Index);
        if (Index == 2) SelectedState = State;
    };
    List->Invalidate();
    Host.RunUntilIdle();
    ASSERT_GE(Drawn.size(), 10u);
    EXPECT_EQ(Drawn.front(), 0);
    EXPECT_TRUE(SelectedState.Contains(odSelected));
    EXPECT_TRUE(SelectedState.Contains(odFocused));
}

TEST_F(ListBoxTest, PublishedPropertiesSurviveACopyThroughTheTable) {
    List->SetItemIndex(7);
    TListBox Copy(nullptr);
    proptest::CopyPublished(*List, Copy);
    proptest::ExpectSamePublished(*List, Copy);
    EXPECT_EQ(Copy.GetItems()->GetString(3), "Alpha");
    EXPECT_EQ(Copy.GetItemIndex(), 7);
}

} // namespace
