#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

int LiveObjects = 0;

struct TCountedObject : TDragObject {
    int Value = 7;
    TCountedObject() { ++LiveObjects; }
    ~TCountedObject() override { --LiveObjects; }
};

// A control that accepts drags and logs the end of a drag it was passed
// over; its DragOver reads the source after the application's handler ran,
// as a control that builds on the inherited handling does.
class TDragTarget : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<String>* Log = nullptr;
    int SourceValue = 0;

protected:
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override {
        TCustomControl::DragOver(Source, X, Y, State, Accept);
        if (auto* Counted = dynamic_cast<TCountedObject*>(Source)) SourceValue = Counted->Value;
    }
    void DragCanceled() override { Log->push_back("cancel " + GetName()); }
};

// Three targets in a row at screen x 110..160, 210..260, 310..360 (y 60..110);
// the first is also the source.
struct DragDropTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    std::vector<TDragTarget*> T;
    std::vector<String> Log;

    void SetUp() override {
        LiveObjects = 0;
        Form->SetBounds(100, 50, 400, 200);
        for (int I = 0; I < 3; ++I) {
            auto* C = new TDragTarget(Form.get());
            C->SetName("T" + IntToStr(I));
            C->SetBounds(10 + 100 * I, 10, 50, 50);
            C->SetParent(Form.get());
            C->Log = &Log;
            C->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) {
                Accept = true;
            };
            C->OnDragDrop = [this, C](TObject*, TObject*, int, int) {
                Log.push_back("drop " + C->GetName());
            };
            T.push_back(C);
        }
        T[0]->SetDragMode(dmAutomatic);
        T[0]->OnStartDrag = [](TObject*, TDragObject*& Object) { Object = new TCountedObject; };
        Form->Show();
    }
    // Press on the source and move over the first N targets.
    void DragAcross(int N) {
        Host.MoveTo(120, 70);
        Host.Press();
        for (int I = 0; I < N; ++I) Host.MoveTo(120 + 100 * I + 5, 70);
    }
};

TEST_F(DragDropTest, EveryControlPassedOverHearsTheEndUnlessItTookTheDrop) {
    struct {
        const char* Name;
        int Over;
        bool Escape;
        std::vector<String> Expected;
    } Cases[] = {
        {"dropped on the last", 3, false, {"drop T2", "cancel T0", "cancel T1"}},
        {"cancelled", 3, true, {"cancel T0", "cancel T1", "cancel T2"}},
        {"released over nothing", 2, false, {"cancel T0", "cancel T1"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        // Each drag starts with a press of its own, not the second half of a
        // double click on the source.
        Host.Run(1000);
        DragAcross(C.Over);
        if (C.Over == 2) Host.MoveTo(300, 400); // below the form
        if (C.Escape) Host.Key(VK_ESCAPE);
        Host.Release();
        EXPECT_EQ(Log, C.Expected);
        EXPECT_EQ(LiveObjects, 0);
    }
}

TEST_F(DragDropTest, AHandlerThatEndsTheDragLeavesTheObjectAliveUntilItReturns) {
    T[1]->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) {
        Accept = true;
        Application->GetDragManager().EndDrag(false);
    };
    DragAcross(2);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(T[1]->SourceValue, 7) << "read after the handler ended the drag";
    EXPECT_EQ(LiveObjects, 0);
    Host.Release();
}

TEST_F(DragDropTest, ADropHandlerThatDestroysTheSourceEndsWithoutItsEndEvent) {
    bool Ended = false;
    T[0]->OnEndDrag = [&](TObject*, TObject*, int, int) { Ended = true; };
    T[1]->OnDragDrop = [&](TObject*, TObject*, int, int) { delete T[0]; };
    DragAcross(2);
    Host.Release();
    EXPECT_FALSE(Ended);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(LiveObjects, 0);
}

TEST_F(DragDropTest, DestroyingTheSourceEndsTheDragForEveryControlPassedOver) {
    DragAcross(3);
    delete T[0];
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Log, (std::vector<String>{"cancel T1", "cancel T2"}));
    EXPECT_EQ(LiveObjects, 0);
    Host.Release();
}

TEST_F(DragDropTest, AnObjectHandedOverForACancelledStartIsFreed) {
    T[0]->OnStartDrag = [](TObject* Sender, TDragObject*& Object) {
        Object = new TCountedObject;
        static_cast<TControl*>(Sender)->EndDrag(false);
    };
    DragAcross(2);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(LiveObjects, 0);
    Host.Release();
}

} // namespace
