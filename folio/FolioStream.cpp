#include "folio/Folio.h"

#include "framework/core/AtomicFile.h"
#include "framework/gfx/PictureBudget.h"

#include <bit>
#include <cstring>
#include <vector>

namespace folio {

static_assert(std::endian::native == std::endian::little, "the stream format is little-endian");

namespace {

constexpr std::int32_t FormatVersion = 100;

// The smallest possible records: every string empty, no picture, no items.
// A count is checked against them before anything is allocated for it.
constexpr std::int64_t MinItemRecord = 4 + 4 + 4 + 4 + 4 + 4 + 4 + 1;
constexpr std::int64_t MinGroupRecord = 4 + 4 + 4 + 12 + 1 + 1 + 4 + 1 + 4 + 1 + 4 + 1 + 8;

// The Data slot of the format is 32 bits wide; in memory Data is a pointer.
std::int32_t DataToSlot(void* Data) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Data)));
}

void* SlotToData(std::int32_t Slot) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(Slot)));
}

// Collects a record's fixed fields and short strings, so that a record goes
// to the stream in as few writes as possible.
class TRecordWriter {
public:
    explicit TRecordWriter(TStream& Stream) : FStream(Stream) {}
    ~TRecordWriter() = default;

    void Int(std::int32_t Value) { Put(&Value, 4); }
    void Byte(std::uint8_t Value) { Put(&Value, 1); }
    void Str(const String& Value) {
        Int(static_cast<std::int32_t>(Value.size()));
        Put(Value.data(), Value.size());
    }
    void Flush() {
        FStream.WriteBuffer(FBuffer, static_cast<std::int64_t>(FUsed));
        FUsed = 0;
    }

private:
    void Put(const void* Data, size_t Count) {
        if (FUsed + Count > sizeof(FBuffer)) {
            Flush();
            if (Count > sizeof(FBuffer)) {
                FStream.WriteBuffer(Data, static_cast<std::int64_t>(Count));
                return;
            }
        }
        std::memcpy(FBuffer + FUsed, Data, Count);
        FUsed += Count;
    }

    TStream& FStream;
    char FBuffer[512];
    size_t FUsed = 0;
};

} // namespace

// Reads the format from a stream, knowing how many bytes are left, so that a
// damaged count or string length fails before anything is allocated for it.
class TFolioReader {
public:
    explicit TFolioReader(TStream& Stream) : FStream(Stream), FRemaining(Stream.Remaining()) {}

    void Read(void* Buffer, std::int64_t Count) {
        FStream.ReadBuffer(Buffer, Count);
        FRemaining -= Count;
    }
    std::int32_t Int() {
        std::int32_t Value;
        Read(&Value, 4);
        return Value;
    }
    std::uint8_t Byte() {
        std::uint8_t Value;
        Read(&Value, 1);
        return Value;
    }
    void Str(String& Value) { StrOfLength(Int(), Value); }
    void StrOfLength(std::int32_t Length, String& Value) {
        if (Length < 0 || Length > FRemaining) TStream::ReadError();
        Value.resize(static_cast<size_t>(Length));
        Read(Value.data(), Length);
    }
    // A record count; 0 or less means none. A count that cannot fit in what
    // is left of the stream fails at once.
    int Count(std::int64_t MinRecordSize) {
        const std::int32_t Value = Int();
        if (Value <= 0) return 0;
        if (Value > FRemaining / MinRecordSize) TStream::ReadError();
        return Value;
    }
    // The bitmap reads its own image straight from the stream.
    void Picture(TBitmap& Bitmap) {
        const std::int64_t Start = FStream.GetPosition();
        Bitmap.LoadFromStream(FStream);
        FRemaining -= FStream.GetPosition() - Start;
    }

private:
    TStream& FStream;
    std::int64_t FRemaining;
};

// ---------------------------------------------------------------------------
// Items

void TFolioItem::WriteData(TStream& Stream) const {
    TRecordWriter W(Stream);
    W.Int(FormatVersion);
    W.Int(FImageIndex);
    W.Int(FOverImageIndex);
    W.Str(FCaption);
    W.Int(DataToSlot(FData));
    W.Int(FTag);
    W.Str(FHint);
    W.Byte(FShowHint ? 1 : 0);
    W.Flush();
}

