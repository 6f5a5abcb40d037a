#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr TColor Mark = 0x0000FF;

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

String Captions(const TFolioGroup* G) {
    String S;
    for (int I = 0; I < G->GetItems()->GetCount(); ++I)
        S += (I ? " " : "") + G->GetItems()->GetItem(I)->GetCaption();
    return S;
}

// Every drag is real input through the input router: a press on an item's
// picture, a move by the drag threshold, moves over the bars, then a release
// or Escape. Time is the headless host's manual clock.
struct FolioDragTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TImageList> Images;
    std::vector<std::unique_ptr<TForm>> Forms;

    TForm* AddForm(int Left, int Top) {
        Forms.push_back(std::make_unique<TForm>(nullptr));
        Forms.back()->SetBounds(Left, Top, 460, 340);
        return Forms.back().get();
    }
    // A bar of small pictures (16 pixels, or Images) with one group per
    // entry; an entry is the captions of the group's items.
    TFolio* AddBar(TForm* Form, const TRect& Bounds, std::vector<std::vector<String>> Groups,
                   TFolAlignment Alignment = baVertical, TFolImageSize Size = isSmall) {
        auto* Bar = new TFolio(Form);
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetAlignment(Alignment);
        Bar->SetInsertMarkColor(Mark);
        Bar->SetBoundsRect(Bounds);
        Bar->SetParent(Form);
        if (Images && Size == isSmall) Bar->SetSmallImages(Images.get());
        if (Images && Size == isLarge) Bar->SetLargeImages(Images.get());
        for (const auto& Items : Groups) {
            TFolioGroup* G = Bar->GetGroups()->Add("Group");
            G->SetImageSize(Size);
            G->SetColor(0xFFFFFF);
            for (const String& C : Items) G->GetItems()->Add(C, -1);
        }
        Form->Show();
        Host.RunUntilIdle();
        return Bar;
    }

    static TFolioGroup* Group(TFolio* Bar, int I) { return Bar->GetGroups()->GetGroup(I); }
    void MoveTo(TFolio* Bar, TPoint P) { Host.MoveTo(Bar->ClientToScreen(P)); }
    void StartDrag(TFolio* Bar, int Item) {
        const TPoint P =
            Centre(Bar->GetVisibleGroupObject()->GetItems()->GetItem(Item)->GetImageRect());
        MoveTo(Bar, P);
        Host.Press();
        MoveTo(Bar, Point(P.X + Mouse->GetDragThreshold(), P.Y));
        ASSERT_TRUE(Application->GetDragManager().Active());
    }
    void ToGap(TFolio* Bar, int Index) {
        MoveTo(Bar, Centre(Bar->GetVisibleGroupObject()->GetInsertMarkRect(Index)));
    }
    void ToCaption(TFolio* Bar, int G) { MoveTo(Bar, Centre(Group(Bar, G)->GetCaptionRect())); }
    // Whether the insert mark's line is on the screen at gap Index.
    bool MarkShownAt(TFolio* Bar, int Index) {
        const TRect Gap = Bar->GetVisibleGroupObject()->GetInsertMarkRect(Index);
        const TPoint P = Bar->ClientToScreen(
            Point((Gap.Left + Gap.Right) / 2 + 1, Gap.Top + Bar->GetItemSpacing() / 2));
        TForm* Form = static_cast<TForm*>(Bar->GetParent());
        const TPoint F = Form->ScreenToClient(P);
        return Host.Pixel(Form, F.X, F.Y) == Mark;
    }
};

const std::vector<String> Five{"1", "2", "3", "4", "5"};

