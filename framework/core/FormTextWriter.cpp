#include "framework/core/FormText.h"

#include "framework/core/Exceptions.h"
#include "framework/core/FormFloat.h"
#include "framework/core/Streams.h"
#include "framework/core/Utf8.h"

#include <charconv>

namespace folio {

namespace {

// Bytes of string text per line before a long string is split with +.
constexpr std::size_t StringWrap = 64;
// Bytes of a binary property per hex line.
constexpr std::size_t HexBytesPerLine = 32;

class TTextEncoder {
public:
    void Object(const TFormObject& Node, int Depth) {
        Indent(Depth);
        FOut += Node.Inline ? "inline " : Node.Inherited ? "inherited " : "object ";
        if (!Node.Name.empty()) {
            FOut += Node.Name;
            FOut += ": ";
        }
        FOut += Node.ClassName;
        if (Node.ChildIndex >= 0) {
            FOut += " [";
            Integer(Node.ChildIndex);
            FOut += ']';
        }
        FOut += '\n';
        Properties(Node.Properties, Depth + 1);
        for (const TFormObject& Child : Node.Children) Object(Child, Depth + 1);
        Indent(Depth);
        FOut += "end\n";
    }

    String& Text() { return FOut; }

private:
    void Indent(int Depth) { FOut.append(static_cast<std::size_t>(Depth) * 2, ' '); }

    void Properties(const std::vector<TFormProperty>& List, int Depth) {
        for (const TFormProperty& P : List) {
            Indent(Depth);
            FOut += P.Name;
            FOut += " = ";
            Value(P.Value, Depth);
            FOut += '\n';
        }
    }

    void Integer(long long V) {
        char Buffer[24];
        const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, V);
        FOut.append(Buffer, Result.ptr);
    }

    void Value(const TFormValue& V, int Depth) {
        switch (V.Kind) {
        case TFormValueKind::Nil:
            FOut += "nil";
            break;
        case TFormValueKind::False:
            FOut += "False";
            break;
        case TFormValueKind::True:
            FOut += "True";
            break;
        case TFormValueKind::Integer:
            Integer(V.Int);
            break;
        case TFormValueKind::Ident:
            FOut += V.Text;
            break;
        case TFormValueKind::String:
            Str(V.Text, Depth);
            break;
        case TFormValueKind::WString:
            WideStr(V.Text, Depth);
            break;
        case TFormValueKind::Single:
            if (!IsEncodableFloat(V)) throw EWriteError("A form holds only finite numbers");
            FOut += FormatSingle(V.AsSingle());
            FOut += 's';
            break;
        case TFormValueKind::Extended:
            if (!IsEncodableFloat(V)) throw EWriteError("A form holds only finite numbers");
            FOut += FormatExtended(V.AsExtended());
            break;
        case TFormValueKind::List:
            List(V.Items, Depth);
            break;
        case TFormValueKind::Collection:
            Collection(V.Collection, Depth);
            break;
        case TFormValueKind::Binary:
            Hex(V.Text, Depth);
            break;
        case TFormValueKind::Set:
            FOut += '[';
            for (std::size_t I = 0; I < V.Elements.size(); ++I) {
                if (I) FOut += ", ";
                FOut += V.Elements[I];
            }
            FOut += ']';
            break;
        }
    }

    static void CheckLength(const String& Text) {
        if (Text.size() > MaxFormStringLength)
            throw EWriteError("A string of " + std::to_string(Text.size()) +
                              " bytes is longer than a form holds (" +
                              std::to_string(MaxFormStringLength) + ")");
    }

    // "(" and each value on a line of its own, ")" after the last.
    void List(const std::vector<TFormValue>& Items, int Depth) {
        FOut += '(';
        for (const TFormValue& Item : Items) {
            FOut += '\n';
            Indent(Depth + 1);
            Value(Item, Depth + 1);
        }
        FOut += ')';
    }

    void Collection(const std::vector<TFormCollectionItem>& Items, int Depth) {
        FOut += '<';
        for (const TFormCollectionItem& Item : Items) {
            FOut += '\n';
            Indent(Depth + 1);
            FOut += "item";
            if (Item.Index) {
                FOut += " [";
                Integer(*Item.Index);
                FOut += ']';
            }
            FOut += '\n';
            Properties(Item.Properties, Depth + 2);
            Indent(Depth + 1);
            FOut += "end";
        }
        FOut += '>';
    }

