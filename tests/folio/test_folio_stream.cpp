#include "folio/Folio.h"

#include "FolioDeletionLog.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/PictureBudget.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace folio;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes StreamBytes(TMemoryStream& Stream) {
    const auto* P = reinterpret_cast<const unsigned char*>(Stream.Memory());
    return Bytes(P, P + Stream.GetSize());
}

Bytes Save(TFolio& Bar) {
    TMemoryStream Stream;
    Bar.SaveToStream(Stream);
    return StreamBytes(Stream);
}

void Load(TFolio& Bar, const Bytes& Data) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
    Stream.SetPosition(0);
    Bar.LoadFromStream(Stream);
}

void Int(Bytes& B, std::int32_t V) {
    for (int I = 0; I < 4; ++I)
        B.push_back(static_cast<unsigned char>(static_cast<std::uint32_t>(V) >> (8 * I)));
}

void Str(Bytes& B, const std::string& S) {
    Int(B, static_cast<std::int32_t>(S.size()));
    B.insert(B.end(), S.begin(), S.end());
}

// The 60-byte stream of one group "New" without picture, hint or items.
Bytes WorkedExample() {
    Bytes B;
    Int(B, 100);
    Int(B, 1);
    Int(B, 100);
    Str(B, "New");
    Int(B, 0); // Data
    for (int I = 0; I < 3; ++I)
        Int(B, static_cast<std::int32_t>(0x80000010)); // EndColor, Color, StartColor
    B.push_back(1);                                    // BitmapEmpty
    B.push_back(0);                                    // Style gbColor
    Int(B, static_cast<std::int32_t>(0x8000000F));     // CaptionColor
    B.push_back(1);                                    // FixedBitmap
    Int(B, 0);                                         // Tag
    B.push_back(1);                                    // ImageSize isLarge
    Str(B, "");                                        // Hint
    B.push_back(0);                                    // ShowHint
    Int(B, 100);
    Int(B, 0);
    return B;
}

// A bar with two groups and a few items, every field set to something.
void Fill(TFolio& Bar) {
    TFolioGroup* A = Bar.GetGroups()->AddObject("Alpha", reinterpret_cast<void*>(0x1234));
    A->SetStyle(gbGradient);
    A->SetStartColor(0x010203);
    A->SetEndColor(0x040506);
    A->SetTag(-7);
    A->SetHint("group hint");
    A->SetShowHint(true);
    A->SetImageSize(isSmall);
    A->GetItems()->AddObject("one", 3, reinterpret_cast<void*>(0x55));
    TFolioItem* Two = A->GetItems()->Add("two", -1);
    Two->SetOverImageIndex(9);
    Two->SetHint("item hint");
    Two->SetShowHint(true);
    Two->SetTag(42);
    Bar.GetGroups()->Add("Beta")->GetItems()->Add("", 0);
}

} // namespace

TEST(FolioStream, WorkedExampleAndEmptyBarBytes) {
    TFolio Bar(nullptr);
    EXPECT_EQ(Save(Bar), (Bytes{100, 0, 0, 0, 0, 0, 0, 0}));
    Bar.GetGroups()->Add("New");
    const Bytes Saved = Save(Bar);
    EXPECT_EQ(Saved.size(), 60u);
    EXPECT_EQ(Saved, WorkedExample());
}

TEST(FolioStream, ItemRecordLayout) {
    TFolioGroups Groups(nullptr);
    TFolioItem* Item =
        Groups.Add("")->GetItems()->AddObject("abc", 7, reinterpret_cast<void*>(0x11223344));
    Item->SetOverImageIndex(-1);
    Item->SetTag(5);
    Item->SetShowHint(true);
    TMemoryStream Stream;
    Item->WriteData(Stream);
    Bytes Expected;
    Int(Expected, 100);
    Int(Expected, 7);
    Int(Expected, -1);
    Str(Expected, "abc");
    Int(Expected, 0x11223344);
    Int(Expected, 5);
    Str(Expected, "");
    Expected.push_back(1);
    EXPECT_EQ(StreamBytes(Stream), Expected);
}