TEST_F(FolioDragTest, DropInAGapMovesTheItemThere) {
    struct {
        int From, Gap;
        const char* Order;
    } Cases[] = {{1, 4, "1 3 4 2 5"}, {1, 1, "1 2 3 4 5"}, {1, 2, "1 2 3 4 5"}, {0, 5, "2 3 4 5 1"},
                 {4, 0, "5 1 2 3 4"}, {4, 5, "1 2 3 4 5"}, {3, 1, "1 4 2 3 5"}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(Format("item %d to gap %d", C.From, C.Gap));
        TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {Five, {}});
        TFolioItem* Dragged = Group(Bar, 0)->GetItems()->GetItem(C.From);
        StartDrag(Bar, C.From);
        ToGap(Bar, C.Gap);
        EXPECT_EQ(Bar->GetInsertIndex(), C.Gap);
        EXPECT_EQ(Host.GetCursor(), crDrag);
        Host.Release();
        EXPECT_FALSE(Application->GetDragManager().Active());
        EXPECT_EQ(Captions(Group(Bar, 0)), C.Order);
        EXPECT_EQ(Bar->GetInsertIndex(), -1);
        EXPECT_EQ(Dragged->GetGroup(), Group(Bar, 0)) << "the item itself moves";
        Forms.clear();
    }
}

TEST_F(FolioDragTest, TheInsertMarkFollowsThePointerAndAnItemRefusesTheDrop) {
    TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {Five});
    StartDrag(Bar, 0);
    ToGap(Bar, 2);
    EXPECT_TRUE(MarkShownAt(Bar, 2));
    ToGap(Bar, 4);
    EXPECT_TRUE(MarkShownAt(Bar, 4));
    EXPECT_FALSE(MarkShownAt(Bar, 2));

    MoveTo(Bar, Centre(Group(Bar, 0)->GetItems()->GetItem(3)->GetImageRect()));
    EXPECT_EQ(Host.GetCursor(), crNoDrop);
    EXPECT_EQ(Bar->GetInsertIndex(), -1);
    EXPECT_FALSE(MarkShownAt(Bar, 4));
    Host.Release();
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Captions(Group(Bar, 0)), "1 2 3 4 5");
}

TEST_F(FolioDragTest, InsertPositionCountsHalfASlotBeforeEachGap) {
    // Slots 32 pixels long with the default spacing of 12: vertical bars
    // with small 32-pixel pictures, horizontal ones with large 16-pixel ones.
    struct {
        TFolAlignment Alignment;
        int Items, Start, Along, Expected;
    } Cases[] = {
        {baVertical, 10, 0, 10, 0},   {baVertical, 10, 0, 30, 1},   {baVertical, 10, 2, 10, 2},
        {baVertical, 10, 2, 30, 3},   {baVertical, 2, 0, 200, 2},   {baHorizontal, 10, 0, 10, 0},
        {baHorizontal, 10, 0, 30, 1}, {baHorizontal, 10, 2, 30, 3}, {baHorizontal, 2, 0, 250, 2}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(Format("%s, start %d, %d pixels in",
                            C.Alignment == baVertical ? "vertical" : "horizontal", C.Start,
                            C.Along));
        const bool Vertical = C.Alignment == baVertical;
        Images = std::make_unique<TImageList>(nullptr);
        Images->SetWidth(Vertical ? 32 : 16);
        Images->SetHeight(Vertical ? 32 : 16);
        std::vector<String> Items;
        for (int I = 0; I < C.Items; ++I) Items.push_back(IntToStr(I));
        TFolio* Bar =
            AddBar(AddForm(0, 0), Vertical ? Rect(20, 20, 220, 320) : Rect(20, 20, 420, 170),
                   {Items, {}, {}}, C.Alignment, Vertical ? isSmall : isLarge);
        TFolioGroup* Open = Group(Bar, 0);
        ASSERT_EQ((Vertical ? Open->GetItemHeight() : Open->GetItemWidth()), 32);
        StartDrag(Bar, 0);
        Open->SetStartItem(C.Start);
        ASSERT_EQ(Open->GetStartItem(), C.Start);
        // Beside the pictures, off every item and scroll button.
        const TRect CR = Open->GetClientRect();
        MoveTo(Bar, Vertical ? Point(CR.Left + 5, CR.Top + C.Along)
                             : Point(CR.Left + C.Along, CR.Top + 2));
        EXPECT_EQ(Bar->GetInsertIndex(), C.Expected);
        Host.Key(VK_ESCAPE);
        Host.Release();
        Forms.clear();
    }
}

