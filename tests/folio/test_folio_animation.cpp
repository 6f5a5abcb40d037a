#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/paint/PaintPass.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

// Records, at every repaint request of a frame, the offset of the group whose
// caption leads the slide.
struct TFrameBar : TFolio {
    using TFolio::TFolio;
    int Watched = -1;
    std::vector<int> Offsets;
    // The area each paint covered.
    std::vector<TRect> Clips;
    void Paint() override {
        Clips.push_back(Application->GetPaintPass().CurrentClip());
        TFolio::Paint();
    }
    void Invalidate() override {
        // The finishing step repaints too, once the new group is open.
        if (LI::Animating(*this) && Watched >= 0 && GetVisibleGroup() != LI::TargetGroup(*this))
            Offsets.push_back(LI::AnimOffset(*GetGroups()->GetGroup(Watched)));
        TFolio::Invalidate();
    }
};

struct TCountingDesigner : IDesigner {
    int Modifieds = 0;
    void Modified() override { ++Modifieds; }
    void SelectComponent(TPersistent*) override {}
};

// Runs the loop until the bar's switch has ended; bounded, never hangs.
bool WaitForSwitch(const TFolio& Bar) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (LI::Switching(Bar) && std::chrono::steady_clock::now() < Deadline) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Application->ProcessMessages();
    return !LI::Switching(Bar);
}

struct AnimationTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFrameBar* Bar = nullptr;

    // A bar whose client area is Width x Height with Groups groups.
    void Make(int Width, int Height, int Groups, TFolAlignment Alignment = baVertical) {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 400);
        Bar = new TFrameBar(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAlignment(Alignment);
        Bar->SetBounds(0, 0, Width, Height);
        Bar->SetParent(Form.get());
        for (int I = 0; I < Groups; ++I) {
            TFolioGroup* G = Bar->GetGroups()->Add("Group " + IntToStr(I));
            for (int J = 0; J < 3; ++J) G->GetItems()->Add("Item", -1);
        }
        Form->Show();
        Host.RunUntilIdle();
    }

    // Switches to Target and calls Check once the loop has painted frame
    // number Frame (counting from 1) and no later frame step has run yet.
    // Answers whether that frame was seen.
    template <class F>
    bool SwitchCheckingFrame(int Target, size_t Frame, F Check) {
        Bar->Offsets.clear();
        Bar->SetVisibleGroup(Target);
        bool Seen = false;
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (LI::Switching(*Bar) && std::chrono::steady_clock::now() < Deadline) {
            Application->ProcessMessages();
            if (!Seen && Bar->Offsets.size() == Frame && LI::Animating(*Bar)) {
                Seen = true;
                Check();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return Seen && !LI::Switching(*Bar);
    }
};

std::vector<int> Range(int From, int Step, int Count) {
    std::vector<int> V;
    for (int I = 0; I < Count; ++I) V.push_back(From + I * Step);
    return V;
}

} // namespace

TEST_F(AnimationTest, LinearSlidesShowEveryFrameShortOfTheLimit) {
    Make(240, 300, 4); // D = 300 - 4 x 20 = 220
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(30);
    Bar->Watched = 3;
    Bar->SetVisibleGroup(3); // below: the captions slide up
    EXPECT_TRUE(LI::Switching(*Bar));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Bar->Offsets, Range(0, -30, 8));
    EXPECT_EQ(Bar->GetVisibleGroup(), 3);
    EXPECT_EQ(LI::TargetGroup(*Bar), -1);
    EXPECT_FALSE(LI::Animating(*Bar));
    EXPECT_FALSE(LI::HasPictures(*Bar));
    for (int I = 0; I < 4; ++I) EXPECT_EQ(LI::AnimOffset(*Bar->GetGroups()->GetGroup(I)), 0);

    Bar->Offsets.clear();
    Bar->SetAnimationSpeed(100);
    Bar->Watched = 3; // above: groups 1..3 slide down
    Bar->SetVisibleGroup(0);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Bar->Offsets, Range(0, 100, 3));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
}