TEST(FolioStream, GroupWithPictureWritesTheImageThenStyle) {
    TFolio Bar(nullptr);
    TFolioGroup* G = Bar.GetGroups()->Add("P");
    TBitmap Picture;
    Picture.SetSize(3, 2);
    G->SetBitmap(&Picture);
    G->SetStyle(gbBitmap);

    TMemoryStream Image;
    G->GetBitmap()->SaveToStream(Image);
    const Bytes Bmp = StreamBytes(Image);
    ASSERT_GE(Bmp.size(), 2u);
    EXPECT_EQ(Bmp[0], 'B');
    EXPECT_EQ(Bmp[1], 'M');

    const Bytes Saved = Save(Bar);
    const size_t Flag = 8 + 4 + 4 + 1 + 4 + 12;
    ASSERT_GT(Saved.size(), Flag + 1 + Bmp.size());
    EXPECT_EQ(Saved[Flag], 0);
    EXPECT_TRUE(std::equal(Bmp.begin(), Bmp.end(), Saved.begin() + Flag + 1));
    EXPECT_EQ(Saved[Flag + 1 + Bmp.size()], gbBitmap);
    EXPECT_EQ(Saved.size(), 58 + Bmp.size());

    TFolio Copy(nullptr);
    Load(Copy, Saved);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetBitmap()->GetWidth(), 3);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetStyle(), gbBitmap);
    EXPECT_EQ(Save(Copy), Saved);
}

TEST(FolioStream, SaveLoadSaveGivesIdenticalBytesAndEqualGroups) {
    TFolio Bar(nullptr);
    Fill(Bar);
    const Bytes First = Save(Bar);
    TFolio Copy(nullptr);
    Load(Copy, First);
    EXPECT_EQ(Save(Copy), First);
    ASSERT_EQ(Copy.GetGroups()->GetCount(), 2);
    EXPECT_TRUE(Copy.GetGroups()->GetGroup(0)->IsEqual(Bar.GetGroups()->GetGroup(0)));
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetImageSize(), isSmall);
    EXPECT_EQ(Copy.GetVisibleGroup(), 0);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(1)->GetItems()->GetItem(0)->GetBar(), &Copy);
}

TEST(FolioStream, ReaderTakesValuesAsStored) {
    Bytes B = WorkedExample();
    B[0] = 50;                 // collection version 50
    B[8] = 7;                  // group version 7 instead of 100
    B[8 + 4 + 7 + 16] = 2;     // BitmapEmpty 2: no picture follows
    B[8 + 4 + 7 + 16 + 1] = 9; // Style outside the named values
    B[52] = 99;                // items version
    TFolio Bar(nullptr);
    Load(Bar, B);
    ASSERT_EQ(Bar.GetGroups()->GetCount(), 1);
    EXPECT_EQ(Bar.GetGroups()->GetGroup(0)->GetCaption(), "New");
    EXPECT_EQ(Bar.GetGroups()->GetGroup(0)->GetStyle(), 9);
    EXPECT_TRUE(Bar.GetGroups()->GetGroup(0)->GetBitmap()->GetEmpty());
    // The writer normalises nothing but the version words and flags.
    const Bytes Again = Save(Bar);
    EXPECT_EQ(Again[8 + 4 + 7 + 16 + 1], 9);
}

TEST(FolioStream, ZeroOrNegativeCountsLoadNoGroupsAndStopReading) {
    for (std::int32_t Count : {0, -1, -2147483647 - 1}) {
        TDeletionLog Log;
        TFolio Bar(nullptr);
        Fill(Bar);
        Log.Attach(Bar);
        Bytes B;
        Int(B, 100);
        Int(B, Count);
        B.push_back(0xEE); // garbage after the record is never read
        TMemoryStream Stream;
        Stream.WriteBuffer(B.data(), static_cast<std::int64_t>(B.size()));
        Stream.SetPosition(0);
        Bar.LoadFromStream(Stream);
        EXPECT_EQ(Stream.GetPosition(), 8);
        EXPECT_EQ(Bar.GetGroups()->GetCount(), 0);
        EXPECT_EQ(Bar.GetVisibleGroup(), -1);
        EXPECT_EQ(Log.Log.size(), 5u);
    }
}

