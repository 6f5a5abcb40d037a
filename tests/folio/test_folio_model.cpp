#include "folio/Folio.h"

#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace folio;

namespace {

// A bar that records every deletion event as "g:<caption>" or "i:<caption>".
struct TRecordingBar {
    // The log outlives the bar, whose destruction still reports deletions.
    std::vector<std::string> Log;
    TFolio Bar{nullptr};

    TRecordingBar() {
        Bar.SetAnimationStyle(asNone);
        Bar.OnGroupDeletion = [this](TObject* Sender, TFolioGroup* G) {
            EXPECT_EQ(Sender, &Bar);
            Log.push_back("g:" + G->GetCaption());
        };
        Bar.OnItemDeletion = [this](TObject* Sender, TFolioItem* I) {
            EXPECT_EQ(Sender, &Bar);
            Log.push_back("i:" + I->GetCaption());
        };
    }
    TFolioGroups& Groups() { return *Bar.GetGroups(); }
};

std::vector<std::string> Captions(const TFolioItems& Items) {
    std::vector<std::string> Result;
    for (int I = 0; I < Items.GetCount(); ++I) Result.push_back(Items.GetItem(I)->GetCaption());
    return Result;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(FolioModel, DeletionEventsComeItemsFirstInIndexOrder) {
    std::vector<std::string> Log;
    {
        TRecordingBar R;
        TFolioGroup* A = R.Groups().Add("A");
        A->GetItems()->Add("a1", 0);
        A->GetItems()->Add("a2", 1);
        R.Groups().Add("B")->GetItems()->Add("b1", 0);
        R.Groups().Add("C");

        R.Groups().GetGroup(1)->GetItems()->Clear();
        EXPECT_EQ(R.Log, (Strings{"i:b1"}));
        R.Log.clear();
        R.Bar.OnGroupDeletion = [&Log](TObject*, TFolioGroup* G) {
            Log.push_back("g:" + G->GetCaption());
        };
        R.Bar.OnItemDeletion = [&Log](TObject*, TFolioItem* I) {
            Log.push_back("i:" + I->GetCaption());
        };
    }
    // Destroying the bar destroys the groups from the first, each after its items.
    EXPECT_EQ(Log, (Strings{"i:a1", "i:a2", "g:A", "g:B", "g:C"}));
}

TEST(FolioModel, ClearFiresOncePerItemAndTheDeletedItemIsOutOfItsList) {
    TRecordingBar R;
    TFolioItems* Items = R.Groups().Add("G")->GetItems();
    for (const char* C : {"x", "y", "z"}) Items->Add(C, -1);
    std::vector<int> Indices;
    R.Bar.OnItemDeletion = [&](TObject*, TFolioItem* I) {
        Indices.push_back(I->GetIndex());
        EXPECT_EQ(I->GetItems(), Items);
        Indices.push_back(Items->GetCount());
    };
    Items->Clear();
    EXPECT_EQ(Indices, (std::vector<int>{-1, 2, -1, 1, -1, 0}));
    EXPECT_EQ(Items->GetCount(), 0);
}

TEST(FolioModel, FirstGroupOpensAndInsertsRequestTheNewGroup) {
    TRecordingBar R;
    EXPECT_EQ(R.Bar.GetVisibleGroup(), -1);
    R.Groups().Add("A");
    EXPECT_EQ(R.Bar.GetVisibleGroup(), 0);
    R.Groups().Add("B");
    R.Groups().Add("C");
    EXPECT_EQ(R.Bar.GetVisibleGroup(), 0);

    // Inserting at the open index asks for nothing that is carried out:
    // the new group simply becomes the open one.
    TFolioGroup* N = R.Groups().Insert(0, "N");
    EXPECT_EQ(R.Bar.GetVisibleGroup(), 0);
    EXPECT_TRUE(N->GetVisible());

    TFolioGroup* M = R.Groups().Insert(2, "M");
    EXPECT_EQ(R.Bar.GetVisibleGroup(), 2);
    EXPECT_TRUE(M->GetVisible());
    EXPECT_THROW(R.Groups().Insert(7, "bad"), EListError);
    EXPECT_EQ(R.Groups().GetCount(), 5);
}

TEST(FolioModel, VisibleGroupFollowsDeletions) {
    TRecordingBar R;
    for (const char* C : {"A", "B", "C", "D"}) R.Groups().Add(C);
    R.Bar.SetVisibleGroup(2);
    ASSERT_EQ(R.Bar.GetVisibleGroup(), 2);

    R.Groups().GetGroup(0)->Delete(); // above the open one: same group stays open
    EXPECT_EQ(R.Bar.GetVisibleGroupObject()->GetCaption(), "C");
    R.Groups().GetGroup(1)->Delete(); // the open one: the group before it opens
    EXPECT_EQ(R.Bar.GetVisibleGroupObject()->GetCaption(), "B");
    R.Groups().Delete(R.Groups().GetGroup(0)); // open and first: index stays 0
    EXPECT_EQ(R.Bar.GetVisibleGroup(), 0);
    EXPECT_EQ(R.Bar.GetVisibleGroupObject()->GetCaption(), "D");
    R.Groups().Clear();
    EXPECT_EQ(R.Bar.GetVisibleGroup(), -1);
    EXPECT_EQ(R.Bar.GetVisibleGroupObject(), nullptr);
}

TEST(FolioModel, MoveAndMoveToPositions) {
    TRecordingBar R;
    TFolioItems* A = R.Groups().Add("A")->GetItems();
    TFolioItems* B = R.Groups().Add("B")->GetItems();
    for (const char* C : {"1", "2", "3", "4", "5"}) A->Add(C, -1);
    B->Add("b", -1);

    A->Move(A->GetItem(0), 99); // beyond the count appends
    EXPECT_EQ(Captions(*A), (Strings{"2", "3", "4", "5", "1"}));
    A->Move(A->GetItem(0), -1); // negative does nothing
    A->Move(nullptr, 0);
    EXPECT_EQ(Captions(*A), (Strings{"2", "3", "4", "5", "1"}));
    A->Move(A->GetItem(4), 1);
    EXPECT_EQ(Captions(*A), (Strings{"2", "1", "3", "4", "5"}));

    // Target's index is taken after the removal: moving "2" after "4" lands
    // it directly after "4".
    A->GetItem(0)->MoveTo(A->GetItem(3), false);
    EXPECT_EQ(Captions(*A), (Strings{"1", "3", "4", "2", "5"}));
    A->GetItem(4)->MoveTo(A->GetItem(0), true);
    EXPECT_EQ(Captions(*A), (Strings{"5", "1", "3", "4", "2"}));
    TFolioItem* Self = A->GetItem(2);
    Self->MoveTo(Self, true);
    EXPECT_EQ(Self->GetIndex(), 2);

    // Into another group: every reference follows.
    TFolioItem* Moved = A->GetItem(1);
    Moved->MoveTo(B->GetItem(0), true);
    EXPECT_EQ(Captions(*B), (Strings{"1", "b"}));
    EXPECT_EQ(Moved->GetItems(), B);
    EXPECT_EQ(Moved->GetGroup(), R.Groups().GetGroup(1));
    B->Move(B->GetItem(1), 0);
    EXPECT_EQ(Captions(*B), (Strings{"b", "1"}));
    A->Move(B->GetItem(0), 2);
    EXPECT_EQ(Captions(*A), (Strings{"5", "3", "b", "4", "2"}));
    for (int I = 0; I < A->GetCount(); ++I) EXPECT_EQ(A->GetItem(I)->GetIndex(), I);
    EXPECT_TRUE(R.Log.empty());
}

TEST(FolioModel, IndicesStayRightThroughInsertsAndRemovalsAnywhere) {
    TFolioGroups Groups(nullptr);
    TFolioItems* Items = Groups.Add("G")->GetItems();
    std::vector<TFolioItem*> Mirror;
    for (int I = 0; I < 40; ++I) Mirror.push_back(Items->Add(std::to_string(I), -1));
    unsigned Seed = 7;
    for (int Step = 0; Step < 400; ++Step) {
        Seed = Seed * 1103515245u + 12345u;
        const int Pos = static_cast<int>((Seed >> 8) % (Mirror.size() + 1));
        if (Step % 2 == 0 || Mirror.empty()) {
            Mirror.insert(Mirror.begin() + Pos, Items->Insert(Pos, "n", -1));
        } else {
            const size_t Victim = Pos % Mirror.size();
            delete Mirror[Victim];
            Mirror.erase(Mirror.begin() + static_cast<long>(Victim));
        }
        ASSERT_EQ(Items->GetCount(), static_cast<int>(Mirror.size()));
    }
    for (size_t I = 0; I < Mirror.size(); ++I) {
        EXPECT_EQ(Items->GetItem(static_cast<int>(I)), Mirror[I]);
        EXPECT_EQ(Mirror[I]->GetIndex(), static_cast<int>(I));
    }
}

TEST(FolioModel, StartItemClampsWithoutAWindow) {
    TRecordingBar R;
    TFolioGroup* G = R.Groups().Add("G");
    G->SetStartItem(-3);
    EXPECT_EQ(G->GetStartItem(), 0); // empty group: anything becomes 0
    for (int I = 0; I < 10; ++I) G->GetItems()->Add("i", -1);
    // No window: no visible slots, so only the last item bounds the position.
    G->SetStartItem(9);
    EXPECT_EQ(G->GetStartItem(), 9);
    G->SetStartItem(2147483647);
    EXPECT_EQ(G->GetStartItem(), 9);
    G->GetItems()->GetItem(0)->Delete();
    EXPECT_EQ(G->GetStartItem(), 8); // deletion re-clamps
    G->SetStartItem(-3);
    EXPECT_EQ(G->GetStartItem(), 0);
}

TEST(FolioModel, StartItemClampsToVisibleSlotsWithAWindow) {
    TRecordingBar R;
    R.Bar.SetItemSpacing(0);
    TFolioGroup* G = R.Groups().Add("G");
    G->SetImageSize(isSmall); // 16-pixel slots without an image list
    for (int I = 0; I < 10; ++I) G->GetItems()->Add("i", -1);
    R.Bar.SetHeight(20 + 4 * 16);
    R.Bar.HandleNeeded();
    ASSERT_EQ(G->GetVisibleItems(), 4);
    G->SetStartItem(9);
    EXPECT_EQ(G->GetStartItem(), 6);
    G->SetStartItem(-3);
    EXPECT_EQ(G->GetStartItem(), 0);

    int Proposed = 0;
    R.Bar.OnNextButtonClick = [&](TObject*, TFolioGroup* Group, int& Start) {
        EXPECT_EQ(Group, G);
        Proposed = Start;
        Start += 1; // the handler may change the step
    };
    G->ClickNextButton();
    EXPECT_EQ(Proposed, 1);
    EXPECT_EQ(G->GetStartItem(), 2);
    G->ClickPrevButton(); // no handler: one step back
    EXPECT_EQ(G->GetStartItem(), 1);

    // A handler that deletes the group leaves nothing to scroll (and nothing freed is touched).
    const int Before = R.Bar.GetGroups()->GetCount();
    R.Bar.OnPrevButtonClick = [](TObject*, TFolioGroup* Group, int&) { Group->Delete(); };
    G->ClickPrevButton();
    EXPECT_EQ(R.Bar.GetGroups()->GetCount(), Before - 1);
}

TEST(FolioModel, EqualityIgnoresPictureImageSizeAndScrollPosition) {
    TFolioGroups A(nullptr), B(nullptr);
    TFolioGroup* GA = A.Add("G");
    TFolioGroup* GB = B.Add("G");
    GA->GetItems()->Add("x", 1);
    GB->GetItems()->Add("x", 1);
    GB->SetImageSize(isSmall);
    TBitmap Picture;
    Picture.SetSize(2, 2);
    GB->SetBitmap(&Picture);
    EXPECT_TRUE(GA->IsEqual(GB));

    GB->GetItems()->GetItem(0)->SetHint("h");
    EXPECT_FALSE(GA->IsEqual(GB));
    GB->GetItems()->GetItem(0)->SetHint("");
    GB->SetCaption("g"); // case-sensitive
    EXPECT_FALSE(GA->IsEqual(GB));
    GB->SetCaption("G");
    GB->SetFixedBitmap(false);
    EXPECT_FALSE(GA->IsEqual(GB));
    GB->SetFixedBitmap(true);
    GB->GetItems()->Add("y", 1);
    EXPECT_FALSE(GA->IsEqual(GB));
}

TEST(FolioModel, GroupAssignCopiesEverythingButImageSizeAndStartItem) {
    TFolioGroups Groups(nullptr);
    TFolioGroup* Source = Groups.Add("S");
    Source->SetColor(0x123456);
    Source->SetStyle(gbGradient);
    Source->SetHint("hint");
    Source->SetImageSize(isSmall);
    int Marker = 0;
    Source->SetData(&Marker);
    Source->GetItems()->AddObject("item", 3, &Marker);
    TBitmap Picture;
    Picture.SetSize(3, 2);
    Source->SetBitmap(&Picture);

    TFolioGroup* Target = Groups.Add("T");
    Target->Assign(Source);
    EXPECT_TRUE(Target->IsEqual(Source));
    EXPECT_EQ(Target->GetImageSize(), isLarge);
    EXPECT_EQ(Target->GetBitmap()->GetWidth(), 3);
    // Data keeps its full pointer width through the copy.
    EXPECT_EQ(Target->GetData(), &Marker);
    EXPECT_EQ(Target->GetItems()->GetItem(0)->GetData(), &Marker);
    EXPECT_EQ(Target->GetItems()->GetItem(0)->GetGroup(), Target);

    EXPECT_THROW(Target->Assign(Groups.GetGroup(0)->GetItems()), EConvertError);
}

TEST(FolioModel, IndexErrorsAndEmptyCollections) {
    TFolioGroups Groups(nullptr);
    EXPECT_EQ(Groups.GetFirstGroup(), nullptr);
    EXPECT_EQ(Groups.GetLastGroup(), nullptr);
    try {
        Groups.GetGroup(0);
        FAIL();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Index out of range");
    }
    TFolioItems* Items = Groups.Add("G")->GetItems();
    EXPECT_EQ(Items->GetFirstItem(), nullptr);
    Items->Add("a", -1);
    EXPECT_THROW(Items->GetItem(-1), Exception);
    EXPECT_THROW(Items->SetItem(1, Items->GetItem(0)), Exception);
    EXPECT_EQ(Items->GetLastItem()->GetCaption(), "a");
}

TEST(FolioModel, NamePathAndOwner) {
    TFolio Bar(nullptr);
    Bar.SetName("Bar1");
    for (const char* C : {"a", "b", "c"}) Bar.GetGroups()->Add(C);
    EXPECT_EQ(Bar.GetGroups()->GetGroup(2)->GetNamePath(), "Bar1.Groups[2]");
    EXPECT_EQ(Bar.GetGroups()->GetGroup(2)->GetOwner(), &Bar);
}

namespace {

struct TCountingBar : TFolio {
    using TFolio::TFolio;
    void Invalidate() override {
        ++Invalidations;
        TFolio::Invalidate();
    }
    int Invalidations = 0;
};

} // namespace

TEST(FolioModel, RepaintRulesOfTheSetters) {
    TCountingBar Bar(nullptr);
    TFolioGroup* Open = Bar.GetGroups()->Add("open");
    TFolioGroup* Closed = Bar.GetGroups()->Add("closed");
    TFolioItem* ClosedItem = Closed->GetItems()->Add("c", -1);
    auto Repaints = [&](auto Change) {
        const int Before = Bar.Invalidations;
        Change();
        return Bar.Invalidations - Before;
    };
    EXPECT_EQ(Repaints([&] { Closed->SetColor(1); }), 0);     // not visible
    EXPECT_EQ(Repaints([&] { Open->SetColor(1); }), 1);       // gbColor, visible
    EXPECT_EQ(Repaints([&] { Open->SetColor(1); }), 0);       // unchanged
    EXPECT_EQ(Repaints([&] { Open->SetStartColor(5); }), 0);  // not gbGradient
    EXPECT_EQ(Repaints([&] { Closed->SetCaption("x"); }), 1); // captions always show
    EXPECT_EQ(Repaints([&] { ClosedItem->SetCaption("y"); }), 0);
    EXPECT_EQ(Repaints([&] { ClosedItem->SetImageIndex(4); }), 1);
    EXPECT_EQ(Repaints([&] { ClosedItem->SetTag(4); }), 0);
    EXPECT_EQ(Repaints([&] { Closed->SetImageSize(isSmall); }), 0);
    EXPECT_EQ(Repaints([&] { Open->SetStyle(gbGradient); }), 1);

    // The bar repaints when an image list it uses or its groups font changes.
    TImageList Images(nullptr);
    Bar.SetLargeImages(&Images);
    EXPECT_GE(Repaints([&] { Images.SetWidth(40); }), 1);
    Bar.SetLargeImages(nullptr);
    EXPECT_EQ(Repaints([&] { Images.SetWidth(48); }), 0);
    EXPECT_GE(Repaints([&] { Bar.GetGroupsFont()->SetHeight(-17); }), 1);
}
