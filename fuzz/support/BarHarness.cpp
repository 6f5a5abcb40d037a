#include "fuzz/support/BarHarness.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/PictureBudget.h"
#include "fuzz/support/HandBmp.h"
#include "fuzz/support/Pictures.h"

namespace folio::fuzz {

namespace {

// Counts the bar's paints, so a check can tell that a repaint happened.
class TCountingBar : public TFolio {
public:
    TCountingBar(TComponent* AOwner, int& Paints) : TFolio(AOwner), FPaints(Paints) {}

protected:
    void Paint() override {
        ++FPaints;
        TFolio::Paint();
    }

private:
    int& FPaints;
};

// A Data value wider than the format's 32-bit slot, so that a deep copy that
// lost the upper half would show.
void* WideData(int N) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1234567890ull + N));
}

std::unique_ptr<TImageList> Images(int Size, int Count) {
    auto List = std::make_unique<TImageList>(nullptr);
    List->SetWidth(Size);
    List->SetHeight(Size);
    TBitmap Picture;
    for (int I = 0; I < Count; ++I) {
        Paint(Picture, Size, Size);
        Picture.GetCanvas()->SetPixel(I, I, clRed); // each image differs
        List->Add(&Picture, nullptr);
    }
    return List;
}

// The contents the harness's bar holds before every load: a gradient group
// whose items point past the image lists too, a long group with a picture
// (the open one, scrolled), and a group without items.
void FillGroups(TFolioGroups& Groups) {
    int N = 0;
    TFolioGroup* Mail = Groups.AddObject("Mail", WideData(N++));
    Mail->SetStyle(gbGradient);
    Mail->SetStartColor(0x00FF8040);
    Mail->SetEndColor(clBtnShadow);
    Mail->SetHint("Messages");
    Mail->SetShowHint(true);
    Mail->SetTag(-3);
    for (int I = 0; I < 6; ++I) {
        TFolioItem* Item =
            Mail->GetItems()->AddObject("Box " + IntToStr(I), I * 2 - 1, WideData(N++));
        Item->SetOverImageIndex(I);
        Item->SetTag(I);
        Item->SetHint(I % 2 ? "odd" : "");
        Item->SetShowHint(I % 2 == 1);
    }

    TFolioGroup* Pictures = Groups.AddObject("Pictures", WideData(N++));
    TBitmap Picture;
    Paint(Picture, 12, 8);
    Pictures->SetBitmap(&Picture);
    Pictures->SetStyle(gbBitmap);
    Pictures->SetFixedBitmap(false);
    Pictures->SetImageSize(isSmall);
    for (int I = 0; I < 40; ++I)
        Pictures->GetItems()->AddObject("Picture " + IntToStr(I), I % 4, WideData(N++));

    TFolioGroup* Empty = Groups.AddObject("", WideData(N++));
    Empty->SetCaptionColor(clWindow);
    Empty->SetColor(0x00336699);
}

// A group record written field by field, with a picture image given as bytes.
void PutGroup(TBytes& B, std::int32_t Version, const std::string& Caption, std::uint8_t BitmapEmpty,
              const TBytes& Picture, std::uint8_t Style, std::uint8_t Flag, std::uint8_t ImageSize,
              std::int32_t ItemCount) {
    PutInt(B, Version);
    PutStr(B, Caption);
    PutInt(B, 7);                                      // Data
    PutInt(B, 0x00FF0000);                             // EndColor
    PutInt(B, static_cast<std::int32_t>(0x80000010u)); // Color
    PutInt(B, 0x0000FF00);                             // StartColor
    PutByte(B, BitmapEmpty);
    B.insert(B.end(), Picture.begin(), Picture.end());
    PutByte(B, Style);
    PutInt(B, static_cast<std::int32_t>(0x8000000Fu)); // CaptionColor
    PutByte(B, Flag);                                  // FixedBitmap
    PutInt(B, -1);                                     // Tag
    PutByte(B, ImageSize);
    PutStr(B, "hint");
    PutByte(B, Flag); // ShowHint
    PutInt(B, Version);
    PutInt(B, ItemCount);
    for (std::int32_t I = 0; I < ItemCount; ++I) {
        PutInt(B, Version);
        PutInt(B, I - 1);       // ImageIndex
        PutInt(B, 1000000 + I); // OverImageIndex, far past any list
        PutStr(B, "item");
        PutInt(B, I);  // Data
        PutInt(B, -I); // Tag
        PutStr(B, "");
        PutByte(B, Flag);
    }
}

} // namespace

struct TBarHarness::TState {
    TBytes Bytes;
    int VisibleGroup = -1;
    std::vector<const void*> Objects; // every group and item, in order
    std::vector<void*> Data;
    std::vector<int> StartItems;
    TFolioGroup* HoverGroup = nullptr;
    TFolioItem* HoverItem = nullptr;

    bool operator==(const TState&) const = default;