TEST_F(FolioDragTest, ASpacingThatCancelsTheSlotLengthDividesByNothing) {
    TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {Five});
    StartDrag(Bar, 0);
    Bar->SetItemSpacing(-Group(Bar, 0)->GetItemHeight());
    const TRect CR = Group(Bar, 0)->GetClientRect();
    MoveTo(Bar, Point(CR.Left + 5, CR.Top + 30));
    EXPECT_EQ(Bar->GetInsertIndex(), 0);
    Host.Key(VK_ESCAPE);
}

TEST_F(FolioDragTest, RestingOnAClosedCaptionOpensItsGroupAndTheDropLandsThere) {
    TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {{"a", "b", "c"}, {}, {"x"}});
    StartDrag(Bar, 1);
    ToGap(Bar, 3);
    ToCaption(Bar, 1);
    EXPECT_EQ(Bar->GetInsertIndex(), 3) << "kept over a caption";
    EXPECT_EQ(Host.GetCursor(), crDrag);
    Host.Run(FolioOpenDelay - 1);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    Host.Run(1);
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_EQ(Bar->GetInsertIndex(), -1);
    ToGap(Bar, 0);
    EXPECT_EQ(Bar->GetInsertIndex(), 0);
    Host.Release();
    EXPECT_EQ(Captions(Group(Bar, 1)), "b") << "the only item of a group that was empty";
    EXPECT_EQ(Captions(Group(Bar, 0)), "a c");
}

TEST_F(FolioDragTest, ADropOnACaptionUsesTheLastGapUntilTheOpeningTimerFires) {
    // The last group is open, so every caption sits at the top and stays
    // under the pointer when its group opens.
    struct {
        int Rest, Caption;
        const char* Order;
        int Open;
    } Cases[] = {{FolioOpenDelay - 1, 0, "b c a", 2},
                 {FolioOpenDelay, 0, "a b c", 0},
                 {FolioOpenDelay * 3, 2, "a b c", 2}}; // the open group's own caption
    for (const auto& C : Cases) {
        SCOPED_TRACE(Format("%d ms on caption %d", C.Rest, C.Caption));
        TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {{"x"}, {}, {"a", "b", "c"}});
        Bar->SetVisibleGroup(2);
        StartDrag(Bar, 0);
        ToGap(Bar, 3);
        ToCaption(Bar, C.Caption);
        EXPECT_TRUE(MarkShownAt(Bar, 3));
        Host.Run(C.Rest);
        // A tick takes the mark away even when it opens nothing.
        EXPECT_EQ(MarkShownAt(Bar, 3), C.Rest < static_cast<int>(FolioOpenDelay));
        Host.Release();
        EXPECT_EQ(Captions(Group(Bar, 2)), C.Order);
        EXPECT_EQ(Captions(Group(Bar, 0)), "x");
        EXPECT_EQ(Bar->GetVisibleGroup(), C.Open);
        Host.Run(FolioOpenDelay * 2);
        EXPECT_EQ(Bar->GetVisibleGroup(), C.Open) << "the drop stopped the timer";
        Forms.clear();
    }
}

