#include "framework/core/FormBinary.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Utf8.h"

#include <bit>
#include <cstring>

// The binary form format. All numbers are little-endian.
//
//   form      := signature "FFB1", object
//   object    := kind (1 byte: 1 a new component, 2 an inherited one, 3 an
//                inline frame; 0x10 added when a child index follows),
//                child index (an integer value, 0 or more; only with 0x10),
//                class name (short string), component name (short string,
//                may be empty), property* 00, object* 00
//   property  := name (short string of at least one byte: a dotted
//                identifier), value
//   value     := tag (1 byte), then by tag:
//                01 nil, 02 False, 03 True (nothing follows)
//                04 / 05 / 06 / 07 an integer of 1 / 2 / 4 / 8 bytes, always
//                   the narrowest that holds it
//                08 an identifier: short string
//                09 a string: 32-bit length, that many bytes
//                0A a binary property: 32-bit length, that many bytes
//                0B a set: element names as short strings, then 00
//                0C a wide string: 32-bit length, that many bytes of UTF-8
//                   holding at least one character above U+00FF
//                0D a single float: its 4 bytes
//                0E an extended float: its 10 bytes (significand, then sign
//                   and exponent)
//                0F a list: value*, then 00
//                10 a collection: item*, then 00, where an item is 01 or 02
//                   and an order index (an integer value), then property* 00
//   short string := 1-byte length, that many bytes
//
// A form has one encoding of each tree: integers at their narrowest, names
// that are identifiers and never one of the words the text form reserves,
// floats that are finite numbers in their one normal form (a text form
// cannot hold the others), wide strings that need to be wide. The reader
// refuses anything else, so converting a binary form to text and back gives
// the same bytes. Strings are at most MaxFormStringLength bytes long.

namespace folio {

static_assert(std::endian::native == std::endian::little, "the form format is little-endian");

namespace {

enum : unsigned char {
    ObjectTag = 1,
    InheritedTag = 2,
    InlineTag = 3,
    ChildIndexFlag = 0x10,
    ItemTag = 1,
    IndexedItemTag = 2,
    NilTag = 1,
    FalseTag = 2,
    TrueTag = 3,
    Int8Tag = 4,
    Int16Tag = 5,
    Int32Tag = 6,
    Int64Tag = 7,
    IdentTag = 8,
    StringTag = 9,
    BinaryTag = 10,
    SetTag = 11,
    WStringTag = 12,
    SingleTag = 13,
    ExtendedTag = 14,
    ListTag = 15,
    CollectionTag = 16,
    LastTag = CollectionTag,
};

// A wide string is one because it needs to be: text a plain string holds
// as well reads back as a plain string from the text encoding.
bool IsWideText(const String& Text) {
    char32_t Widest = 0;
    return IsWellFormedUtf8(Text.data(), Text.size(), &Widest) && Widest > 0xFF;
}

class TBinaryEncoder {
public:
    void Signature() { FOut.append(BinaryFormSignature, sizeof BinaryFormSignature); }

    void Object(const TFormObject& Node) {
        unsigned char Kind = Node.Inline ? InlineTag : Node.Inherited ? InheritedTag : ObjectTag;
        if (Node.ChildIndex >= 0) Kind |= ChildIndexFlag;
        Byte(Kind);
        if (Node.ChildIndex >= 0) Integer(Node.ChildIndex);
        Short(Node.ClassName);
        Short(Node.Name);
        Properties(Node.Properties);
        for (const TFormObject& Child : Node.Children) Object(Child);
        Byte(0);
    }

