#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/ImageList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

// A W x H bitmap filled with Color, with a Mark pixel at (1, 1) of each
// 16-pixel picture.
std::unique_ptr<TBitmap> Strip(int W, int H, TColor Color, TColor Mark) {
    auto B = std::make_unique<TBitmap>(W, H);
    B->GetCanvas()->GetBrush()->SetColor(Color);
    B->GetCanvas()->FillRect(Rect(0, 0, W, H));
    for (int X = 1; X < W; X += 16) B->GetCanvas()->SetPixel(X, 1, Mark);
    return B;
}

struct THolder : TComponent {
    using TComponent::TComponent;
    TComponent* Removed = nullptr;
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) Removed = AComponent;
    }
};

} // namespace

TEST(ImageList, AddsPicturesFromStripsAndDrawsThemMasked) {
    TImageList List(nullptr);
    EXPECT_EQ(List.GetWidth(), 16);
    EXPECT_EQ(List.GetHeight(), 16);
    auto Pictures = Strip(32, 16, clFuchsia, clGreen);
    EXPECT_EQ(List.AddMasked(Pictures.get(), clFuchsia), 0);
    EXPECT_EQ(List.GetCount(), 2);
    EXPECT_EQ(List.AddMasked(Pictures.get(), clDefault), 2); // the bottom-left pixel's colour
    EXPECT_EQ(List.GetCount(), 4);

    TBitmap Target(40, 40);
    Target.GetCanvas()->GetBrush()->SetColor(clBlue);
    Target.GetCanvas()->FillRect(Rect(0, 0, 40, 40));
    List.Draw(Target.GetCanvas(), 10, 20, 1);
    EXPECT_EQ(Target.GetPixel(11, 21), clGreen);
    EXPECT_EQ(Target.GetPixel(12, 21), clBlue); // transparent
    EXPECT_EQ(Target.GetPixel(10, 20), clBlue);

    List.Draw(Target.GetCanvas(), 0, 0, -1);
    List.Draw(Target.GetCanvas(), 0, 0, 4);
    EXPECT_EQ(Target.GetPixel(1, 1), clBlue);

    // Drawing is clipped like any canvas drawing.
    List.Draw(Target.GetCanvas(), 38, 38, 0);
    List.Draw(Target.GetCanvas(), -1, -1, 0);
    EXPECT_EQ(Target.GetPixel(0, 0), clGreen);

    TBitmap Copy;
    List.GetBitmap(0, &Copy);
    EXPECT_EQ(Copy.GetWidth(), 16);
    EXPECT_EQ(Copy.GetPixel(1, 1), clGreen);
    EXPECT_EQ(Copy.GetPixel(2, 2), clWhite);
}

TEST(ImageList, MaskBitmapsMarkOpaquePixelsInBlack) {
    TImageList List(nullptr);
    List.SetWidth(4);
    List.SetHeight(4);
    auto Picture = Strip(4, 4, clRed, clRed);
    TBitmap Mask(4, 4); // white: transparent
    Mask.GetCanvas()->GetBrush()->SetColor(clBlack);
    Mask.GetCanvas()->FillRect(Rect(0, 0, 2, 4));
    EXPECT_EQ(List.Add(Picture.get(), &Mask), 0);
    EXPECT_EQ(List.Add(Picture.get(), nullptr), 1);
    EXPECT_EQ(List.Add(nullptr, nullptr), -1);

    TBitmap Target(8, 4);
    List.Draw(Target.GetCanvas(), 0, 0, 0);
    List.Draw(Target.GetCanvas(), 4, 0, 1);
    EXPECT_EQ(Target.GetPixel(1, 2), clRed);
    EXPECT_EQ(Target.GetPixel(2, 2), clWhite);
    EXPECT_EQ(Target.GetPixel(7, 3), clRed);
}

