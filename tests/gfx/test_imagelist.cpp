#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
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

namespace {

// A list of 16 x 16 pictures with 32 x 32 and 24 x 24 sizes; picture N of
// each size is one colour, the size telling itself by its colour.
void FillSized(TImageList& List, int Size, TColor Colour, int Count = 2) {
    TImageList* Target = List.AddSize(Size, Size);
    ASSERT_EQ(Target->GetWidth(), Size);
    TBitmap Pictures(Size * Count, Size);
    Pictures.GetCanvas()->GetBrush()->SetColor(Colour);
    Pictures.GetCanvas()->FillRect(Rect(0, 0, Size * Count, Size));
    Target->AddMasked(&Pictures, clNone);
}

} // namespace

TEST(ImageListSizes, BestFitIsTheSameSizeElseTheSmallestLargerElseTheLargest) {
    TImageList List(nullptr);
    FillSized(List, 16, clRed);
    FillSized(List, 32, clGreen);
    FillSized(List, 24, clBlue);
    EXPECT_EQ(List.AddSize(16, 16), &List);
    EXPECT_EQ(List.AddSize(32, 32), List.GetSize(0));
    EXPECT_EQ(List.GetSizeCount(), 2);
    struct TCase {
        int Want, Got;
    };
    for (const TCase C : {TCase{16, 16}, TCase{24, 24}, TCase{32, 32}, TCase{20, 24}, TCase{28, 32},
                          TCase{64, 32}, TCase{8, 16}})
        EXPECT_EQ(List.BestFit(C.Want, C.Want)->GetWidth(), C.Got) << C.Want;
    EXPECT_THROW(List.GetSize(2), EListError);
}

TEST(ImageListSizes, DrawScaledTakesTheFittingSizeOrScalesByNearestPixel) {
    TImageList List(nullptr);
    FillSized(List, 16, clRed);
    FillSized(List, 32, clGreen);
    TBitmap Target(80, 80);
    Target.GetCanvas()->GetBrush()->SetColor(clWhite);
    Target.GetCanvas()->FillRect(Rect(0, 0, 80, 80));
    List.DrawScaled(Target.GetCanvas(), Rect(0, 0, 32, 32), 1);
    EXPECT_EQ(Target.GetPixel(0, 0), clGreen);
    EXPECT_EQ(Target.GetPixel(31, 31), clGreen);
    EXPECT_EQ(Target.GetPixel(32, 32), clWhite);
    List.DrawScaled(Target.GetCanvas(), Rect(40, 40, 56, 56), 0);
    EXPECT_EQ(Target.GetPixel(40, 40), clRed);
    // No size this large: the largest one grows to fill the room.
    List.DrawScaled(Target.GetCanvas(), Rect(0, 40, 40, 80), 0);
    EXPECT_EQ(Target.GetPixel(0, 40), clGreen);
    EXPECT_EQ(Target.GetPixel(39, 79), clGreen);
    EXPECT_EQ(Target.GetPixel(40, 79), clWhite);

    // Transparency scales with the picture.
    TImageList Masked(nullptr);
    Masked.SetWidth(2);
    Masked.SetHeight(2);
    TBitmap Checker(2, 2);
    Checker.GetCanvas()->SetPixel(0, 0, clFuchsia);
    Checker.GetCanvas()->SetPixel(1, 0, clNavy);
    Checker.GetCanvas()->SetPixel(0, 1, clNavy);
    Checker.GetCanvas()->SetPixel(1, 1, clFuchsia);
    Masked.AddMasked(&Checker, clFuchsia);
    Target.GetCanvas()->FillRect(Rect(0, 0, 80, 80));
    Masked.DrawScaled(Target.GetCanvas(), Rect(10, 10, 14, 14), 0);
    EXPECT_EQ(Target.GetPixel(10, 10), clWhite);
    EXPECT_EQ(Target.GetPixel(11, 11), clWhite);
    EXPECT_EQ(Target.GetPixel(12, 10), clNavy);
    EXPECT_EQ(Target.GetPixel(13, 11), clNavy);
    EXPECT_EQ(Target.GetPixel(10, 12), clNavy);
    EXPECT_EQ(Target.GetPixel(13, 13), clWhite);
}