    const String& Bytes() const { return FOut; }

private:
    void Byte(unsigned char B) { FOut.push_back(static_cast<char>(B)); }
    void Raw(const void* Data, std::size_t Count) {
        FOut.append(static_cast<const char*>(Data), Count);
    }
    void Short(const String& Text) {
        if (Text.size() > MaxIdentLength)
            throw EWriteError("The name '" + Text + "' is too long for a form");
        Byte(static_cast<unsigned char>(Text.size()));
        FOut += Text;
    }
    void Properties(const std::vector<TFormProperty>& List) {
        for (const TFormProperty& P : List) {
            if (P.Name.empty()) throw EWriteError("A form property has no name");
            Short(P.Name);
            Value(P.Value);
        }
        Byte(0);
    }
    void StringValue(const String& Text) {
        if (Text.size() > MaxFormStringLength)
            throw EWriteError(Format("A string of %zu bytes is longer than a form holds (%zu)",
                                     Text.size(), MaxFormStringLength));
        Long(Text);
    }
    void Long(const String& Bytes) {
        if (Bytes.size() > 0x7FFFFFFF) throw EWriteError("A form value is larger than 2 GB");
        const std::uint32_t N = static_cast<std::uint32_t>(Bytes.size());
        Raw(&N, 4);
        FOut += Bytes;
    }
    void Integer(long long V) {
        if (V >= INT8_MIN && V <= INT8_MAX) {
            const std::int8_t X = static_cast<std::int8_t>(V);
            Byte(Int8Tag);
            Raw(&X, 1);
        } else if (V >= INT16_MIN && V <= INT16_MAX) {
            const std::int16_t X = static_cast<std::int16_t>(V);
            Byte(Int16Tag);
            Raw(&X, 2);
        } else if (V >= INT32_MIN && V <= INT32_MAX) {
            const std::int32_t X = static_cast<std::int32_t>(V);
            Byte(Int32Tag);
            Raw(&X, 4);
        } else {
            Byte(Int64Tag);
            Raw(&V, 8);
        }
    }
    void Value(const TFormValue& V) {
        switch (V.Kind) {
        case TFormValueKind::Nil:
            Byte(NilTag);
            break;
        case TFormValueKind::False:
            Byte(FalseTag);
            break;
        case TFormValueKind::True:
            Byte(TrueTag);
            break;
        case TFormValueKind::Integer:
            Integer(V.Int);
            break;
        case TFormValueKind::Ident:
            Byte(IdentTag);
            Short(V.Text);
            break;
        case TFormValueKind::String:
            Byte(StringTag);
            StringValue(V.Text);
            break;
        case TFormValueKind::WString:
            if (!IsWideText(V.Text))
                throw EWriteError("A wide string must be UTF-8 with a character above U+00FF");
            Byte(WStringTag);
            StringValue(V.Text);
            break;
        case TFormValueKind::Single: {
            const auto Bits = static_cast<std::uint32_t>(V.Int);
            if (!IsEncodableFloat(V)) throw EWriteError("A form holds only finite numbers");
            Byte(SingleTag);
            Raw(&Bits, 4);
            break;
        }
        case TFormValueKind::Extended: {
            const auto Significand = static_cast<std::uint64_t>(V.Int);
            if (!IsEncodableFloat(V)) throw EWriteError("A form holds only finite numbers");
            Byte(ExtendedTag);
            Raw(&Significand, 8);
            Raw(&V.Exponent, 2);
            break;
        }
        case TFormValueKind::List:
            Byte(ListTag);
            for (const TFormValue& Item : V.Items) Value(Item);
            Byte(0);
            break;
        case TFormValueKind::Collection:
            Byte(CollectionTag);
            for (const TFormCollectionItem& Item : V.Collection) {
                Byte(Item.Index ? IndexedItemTag : ItemTag);
                if (Item.Index) Integer(*Item.Index);
                Properties(Item.Properties);
            }
            Byte(0);
            break;
        case TFormValueKind::Binary:
            Byte(BinaryTag);
            Long(V.Text);
            break;
        case TFormValueKind::Set:
            Byte(SetTag);
            for (const String& E : V.Elements) {
                if (E.empty()) throw EWriteError("A set element has no name");
                Short(E);
            }
            Byte(0);
            break;
        }
    }

    String FOut;
};

class TBinaryDecoder {
public:
    TBinaryDecoder(const char* Data, std::size_t Size)
        : FData(reinterpret_cast<const unsigned char*>(Data)), FSize(Size) {}

    TFormObject Form() {
        if (FSize < sizeof BinaryFormSignature ||
            std::memcmp(FData, BinaryFormSignature, sizeof BinaryFormSignature) != 0)
            Fail(0, "expected the binary form signature FFB1");
        FPos = sizeof BinaryFormSignature;
        return Object(0);
    }

    std::size_t Used() const { return FPos; }

private:
    [[noreturn]] void Fail(std::size_t At, const String& What) const {
        throw EFormError(Format("Binary form, offset %zu: ", At) + What);
    }

    unsigned char Byte(const char* What) {
        if (FPos >= FSize) Fail(FPos, String("expected ") + What + ", found the end of the data");
        return FData[FPos++];
    }

    void Need(std::size_t Count, std::size_t At, const char* What) const {
        if (Count > FSize - FPos)
            Fail(At, Format("%s of %zu bytes runs past the end of the data (%zu bytes left)", What,
                            Count, FSize - FPos));
    }

    String Short(const char* What) {
        const std::size_t At = FPos;
        const std::size_t N = Byte(What);
        Need(N, At, What);
        String Text(reinterpret_cast<const char*>(FData + FPos), N);
        FPos += N;
        return Text;
    }

