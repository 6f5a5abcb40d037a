#include "framework/core/StringList.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"

#include <algorithm>
#include <cstdint>

namespace folio {

FOLIO_DEFINE_CLASS(TStrings, TPersistent)
FOLIO_DEFINE_CLASS(TStringList, TStrings)

void TStrings::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index > Limit)
        throw EListError(Format("List index out of bounds (%d)", Index));
}

const String& TStrings::GetString(int Index) const {
    CheckIndex(Index, GetCount() - 1);
    return FItems[static_cast<size_t>(Index)];
}

void TStrings::SetString(int Index, const String& Value) {
    CheckIndex(Index, GetCount() - 1);
    if (FItems[static_cast<size_t>(Index)] == Value) return;
    FItems[static_cast<size_t>(Index)] = Value;
    Changed();
}

int TStrings::Add(const String& Value) {
    Insert(GetCount(), Value);
    return GetCount() - 1;
}

void TStrings::Insert(int Index, const String& Value) {
    CheckIndex(Index, GetCount());
    FItems.insert(FItems.begin() + Index, Value);
    Changed();
}

void TStrings::Delete(int Index) {
    CheckIndex(Index, GetCount() - 1);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TStrings::Move(int CurIndex, int NewIndex) {
    CheckIndex(CurIndex, GetCount() - 1);
    CheckIndex(NewIndex, GetCount() - 1);
    if (CurIndex == NewIndex) return;
    String Value = std::move(FItems[static_cast<size_t>(CurIndex)]);
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, std::move(Value));
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty()) return;
    FItems.clear();
    Changed();
}

int TStrings::IndexOf(const String& Value) const {
    auto It = std::find(FItems.begin(), FItems.end(), Value);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

String TStrings::GetText() const {
    String Result;
    for (const String& S : FItems) {
        Result += S;
        Result += '\n';
    }
    return Result;
}

void TStrings::SetText(const String& Value) {
    std::vector<String> Lines;
    size_t Start = 0;
    while (Start < Value.size()) {
        size_t End = Value.find('\n', Start);
        if (End == String::npos) End = Value.size();
        size_t Stop = End;
        if (Stop > Start && Value[Stop - 1] == '\r') --Stop;
        Lines.push_back(Value.substr(Start, Stop - Start));
        Start = End + 1;
    }
    if (Lines == FItems) return;
    FItems = std::move(Lines);
    Changed();
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0) return;
    if (--FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Changed();
    }
}

void TStrings::Changed() {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    if (OnChange) OnChange(this);
}

void TStrings::Assign(const TPersistent* Source) {
    if (const auto* S = dynamic_cast<const TStrings*>(Source)) {
        if (S == this || S->FItems == FItems) return;
        FItems = S->FItems;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::DefineProperties(TFiler* Filer) {
    // Only readers know "Text", the lines of one string, which older forms
    // of ours and forms written by hand may hold: every list is written
    // one way, as a list of its strings.
    Filer->DefineProperty(
        "Text", [this](TReader& Reader) { SetText(Reader.ReadString()); }, nullptr, false);
    const auto* Ancestor = dynamic_cast<const TStrings*>(Filer->Ancestor());
    Filer->DefineProperty(
        "Strings", [this](TReader& Reader) { ReadList(Reader); },
        [this](TWriter& Writer) { WriteList(Writer); },
        Ancestor ? Ancestor->FItems != FItems : !FItems.empty());
}

void TStrings::WriteList(TWriter& Writer) const {
    Writer.WriteListBegin();
    for (const String& S : FItems) Writer.WriteString(S);
    Writer.WriteListEnd();
}

void TStrings::ReadList(TReader& Reader) {
    // Forms written before lists existed hold the strings as a block of
    // bytes (see ReadStrings).
    if (Reader.NextValue() == TFormValueKind::Binary) {
        const String Bytes = Reader.ReadBinary();
        TMemoryStream Stream;
        Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        Stream.SetPosition(0);
        ReadStrings(Stream);
        if (Stream.Remaining() > 0)
            throw EReadError(Format("%lld bytes of a string list were left unread",
                                    static_cast<long long>(Stream.Remaining())));
        return;
    }
    std::vector<String> Items;
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) Items.push_back(Reader.ReadString());
    Reader.ReadListEnd();
    if (Items == FItems) return;
    FItems = std::move(Items);
    Changed();
}

void TStrings::WriteStrings(TStream& Stream) const {
    const auto Count = static_cast<std::int32_t>(FItems.size());
    Stream.WriteBuffer(&Count, sizeof Count);
    for (const String& S : FItems) {
        const auto Length = static_cast<std::int32_t>(S.size());
        Stream.WriteBuffer(&Length, sizeof Length);
        Stream.WriteBuffer(S.data(), Length);
    }
}

void TStrings::ReadStrings(TStream& Stream) {
    std::int32_t Count = 0;
    Stream.ReadBuffer(&Count, sizeof Count);
    // Every string takes at least its length field: a count beyond that is
    // damage, and must not size a list.
    if (Count < 0 || Count > Stream.Remaining() / 4)
        throw EReadError(Format("A string list claims %d strings in %lld bytes", Count,
                                static_cast<long long>(Stream.Remaining())));
    std::vector<String> Items;
    Items.reserve(static_cast<size_t>(Count));
    for (std::int32_t I = 0; I < Count; ++I) {
        std::int32_t Length = 0;
        Stream.ReadBuffer(&Length, sizeof Length);
        if (Length < 0 || Length > Stream.Remaining())
            throw EReadError(Format("String %d of a string list claims %d bytes", I, Length));
        String S(static_cast<size_t>(Length), '\0');
        Stream.ReadBuffer(S.data(), Length);
        Items.push_back(std::move(S));
    }
    if (Items == FItems) return;
    FItems = std::move(Items);
    Changed();
}

} // namespace folio
