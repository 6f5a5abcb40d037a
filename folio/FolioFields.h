#pragma once

// The stored records of the bar's model (an item, a group) are each
// described once, by a table of their fields: the member, its name in the
// registry layout and the uses it takes part in. Equality, copies, the
// binary stream's writer and reader with the reader's size checks, the
// registry's save and load and a form's has-data comparison are all made
// from these tables here, so a field added to a table is stored, compared
// and copied everywhere at once.
//
// A field's value type decides its encoding:
//   stream    Int32 for int and TColor, one byte for an enumeration and for
//             a bool (1 or 0), a 32-bit length and the bytes for a String,
//             the 32-bit Data slot for void*, and for the picture one byte
//             (0: a bitmap follows, anything else: none) and the bitmap
//   registry  an integer for int, TColor and an enumeration (read back to
//             its low byte), a bool, a string

#include "framework/core/Registry.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

namespace folio {

// What a field takes part in.
enum TFieldUse : unsigned {
    // IsEqual (and through it a collection's Equals).
    fuCompare = 1u << 0,
    // Assign of one record to another.
    fuCopy = 1u << 1,
    // The binary stream, its deep copies and a load taking the read record.
    fuStream = 1u << 2,
    // The registry layout; the field's registry name is its value's name.
    fuRegistry = 1u << 3,
    // Compared besides the fuCompare fields when an inherited form decides
    // whether it must store the groups.
    fuForm = 1u << 4,
};

// The uses are part of the field's type, so that a use a value type cannot
// take (a picture in the registry) fails to compile instead of being skipped.
template <unsigned FieldUses, class TRecord, class TValue>
struct TFolioField {
    using Value = TValue;
    static constexpr unsigned Uses = FieldUses;
    static constexpr bool Has(unsigned Use) { return (Uses & Use) != 0; }
    TValue TRecord::*Member;
    // The value's name in the record's registry key; null when not stored there.
    const char* RegistryName;
};

template <unsigned Uses, class TRecord, class TValue>
constexpr TFolioField<Uses, TRecord, TValue> Field(TValue TRecord::*Member,
                                                   const char* RegistryName = nullptr) {
    return {Member, RegistryName};
}

// The record format's version number, written first in every record and not
// checked when read.
constexpr std::int32_t FolioFormatVersion = 100;

// Collects a record's fixed fields and short strings, so that a record goes
// to the stream in as few writes as possible.
class TRecordWriter {
public:
    explicit TRecordWriter(TStream& Stream) : FStream(Stream) {}

    void Int(std::int32_t Value) { Put(&Value, 4); }
    void Byte(std::uint8_t Value) { Put(&Value, 1); }
    void Str(const String& Value) {
        Int(static_cast<std::int32_t>(Value.size()));
        Put(Value.data(), Value.size());
    }
    // Writes what was collected; a picture that writes itself to the stream
    // comes after a flush.
    void Flush() {
        FStream.WriteBuffer(FBuffer, static_cast<std::int64_t>(FUsed));
        FUsed = 0;
    }
    TStream& Stream() { return FStream; }

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

// Reads the format from a stream, knowing how many bytes are left, so that a
// damaged count or string length fails before anything is allocated for it.
// A memory stream is read straight from its memory (its position follows
// when the reader is done, or before a picture reads itself).
class TFolioReader {
public:
    explicit TFolioReader(TStream& Stream);
    ~TFolioReader();
    TFolioReader(const TFolioReader&) = delete;
    TFolioReader& operator=(const TFolioReader&) = delete;