    // An identifier that a text form can hold as it is. In an object's
    // header the words that stand for values (nil, True, False) are names
    // like any other, as the text reader takes them: a component may be
    // called so.
    String Name(const char* What, bool MayBeEmpty, bool InHeader = false) {
        const std::size_t At = FPos;
        String Text = Short(What);
        if (Text.empty() && MayBeEmpty) return Text;
        if (Text.empty() || !IsValidIdent(Text) || (!InHeader && IsReservedFormWord(Text)))
            Fail(At, String("expected ") + What + ", found '" + Text + "'");
        return Text;
    }

    String Long(const char* What, std::size_t Limit = 0x7FFFFFFF) {
        const std::size_t At = FPos;
        Need(4, At, What);
        std::uint32_t N;
        std::memcpy(&N, FData + FPos, 4);
        FPos += 4;
        if (N > 0x7FFFFFFF) Fail(At, Format("%s claims %u bytes", What, N));
        if (N > Limit)
            Fail(At, Format("%s of %u bytes is longer than a form holds (%zu)", What, N, Limit));
        Need(N, At, What);
        String Bytes(reinterpret_cast<const char*>(FData + FPos), N);
        FPos += N;
        return Bytes;
    }

    template <class I>
    long long Fixed(std::size_t TagAt) {
        Need(sizeof(I), TagAt, "an integer");
        I X;
        std::memcpy(&X, FData + FPos, sizeof X);
        FPos += sizeof X;
        return X;
    }

    // An integer value that may only be an integer, from its tag on.
    long long IntegerOnly(const char* What) {
        const std::size_t At = FPos;
        const unsigned char Tag = FPos < FSize ? FData[FPos] : 0;
        if (Tag < Int8Tag || Tag > Int64Tag) Fail(At, String("expected ") + What + " (an integer)");
        return Value(0).Int;
    }

    void CheckDepth(int Depth, std::size_t At) const {
        if (Depth >= MaxFormDepth)
            Fail(At, Format("values nest deeper than %d levels", MaxFormDepth));
    }

    TFormValue Value(int Depth) {
        const std::size_t At = FPos;
        const unsigned char Tag = Byte("a value");
        long long N = 0;
        switch (Tag) {
        case NilTag:
            return TFormValue::Nil();
        case FalseTag:
            return TFormValue::Bool(false);
        case TrueTag:
            return TFormValue::Bool(true);
        case Int8Tag:
            return TFormValue::Integer(Fixed<std::int8_t>(At));
        case Int16Tag:
            N = Fixed<std::int16_t>(At);
            if (N >= INT8_MIN && N <= INT8_MAX) Narrow(At, N);
            return TFormValue::Integer(N);
        case Int32Tag:
            N = Fixed<std::int32_t>(At);
            if (N >= INT16_MIN && N <= INT16_MAX) Narrow(At, N);
            return TFormValue::Integer(N);
        case Int64Tag:
            N = Fixed<std::int64_t>(At);
            if (N >= INT32_MIN && N <= INT32_MAX) Narrow(At, N);
            return TFormValue::Integer(N);
        case IdentTag: {
            const std::size_t NameAt = FPos;
            String Text = Short("an identifier");
            if (!IsValidIdentValue(Text))
                Fail(NameAt, "expected an identifier, found '" + Text + "'");
            return TFormValue::Ident(std::move(Text));
        }
        case StringTag:
            return TFormValue::Str(Long("a string", MaxFormStringLength));
        case WStringTag: {
            String Text = Long("a wide string", MaxFormStringLength);
            if (!IsWideText(Text))
                Fail(At, "a wide string must be UTF-8 with a character above U+00FF");
            return TFormValue::WStr(std::move(Text));
        }
        case BinaryTag:
            return TFormValue::Binary(Long("a binary property"));
        case SetTag: {
            std::vector<String> Elements;
            while (FPos < FSize && FData[FPos] != 0)
                Elements.push_back(Name("a set element", false));
            if (Byte("the end of a set") != 0) Fail(FPos - 1, "expected the end of a set");
            return TFormValue::Set(std::move(Elements));
        }
        case SingleTag: {
            Need(4, At, "a single float");
            std::uint32_t Bits;
            std::memcpy(&Bits, FData + FPos, 4);
            FPos += 4;
            TFormValue V = TFormValue::SingleBits(Bits);
            if (!IsEncodableFloat(V)) Fail(At, "a float that is not a finite number");
            return V;
        }
        case ExtendedTag: {
            Need(10, At, "an extended float");
            std::uint64_t Significand;
            std::uint16_t SignExponent;
            std::memcpy(&Significand, FData + FPos, 8);
            std::memcpy(&SignExponent, FData + FPos + 8, 2);
            FPos += 10;
            TFormValue V = TFormValue::ExtendedBits(Significand, SignExponent);
            if (!IsEncodableFloat(V))
                Fail(At, "an extended float that is not a finite number in its normal form");
            return V;
        }
        case ListTag: {
            CheckDepth(Depth, At);
            std::vector<TFormValue> Items;
            for (;;) {
                if (FPos >= FSize)
                    Fail(FPos, "expected a value or the end of a list, found the end of the data");
                if (FData[FPos] == 0) break;
                Items.push_back(Value(Depth + 1));
            }
            ++FPos;
            return TFormValue::List(std::move(Items));
        }
        case CollectionTag: {
            CheckDepth(Depth, At);
            std::vector<TFormCollectionItem> Items;
            for (;;) {
                const std::size_t ItemAt = FPos;
                const unsigned char Kind = Byte("an item or the end of a collection");
                if (Kind == 0) break;
                if (Kind != ItemTag && Kind != IndexedItemTag)
                    Fail(ItemAt, Format("expected an item (1 or 2) or the end of a collection, "
                                        "found %u",
                                        Kind));
                TFormCollectionItem Item;
                Item.Place = {false, static_cast<long long>(ItemAt)};
                if (Kind == IndexedItemTag) Item.Index = IntegerOnly("an item's order index");
                Item.Properties = Properties(Depth + 1);
                Items.push_back(std::move(Item));
            }
            return TFormValue::MakeCollection(std::move(Items));
        }
        default:
            Fail(At, Format("expected a value tag (1 to %u), found %u", unsigned(LastTag), Tag));
        }
    }