    String Differences(const TState& Other) const {
        String Why;
        if (Bytes != Other.Bytes)
            Why += Format("saved bytes differ (%zu before, %zu after); ", Bytes.size(),
                          Other.Bytes.size());
        if (VisibleGroup != Other.VisibleGroup)
            Why += Format("open group %d became %d; ", VisibleGroup, Other.VisibleGroup);
        if (Objects != Other.Objects) Why += "groups or items were replaced; ";
        if (Data != Other.Data) Why += "Data values changed; ";
        if (StartItems != Other.StartItems) Why += "scroll positions changed; ";
        if (HoverGroup != Other.HoverGroup || HoverItem != Other.HoverItem)
            Why += "the hovered group or item changed; ";
        return Why;
    }
};

TBarHarness::TBarHarness() {
    FForm = std::make_unique<TForm>(nullptr);
    FForm->SetBounds(0, 0, 180, 240);
    FSmallImages = Images(16, 3);
    FLargeImages = Images(32, 3);
    FBar = new TCountingBar(FForm.get(), FPaints);
    FBar->SetAnimationStyle(asNone);
    FBar->SetBounds(10, 10, 140, 200);
    FBar->SetSmallImages(FSmallImages.get());
    FBar->SetLargeImages(FLargeImages.get());
    FBar->SetParent(FForm.get());
    TFolio Source(nullptr);
    FillGroups(*Source.GetGroups());
    FFilled = Save(Source);
    FSource = std::make_unique<TFolioGroups>(nullptr);
    FSource->Assign(Source.GetGroups());
    FBar->OnGroupDeletion = [this](TObject*, TFolioGroup*) { ++FGroupDeletions; };
    FBar->OnItemDeletion = [this](TObject*, TFolioItem*) { ++FItemDeletions; };
    FForm->Show();
    Fill();
    // Later fills take these bytes on trust instead of saving the bar again.
    FOLIO_FUZZ_CHECK(Save(*FBar) == FFilled, "the filled bar saves other bytes than its source");
}

TBarHarness::~TBarHarness() {
    FBar->SetSmallImages(nullptr);
    FBar->SetLargeImages(nullptr);
}

TBytes TBarHarness::Save(TFolio& Bar) {
    TMemoryStream Stream;
    // Room for the harness's full bar up front: under the sanitizers every
    // step of growth is a fresh block, and this runs for every input.
    Stream.SetSize(4096);
    Stream.SetSize(0);
    Bar.SaveToStream(Stream);
    return StreamBytes(Stream);
}

// Puts the full contents back, opens the long group scrolled a little, and
// rests the pointer over one of its items.
void TBarHarness::Fill() {
    FBar->GetGroups()->Assign(FSource.get());
    FBar->SetVisibleGroup(1);
    FBar->GetGroups()->GetGroup(1)->SetStartItem(3);
    FHost.MoveTo(FBar->ClientToScreen(Point(60, 60)));
    FGroupDeletions = FItemDeletions = 0;
    FFull = std::make_unique<TState>(Capture(false));
}

TBarHarness::TState TBarHarness::Capture(bool Bytes) {
    TState S;
    S.Bytes = Bytes ? Save(*FBar) : FFilled;
    S.VisibleGroup = FBar->GetVisibleGroup();
    const TFolioGroups& Groups = *FBar->GetGroups();
    if (FFull) {
        S.Objects.reserve(FFull->Objects.size());
        S.Data.reserve(FFull->Data.size());
        S.StartItems.reserve(FFull->StartItems.size());
    }
    for (int G = 0; G < Groups.GetCount(); ++G) {
        const TFolioGroup* Group = Groups.GetGroup(G);
        S.Objects.push_back(Group);
        S.Data.push_back(Group->GetData());
        S.StartItems.push_back(Group->GetStartItem());
        const TFolioItems& Items = *Group->GetItems();
        for (int I = 0; I < Items.GetCount(); ++I) {
            S.Objects.push_back(Items.GetItem(I));
            S.Data.push_back(Items.GetItem(I)->GetData());
        }
    }
    S.HoverGroup = FBar->GetGroupUnderCurosr();
    S.HoverItem = FBar->GetItemUnderCurosr();
    return S;
}

