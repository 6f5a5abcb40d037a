#include "folio/Folio.h"
#include "folio/FolioRecords.h"

#include "framework/core/AtomicFile.h"
#include "framework/gfx/PictureBudget.h"

#include <bit>
#include <cstring>
#include <vector>

namespace folio {

static_assert(std::endian::native == std::endian::little, "the stream format is little-endian");

TFolioReader::TFolioReader(TStream& Stream) : FStream(Stream), FRemaining(Stream.Remaining()) {
    // A memory stream, which every deep copy and form read uses, is read in
    // place: a field costs a copy of its bytes and no call into the stream.
    if (auto* Memory = dynamic_cast<TMemoryStream*>(&Stream)) {
        FBase = Memory->GetPosition();
        FMemory = Memory->Memory() + FBase;
    }
}

TFolioReader::~TFolioReader() {
    SyncPosition();
}

void TFolioReader::SyncPosition() {
    if (!FMemory) return;
    FBase += FOffset;
    FOffset = 0;
    FStream.SetPosition(FBase);
}

void TFolioReader::Picture(TBitmap& Bitmap) {
    SyncPosition();
    const std::int64_t Start = FStream.GetPosition();
    Bitmap.LoadFromStream(FStream);
    const std::int64_t End = FStream.GetPosition();
    FRemaining -= End - Start;
    if (FMemory) {
        FBase = End;
        FMemory = static_cast<TMemoryStream&>(FStream).Memory() + End;
    }
}

// ---------------------------------------------------------------------------
// Items

void TFolioItem::WriteData(TStream& Stream) const {
    TRecordWriter W(Stream);
    fields::Write(Fields(), W, *this);
    W.Flush();
}

void TFolioItem::ReadRecord(TFolioReader& Reader) {
    fields::Read(Fields(), Reader, *this);
}

void TFolioItem::ReadData(TStream& Stream) {
    TFolioItem Staged(nullptr);
    TFolioReader Reader(Stream);
    Staged.ReadRecord(Reader);
    Assign(&Staged);
}

void TFolioItems::WriteData(TStream& Stream) const {
    const std::int32_t Head[2] = {FolioFormatVersion, static_cast<std::int32_t>(FList.Count())};
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
    fields::Write(Fields(), W, *this);
    W.Flush();
    FItems->WriteData(Stream);
}

void TFolioGroup::ReadRecord(TFolioReader& Reader) {
    fields::Read(Fields(), Reader, *this);
    FItems->ReadRecord(Reader);
}

void TFolioGroup::TakeContents(TFolioGroup& Staged) {
    // A record without a picture leaves the group's picture as it was.
    fields::Take(Fields(), *this, Staged);
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
    const std::int32_t Head[2] = {FolioFormatVersion, static_cast<std::int32_t>(FList.Count())};
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
