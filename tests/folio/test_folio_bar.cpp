#include "folio/Folio.h"

#include "FolioTestAccess.h"

#include "framework/core/ClassBuilder.h"

#include <gtest/gtest.h>

namespace folio {

// Seeds the bar's interaction state, which only mouse, drag and editing
// handling would otherwise reach.
struct TFolioInspector : TFolioTestAccess {
    static int TargetGroup(TFolio& Bar) { return Bar.GetTargetGroup(); }
};

} // namespace folio

using namespace folio;
using I = TFolioInspector;

namespace {

struct TParamsProbe : TFolio {
    using TFolio::TFolio;
    TCreateParams Params() {
        TCreateParams P;
        CreateParams(P);
        return P;
    }
};

long long DeclaredDefault(const char* Name) {
    const TPropInfo* P = TFolio::StaticClassInfo().FindProperty(Name);
    EXPECT_NE(P, nullptr) << Name;
    return P && P->Default ? *P->Default : -12345;
}

} // namespace

TEST(FolioBar, FreshBarStateAndDeclaredDefaults) {
    TFolio Bar(nullptr);
    EXPECT_EQ(Bar.GetWidth(), 50);
    EXPECT_EQ(Bar.GetHeight(), 100);
    EXPECT_EQ(Bar.GetGroups()->GetCount(), 0);
    EXPECT_EQ(Bar.GetVisibleGroup(), -1);
    EXPECT_EQ(Bar.GetColor(), clBtnShadow);
    EXPECT_EQ(Bar.GetGroupUnderCurosr(), nullptr);
    EXPECT_EQ(Bar.GetItemUnderCurosr(), nullptr);
    EXPECT_EQ(Bar.GetBorderStyle(), bsSingle);
    EXPECT_EQ(Bar.GetAnimationStyle(), asAccelerate);
    EXPECT_EQ(Bar.GetAnimationSpeed(), 30);
    EXPECT_EQ(Bar.GetButtonClickDelay(), 150);
    EXPECT_EQ(Bar.GetFrameShadowColor(), cl3DDkShadow);
    EXPECT_EQ(Bar.GetFrameHighlightColor(), clBtnFace);
    EXPECT_TRUE(Bar.GetAllowDragging());
    EXPECT_FALSE(Bar.GetTabStop()) << "the bar re-publishes TabStop unchanged";

    EXPECT_EQ(DeclaredDefault("GroupCaptionHeight"), 20);
    EXPECT_EQ(DeclaredDefault("AnimationSpeed"), 30);
    EXPECT_EQ(DeclaredDefault("ButtonClickDelay"), 150);
    EXPECT_EQ(DeclaredDefault("ItemSpacing"), 12);
    EXPECT_EQ(DeclaredDefault("AnimationStyle"), asAccelerate);
    EXPECT_EQ(DeclaredDefault("InsertMarkColor"), clBlack);
    EXPECT_EQ(DeclaredDefault("CustomGroupEditing"), 0);
    EXPECT_EQ(DeclaredDefault("TabStop"), 0);
    const TPropInfo* Flat = TFolio::StaticClassInfo().FindProperty("FlatBorder");
    ASSERT_NE(Flat, nullptr);
    EXPECT_FALSE(Flat->Default.has_value());
    ASSERT_NE(TFolio::StaticClassInfo().FindProperty("OnGetItemEditRect"), nullptr);
    // Re-published: Color keeps its inherited declared default although the
    // bar starts with another colour.
    EXPECT_EQ(DeclaredDefault("Color"), static_cast<long long>(clWindow));
    EXPECT_NE(TFolio::StaticClassInfo().FindProperty("OnUnDock"), nullptr);
    EXPECT_NE(TFolio::StaticClassInfo().FindProperty("ParentCtl3D"), nullptr);
}

TEST(FolioBar, AnimationSpeedAndButtonClickDelayClamp) {
    TFolio Bar(nullptr);
    Bar.SetAnimationSpeed(0);
    EXPECT_EQ(Bar.GetAnimationSpeed(), 1);
    Bar.SetAnimationSpeed(-40);
    EXPECT_EQ(Bar.GetAnimationSpeed(), 1);
    Bar.SetAnimationSpeed(250);
    EXPECT_EQ(Bar.GetAnimationSpeed(), 100);
    Bar.SetButtonClickDelay(10);
    EXPECT_EQ(Bar.GetButtonClickDelay(), 50);
    Bar.SetButtonClickDelay(100000);
    EXPECT_EQ(Bar.GetButtonClickDelay(), 100000);
    Bar.SetGroupCaptionHeight(-5); // accepted as it is
    EXPECT_EQ(Bar.GetGroupCaptionHeight(), -5);
}