TEST(ImageListSizes, SizesChangeWithTheListAndNotifyIt) {
    TImageList List(nullptr);
    int Changes = 0;
    List.OnChange = [&](TObject*) { ++Changes; };
    FillSized(List, 16, clRed, 3);
    FillSized(List, 32, clGreen, 3);
    EXPECT_EQ(Changes, 3); // the pictures, the new size, its pictures
    List.Delete(1);
    EXPECT_EQ(List.GetCount(), 2);
    EXPECT_EQ(List.GetSize(0)->GetCount(), 2);
    // A size short of a picture draws it from the list's own size.
    List.GetSize(0)->Delete(1);
    TBitmap Target(32, 32);
    List.DrawScaled(Target.GetCanvas(), Rect(0, 0, 32, 32), 1);
    EXPECT_EQ(Target.GetPixel(31, 31), clRed);
    List.Clear();
    EXPECT_EQ(List.GetSizeCount(), 1);
    EXPECT_EQ(List.GetSize(0)->GetCount(), 0);
    // A new picture size empties the list of every size.
    FillSized(List, 32, clGreen);
    List.SetWidth(20);
    EXPECT_EQ(List.GetSizeCount(), 0);
}

TEST(ImageListSizes, FormFilesKeepEverySizeAndDamagedSizesChangeNothing) {
    TImageList List(nullptr);
    List.SetName("Icons");
    FillSized(List, 16, clRed);
    FillSized(List, 32, clGreen);
    FillSized(List, 48, clBlue);
    TMemoryStream Stream;
    WriteComponent(Stream, &List);
    TImageList Copy(nullptr);
    Stream.SetPosition(0);
    ReadComponent(Stream, &Copy);
    EXPECT_TRUE(Copy.Equals(&List));
    EXPECT_EQ(Copy.GetSizeCount(), 2);
    EXPECT_EQ(Copy.BestFit(48, 48)->GetWidth(), 48);
    TBitmap Target(48, 48);
    Copy.DrawScaled(Target.GetCanvas(), Rect(0, 0, 48, 48), 1);
    EXPECT_EQ(Target.GetPixel(47, 47), clBlue);
    // A size missing makes the lists differ.
    TImageList Fewer(nullptr);
    FillSized(Fewer, 16, clRed);
    FillSized(Fewer, 32, clGreen);
    EXPECT_FALSE(Fewer.Equals(&List));

    // A list without other sizes writes none, as before.
    TImageList Plain(nullptr);
    Plain.SetName("Plain");
    FillSized(Plain, 16, clRed);
    TMemoryStream PlainStream;
    WriteComponent(PlainStream, &Plain);
    const std::string Bytes(static_cast<const char*>(PlainStream.Memory()),
                            static_cast<size_t>(PlainStream.GetSize()));
    EXPECT_EQ(Bytes.find("Sizes"), std::string::npos);

    // The sizes' count is damaged: the read raises and the sizes stay.
    std::string Damaged(static_cast<const char*>(Stream.Memory()),
                        static_cast<size_t>(Stream.GetSize()));
    const size_t At = Damaged.find("Sizes");
    ASSERT_NE(At, std::string::npos);
    // After the name: the binary value's type byte and 32-bit length.
    Damaged[At + 5 + 1 + 4] = '\x7F';
    TMemoryStream Bad;
    Bad.WriteBuffer(Damaged.data(), static_cast<std::int64_t>(Damaged.size()));
    Bad.SetPosition(0);
    TImageList Target2(nullptr);
    FillSized(Target2, 16, clRed);
    FillSized(Target2, 32, clGreen);
    EXPECT_THROW(ReadComponent(Bad, &Target2), Exception);
    EXPECT_EQ(Target2.GetSizeCount(), 1);
}
