#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct TCountingBar : TFolio {
    using TFolio::TFolio;
    int Paints = 0;
    void Paint() override {
        ++Paints;
        TFolio::Paint();
    }
};

// A shown bar whose paints are counted. Between chunks of work the loop
// runs, as it does when a loader hands its work to the user-interface
// thread piece by piece: without a batch every chunk would be painted.
struct BatchTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TCountingBar* Bar = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 400);
        Bar = new TCountingBar(Form.get());
        Bar->SetBounds(0, 0, 200, 380);
        Bar->SetParent(Form.get());
        Bar->GetGroups()->Add("Open");
        Form->Show();
        Host.RunUntilIdle();
        Bar->Paints = 0;
    }
    TFolioItems* Items() const { return Bar->GetGroups()->GetGroup(0)->GetItems(); }
    void AddInChunks(int Count, int Chunks) {
        for (int C = 0; C < Chunks; ++C) {
            for (int I = 0; I < Count / Chunks; ++I) Items()->Add("Item " + IntToStr(I), -1);
            Host.RunUntilIdle();
        }
    }
};

} // namespace

TEST_F(BatchTest, TenThousandAddsInABatchRepaintOnceAtTheEnd) {
    // Without a batch the chunks show one by one.
    AddInChunks(100, 10);
    EXPECT_EQ(Bar->Paints, 10);
    Bar->Paints = 0;

    Items()->BeginUpdate();
    AddInChunks(10000, 10);
    EXPECT_EQ(Bar->Paints, 0);
    Items()->EndUpdate();
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 1);
    EXPECT_EQ(Items()->GetCount(), 10100);
}

TEST_F(BatchTest, BatchesNestAcrossBothCollectionsAndAnUnmatchedEndDoesNothing) {
    Bar->GetGroups()->BeginUpdate();
    for (int G = 0; G < 50; ++G) Bar->GetGroups()->Add("Group " + IntToStr(G));
    Items()->BeginUpdate();
    AddInChunks(1000, 2);
    Items()->EndUpdate(); // the inner end: still batched
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 0);
    EXPECT_EQ(Bar->GetUpdateCount(), 1);
    Bar->GetGroups()->EndUpdate();
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 1);

    // A batch that changed nothing paints nothing; extra ends are ignored,
    // so the next change still paints.
    Bar->BeginUpdate();
    Bar->EndUpdate();
    Bar->EndUpdate();
    Items()->EndUpdate();
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 1);
    EXPECT_EQ(Bar->GetUpdateCount(), 0);
    Items()->Add("After", -1);
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 2);
}

TEST_F(BatchTest, AnyChangeOfTheBarInABatchWaitsForItsEnd) {
    Bar->BeginUpdate();
    Items()->Add("One", -1);
    Bar->GetGroups()->GetGroup(0)->SetCaption("Renamed");
    Bar->SetGroupCaptionHeight(30);
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 0);
    Bar->EndUpdate();
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->Paints, 1);
}