bool TBarHarness::CheckLoad(const std::function<void(TFolio&)>& Load) {
    const TState& Before = *FFull;
    const int OldGroups = FBar->GetGroups()->GetCount();
    const int OldItems = static_cast<int>(Before.Objects.size()) - OldGroups;
    FGroupDeletions = FItemDeletions = 0;
    try {
        Load(*FBar);
    } catch (const Exception&) {
        FOLIO_FUZZ_CHECK(FGroupDeletions == 0 && FItemDeletions == 0,
                         Format("a failed load fired %d group and %d item deletions",
                                FGroupDeletions, FItemDeletions));
        const TState After = Capture();
        FOLIO_FUZZ_CHECK(After == Before,
                         "a failed load changed the bar: " + Before.Differences(After));
        return false;
    }

    FOLIO_FUZZ_CHECK(FGroupDeletions == OldGroups && FItemDeletions == OldItems,
                     Format("a load deleted %d of %d groups and %d of %d items with events",
                            FGroupDeletions, OldGroups, FItemDeletions, OldItems));
    TFolioGroups& Groups = *FBar->GetGroups();
    FOLIO_FUZZ_CHECK(FBar->GetVisibleGroup() == (Groups.GetCount() > 0 ? 0 : -1),
                     Format("open group %d after loading %d groups", FBar->GetVisibleGroup(),
                            Groups.GetCount()));

    // Its pictures together keep within the budget of one load.
    long long Pixels = 0;
    for (int G = 0; G < Groups.GetCount(); ++G) {
        const TBitmap& Picture = *Groups.GetGroup(G)->GetBitmap();
        Pixels += static_cast<long long>(Picture.GetWidth()) * Picture.GetHeight();
    }
    FOLIO_FUZZ_CHECK(Pixels <= GetLoadPixelBudget(), "a load went over the pixel budget");

    // What the bar saves now reads back into another bar that saves it alike.
    const TBytes Saved = Save(*FBar);
    TFolio Other(nullptr);
    TMemoryStream Stream;
    FillStream(Stream, Saved.data(), Saved.size());
    Other.LoadFromStream(Stream);
    FOLIO_FUZZ_CHECK(Stream.GetPosition() == static_cast<std::int64_t>(Saved.size()),
                     "reading saved bytes stopped before their end");
    FOLIO_FUZZ_CHECK(Save(Other) == Saved, "saved bytes load into a bar that saves others");
    for (int G = 0; G < Groups.GetCount(); ++G) {
        const TFolioGroup* Mine = Groups.GetGroup(G);
        const TFolioGroup* Theirs = Other.GetGroups()->GetGroup(G);
        FOLIO_FUZZ_CHECK(Mine->IsEqual(Theirs) && Mine->GetImageSize() == Theirs->GetImageSize(),
                         Format("group %d differs after a round trip", G));
    }

    // A deep copy holds the same records and every Data value at full width.
    TFolioGroups Copy(nullptr);
    Copy.Assign(&Groups);
    TMemoryStream CopyStream;
    Copy.WriteData(CopyStream);
    FOLIO_FUZZ_CHECK(StreamBytes(CopyStream) == Saved, "a deep copy saves other bytes");
    for (int G = 0; G < Groups.GetCount(); ++G) {
        const TFolioItems& Items = *Groups.GetGroup(G)->GetItems();
        const TFolioItems& CopiedItems = *Copy.GetGroup(G)->GetItems();
        FOLIO_FUZZ_CHECK(Groups.GetGroup(G)->GetData() == Copy.GetGroup(G)->GetData() &&
                             Items.Equals(&CopiedItems),
                         Format("the deep copy of group %d differs", G));
    }

    // The loaded bar paints, and the pointer finds its way over it.
    const int Paints = FPaints;
    FBar->Invalidate();
    FHost.RunUntilIdle();
    FOLIO_FUZZ_CHECK(FPaints > Paints, "the loaded bar did not paint");
    for (const TPoint P : {Point(5, 5), Point(130, 190), Point(60, 60), Point(70, 100)})
        FHost.MoveTo(FBar->ClientToScreen(P));

    Fill();
    return true;
}

void TBarHarness::AddSeeds(TSeeds& Seeds) {
    TFolio Bar(nullptr);
    Seeds.Add("empty.fol", Save(Bar));
    Bar.GetGroups()->Add("New");
    Seeds.Add("one-group.fol", Save(Bar));
    Bar.GetGroups()->Clear();
    FillGroups(*Bar.GetGroups());
    Seeds.Add("full.fol", Save(Bar));

    // Pictures as the bitmap writes them, 24 and 32 bits.
    Bar.GetGroups()->Clear();
    TBitmap Picture;
    Paint(Picture, 6, 5);
    Bar.GetGroups()->Add("24")->SetBitmap(&Picture);
    Picture.SetPixelFormat(pf32bit);
    Bar.GetGroups()->Add("32")->SetBitmap(&Picture);
    Bar.GetGroups()->GetGroup(1)->GetBitmap()->SetPixelFormat(pf32bit);
    Seeds.Add("pictures.fol", Save(Bar));

    // Pictures of other depths and encodings, and values the writer never
    // writes but the reader takes: odd versions, enumerations out of range,
    // flags other than 0 and 1, "no picture" bytes other than 1, and counts
    // of zero or below.
    TBytes B;
    PutInt(B, 100);
    PutInt(B, 6);
    PutGroup(B, 100, "rle8", 0, HandBmp(TBmpKind::Rle8), gbBitmap, 1, isLarge, 2);
    PutGroup(B, 100, "rle4", 0, HandBmp(TBmpKind::Rle4), gbBitmap, 0, isSmall, 1);
    PutGroup(B, 100, "old header", 0, HandBmp(TBmpKind::Core24), gbGradient, 1, isSmall, 0);
    PutGroup(B, 7, "odd values", 2, {}, 9, 2, 5, 3);
    PutGroup(B, -1, "", 255, {}, 0, 0xFF, 0xFF, -4);
    PutGroup(B, 0, "top-down", 0, HandBmp(TBmpKind::TopDown8), gbColor, 1, isLarge, 1);
    Seeds.Add("hand-written.fol", B);
}

} // namespace folio::fuzz