    // Quoted runs of text and #n for control characters. A byte that is
    // not part of a UTF-8 character is quoted as it is: a character code
    // from 128 up means a character, not a byte (see the reader).
    void Str(const String& Text, int Depth) {
        CheckLength(Text);
        if (Text.empty()) {
            FOut += "''";
            return;
        }
        bool Quoted = false;
        std::size_t LineBytes = 0;
        for (std::size_t I = 0; I < Text.size();) {
            if (LineBytes >= StringWrap) {
                if (Quoted) FOut += '\'';
                Quoted = false;
                FOut += " +\n";
                Indent(Depth + 1);
                LineBytes = 0;
            }
            const unsigned char C = static_cast<unsigned char>(Text[I]);
            std::size_t N = C >= 0x20 && C < 0x7F ? 1 : 0;
            if (C >= 0x80) {
                N = Utf8CharLength(Text.data(), Text.size(), I);
                if (N == 0) N = 1;
            }
            if (N == 0) {
                if (Quoted) FOut += '\'';
                Quoted = false;
                FOut += '#';
                Integer(C);
                ++I;
                ++LineBytes;
                continue;
            }
            if (!Quoted) FOut += '\'';
            Quoted = true;
            if (C == '\'') FOut += '\'';
            FOut.append(Text, I, N);
            I += N;
            LineBytes += N;
        }
        if (Quoted) FOut += '\'';
    }

    // Printable ASCII quoted, every other character as its code: UTF-16
    // units, a pair of surrogates above U+FFFF.
    void WideStr(const String& Text, int Depth) {
        CheckLength(Text);
        char32_t Widest = 0;
        if (!IsWellFormedUtf8(Text.data(), Text.size(), &Widest) || Widest <= 0xFF)
            throw EWriteError("A wide string must be UTF-8 with a character above U+00FF");
        bool Quoted = false;
        std::size_t LineStart = FOut.size();
        for (std::size_t I = 0; I < Text.size();) {
            if (FOut.size() - LineStart >= StringWrap) {
                if (Quoted) FOut += '\'';
                Quoted = false;
                FOut += " +\n";
                Indent(Depth + 1);
                LineStart = FOut.size();
            }
            char32_t Code;
            I += Utf8CharLength(Text.data(), Text.size(), I, &Code);
            if (Code >= 0x20 && Code < 0x7F) {
                if (!Quoted) FOut += '\'';
                Quoted = true;
                if (Code == '\'') FOut += '\'';
                FOut += static_cast<char>(Code);
                continue;
            }
            if (Quoted) FOut += '\'';
            Quoted = false;
            if (Code > 0xFFFF) {
                Code -= 0x10000;
                FOut += '#';
                Integer(0xD800 + (Code >> 10));
                Code = 0xDC00 + (Code & 0x3FF);
            }
            FOut += '#';
            Integer(Code);
        }
        if (Quoted) FOut += '\'';
    }

    void Hex(const String& Bytes, int Depth) {
        static constexpr char Digits[] = "0123456789ABCDEF";
        if (Bytes.empty()) {
            FOut += "{}";
            return;
        }
        FOut += "{\n";
        const std::size_t Lines = (Bytes.size() + HexBytesPerLine - 1) / HexBytesPerLine;
        FOut.reserve(FOut.size() + Bytes.size() * 2 +
                     Lines * (static_cast<std::size_t>(Depth) * 2 + 3));
        for (std::size_t I = 0; I < Bytes.size(); I += HexBytesPerLine) {
            Indent(Depth + 1);
            const std::size_t End = std::min(Bytes.size(), I + HexBytesPerLine);
            const std::size_t At = FOut.size();
            FOut.resize(At + (End - I) * 2);
            char* Out = FOut.data() + At;
            for (std::size_t K = I; K < End; ++K) {
                const unsigned char B = static_cast<unsigned char>(Bytes[K]);
                *Out++ = Digits[B >> 4];
                *Out++ = Digits[B & 15];
            }
            FOut += '\n';
        }
        Indent(Depth);
        FOut += '}';
    }

    String FOut;
};

} // namespace

String FormToText(const TFormObject& Root) {
    TTextEncoder Encoder;
    Encoder.Object(Root, 0);
    return std::move(Encoder.Text());
}

void WriteTextForm(const TFormObject& Root, TStream& Stream) {
    const String Text = FormToText(Root);
    Stream.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
}

} // namespace folio