TEST(FolioStream, LoadDeletesOldContentsWithEventsBeforeAppending) {
    TDeletionLog Log; // outlives the bar, whose destruction reports too
    TFolio Bar(nullptr);
    Fill(Bar);
    Bar.SetAnimationStyle(asNone);
    Bar.SetVisibleGroup(1);
    Log.Attach(Bar);
    int GroupsWhenFirstEvent = -1;
    Bar.OnGroupDeletion = [&](TObject*, TFolioGroup* G) {
        if (GroupsWhenFirstEvent < 0) GroupsWhenFirstEvent = Bar.GetGroups()->GetCount();
        Log.Log.push_back("g:" + G->GetCaption());
    };
    Load(Bar, WorkedExample());
    EXPECT_EQ(Log.Log, (std::vector<std::string>{"i:one", "i:two", "g:Alpha", "i:", "g:Beta"}));
    EXPECT_EQ(GroupsWhenFirstEvent, 1); // no new group was there yet
    EXPECT_EQ(Bar.GetGroups()->GetCount(), 1);
    EXPECT_EQ(Bar.GetVisibleGroup(), 0);
}

TEST(FolioStream, DamagedStreamsLeaveTheBarUntouched) {
    TFolio Original(nullptr);
    Fill(Original);
    const Bytes Good = Save(Original);

    std::vector<Bytes> Damaged;
    for (size_t Cut : {size_t(3), size_t(8), size_t(30), Good.size() - 1})
        Damaged.emplace_back(Good.begin(), Good.begin() + Cut);
    Bytes HugeCount = Good;
    HugeCount[4] = 0xFF;
    HugeCount[5] = 0xFF;
    HugeCount[6] = 0xFF;
    HugeCount[7] = 0x7F;
    Damaged.push_back(HugeCount);
    Bytes HugeCaption = Good;
    HugeCaption[15] = 0x7F; // caption length 0x7F000005
    Damaged.push_back(HugeCaption);
    Bytes NegativeCaption = Good;
    NegativeCaption[15] = 0x80;
    Damaged.push_back(NegativeCaption);
    Bytes BadPicture = WorkedExample();
    BadPicture[8 + 4 + 7 + 16] = 0; // announces a picture, but "BM" never comes
    Damaged.push_back(BadPicture);

    for (size_t I = 0; I < Damaged.size(); ++I) {
        SCOPED_TRACE(I);
        TDeletionLog Log;
        TFolio Bar(nullptr);
        Fill(Bar);
        Bar.SetAnimationStyle(asNone);
        Bar.SetVisibleGroup(1);
        Log.Attach(Bar);
        if (I + 1 == Damaged.size())
            EXPECT_THROW(Load(Bar, Damaged[I]), Exception);
        else
            EXPECT_THROW(Load(Bar, Damaged[I]), EReadError);
        EXPECT_TRUE(Log.Log.empty());
        EXPECT_EQ(Save(Bar), Good);
        EXPECT_EQ(Bar.GetVisibleGroup(), 1);
    }
}

TEST(FolioStream, AssignIsADeepCopyAndSelfAssignmentRebuilds) {
    TDeletionLog Log;
    TFolio Bar(nullptr);
    Fill(Bar);
    int Marker = 0;
    Bar.GetGroups()->GetGroup(1)->SetData(&Marker);
    const Bytes Before = Save(Bar);

    TFolio Other(nullptr);
    Other.SetGroups(Bar.GetGroups());
    EXPECT_EQ(Save(Other), Before);
    EXPECT_EQ(Other.GetGroups()->GetGroup(1)->GetData(), &Marker); // full pointer width

    Log.Attach(Bar);
    Bar.GetGroups()->Assign(Bar.GetGroups());
    EXPECT_EQ(Log.Log.size(), 5u); // every old group and item was rebuilt
    EXPECT_EQ(Save(Bar), Before);
    EXPECT_EQ(Bar.GetGroups()->GetGroup(1)->GetData(), &Marker);

    TFolioItems* Items = Bar.GetGroups()->GetGroup(0)->GetItems();
    Log.Log.clear();
    Items->Assign(Items);
    EXPECT_EQ(Log.Log, (std::vector<std::string>{"i:one", "i:two"}));
    EXPECT_EQ(Save(Bar), Before);

    TFolioItems Detached(nullptr);
    Detached.Assign(Items);
    EXPECT_TRUE(Detached.Equals(Items));
    EXPECT_THROW(Bar.GetGroups()->Assign(Items), EConvertError);
}

