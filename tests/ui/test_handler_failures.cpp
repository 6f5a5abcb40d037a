// A handler that throws must not leave the control layer half way through a
// change: after the failure, aligning, painting, dragging and editing work
// as before.

#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/paint/PaintPass.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace folio;

namespace {

class TFailing : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool FailPaint = false;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        if (FailPaint) throw std::runtime_error("paint failed");
    }
};

struct HandlerFailureTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    int Reported = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        // Failures in the loop's own work are reported, not thrown.
        Application->OnException = [this](TObject*, const std::exception&) { ++Reported; };
    }
    void TearDown() override {
        Application->OnException = nullptr;
        Form.reset();
    }
    TFailing* Add(int L, int T, int W, int H) {
        auto* C = new TFailing(Form.get());
        C->SetBounds(L, T, W, H);
        C->SetParent(Form.get());
        return C;
    }
};

TEST_F(HandlerFailureTest, AlignmentRunsAgainAfterAResizeHandlerFailed) {
    TFailing* Client = Add(0, 0, 10, 10);
    Client->SetAlign(alClient);
    Form->Show();
    Client->OnResize = [](TObject*) { throw std::runtime_error("resize failed"); };
    EXPECT_THROW(Form->SetClientWidth(250), std::runtime_error);
    Client->OnResize = nullptr;
    Form->SetClientWidth(260);
    EXPECT_EQ(Client->GetWidth(), 260);
}

TEST_F(HandlerFailureTest, PaintingGoesOnAfterAPaintFailed) {
    TFailing* C = Add(10, 10, 50, 50);
    Form->Show();
    Host.RunUntilIdle();
    C->FailPaint = true;
    C->Invalidate();
    Host.RunUntilIdle();
    EXPECT_EQ(Reported, 1);
    EXPECT_FALSE(Application->GetPaintPass().Painting());
    C->FailPaint = false;
    const int Paints = C->Paints;
    C->Invalidate();
    Host.RunUntilIdle();
    EXPECT_EQ(C->Paints, Paints + 1);
}

TEST_F(HandlerFailureTest, ADropHandlerThatFailsEndsTheDrag) {
    TFailing* Source = Add(10, 10, 50, 50);
    TFailing* Target = Add(150, 10, 100, 100);
    Source->SetDragMode(dmAutomatic);
    int Ends = 0;
    Source->OnEndDrag = [&](TObject*, TObject*, int, int) { ++Ends; };
    Target->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& Accept) {
        Accept = true;
    };
    Target->OnDragDrop = [](TObject*, TObject*, int, int) {
        throw std::runtime_error("drop failed");
    };
    Form->Show();
    Host.MoveTo(20, 20);
    Host.Press();
    Host.MoveTo(200, 50);
    ASSERT_TRUE(Application->GetDragManager().Active());
    EXPECT_THROW(Host.Release(), std::runtime_error);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Application->GetDragManager().DragControl(), nullptr);
    // The next drag starts and ends as usual (a second later, so that its
    // press is not the second half of a double click).
    Host.Run(1000);
    int Drops = 0;
    Target->OnDragDrop = [&](TObject*, TObject*, int, int) { ++Drops; };
    Host.Drag(Point(20, 20), Point(200, 50));
    EXPECT_EQ(Drops, 1);
    EXPECT_EQ(Ends, 1);
}

TEST_F(HandlerFailureTest, AnEditBoxStaysAnEditBoxAfterAChangeHandlerFailed) {
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Form->Show();
    Edit->SetFocus();
    Edit->OnChange = [](TObject*) { throw std::runtime_error("change failed"); };
    EXPECT_THROW(Host.Type("x"), std::runtime_error);
    Edit->OnChange = nullptr;
    // Text set by the program puts the caret at its start again.
    Edit->SetText("abc");
    EXPECT_EQ(Edit->GetCaretPos(), 0);
}

} // namespace