TEST_F(AnimationTest, AcceleratingSlideAlongAHorizontalBar) {
    Make(300, 200, 4, baHorizontal); // D = 300 - 80 = 220 along X
    Bar->SetAnimationStyle(asAccelerate);
    Bar->SetAnimationSpeed(30);
    Bar->SetVisibleGroup(2);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    Bar->Offsets.clear();
    Bar->Watched = 2;
    Bar->SetVisibleGroup(0); // positions 0, 30.2, 60.6, 91.2, 122, 153, 184.2, 215.6
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Bar->Offsets, (std::vector<int>{0, 30, 61, 91, 122, 153, 184, 216}));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
}

TEST_F(AnimationTest, SlidesRunTheSameArithmeticAlongEitherAxis) {
    // The pairs not covered above: a linear slide along X and an
    // accelerating one along Y, both opening a group further along, so the
    // captions move back with negative offsets rounded to nearest.
    struct TCase {
        TFolAlignment Alignment;
        TFolAnimationStyle Style;
        std::vector<int> Offsets;
    };
    const TCase Cases[] = {
        {baHorizontal, asLinear, Range(0, -30, 8)},
        {baVertical, asAccelerate, {0, -30, -61, -91, -122, -153, -184, -216}},
    };
    for (const TCase& C : Cases) {
        if (C.Alignment == baHorizontal)
            Make(300, 200, 4, baHorizontal); // D = 300 - 80 along X
        else
            Make(240, 300, 4); // D = 300 - 80 along Y
        Bar->SetAnimationStyle(C.Style);
        Bar->SetAnimationSpeed(30);
        Bar->Watched = 2; // moves with 1 and 2 when opening group 2 from 0
        Bar->SetVisibleGroup(2);
        ASSERT_TRUE(WaitForSwitch(*Bar));
        EXPECT_EQ(Bar->Offsets, C.Offsets)
            << (C.Alignment == baHorizontal ? "horizontal" : "vertical");
        EXPECT_EQ(Bar->GetVisibleGroup(), 2);
        EXPECT_EQ(LI::AnimOffset(*Bar->GetGroups()->GetGroup(3)), 0);
    }
}

TEST_F(AnimationTest, AnUnknownAlignmentSlidesAlongTheAxisItsCaptionsStackOn) {
    // A byte that names neither alignment stacks the captions vertically,
    // so the slide must run down the height too: 300 - 4 x 20 = 220, not
    // the width's 240 - 80.
    Make(240, 300, 4, static_cast<TFolAlignment>(2));
    EXPECT_TRUE(Bar->IsVertical());
    const TRect Last = Bar->GetGroups()->GetGroup(3)->GetCaptionRect();
    EXPECT_EQ(Last.Bottom, 300);
    EXPECT_EQ(Last.Width(), 240);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(30);
    Bar->Watched = 3;
    Bar->SetVisibleGroup(3);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Bar->Offsets, Range(0, -30, 8));
    EXPECT_EQ(Bar->GetVisibleGroup(), 3);
}

TEST_F(AnimationTest, AFramePaintsThePicturesAndCaptionsWhereTheyMoved) {
    // Group 0 is red and group 3 blue; x = 5 stays clear of the centred
    // item captions. At offset 90 the moving captions (20 pixels each) sit
    // 90 pixels from where they rest, over group 0's picture or uncovering it.
    Make(240, 300, 4);
    const TColor Red = 0x0000C0, Blue = 0xC00000;
    Bar->GetGroups()->GetGroup(0)->SetColor(Red);
    Bar->GetGroups()->GetGroup(3)->SetColor(Blue);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(30);
    Host.RunUntilIdle();
    const bool WasDoubleBuffered = Bar->GetDoubleBuffered();
    const bool WasOpaque = Bar->GetControlStyle().Contains(csOpaque);

    struct TProbe {
        int Target;
        int OpenUntil; // rows [20, OpenUntil) show group 0's items
        int CaptionAt; // the first moving caption starts here
        int BlueFrom;  // group 3's items from here to the bottom
    };
    // Opening 3: captions 1-3 rest at 240, 260, 280 and rise by 90.
    // Opening 0 again: they rest at 20, 40, 60 and sink by 90.
    for (const TProbe& P : {TProbe{3, 150, 150, 210}, TProbe{0, 110, 110, 170}}) {
        Bar->Watched = 3;
        EXPECT_TRUE(SwitchCheckingFrame(P.Target, 4, [&] {
            EXPECT_EQ(std::abs(Bar->Offsets.back()), 90);
            EXPECT_EQ(Host.Pixel(Form.get(), 5, 25), Red) << P.Target;
            EXPECT_EQ(Host.Pixel(Form.get(), 5, P.OpenUntil - 1), Red) << P.Target;
            const TColor Caption = Host.Pixel(Form.get(), 5, P.CaptionAt + 5);
            EXPECT_NE(Caption, Red) << P.Target;
            EXPECT_NE(Caption, Blue) << P.Target;
            EXPECT_EQ(Host.Pixel(Form.get(), 5, P.BlueFrom + 1), Blue) << P.Target;
            EXPECT_EQ(Host.Pixel(Form.get(), 5, 298), Blue) << P.Target;
        })) << P.Target;
        // Painting returns to how the bar did it before the slide.
        EXPECT_EQ(Bar->GetDoubleBuffered(), WasDoubleBuffered);
        EXPECT_EQ(Bar->GetControlStyle().Contains(csOpaque), WasOpaque);
    }
}