void TFolioItem::ReadRecord(TFolioReader& Reader) {
    // Version, ImageIndex, OverImageIndex and the caption length come as one
    // block, and so do Data, Tag and the hint length.
    std::int32_t Head[4];
    Reader.Read(Head, sizeof Head);
    FImageIndex = Head[1];
    FOverImageIndex = Head[2];
    Reader.StrOfLength(Head[3], FCaption);
    std::int32_t Middle[3];
    Reader.Read(Middle, sizeof Middle);
    FData = SlotToData(Middle[0]);
    FTag = Middle[1];
    Reader.StrOfLength(Middle[2], FHint);
    FShowHint = Reader.Byte() != 0;
}

void TFolioItem::ReadData(TStream& Stream) {
    TFolioItem Staged(nullptr);
    TFolioReader Reader(Stream);
    Staged.ReadRecord(Reader);
    Assign(&Staged);
}

void TFolioItems::WriteData(TStream& Stream) const {
    const std::int32_t Head[2] = {FormatVersion, static_cast<std::int32_t>(FList.Count())};
    Stream.WriteBuffer(Head, sizeof Head);
    for (int I = 0; I < FList.Count(); ++I) FList.At(I)->WriteData(Stream);
}

void TFolioItems::ReadRecord(TFolioReader& Reader) {
    Reader.Int(); // the version is not checked
    const int Count = Reader.Count(MinItemRecord);
    for (int I = 0; I < Count; ++I) AppendNew()->ReadRecord(Reader);
}

void TFolioItems::ReadData(TStream& Stream) {
    TFolioItems Staging(nullptr);
    TFolioReader Reader(Stream);
    Staging.ReadRecord(Reader);
    TakeLoaded(Staging);
}

namespace {

template <class TCollection>
void CollectData(const TCollection& Items, std::vector<void*>& Data);

template <>
void CollectData(const TFolioItems& Items, std::vector<void*>& Data) {
    for (int I = 0; I < Items.GetCount(); ++I) Data.push_back(Items.GetItem(I)->GetData());
}

template <>
void CollectData(const TFolioGroups& Groups, std::vector<void*>& Data) {
    for (int I = 0; I < Groups.GetCount(); ++I) {
        const TFolioGroup* Group = Groups.GetGroup(I);
        Data.push_back(Group->GetData());
        CollectData(*Group->GetItems(), Data);
    }
}

void RestoreData(TFolioItems& Items, const std::vector<void*>& Data, size_t& Next) {
    for (int I = 0; I < Items.GetCount() && Next < Data.size(); ++I)
        Items.GetItem(I)->SetData(Data[Next++]);
}

void RestoreData(TFolioGroups& Groups, const std::vector<void*>& Data, size_t& Next) {
    for (int I = 0; I < Groups.GetCount() && Next < Data.size(); ++I) {
        TFolioGroup* Group = Groups.GetGroup(I);
        Group->SetData(Data[Next++]);
        RestoreData(*Group->GetItems(), Data, Next);
    }
}

// The deep copy goes through the stream format, whose Data slot is 32 bits
// wide; the full pointer values are carried beside it and put back after.
// Its pictures are the program's own, so the loading budgets do not apply.
template <class TCollection>
void DeepCopy(TCollection& Target, const TCollection& Source) {
    std::vector<void*> Data;
    CollectData(Source, Data);
    TMemoryStream Stream;
    Source.WriteData(Stream);
    Stream.SetPosition(0);
    TTrustedPictureScope Trusted;
    Target.ReadData(Stream);
    size_t Next = 0;
    RestoreData(Target, Data, Next);
}

} // namespace

void TFolioItems::Assign(const TPersistent* Source) {
    const auto* Items = dynamic_cast<const TFolioItems*>(Source);
    if (!Items) {
        TPersistent::Assign(Source);
        return;
    }
    DeepCopy(*this, *Items);
}

// ---------------------------------------------------------------------------
// Groups

void TFolioGroup::WriteData(TStream& Stream) const {
    TRecordWriter W(Stream);
    W.Int(FormatVersion);
    W.Str(FCaption);
    W.Int(DataToSlot(FData));
    W.Int(FEndColor);
    W.Int(FColor);
    W.Int(FStartColor);
    const bool Empty = FBitmap->GetEmpty();
    W.Byte(Empty ? 1 : 0);
    if (!Empty) {
        W.Flush();
        FBitmap->SaveToStream(Stream);
    }
    W.Byte(FStyle);
    W.Int(FCaptionColor);
    W.Byte(FFixedBitmap ? 1 : 0);
    W.Int(FTag);
    W.Byte(FImageSize);
    W.Str(FHint);
    W.Byte(FShowHint ? 1 : 0);
    W.Flush();
    FItems->WriteData(Stream);
}