TEST_F(FolioDragTest, RestingOnTheNextButtonScrollsOneItemPerDelayFromOneIntervalOn) {
    std::vector<String> Items;
    for (int I = 0; I < 30; ++I) Items.push_back(IntToStr(I));
    TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {Items});
    TFolioGroup* G = Group(Bar, 0);
    int Steps = 0;
    Bar->OnNextButtonClick = [&](TObject*, TFolioGroup*, int&) { ++Steps; };
    const int Delay = Bar->GetButtonClickDelay();
    StartDrag(Bar, 0);
    ToGap(Bar, 2);
    MoveTo(Bar, Centre(G->GetNextButtonRect()));
    EXPECT_EQ(Bar->GetInsertIndex(), 2) << "kept over a scroll button";
    Host.Run(Delay - 1);
    EXPECT_EQ(G->GetStartItem(), 0) << "no step on arrival";
    Host.Run(1);
    EXPECT_EQ(G->GetStartItem(), 1);
    Host.Run(Delay);
    EXPECT_EQ(G->GetStartItem(), 2);
    ToGap(Bar, 5);
    Host.Run(Delay * 3);
    EXPECT_EQ(Steps, 2) << "off the button the scrolling stops";

    // A drop while resting on the button lands at the last gap and stops it.
    MoveTo(Bar, Centre(G->GetNextButtonRect()));
    Host.Run(Delay);
    EXPECT_EQ(Steps, 3);
    Host.Release();
    EXPECT_EQ(G->GetItems()->GetItem(4)->GetCaption(), "0");
    Host.Run(Delay * 4);
    EXPECT_EQ(Steps, 3);
}

TEST_F(FolioDragTest, AnItemLeavesOneBarForAnotherOnTheSameFormOrAnother) {
    for (const bool OtherForm : {false, true}) {
        SCOPED_TRACE(OtherForm ? "another form" : "the same form");
        TForm* First = AddForm(0, 0);
        TFolio* A = AddBar(First, Rect(10, 10, 210, 310), {{"a", "b", "c"}});
        TFolio* B = AddBar(OtherForm ? AddForm(500, 100) : First, Rect(230, 10, 450, 160),
                           {{"x", "y"}}, baHorizontal, isLarge);
        StartDrag(A, 1);
        ToGap(A, 0);
        EXPECT_EQ(A->GetInsertIndex(), 0);
        ToGap(B, 1);
        EXPECT_EQ(A->GetInsertIndex(), -1) << "the pointer left the first bar";
        EXPECT_EQ(B->GetInsertIndex(), 1);
        Host.Release();
        EXPECT_EQ(Captions(Group(A, 0)), "a c");
        EXPECT_EQ(Captions(Group(B, 0)), "x b y");
        EXPECT_EQ(Group(B, 0)->GetItems()->GetItem(1)->GetBar(), B);
        EXPECT_EQ(B->GetInsertIndex(), -1);
        Forms.clear();
    }
}

TEST_F(FolioDragTest, EscapeLeavesNoMarkAndNoTimerOnAnyBarPassedOver) {
    std::vector<String> Items;
    for (int I = 0; I < 30; ++I) Items.push_back(IntToStr(I));
    enum { OnCaption, OnButton, OverAnotherWindow };
    for (const int Where : {OnCaption, OnButton, OverAnotherWindow}) {
        SCOPED_TRACE(Where);
        TForm* First = AddForm(0, 0);
        TFolio* A = AddBar(First, Rect(10, 10, 210, 310), {Items, {"p"}});
        TFolio* B = AddBar(First, Rect(230, 10, 450, 310), {{"x"}, {"y"}});
        int Steps = 0;
        A->OnNextButtonClick = [&](TObject*, TFolioGroup*, int&) { ++Steps; };
        StartDrag(A, 0);
        ToGap(A, 3);
        if (Where == OnCaption) {
            ToGap(B, 1);
            ToCaption(B, 1);
        } else {
            MoveTo(A, Centre(Group(A, 0)->GetNextButtonRect()));
        }
        if (Where == OverAnotherWindow) {
            // A window over the bar: the bar hears "leave" with the pointer
            // still inside its rectangle, and keeps scrolling meanwhile.
            TForm* Over = AddForm(0, 0);
            Over->SetBounds(A->ClientToScreen(Point(0, 0)).X + 100,
                            A->ClientToScreen(Point(0, 0)).Y + 150, 150, 200);
            Over->Show();
            Host.MoveTo(Host.GetPointer().X + 1, Host.GetPointer().Y);
        }
        Host.Key(VK_ESCAPE);
        EXPECT_FALSE(Application->GetDragManager().Active());
        const int Start = Group(A, 0)->GetStartItem();
        const int StepsThen = Steps;
        Host.Run(2000);
        Host.Release();
        for (TFolio* Bar : {A, B}) EXPECT_EQ(Bar->GetInsertIndex(), -1);
        EXPECT_EQ(Group(A, 0)->GetStartItem(), Start);
        EXPECT_EQ(Steps, StepsThen);
        EXPECT_EQ(B->GetVisibleGroup(), 0);
        EXPECT_EQ(Group(A, 0)->GetItems()->GetItem(0)->GetCaption(), "0");
        Forms.clear();
    }
}