    void Read(void* Buffer, std::int64_t Count) {
        if (FMemory) {
            if (Count > FRemaining) TStream::ReadError();
            std::memcpy(Buffer, FMemory + FOffset, static_cast<size_t>(Count));
            FOffset += Count;
        } else {
            FStream.ReadBuffer(Buffer, Count);
        }
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
    void Str(String& Value) {
        const std::int32_t Length = Int();
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
    void Picture(TBitmap& Bitmap);

private:
    // Puts the memory stream's position where the reader is.
    void SyncPosition();

    TStream& FStream;
    std::int64_t FRemaining;
    // For a memory stream: its bytes from the position the reader last
    // gave it, and how far the reader is past that.
    const char* FMemory = nullptr;
    std::int64_t FBase = 0;
    std::int64_t FOffset = 0;
};

namespace fields {

// The Data slot of the format is 32 bits wide; in memory Data is a pointer.
inline std::int32_t DataToSlot(void* Data) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(Data)));
}

inline void* SlotToData(std::int32_t Slot) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(Slot)));
}

template <class TTable, class TFn>
constexpr void ForEach(const TTable& Table, TFn&& Fn) {
    std::apply([&Fn](const auto&... Field) { (Fn(Field), ...); }, Table);
}

using TPicture = std::unique_ptr<TBitmap>;

// --- one value ------------------------------------------------------------------------------

template <class V>
bool SameValue(const V& A, const V& B) {
    if constexpr (std::is_same_v<V, TPicture>)
        return A->Equals(B.get());
    else
        return A == B;
}

template <class V>
void CopyValue(V& Target, const V& Source) {
    if constexpr (std::is_same_v<V, TPicture>)
        Target->Assign(Source.get());
    else
        Target = Source;
}

// A loaded record hands its values over: strings move, and a record
// without a picture leaves the target's picture as it was.
template <class V>
void TakeValue(V& Target, V& Source) {
    if constexpr (std::is_same_v<V, TPicture>) {
        if (!Source->GetEmpty()) std::swap(Target, Source);
    } else {
        Target = std::move(Source);
    }
}

template <class V>
constexpr std::int64_t MinStreamSize() {
    if constexpr (std::is_enum_v<V> || std::is_same_v<V, bool> || std::is_same_v<V, TPicture>)
        return 1;
    else
        return 4; // a 32-bit number, a Data slot or a string's length
}

template <class V>
void WriteValue(TRecordWriter& W, const V& Value) {
    if constexpr (std::is_same_v<V, TPicture>) {
        const bool Empty = Value->GetEmpty();
        W.Byte(Empty ? 1 : 0);
        if (!Empty) {
            W.Flush();
            Value->SaveToStream(W.Stream());
        }
    } else if constexpr (std::is_same_v<V, String>) {
        W.Str(Value);
    } else if constexpr (std::is_same_v<V, void*>) {
        W.Int(DataToSlot(Value));
    } else if constexpr (std::is_same_v<V, bool>) {
        W.Byte(Value ? 1 : 0);
    } else if constexpr (std::is_enum_v<V>) {
        static_assert(sizeof(V) == 1, "enumerations are stored as one byte");
        W.Byte(static_cast<std::uint8_t>(Value));
    } else {
        static_assert(std::is_same_v<V, std::int32_t>, "a field type the format does not know");
        W.Int(Value);
    }
}

template <class V>
void ReadValue(TFolioReader& R, V& Value) {
    if constexpr (std::is_same_v<V, TPicture>) {
        // Only a zero byte announces a picture; any other value means none follows.
        if (R.Byte() == 0) R.Picture(*Value);
    } else if constexpr (std::is_same_v<V, String>) {
        R.Str(Value);
    } else if constexpr (std::is_same_v<V, void*>) {
        Value = SlotToData(R.Int());
    } else if constexpr (std::is_same_v<V, bool>) {
        Value = R.Byte() != 0;
    } else if constexpr (std::is_enum_v<V>) {
        // The byte is taken as it is: a value outside the named ones
        // survives a round trip.
        Value = static_cast<V>(R.Byte());
    } else {
        Value = R.Int();
    }
}

template <class V>
void SaveValue(TRegistry& Registry, const char* Name, const V& Value) {
    if constexpr (std::is_same_v<V, String>)
        Registry.WriteString(Name, Value);
    else if constexpr (std::is_same_v<V, bool>)
        Registry.WriteBool(Name, Value);
    else if constexpr (std::is_enum_v<V>)
        Registry.WriteInteger(Name, static_cast<int>(Value));
    else
        Registry.WriteInteger(Name, Value);
}