TEST(ImageList, DisabledPicturesAreEmbossedGrey) {
    TImageList List(nullptr);
    auto Picture = Strip(16, 16, clWhite, clNavy);
    List.AddMasked(Picture.get(), clNone);
    TBitmap Target(20, 20);
    Target.GetCanvas()->GetBrush()->SetColor(clBtnFace);
    Target.GetCanvas()->FillRect(Rect(0, 0, 20, 20));
    List.Draw(Target.GetCanvas(), 0, 0, 0, false);
    EXPECT_EQ(Target.GetPixel(1, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Target.GetPixel(2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Target.GetPixel(5, 5), ColorToRGB(clBtnFace)); // white vanishes
}

TEST(ImageList, EveryChangeNotifiesEveryLink) {
    TImageList List(nullptr);
    TChangeLink A, B;
    int CountA = 0, CountB = 0;
    A.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &List);
        ++CountA;
    };
    B.OnChange = [&](TObject*) { ++CountB; };
    List.RegisterChanges(&A);
    List.RegisterChanges(&B);
    List.RegisterChanges(&B); // once only
    EXPECT_EQ(A.GetSender(), &List);
    int ListChanges = 0;
    List.OnChange = [&](TObject*) { ++ListChanges; };

    auto Picture = Strip(16, 16, clRed, clRed);
    List.AddMasked(Picture.get(), clNone);
    List.Add(Picture.get(), nullptr);
    List.Delete(0);
    List.Clear();
    List.SetWidth(24);
    List.SetHeight(24);
    EXPECT_EQ(CountA, 6);
    EXPECT_EQ(CountB, 6);
    EXPECT_EQ(ListChanges, 6);
    List.Clear(); // already empty: nothing changes
    List.SetWidth(24);
    EXPECT_EQ(CountA, 6);

    List.UnRegisterChanges(&B);
    EXPECT_EQ(B.GetSender(), nullptr);
    List.Add(Picture.get(), nullptr);
    EXPECT_EQ(CountA, 7);
    EXPECT_EQ(CountB, 6);

    EXPECT_THROW(List.Delete(5), EListError);
    EXPECT_THROW(List.SetWidth(0), EInvalidOperation);
    EXPECT_EQ(List.GetWidth(), 24);
}

TEST(ImageList, LinksAndListsOutliveEachOther) {
    auto Picture = Strip(16, 16, clRed, clRed);
    auto List = std::make_unique<TImageList>(nullptr);
    int Calls = 0;
    {
        TChangeLink Short;
        Short.OnChange = [&](TObject*) { ++Calls; };
        List->RegisterChanges(&Short);
    } // unregisters itself
    List->Add(Picture.get(), nullptr);
    EXPECT_EQ(Calls, 0);

    TChangeLink Long;
    List->RegisterChanges(&Long);
    List.reset();
    EXPECT_EQ(Long.GetSender(), nullptr);

    // A handler may free another link during the notification.
    TImageList Other(nullptr);
    auto Victim = std::make_unique<TChangeLink>();
    TChangeLink Killer;
    bool VictimCalled = false;
    Killer.OnChange = [&](TObject*) { Victim.reset(); };
    Victim->OnChange = [&](TObject*) { VictimCalled = true; };
    Other.RegisterChanges(&Killer);
    Other.RegisterChanges(Victim.get());
    Other.Add(Picture.get(), nullptr);
    EXPECT_FALSE(VictimCalled);
}

TEST(ImageList, FreeNotificationReachesHolders) {
    THolder Holder(nullptr);
    auto* List = new TImageList(nullptr);
    Holder.FreeNotification(List);
    delete List;
    EXPECT_EQ(Holder.Removed, List);

    // Owned by a component, it dies with its owner.
    auto Owner = std::make_unique<TComponent>(nullptr);
    auto* Owned = new TImageList(Owner.get());
    EXPECT_EQ(Owned->GetOwner(), Owner.get());
    EXPECT_EQ(TImageList::StaticClassInfo().FindProperty("Width")->Default, 16);
}
