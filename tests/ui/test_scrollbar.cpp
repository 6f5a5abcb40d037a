#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ScrollBarTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TScrollBar* Bar = nullptr;
    std::vector<TScrollCode> Codes;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 300);
        Bar = new TScrollBar(Form.get());
        Bar->SetParent(Form.get());
        Bar->SetKind(sbVertical);
        Bar->SetBounds(10, 10, 16, 216); // 16-pixel arrows, a 184-pixel track
        Bar->SetParams(0, 0, 99);
        Bar->SetPageSize(10);
        Bar->SetLargeChange(10);
        Bar->OnScroll = [this](TObject*, TScrollCode Code, int&) { Codes.push_back(Code); };
        Form->Show();
        Host.RunUntilIdle();
    }

    TPoint At(int Y) { return Bar->ClientToScreen(Point(8, Y)); }
};

TEST_F(ScrollBarTest, TheThumbShowsThePageAndThePosition) {
    struct Case {
        int Position;
        TRect Thumb;
    };
    // Ten of a hundred: an 18-pixel thumb; positions run 0 .. 90.
    const Case Cases[] = {{0, Rect(0, 16, 16, 34)},
                          {90, Rect(0, 182, 16, 200)},
                          {45, Rect(0, 99, 16, 117)},
                          {200, Rect(0, 182, 16, 200)}};
    for (const Case& C : Cases) {
        Bar->SetPosition(C.Position);
        EXPECT_EQ(Bar->ThumbRect(), C.Thumb) << C.Position;
    }
    EXPECT_EQ(Bar->GetPosition(), 90);
    EXPECT_EQ(Bar->PartAt(Point(8, 5)), sbpLineUp);
    EXPECT_EQ(Bar->PartAt(Point(8, 100)), sbpPageUp);
    EXPECT_EQ(Bar->PartAt(Point(8, 190)), sbpThumb);
    EXPECT_EQ(Bar->PartAt(Point(8, 210)), sbpLineDown);
    // Nothing to scroll: no thumb.
    Bar->SetParams(0, 0, 0);
    EXPECT_TRUE(Bar->ThumbRect().IsEmpty());
}

TEST_F(ScrollBarTest, AHeldArrowStepsAndRepeatsUntilReleased) {
    int Changes = 0;
    Bar->OnChange = [&](TObject*) { ++Changes; };
    Host.MoveTo(At(210));
    Host.Press();
    EXPECT_EQ(Bar->GetPosition(), 1);
    Host.Run(300);
    EXPECT_EQ(Bar->GetPosition(), 1);
    Host.Run(190); // the first repeat at 350 ms, then every 50 ms
    EXPECT_EQ(Bar->GetPosition(), 4);
    Host.Release();
    Host.Run(500);
    EXPECT_EQ(Bar->GetPosition(), 4);
    EXPECT_EQ(Changes, 4);
    EXPECT_EQ(Codes.back(), scEndScroll);
    EXPECT_EQ(Codes.front(), scLineDown);
}

TEST_F(ScrollBarTest, TheTrackPagesTowardsThePointerAndStopsUnderIt) {
    Host.MoveTo(At(150));
    Host.Press();
    EXPECT_EQ(Bar->GetPosition(), 10);
    Host.Run(2000);
    // The thumb came to the pointer and the paging stopped there.
    const TRect T = Bar->ThumbRect();
    EXPECT_LE(T.Top, 150);
    EXPECT_GT(T.Bottom + 18, 150);
    Host.Release();
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithThePosition) {
    Host.Drag(At(20), At(20 + 83), 4);
    EXPECT_EQ(Bar->GetPosition(), 45);
    ASSERT_GE(Codes.size(), 3u);
    EXPECT_EQ(Codes.front(), scTrack);
    EXPECT_EQ(Codes[Codes.size() - 2], scPosition);
    EXPECT_EQ(Codes.back(), scEndScroll);
    Host.Drag(At(110), At(400), 2);
    EXPECT_EQ(Bar->GetPosition(), 90);
}

TEST_F(ScrollBarTest, KeysStepPageAndJumpWhenFocused) {
    Bar->SetTabStop(true);
    Bar->SetFocus();
    const std::pair<unsigned short, int> Steps[] = {{VK_DOWN, 1}, {VK_NEXT, 11},  {VK_END, 90},
                                                    {VK_UP, 89},  {VK_PRIOR, 79}, {VK_HOME, 0}};
    for (auto [Key, Pos] : Steps) {
        Host.Key(Key);
        EXPECT_EQ(Bar->GetPosition(), Pos);
    }
}

} // namespace
