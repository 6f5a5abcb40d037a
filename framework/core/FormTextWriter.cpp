#include "framework/core/FormText.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"

#include <charconv>

namespace folio {

namespace {

// Bytes of string text per line before a long string is split with +.
constexpr std::size_t StringWrap = 64;
// Bytes of a binary property per hex line.
constexpr std::size_t HexBytesPerLine = 32;

// The length of the UTF-8 character starting at Text[I], or 0 when the bytes
// there are not one (a lone continuation byte, a cut or overlong sequence).
std::size_t Utf8Length(const String& Text, std::size_t I) {
    const unsigned char C = static_cast<unsigned char>(Text[I]);
    std::size_t N;
    unsigned Min;
    if (C >= 0xC2 && C <= 0xDF) {
        N = 2;
        Min = 0x80;
    } else if (C >= 0xE0 && C <= 0xEF) {
        N = 3;
        Min = 0x800;
    } else if (C >= 0xF0 && C <= 0xF4) {
        N = 4;
        Min = 0x10000;
    } else {
        return 0;
    }
    if (I + N > Text.size()) return 0;
    unsigned Code = C & (0x7F >> N);
    for (std::size_t K = 1; K < N; ++K) {
        const unsigned char Next = static_cast<unsigned char>(Text[I + K]);
        if ((Next & 0xC0) != 0x80) return 0;
        Code = (Code << 6) | (Next & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return 0;
    return N;
}

class TTextEncoder {
public:
    void Object(const TFormObject& Node, int Depth) {
        Indent(Depth);
        FOut += Node.Inherited ? "inherited " : "object ";
        if (!Node.Name.empty()) {
            FOut += Node.Name;
            FOut += ": ";
        }
        FOut += Node.ClassName;
        FOut += '\n';
        for (const TFormProperty& P : Node.Properties) {
            Indent(Depth + 1);
            FOut += P.Name;
            FOut += " = ";
            Value(P.Value, Depth + 1);
            FOut += '\n';
        }
        for (const TFormObject& Child : Node.Children) Object(Child, Depth + 1);
        Indent(Depth);
        FOut += "end\n";
    }

    String& Text() { return FOut; }

private:
    void Indent(int Depth) { FOut.append(static_cast<std::size_t>(Depth) * 2, ' '); }

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

    // Quoted runs of printable text and #n for every other byte.
    void Str(const String& Text, int Depth) {
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
            std::size_t N = C >= 0x20 && C < 0x7F ? 1 : C >= 0x80 ? Utf8Length(Text, I) : 0;
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