void TFolioGroup::ReadRecord(TFolioReader& Reader) {
    Reader.Int(); // the version is not checked
    Reader.Str(FCaption);
    FData = SlotToData(Reader.Int());
    FEndColor = Reader.Int();
    FColor = Reader.Int();
    FStartColor = Reader.Int();
    // Only a zero byte announces a picture; any other value means none follows.
    if (Reader.Byte() == 0) Reader.Picture(*FBitmap);
    FStyle = static_cast<TFolGroupBackgroungStyle>(Reader.Byte());
    FCaptionColor = Reader.Int();
    FFixedBitmap = Reader.Byte() != 0;
    FTag = Reader.Int();
    FImageSize = static_cast<TFolImageSize>(Reader.Byte());
    Reader.Str(FHint);
    FShowHint = Reader.Byte() != 0;
    FItems->ReadRecord(Reader);
}

void TFolioGroup::TakeContents(TFolioGroup& Staged) {
    FCaption = std::move(Staged.FCaption);
    FData = Staged.FData;
    FEndColor = Staged.FEndColor;
    FColor = Staged.FColor;
    FStartColor = Staged.FStartColor;
    // A record without a picture leaves the group's picture as it was.
    if (!Staged.FBitmap->GetEmpty()) std::swap(FBitmap, Staged.FBitmap);
    FStyle = Staged.FStyle;
    FCaptionColor = Staged.FCaptionColor;
    FFixedBitmap = Staged.FFixedBitmap;
    FTag = Staged.FTag;
    FImageSize = Staged.FImageSize;
    FHint = std::move(Staged.FHint);
    FShowHint = Staged.FShowHint;
    FItems->Clear();
    FItems->Adopt(*Staged.FItems);
}

void TFolioGroup::ReadData(TStream& Stream) {
    TPictureLoadScope Pictures;
    TFolioGroup Staged(nullptr);
    TFolioReader Reader(Stream);
    Staged.ReadRecord(Reader);
    TakeContents(Staged);
    Changed();
}

void TFolioGroups::WriteData(TStream& Stream) const {
    const std::int32_t Head[2] = {FormatVersion, static_cast<std::int32_t>(FList.Count())};
    Stream.WriteBuffer(Head, sizeof Head);
    for (int I = 0; I < FList.Count(); ++I) FList.At(I)->WriteData(Stream);
}

void TFolioGroups::ReadRecord(TFolioReader& Reader) {
    Reader.Int(); // the version is not checked
    const int Count = Reader.Count(MinGroupRecord);
    for (int I = 0; I < Count; ++I) {
        auto* Group = new TFolioGroup(this);
        FList.Append(Group);
        Group->ReadRecord(Reader);
    }
}

void TFolioGroups::ReadData(TStream& Stream) {
    // The whole record is read into a collection outside the bar first, so a
    // damaged stream leaves this collection untouched; only then are the old
    // groups deleted (with their events) and the new ones appended. The
    // groups' pictures share one pixel budget.
    TPictureLoadScope Pictures;
    TFolioGroups Staging(nullptr);
    TFolioReader Reader(Stream);
    Staging.ReadRecord(Reader);
    Clear();
    Adopt(Staging);
}

void TFolioGroups::Assign(const TPersistent* Source) {
    const auto* Groups = dynamic_cast<const TFolioGroups*>(Source);
    if (!Groups) {
        TPersistent::Assign(Source);
        return;
    }
    DeepCopy(*this, *Groups);
}

// ---------------------------------------------------------------------------
// The bar

void TFolio::SaveToStream(TStream& Stream) {
    FGroups->WriteData(Stream);
}

void TFolio::LoadFromStream(TStream& Stream) {
    FGroups->ReadData(Stream);
}

// The file is replaced only once all of it is written, so a save that fails
// (a full disk, a size limit) leaves the earlier file as it was.
void TFolio::SaveToFile(const String& FileName) {
    TAtomicFileStream File(FileName);
    SaveToStream(File);
    File.Commit();
}

void TFolio::LoadFromFile(const String& FileName) {
    TFileStream File(FileName, fmOpenRead);
    LoadFromStream(File);
}

} // namespace folio