TEST(FolioBar, FlatBorderTurnsCtl3DOffAndBorderLogic) {
    TParamsProbe Bar(nullptr);
    ASSERT_TRUE(Bar.GetCtl3D());
    TCreateParams P = Bar.Params();
    EXPECT_TRUE(P.ExStyle & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(P.Style & WS_BORDER);

    Bar.SetBorderStyle(bsNone);
    Bar.SetFlatBorder(true);
    EXPECT_FALSE(Bar.GetCtl3D());
    EXPECT_EQ(Bar.GetBorderStyle(), bsSingle);
    P = Bar.Params();
    EXPECT_TRUE(P.Style & WS_BORDER);
    EXPECT_FALSE(P.ExStyle & WS_EX_CLIENTEDGE);

    Bar.SetCtl3D(true);
    Bar.SetFlatBorder(false); // turning it off leaves both as they are
    EXPECT_TRUE(Bar.GetCtl3D());
    EXPECT_EQ(Bar.GetBorderStyle(), bsSingle);

    Bar.SetBorderStyle(bsNone);
    P = Bar.Params();
    EXPECT_FALSE(P.Style & WS_BORDER);
    EXPECT_FALSE(P.ExStyle & WS_EX_CLIENTEDGE);
}

TEST(FolioBar, FreeingAnImageListClearsEveryPropertyHoldingIt) {
    TFolio Bar(nullptr);
    auto* Shared = new TImageList(nullptr);
    auto* Other = new TImageList(nullptr);
    Bar.SetSmallImages(Shared);
    Bar.SetGroupImages(Shared);
    Bar.SetLargeImages(Other);
    delete Shared;
    EXPECT_EQ(Bar.GetSmallImages(), nullptr);
    EXPECT_EQ(Bar.GetGroupImages(), nullptr);
    EXPECT_EQ(Bar.GetLargeImages(), Other);
    delete Other;
    EXPECT_EQ(Bar.GetLargeImages(), nullptr);
}

TEST(FolioBar, ImageListsDecidePictureSizes) {
    TFolio Bar(nullptr);
    TFolioGroup* G = Bar.GetGroups()->Add("G");
    EXPECT_EQ(G->GetImagesWidth(), 32);
    G->SetImageSize(isSmall);
    EXPECT_EQ(G->GetImagesHeight(), 16);
    TImageList Small(nullptr);
    Small.SetWidth(20);
    Small.SetHeight(24);
    Bar.SetSmallImages(&Small);
    EXPECT_EQ(G->GetImages(), &Small);
    EXPECT_EQ(G->GetImagesWidth(), 20);
    EXPECT_EQ(G->GetItemHeight(), 24);
    Bar.SetSmallImages(nullptr);
}

TEST(FolioBar, RotatedFontFollowsGroupsFont) {
    TFolio Bar(nullptr);
    EXPECT_EQ(Bar.GetRotatedFont()->GetLogFont().Escapement, 900);
    Bar.GetGroupsFont()->SetHeight(-20);
    EXPECT_EQ(Bar.GetRotatedFont()->GetHeight(), -20);
    EXPECT_EQ(Bar.GetRotatedFont()->GetLogFont().Escapement, 900);
    TFont Big;
    Big.SetHeight(-30);
    Bar.SetGroupsFont(&Big);
    EXPECT_EQ(Bar.GetGroupsFont()->GetHeight(), -30);
    EXPECT_EQ(Bar.GetRotatedFont()->GetHeight(), -30);
    EXPECT_EQ(Bar.GetGroupsFont()->GetLogFont().Escapement, 0);
}

TEST(FolioBar, CaptionGeometryAndHitTest) {
    TFolio Bar(nullptr);
    Bar.SetAnimationStyle(asNone);
    Bar.SetWidth(100);
    Bar.SetHeight(200);
    for (const char* C : {"a", "b", "c"}) Bar.GetGroups()->Add(C);
    Bar.SetVisibleGroup(1);
    const int W = Bar.GetClientWidth();
    const int H = Bar.GetClientHeight();
    TFolioGroups& G = *Bar.GetGroups();
    EXPECT_EQ(G.GetGroup(0)->GetBoundsRect(), Rect(0, 0, W, H - 40));
    EXPECT_EQ(G.GetGroup(1)->GetBoundsRect(), Rect(0, 20, W, H - 20));
    EXPECT_EQ(G.GetGroup(1)->GetClientRect(), Rect(0, 40, W, H - 20));
    EXPECT_EQ(G.GetGroup(2)->GetCaptionRect(), Rect(0, H - 20, W, H));
    EXPECT_EQ(Bar.GetOnGroup(5, H - 5), 2);
    EXPECT_EQ(Bar.GetOnGroup(5, 25), 1);
    EXPECT_EQ(Bar.GetOnGroup(5, 60), -1);

    Bar.SetAlignment(baHorizontal);
    EXPECT_EQ(G.GetGroup(2)->GetCaptionRect(), Rect(W - 20, 0, W, H));
    EXPECT_EQ(Bar.GetOnGroup(W - 1, 5), 2);
}

TEST(FolioBar, VisibleGroupRequestsAndVisibleGroupObject) {
    TFolio Bar(nullptr);
    Bar.SetAnimationStyle(asNone); // an animated switch opens the group at its end
    for (const char* C : {"a", "b", "c"}) Bar.GetGroups()->Add(C);
    Bar.SetVisibleGroup(3);
    Bar.SetVisibleGroup(-1);
    EXPECT_EQ(Bar.GetVisibleGroup(), 0);
    Bar.SetVisibleGroupObject(nullptr);
    EXPECT_EQ(Bar.GetVisibleGroup(), 0);
    Bar.SetVisibleGroupObject(Bar.GetGroups()->GetGroup(2));
    EXPECT_EQ(Bar.GetVisibleGroup(), 2);
    EXPECT_EQ(Bar.GetVisibleGroupObject(), Bar.GetGroups()->GetGroup(2));
    EXPECT_EQ(I::TargetGroup(Bar), -1);
}

TEST(FolioBar, DestroyedObjectsLeaveNoReferencesBehind) {
    TFolio Bar(nullptr);
    TFolioGroup* G = Bar.GetGroups()->Add("G");
    TFolioItem* A = G->GetItems()->Add("a", -1);
    TFolioItem* B = G->GetItems()->Add("b", -1);
    I::HoverGroup(Bar) = 0;
    I::HoverItem(Bar) = 1;
    EXPECT_EQ(Bar.GetItemUnderCurosr(), B);
    EXPECT_EQ(Bar.GetGroupUnderCurosr(), G);
    EXPECT_EQ(Bar.GetItemUnderCursor(), B);
    EXPECT_EQ(Bar.GetGroupUnderCursor(), G);

    I::PressedItem(Bar) = A;
    I::ItemPressed(Bar) = true;
    I::EditedItem(Bar) = A;
    EXPECT_TRUE(A->GetEdited());
    A->Delete();
    EXPECT_EQ(I::PressedItem(Bar), nullptr);
    EXPECT_FALSE(I::ItemPressed(Bar));
    EXPECT_EQ(I::EditedItem(Bar), nullptr);
    EXPECT_EQ(I::HoverItem(Bar), -1);
    EXPECT_EQ(B->GetCaption(), "b");

    I::EditedGroup(Bar) = G;
    I::GroupPressed(Bar) = true;
    G->Delete();
    EXPECT_EQ(I::EditedGroup(Bar), nullptr);
    EXPECT_FALSE(I::GroupPressed(Bar));
    EXPECT_EQ(I::HoverGroup(Bar), -1);
    EXPECT_EQ(Bar.GetGroupUnderCurosr(), nullptr);
}

TEST(FolioBar, TimerMessagesGoToTheirHandlers) {
    TFolio Bar(nullptr);
    Bar.SetAnimationStyle(asNone);
    TFolioGroup* G = Bar.GetGroups()->Add("a");
    Bar.GetGroups()->Add("b");
    for (int K = 0; K < 5; ++K) G->GetItems()->Add("i", -1);
    int Steps = 0;
    Bar.OnNextButtonClick = [&](TObject*, TFolioGroup*, int&) { ++Steps; };

    TMessage Tick{WM_TIMER, FolioRepeatTimerId, 0, 0};
    Bar.Dispatch(Tick);
    EXPECT_EQ(Steps, 0); // no button held
    I::NextPressed(Bar) = true;
    I::NextPressInside(Bar) = true;
    Bar.Dispatch(Tick);
    EXPECT_EQ(Steps, 1);
    EXPECT_EQ(G->GetStartItem(), 1);
    I::NextPressInside(Bar) = false; // pointer off the button pauses repetition
    Bar.Dispatch(Tick);
    EXPECT_EQ(Steps, 1);

    I::HoverGroup(Bar) = 1;
    I::InsertIndex(Bar) = 3;
    TMessage Open{WM_TIMER, FolioOpenTimerId, 0, 0};
    Bar.Dispatch(Open);
    EXPECT_EQ(I::InsertIndex(Bar), -1);
    EXPECT_EQ(Bar.GetVisibleGroup(), 1);

    TMessage Leave{CM_MOUSELEAVE, 0, 0, 0};
    Bar.Dispatch(Leave);
    EXPECT_EQ(I::HoverGroup(Bar), -1);
}

TEST(FolioBar, DesignHitTestAnswersForCaptionsOnly) {
    TFolio Bar(nullptr);
    Bar.SetAnimationStyle(asNone);
    Bar.SetHeight(200);
    for (const char* C : {"a", "b"}) Bar.GetGroups()->Add(C);
    const int H = Bar.GetClientHeight();
    auto HitTest = [&](int X, int Y) {
        TMessage M{CM_DESIGNHITTEST, 0, PointToLParam(Point(X, Y)), 0};
        Bar.Dispatch(M);
        return M.Result;
    };
    EXPECT_EQ(HitTest(3, 5), 1);
    EXPECT_EQ(HitTest(3, H - 5), 1);
    EXPECT_EQ(HitTest(3, 60), 0); // the open group's items
}