TEST_F(AnimationTest, CaptionsTheApplicationDrawsMoveOverAnErasedBackground) {
    // An application's caption drawing need not cover the whole caption;
    // what it leaves shows the bar's colour, not the previous frame.
    Make(240, 300, 4);
    Bar->GetGroups()->GetGroup(0)->SetColor(0x0000C0);
    Bar->SetCustomDrawGroupCaption(true);
    Bar->OnDrawGroupCaption = [](TObject*, TCanvas*, TFolioGroup*, const TRect&, TFolGroupState) {};
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(30);
    Bar->Watched = 3;
    // At offset 90 caption 1 covers rows 150 to 170, group 0's items a
    // frame earlier.
    EXPECT_TRUE(SwitchCheckingFrame(
        3, 4, [&] { EXPECT_EQ(Host.Pixel(Form.get(), 5, 155), ColorToRGB(Bar->GetColor())); }));
}

TEST_F(AnimationTest, CaptionsFillingTheBarSwitchWithoutFrames) {
    Make(240, 80, 4); // D = 80 - 4 x 20 = 0
    Bar->SetAnimationStyle(asLinear);
    Bar->Watched = 3;
    Bar->SetVisibleGroup(3);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_TRUE(Bar->Offsets.empty());
    EXPECT_EQ(Bar->GetVisibleGroup(), 3);
    EXPECT_FALSE(LI::HasPictures(*Bar));
}

TEST_F(AnimationTest, ImmediateSwitchesAndIgnoredRequests) {
    Make(240, 300, 3);
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(2);
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
    EXPECT_FALSE(LI::Switching(*Bar));
    EXPECT_EQ(LI::TargetGroup(*Bar), -1);

    Bar->SetAnimationStyle(asLinear);
    for (int Bad : {-1, 3, 2}) {
        Bar->SetVisibleGroup(Bad);
        EXPECT_FALSE(LI::Switching(*Bar)) << Bad;
        EXPECT_EQ(Bar->GetVisibleGroup(), 2);
    }
    Bar->BeginLoading();
    Bar->SetVisibleGroup(0);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_FALSE(LI::Switching(*Bar));
    Bar->Loaded();

    // A single group opens at once too.
    Bar->GetGroups()->Clear();
    Bar->GetGroups()->Add("only");
    Bar->GetGroups()->GetGroup(0)->SetVisible(true);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_FALSE(LI::Switching(*Bar));
}