TEST(FolioStream, FilesRoundTripAndBadFilesChangeNothing) {
    char Name[] = "/tmp/folio_stream_XXXXXX";
    const int Fd = mkstemp(Name);
    ASSERT_GE(Fd, 0);
    close(Fd);
    TFolio Bar(nullptr);
    Fill(Bar);
    Bar.SaveToFile(Name);
    TFolio Copy(nullptr);
    Copy.LoadFromFile(Name);
    EXPECT_EQ(Save(Copy), Save(Bar));
    std::remove(Name);

    EXPECT_THROW(Copy.LoadFromFile(Name), EFOpenError);
    EXPECT_EQ(Save(Copy), Save(Bar));
    EXPECT_THROW(Copy.SaveToFile("/nonexistent-dir/x.fol"), EFCreateError);
}

TEST(FolioStream, DataKeepsTheLow32BitsInTheFile) {
    TFolio Bar(nullptr);
    void* Wide = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x0000000123456789ull));
    Bar.GetGroups()->AddObject("G", Wide);
    const Bytes Saved = Save(Bar);
    EXPECT_EQ(Saved.size(), 58u);
    EXPECT_EQ(Saved[8 + 4 + 4 + 1], 0x89);
    EXPECT_EQ(Saved[8 + 4 + 4 + 4], 0x23);
    TFolio Copy(nullptr);
    Load(Copy, Saved);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetData(), reinterpret_cast<void*>(0x23456789));
}

// The pictures of one bar share one pixel budget: a bar stream of many
// modest pictures cannot add up to more than the application allows.
TEST(FolioStream, PicturesOfOneLoadShareThePixelBudget) {
    TFolio Source(nullptr);
    TBitmap Picture(30, 30); // 900 pixels each
    for (const char* Caption : {"A", "B"}) Source.GetGroups()->Add(Caption)->SetBitmap(&Picture);
    const Bytes Two = Save(Source);

    TDeletionLog Log;
    TFolio Bar(nullptr);
    Fill(Bar);
    Log.Attach(Bar);
    const Bytes Before = Save(Bar);
    struct TRestore {
        ~TRestore() { SetLoadPixelBudget(DefaultLoadPixelBudget); }
    } Restore;
    SetLoadPixelBudget(1500);
    try {
        Load(Bar, Two);
        ADD_FAILURE() << "the second picture went over the load budget";
    } catch (const EInvalidGraphic& E) {
        EXPECT_NE(std::string(E.what()).find("SetLoadPixelBudget"), std::string::npos) << E.what();
    }
    EXPECT_EQ(Save(Bar), Before);
    EXPECT_TRUE(Log.Log.empty());
    SetLoadPixelBudget(1800);
    Load(Bar, Two);
    EXPECT_EQ(Save(Bar), Two);
}

// A picture the program made itself is copied whatever its size; only bytes
// from outside are held to the budget.
TEST(FolioStream, DeepCopiesAreNotHeldToThePictureBudget) {
    TFolio Bar(nullptr);
    TBitmap Picture(20, 20);
    Picture.GetCanvas()->SetPixel(3, 4, clRed);
    Bar.GetGroups()->Add("Big")->SetBitmap(&Picture);
    const Bytes Saved = Save(Bar);
    struct TRestore {
        ~TRestore() { SetPicturePixelBudget(DefaultPicturePixelBudget); }
    } Restore;
    SetPicturePixelBudget(100);

    TFolio Copy(nullptr);
    Copy.SetGroups(Bar.GetGroups());
    EXPECT_EQ(Save(Copy), Saved);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetBitmap()->GetPixel(3, 4), clRed);
    TFolio Loaded(nullptr);
    EXPECT_THROW(Load(Loaded, Saved), EInvalidGraphic);
}
