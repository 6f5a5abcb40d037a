// The bar's end in the middle of something: destroyed, its form closed, or
// the application ended while a switch slides, a caption is being edited or
// an item is being dragged. Nothing of the bar may be used afterwards (the
// sanitizer builds watch memory and threads), no event may come after it,
// and the application goes on working: a new bar switches, edits and drags.

#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

enum class TSituation { Switch, Edit, Drag };
enum class TEnding { DestroyBar, CloseForm, EndApplication };

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Runs the loop for a few frames of real time, for the slide's worker.
void Pump(int Milliseconds) {
    for (int I = 0; I < Milliseconds; ++I) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

struct TeardownTest : ::testing::TestWithParam<std::tuple<TSituation, TEnding>> {
    THeadlessHost Host;
    TForm* Form = nullptr;
    TFolio* Bar = nullptr;
    int EventsAfterTheEnd = 0;
    bool Ended = false;

    // A shown form with a bar of three groups of five items.
    TFolio* MakeBar() {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 340);
        auto* B = new TFolio(Form);
        B->SetBounds(0, 0, 200, 300);
        B->SetParent(Form);
        for (int G = 0; G < 3; ++G) {
            TFolioGroup* Group = B->GetGroups()->Add("Group " + IntToStr(G));
            for (int I = 0; I < 5; ++I) Group->GetItems()->Add("Item " + IntToStr(I), -1);
        }
        Form->Show();
        Host.RunUntilIdle();
        return B;
    }

    TFolioItem* FirstItem(TFolio& B) { return B.GetVisibleGroupObject()->GetItems()->GetItem(0); }

    void Enter(TSituation Situation) {
        switch (Situation) {
        case TSituation::Switch:
            Bar->SetAnimationStyle(asLinear);
            Bar->SetAnimationSpeed(1); // a long slide
            Bar->SetVisibleGroup(2);
            // The worker's first frame comes when the machine lets it run.
            for (int Waited = 0; Waited < 5000 && !LI::Animating(*Bar); Waited += 10) Pump(10);
            ASSERT_TRUE(LI::Animating(*Bar));
            break;
        case TSituation::Edit:
            ASSERT_TRUE(Bar->EditItem(FirstItem(*Bar)));
            Host.Type("half typed");
            ASSERT_TRUE(LI::Editing(*Bar));
            break;
        case TSituation::Drag: {
            const TPoint From = Centre(FirstItem(*Bar)->GetImageRect());
            Host.MoveTo(Bar->ClientToScreen(From));
            Host.Press();
            Host.MoveTo(Bar->ClientToScreen(Point(From.X + 5, From.Y + 40)));
            ASSERT_TRUE(Application->GetDragManager().Active());
            break;
        }
        }
    }

    void End(TEnding Ending) {
        switch (Ending) {
        case TEnding::DestroyBar:
            delete Bar;
            Host.RunUntilIdle();
            break;
        case TEnding::CloseForm: {
            bool Destroyed = false;
            Form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
            Form->OnDestroy = [&](TObject*) { Destroyed = true; };
            Form->Close();
            Host.RunUntilIdle();
            ASSERT_TRUE(Destroyed);
            Form = nullptr;
            break;
        }
        case TEnding::EndApplication:
            // The loop ends first, then the application's forms go, as at
            // the end of a program; a slide's worker is refused its steps.
            PostQuitMessage(0);
            Application->Run();
            delete Form;
            Form = nullptr;
            ResumeSynchronize();
            break;
        }
        Bar = nullptr;
    }
};

} // namespace

TEST_P(TeardownTest, TheBarEndsCleanlyAndTheApplicationGoesOn) {
    const auto [Situation, Ending] = GetParam();
    const std::size_t Timers = Application->TimerCount();
    Bar = MakeBar();
    for (auto* Event : {&Bar->OnEditedItem})
        *Event = [this](TObject*, TFolioItem*, String&) {
            if (Ended) ++EventsAfterTheEnd;
        };
    Bar->OnItemClick = [this](TObject*, TFolioItem*) {
        if (Ended) ++EventsAfterTheEnd;
    };
    Bar->OnGroupClick = [this](TObject*, TFolioGroup*) {
        if (Ended) ++EventsAfterTheEnd;
    };
    Enter(Situation);
    Ended = true;
    End(Ending);
    Host.Release(); // the user lets go of a dragged item only now
    Host.Key(VK_RETURN);
    Pump(30);
    EXPECT_EQ(EventsAfterTheEnd, 0);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Application->GetDragManager().DragControl(), nullptr);
    EXPECT_EQ(Application->TimerCount(), Timers);
    delete Form;
    Form = nullptr;

    // A new bar on a new form does everything once more.
    TFolio* Next = MakeBar();
    Next->SetAnimationStyle(asLinear);
    Next->SetAnimationSpeed(60);
    Next->SetVisibleGroup(1);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (LI::Switching(*Next) && std::chrono::steady_clock::now() < Deadline) Pump(1);
    EXPECT_EQ(Next->GetVisibleGroup(), 1);
    int Edits = 0;
    Next->OnEditedItem = [&](TObject*, TFolioItem*, String&) { ++Edits; };
    ASSERT_TRUE(Next->EditItem(FirstItem(*Next)));
    Host.Type("x");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Edits, 1);
    EXPECT_EQ(FirstItem(*Next)->GetCaption(), "x"); // the editor starts with all selected
    const TPoint From = Centre(FirstItem(*Next)->GetImageRect());
    Host.MoveTo(Next->ClientToScreen(From));
    Host.Press();
    Host.MoveTo(Next->ClientToScreen(Point(From.X, From.Y + 40)));
    EXPECT_TRUE(Application->GetDragManager().Active());
    Host.Release();
    EXPECT_FALSE(Application->GetDragManager().Active());
    delete Form;
    Host.RunUntilIdle();
}

namespace {

std::string CaseName(const ::testing::TestParamInfo<TeardownTest::ParamType>& Info) {
    static const char* const Situations[] = {"Switch", "Edit", "Drag"};
    static const char* const Endings[] = {"DestroyBar", "CloseForm", "EndApplication"};
    return std::string("Mid") + Situations[static_cast<int>(std::get<0>(Info.param))] +
           Endings[static_cast<int>(std::get<1>(Info.param))];
}

} // namespace

INSTANTIATE_TEST_SUITE_P(
    MidSwitchEditAndDrag, TeardownTest,
    ::testing::Combine(::testing::Values(TSituation::Switch, TSituation::Edit, TSituation::Drag),
                       ::testing::Values(TEnding::DestroyBar, TEnding::CloseForm,
                                         TEnding::EndApplication)),
    CaseName);