TEST_F(FolioDragTest, DeletingTheDraggedItemItsGroupOrABarEndsTheDragCleanly) {
    enum { Item, ItsGroup, SourceBar, TargetBar };
    for (const int What : {Item, ItsGroup, SourceBar, TargetBar}) {
        SCOPED_TRACE(What);
        TForm* Form = AddForm(0, 0);
        TFolio* A = AddBar(Form, Rect(10, 10, 210, 310), {{"a", "b", "c"}, {"p"}});
        TFolio* B = AddBar(Form, Rect(230, 10, 450, 310), {{"x"}, {"y"}});
        int Ends = 0;
        A->OnEndDrag = [&](TObject*, TObject* Target, int, int) {
            ++Ends;
            EXPECT_EQ(Target, nullptr);
        };
        StartDrag(A, 1);
        ToGap(B, 0);
        ToCaption(B, 1); // the opening timer runs
        TFolioItem* Dragged = Group(A, 0)->GetItems()->GetItem(1);
        if (What == Item) Dragged->Delete();
        if (What == ItsGroup) Group(A, 0)->Delete();
        if (What == SourceBar) delete A;
        if (What == TargetBar) delete B;
        EXPECT_EQ(Application->GetDragManager().Active(), What == TargetBar);
        if (What != SourceBar) {
            EXPECT_EQ(Ends, What == TargetBar ? 0 : 1);
        }
        Host.Run(FolioOpenDelay * 3);
        Host.Release();
        EXPECT_FALSE(Application->GetDragManager().Active());
        if (What != TargetBar) {
            EXPECT_EQ(B->GetVisibleGroup(), 0) << "no timer opened a group";
            EXPECT_EQ(B->GetInsertIndex(), -1);
            EXPECT_EQ(Captions(Group(B, 0)), "x");
        } else {
            EXPECT_EQ(Captions(Group(A, 0)), "a b c");
        }
        Forms.clear();
    }
}

TEST_F(FolioDragTest, TheDragCarriesThePressedItemUnlessTheApplicationSuppliesItsOwn) {
    TFolio* Bar = AddBar(AddForm(0, 0), Rect(20, 20, 220, 320), {Five});
    TFolioItem* Pressed = Group(Bar, 0)->GetItems()->GetItem(2);
    TFolioItem* Seen = nullptr;
    Bar->OnStartDrag = [&](TObject*, TDragObject*& Object) {
        if (auto* Drag = dynamic_cast<TFolioDragItem*>(Object)) Seen = Drag->Item;
    };
    StartDrag(Bar, 2);
    EXPECT_EQ(Seen, Pressed);
    Host.Key(VK_ESCAPE);
    Host.Release();

    // An object of the application's own replaces the bar's, which is freed
    // (the leak checker watches); the bar moves nothing for it.
    Bar->OnStartDrag = [](TObject*, TDragObject*& Object) { Object = new TDragObject; };
    TObject* Dropped = nullptr;
    Bar->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) { Accept = true; };
    Bar->OnDragDrop = [&](TObject*, TObject* Source, int, int) { Dropped = Source; };
    StartDrag(Bar, 2);
    ToGap(Bar, 0);
    EXPECT_EQ(Bar->GetInsertIndex(), -1);
    Host.Release();
    EXPECT_NE(Dropped, nullptr);
    EXPECT_EQ(Captions(Group(Bar, 0)), "1 2 3 4 5");
}

} // namespace