template <class V>
void LoadValue(TRegistry& Registry, const char* Name, V& Value) {
    if constexpr (std::is_same_v<V, String>)
        Value = Registry.ReadString(Name);
    else if constexpr (std::is_same_v<V, bool>)
        Value = Registry.ReadBool(Name);
    else if constexpr (std::is_enum_v<V>)
        // The enumerations are one byte wide; a larger number keeps its low byte.
        Value = static_cast<V>(Registry.ReadInteger(Name) & 0xFF);
    else
        Value = Registry.ReadInteger(Name);
}

// --- a whole record -------------------------------------------------------------------------

// Whether every field with one of the Uses holds the same value in A and B.
template <class TTable, class TRecord>
bool Equal(const TTable& Table, const TRecord& A, const TRecord& B, unsigned Uses) {
    bool Same = true;
    ForEach(Table, [&](const auto& F) {
        if (Same && (F.Uses & Uses)) Same = SameValue(A.*F.Member, B.*F.Member);
    });
    return Same;
}

template <class TTable, class TRecord>
void Copy(const TTable& Table, TRecord& Target, const TRecord& Source) {
    ForEach(Table, [&](const auto& F) {
        if (F.Has(fuCopy)) CopyValue(Target.*F.Member, Source.*F.Member);
    });
}

// Takes every stored value of a record that was read in full.
template <class TTable, class TRecord>
void Take(const TTable& Table, TRecord& Target, TRecord& Loaded) {
    ForEach(Table, [&](const auto& F) {
        if (F.Has(fuStream)) TakeValue(Target.*F.Member, Loaded.*F.Member);
    });
}

// The fewest bytes a record of the table takes in the stream, its version
// number included.
template <class TTable>
constexpr std::int64_t MinRecordSize(const TTable& Table) {
    std::int64_t Size = 4;
    ForEach(Table, [&Size](const auto& F) {
        using V = typename std::remove_cvref_t<decltype(F)>::Value;
        if (F.Has(fuStream)) Size += MinStreamSize<V>();
    });
    return Size;
}

// Whether exactly the registry fields have registry names.
template <class TTable>
constexpr bool RegistryNamesMatch(const TTable& Table) {
    bool Match = true;
    ForEach(Table, [&Match](const auto& F) {
        if (F.Has(fuRegistry) != (F.RegistryName != nullptr)) Match = false;
    });
    return Match;
}

// The record's version number and its stream fields. Inlined into each
// record's writer, where the table is a constant: the fields' places in the
// record are then known when it is compiled.
template <class TTable, class TRecord>
[[gnu::always_inline]] inline void Write(const TTable& Table, TRecordWriter& W,
                                         const TRecord& Record) {
    W.Int(FolioFormatVersion);
    ForEach(Table, [&](const auto& F) {
        if (F.Has(fuStream)) WriteValue(W, Record.*F.Member);
    });
}

template <class TTable, class TRecord>
void Read(const TTable& Table, TFolioReader& R, TRecord& Record) {
    R.Int(); // the version is not checked
    ForEach(Table, [&](const auto& F) {
        if (F.Has(fuStream)) ReadValue(R, Record.*F.Member);
    });
}

template <class TTable, class TRecord>
void Save(const TTable& Table, TRegistry& Registry, const TRecord& Record) {
    ForEach(Table, [&](const auto& F) {
        if constexpr (std::remove_cvref_t<decltype(F)>::Has(fuRegistry))
            SaveValue(Registry, F.RegistryName, Record.*F.Member);
    });
}

template <class TTable, class TRecord>
void Load(const TTable& Table, TRegistry& Registry, TRecord& Record) {
    ForEach(Table, [&](const auto& F) {
        if constexpr (std::remove_cvref_t<decltype(F)>::Has(fuRegistry))
            LoadValue(Registry, F.RegistryName, Record.*F.Member);
    });
}

} // namespace fields

} // namespace folio