TEST_F(AnimationTest, RequestsDuringASwitchWaitAndTheLastOneWins) {
    Make(240, 300, 4);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(100);
    Bar->SetVisibleGroup(3);
    Bar->SetVisibleGroup(3); // the group being opened: nothing changes
    EXPECT_EQ(LI::TargetGroup(*Bar), 3);
    Bar->SetVisibleGroup(1);
    Bar->SetVisibleGroup(2); // replaces the request for 1
    EXPECT_EQ(LI::TargetGroup(*Bar), 3);
    // The running switch ends at 3, then the waiting request slides to 2.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    bool SawThree = false;
    while ((LI::Switching(*Bar) || Bar->GetVisibleGroup() != 2) &&
           std::chrono::steady_clock::now() < Deadline) {
        Application->ProcessMessages();
        SawThree = SawThree || Bar->GetVisibleGroup() == 3;
        EXPECT_TRUE(LI::TargetGroup(*Bar) == -1 || LI::TargetGroup(*Bar) == 3 ||
                    LI::TargetGroup(*Bar) == 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_TRUE(SawThree);
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);

    // Asking for the opening group again withdraws a waiting request.
    Bar->SetVisibleGroup(0);
    Bar->SetVisibleGroup(3);
    Bar->SetVisibleGroup(0);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
}

TEST_F(AnimationTest, DestroyingTheBarMidSwitchStopsTheWorkerFirst) {
    for (int Frames : {0, 2}) {
        Make(240, 300, 4);
        Bar->SetAnimationStyle(asLinear);
        Bar->SetAnimationSpeed(1); // a long slide
        Bar->SetVisibleGroup(3);
        for (int I = 0; I < Frames * 20; ++I) {
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Form.reset(); // the bar goes with its form; sanitizers watch the rest
        Application->ProcessMessages();
    }
}

TEST_F(AnimationTest, ClosingTheApplicationMidSwitchIsClean) {
    Make(240, 300, 4);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(1);
    Bar->SetVisibleGroup(3);
    for (int I = 0; I < 30; ++I) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PostQuitMessage(0);
    Application->Run(); // ends the loop and refuses later steps
    Form.reset();
    ResumeSynchronize();
}

TEST_F(AnimationTest, TheEndOfASwitchMarksTheDesignedFormModified) {
    Make(240, 300, 3);
    TCountingDesigner Designer;
    Form->SetDesigner(&Designer);
    Bar->SetDesigning(true);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(100);
    Bar->SetVisibleGroup(1);
    EXPECT_EQ(Designer.Modifieds, 0);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_EQ(Designer.Modifieds, 1);
    // An immediate switch is saved too; a refused request is not.
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(2);
    Bar->SetVisibleGroup(2);
    EXPECT_EQ(Designer.Modifieds, 2);
    Form->SetDesigner(nullptr);
}

TEST_F(AnimationTest, ReducedMotionOpensTheGroupAtOnceWithoutAFrame) {
    Make(240, 300, 4);
    Bar->SetAnimationStyle(asLinear);
    Bar->Watched = 3;
    int Clicks = 0;
    Bar->OnGroupClick = [&](TObject*, TFolioGroup*) { ++Clicks; };
    Application->SetReducedMotion(true);
    struct TRestore {
        ~TRestore() { Application->SetReducedMotion(false); }
    } Restore;
    // Through real input: a click on the last caption.
    const TRect Caption = Bar->GetGroups()->GetGroup(3)->GetCaptionRect();
    const TPoint At = Bar->ClientToScreen(Point(Caption.Left + 10, Caption.Top + 5));
    Host.Click(At.X, At.Y);
    EXPECT_FALSE(LI::Switching(*Bar));
    EXPECT_EQ(Bar->GetVisibleGroup(), 3);
    EXPECT_EQ(Clicks, 1);
    Host.RunUntilIdle();
    EXPECT_TRUE(Bar->Offsets.empty());
    // The same switch with motion slides through frames.
    Application->SetReducedMotion(false);
    Bar->SetVisibleGroup(0);
    EXPECT_TRUE(LI::Switching(*Bar));
    ASSERT_TRUE(WaitForSwitch(*Bar));
    EXPECT_FALSE(Bar->Offsets.empty());
}

// Every frame repaints only where its groups moved, and the bar then shows
// exactly what repainting it whole would show: compared, frame by frame,
// with a whole repaint made at once (before any later frame step), across
// both axes, both directions, neighbouring and distant groups, and the
// three backgrounds.
TEST_F(AnimationTest, EachFrameShowsWhatAWholeRepaintWouldShow) {
    struct TCase {
        const char* Name;
        TFolAlignment Alignment;
        int From, To;
        TFolGroupBackgroungStyle Style;
    };
    const TCase Cases[] = {
        {"down to the next group", baVertical, 0, 1, gbGradient},
        {"up to the previous group", baVertical, 3, 2, gbColor},
        {"down across two groups", baVertical, 0, 3, gbBitmap},
        {"up across two groups", baVertical, 4, 1, gbGradient},
        {"right across a group", baHorizontal, 1, 3, gbGradient},
        {"left to the first group", baHorizontal, 3, 0, gbBitmap},
    };
    TBitmap Tile;
    std::vector<TPixel> Pattern;
    for (int I = 0; I < 7 * 5; ++I) Pattern.push_back(0xFF000000u | (I * 0x0A1B2Cu & 0xFFFFFFu));
    Tile.SetPixels(7, 5, Pattern);
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        if (C.Alignment == baHorizontal)
            Make(330, 160, 5, baHorizontal);
        else
            Make(200, 330, 5);
        for (int G = 0; G < 5; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->GetGroup(G);
            Group->SetStyle(C.Style);
            Group->SetStartColor(static_cast<TColor>(0x204060 + G * 0x101010));
            Group->SetEndColor(0xF0E0D0);
            Group->SetColor(static_cast<TColor>(0x3070A0 + G * 0x20));
            Group->SetBitmap(&Tile);
            Group->SetFixedBitmap(G % 2 == 0);
        }
        Bar->SetAnimationStyle(asNone);
        Bar->SetVisibleGroup(C.From);
        Bar->SetAnimationStyle(asLinear);
        Bar->SetAnimationSpeed(13);
        Host.RunUntilIdle();

        const TPixelSurface* S = Form->GetSurface();
        ASSERT_TRUE(S && S->Valid());
        const TRect Whole = Bar->GetBoundsRect();
        auto Picture = [&] {
            std::vector<TPixel> P;
            for (int Y = Whole.Top; Y < Whole.Bottom; ++Y)
                P.insert(P.end(), S->Row(Y) + Whole.Left, S->Row(Y) + Whole.Right);
            return P;
        };
        int Frames = 0, Narrow = 0, Wrong = 0;
        Bar->Clips.clear();
        Bar->SetVisibleGroup(C.To);
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (LI::Switching(*Bar) && std::chrono::steady_clock::now() < Deadline) {
            Application->ProcessMessages();
            if (LI::Animating(*Bar) && !Bar->Clips.empty()) {
                ++Frames;
                for (const TRect& R : Bar->Clips) Narrow += R != Bar->GetClientRect();
                const std::vector<TPixel> Shown = Picture();
                Bar->TCustomControl::Invalidate();
                Bar->Update();
                Wrong += Shown != Picture();
                Bar->Clips.clear();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(LI::Switching(*Bar));
        EXPECT_GT(Frames, 3);
        EXPECT_GT(Narrow, 0) << "no frame repainted less than the whole bar";
        EXPECT_EQ(Wrong, 0) << "of " << Frames << " frames";
        Form.reset();
    }
}

// A descendant whose Invalidate goes past the bar's own leaves a frame's
// span unused: a later repaint of the bar still covers all of it.
TEST_F(AnimationTest, AFramesSpanNeverNarrowsALaterRepaint) {
    struct TPastBar : TFrameBar {
        using TFrameBar::TFrameBar;
        bool Past = true;
        void Invalidate() override {
            if (Past)
                TCustomControl::Invalidate();
            else
                TFrameBar::Invalidate();
        }
    };
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 400);
    auto* Past = new TPastBar(Form.get());
    Bar = Past;
    Bar->SetBorderStyle(bsNone);
    Bar->SetBounds(0, 0, 200, 300);
    Bar->SetParent(Form.get());
    for (int I = 0; I < 4; ++I) Bar->GetGroups()->Add("Group " + IntToStr(I));
    Form->Show();
    Host.RunUntilIdle();
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(40);
    Bar->SetVisibleGroup(2);
    ASSERT_TRUE(WaitForSwitch(*Bar));
    Host.RunUntilIdle();

    Past->Past = false;
    Bar->Clips.clear();
    Bar->GetGroups()->GetGroup(0)->SetCaption("Renamed");
    Host.RunUntilIdle();
    ASSERT_FALSE(Bar->Clips.empty());
    EXPECT_EQ(Bar->Clips.back(), Bar->GetClientRect());
}