    [[noreturn]] void Narrow(std::size_t At, long long N) const {
        Fail(At, Format("the integer %lld is stored wider than it needs", N));
    }

    std::vector<TFormProperty> Properties(int Depth) {
        std::vector<TFormProperty> List;
        for (;;) {
            const std::size_t At = FPos;
            const std::size_t Length = Byte("a property name or the end of the properties");
            if (Length == 0) break;
            FPos = At;
            TFormProperty P;
            P.Place = {false, static_cast<long long>(At)};
            P.Name = Short("a property name");
            if (!IsValidPropertyPath(P.Name))
                Fail(At, "expected a property name, found '" + P.Name + "'");
            P.Value = Value(Depth);
            List.push_back(std::move(P));
        }
        return List;
    }

    TFormObject Object(int Depth) {
        TFormObject Node;
        Node.Place = {false, static_cast<long long>(FPos)};
        if (Depth >= MaxFormDepth)
            Fail(FPos, Format("components nest deeper than %d levels", MaxFormDepth));
        const unsigned char Kind = Byte("an object");
        const unsigned char Base = Kind & ~ChildIndexFlag;
        if (Base != ObjectTag && Base != InheritedTag && Base != InlineTag)
            Fail(FPos - 1, Format("expected an object (1), an inherited object (2) or an inline "
                                  "frame (3), found %u",
                                  Kind));
        Node.Inherited = Base == InheritedTag;
        Node.Inline = Base == InlineTag;
        if (Kind & ChildIndexFlag) {
            const std::size_t At = FPos;
            const long long Index = IntegerOnly("a child index");
            if (Index < 0 || Index > INT32_MAX)
                Fail(At,
                     Format("a child index must be from 0 to %d, found %lld", INT32_MAX, Index));
            Node.ChildIndex = static_cast<int>(Index);
        }
        Node.ClassName = Name("a class name", false, true);
        Node.Name = Name("a component name", true, true);
        Node.Properties = Properties(0);
        for (;;) {
            if (FPos < FSize && FData[FPos] == 0) {
                ++FPos;
                break;
            }
            if (FPos >= FSize)
                Fail(FPos,
                     "expected an object or the end of the objects, found the end of the data");
            Node.Children.push_back(Object(Depth + 1));
        }
        return Node;
    }

    const unsigned char* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

} // namespace

void WriteBinaryForm(const TFormObject& Root, TStream& Stream) {
    TBinaryEncoder Encoder;
    Encoder.Signature();
    Encoder.Object(Root);
    Stream.WriteBuffer(Encoder.Bytes().data(), static_cast<std::int64_t>(Encoder.Bytes().size()));
}

TFormObject ParseBinaryForm(const char* Data, std::size_t Size, std::size_t* Used) {
    TBinaryDecoder Decoder(Data, Size);
    TFormObject Root = Decoder.Form();
    if (Used) *Used = Decoder.Used();
    return Root;
}

TFormObject ReadBinaryForm(TStream& Stream) {
    const std::int64_t Start = Stream.GetPosition();
    const std::int64_t Left = Stream.Remaining();
    String Bytes(static_cast<std::size_t>(Left > 0 ? Left : 0), '\0');
    Stream.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    std::size_t Used = 0;
    TFormObject Root = ParseBinaryForm(Bytes.data(), Bytes.size(), &Used);
    Stream.SetPosition(Start + static_cast<std::int64_t>(Used));
    return Root;
}

} // namespace folio
