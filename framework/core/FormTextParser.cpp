#include "framework/core/FormText.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"

#include <cctype>

namespace folio {

namespace {

bool IsWordChar(char C) {
    return std::isalnum(static_cast<unsigned char>(C)) || C == '_' || C == '.';
}

bool SameWord(const String& A, const char* B) {
    std::size_t I = 0;
    for (; I < A.size() && B[I]; ++I)
        if (std::tolower(static_cast<unsigned char>(A[I])) != B[I]) return false;
    return I == A.size() && !B[I];
}

int HexDigit(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

class TTextDecoder {
public:
    TTextDecoder(const char* Data, std::size_t Size) : FEnd(Data + Size), FPos(Data) {}

    TFormObject Form() {
        SkipSpace();
        // A byte order mark may lead a text file written by an editor.
        if (FEnd - FPos >= 3 && static_cast<unsigned char>(FPos[0]) == 0xEF &&
            static_cast<unsigned char>(FPos[1]) == 0xBB &&
            static_cast<unsigned char>(FPos[2]) == 0xBF)
            FPos += 3;
        SkipSpace();
        const String Word = PeekWord();
        if (!SameWord(Word, "object") && !SameWord(Word, "inherited"))
            Fail("expected 'object' or 'inherited' at the start of the form, found " + Found());
        TFormObject Root = Object(0);
        SkipSpace();
        if (FPos != FEnd)
            Fail("expected the end of the form after its last 'end', found " + Found());
        return Root;
    }

private:
    [[noreturn]] void Fail(const String& What) const {
        throw EFormError("Text form, line " + IntToStr(FLine) + ": " + What);
    }

    void SkipSpace() {
        while (FPos != FEnd) {
            const char C = *FPos;
            if (C == '\n') {
                ++FLine;
            } else if (C != ' ' && C != '\t' && C != '\r') {
                return;
            }
            ++FPos;
        }
    }

    // What the next token is, for error messages.
    String Found() const {
        if (FPos == FEnd) return "the end of the form";
        const char* P = FPos;
        if (IsWordChar(*P) || *P == '-' || *P == '$') {
            while (P != FEnd && P - FPos < 40 && (IsWordChar(*P) || *P == '-' || *P == '$')) ++P;
        } else {
            ++P;
        }
        const unsigned char C = static_cast<unsigned char>(*FPos);
        if (P == FPos + 1 && (C < 0x20 || C >= 0x7F)) return "the byte #" + IntToStr(C);
        return "'" + String(FPos, P) + "'";
    }

    // Every word of a form is a name, a property path or an identifier
    // value, and the binary encoding holds none longer than MaxIdentLength.
    String PeekWord() const {
        const char* P = FPos;
        while (P != FEnd && IsWordChar(*P)) ++P;
        if (static_cast<std::size_t>(P - FPos) > MaxIdentLength)
            Fail("a name longer than " + IntToStr(int(MaxIdentLength)) + " characters, found " +
                 Found());
        return String(FPos, P);
    }

    String Word() {
        String W = PeekWord();
        FPos += W.size();
        return W;
    }

    void Expect(char C, const char* What) {
        SkipSpace();
        if (FPos == FEnd || *FPos != C) Fail(String("expected ") + What + ", found " + Found());
        ++FPos;
    }

    String Ident(const char* What) {
        SkipSpace();
        const String Text = Word();
        if (Text.empty() || !IsValidIdent(Text)) {
            FPos -= Text.size();
            Fail(String("expected ") + What + ", found " + Found());
        }
        return Text;
    }

    TFormObject Object(int Depth) {
        TFormObject Node;
        Node.Place = {true, FLine};
        if (Depth >= MaxFormDepth)
            Fail("components nest deeper than " + IntToStr(MaxFormDepth) + " levels");
        Node.Inherited = SameWord(Word(), "inherited");
        String First = Ident("a component name or class name");
        SkipSpace();
        if (FPos != FEnd && *FPos == ':') {
            ++FPos;
            Node.Name = std::move(First);
            Node.ClassName = Ident("a class name after ':'");
        } else {
            Node.ClassName = std::move(First);
        }
        for (;;) {
            SkipSpace();
            const long long Line = FLine;
            const String W = PeekWord();
            if (W.empty()) {
                if (FPos == FEnd) {
                    Fail("expected 'end' to close " +
                         (Node.Name.empty() ? "the " + Node.ClassName + " object" : Node.Name) +
                         " (opened on line " + IntToStr(Node.Place.Where) +
                         "), found the end of the form");
                }
                Fail("expected a property name, an object or 'end', found " + Found());
            }
            if (SameWord(W, "end")) {
                FPos += W.size();
                return Node;
            }
            if (SameWord(W, "object") || SameWord(W, "inherited")) {
                Node.Children.push_back(Object(Depth + 1));
                continue;
            }
            if (!Node.Children.empty())
                Fail("expected an object or 'end' after the nested objects, found " + Found());
            if (!IsValidPropertyPath(W)) Fail("expected a property name, found " + Found());
            FPos += W.size();
            TFormProperty P;
            P.Name = W;
            P.Place = {true, Line};
            Expect('=', ("'=' after " + W).c_str());
            P.Value = Value();
            Node.Properties.push_back(std::move(P));
        }
    }

    TFormValue Value() {
        SkipSpace();
        if (FPos == FEnd) Fail("expected a value, found the end of the form");
        const char C = *FPos;
        if (C == '\'' || C == '#') return TFormValue::Str(StringValue());
        if (C == '{') return TFormValue::Binary(HexValue());
        if (C == '[') return SetValue();
        if (C == '-' || C == '$' || std::isdigit(static_cast<unsigned char>(C)))
            return TFormValue::Integer(IntegerValue());
        const String W = PeekWord();
        if (W.empty() || !IsValidIdent(W)) Fail("expected a value, found " + Found());
        FPos += W.size();
        if (SameWord(W, "nil")) return TFormValue::Nil();
        if (SameWord(W, "true")) return TFormValue::Bool(true);
        if (SameWord(W, "false")) return TFormValue::Bool(false);
        return TFormValue::Ident(W);
    }

    long long IntegerValue() {
        const bool Negative = *FPos == '-';
        if (Negative) ++FPos;
        unsigned long long Magnitude = 0;
        bool Any = false;
        if (FPos != FEnd && *FPos == '$') {
            ++FPos;
            int Digits = 0;
            for (int D; FPos != FEnd && (D = HexDigit(*FPos)) >= 0; ++FPos, ++Digits) {
                if (Digits == 16) Fail("a hexadecimal number longer than 16 digits");
                Magnitude = Magnitude << 4 | static_cast<unsigned>(D);
                Any = true;
            }
            if (Negative && Any) Fail("expected a number without a sign before '$'");
        } else {
            while (FPos != FEnd && std::isdigit(static_cast<unsigned char>(*FPos))) {
                const unsigned D = static_cast<unsigned>(*FPos - '0');
                if (Magnitude > (~0ULL - D) / 10) Fail("a number too large for 64 bits");
                Magnitude = Magnitude * 10 + D;
                Any = true;
                ++FPos;
            }
            const unsigned long long Limit = Negative ? 1ULL << 63 : (1ULL << 63) - 1;
            if (Magnitude > Limit) Fail("a number too large for 64 bits");
        }
        if (!Any) Fail("expected digits, found " + Found());
        if (FPos != FEnd && IsWordChar(*FPos)) Fail("expected a number, found " + Found());
        if (Negative) return static_cast<long long>(0 - Magnitude);
        return static_cast<long long>(Magnitude);
    }

    // Quoted parts and #n bytes, and parts of a long string joined by +.
    String StringValue() {
        String Bytes;
        for (;;) {
            if (FPos != FEnd && *FPos == '\'') {
                ++FPos;
                for (;;) {
                    if (FPos == FEnd || *FPos == '\n' || *FPos == '\r')
                        Fail("a string is not closed with ' on its line");
                    if (*FPos == '\'') {
                        if (FPos + 1 != FEnd && FPos[1] == '\'') {
                            Bytes += '\'';
                            FPos += 2;
                            continue;
                        }
                        ++FPos;
                        break;
                    }
                    Bytes += *FPos++;
                }
            } else if (FPos != FEnd && *FPos == '#') {
                ++FPos;
                long long Code = -1;
                if (FPos != FEnd && *FPos == '$') {
                    ++FPos;
                    Code = 0;
                    int Digits = 0;
                    // Only two digits are taken; the rest are counted, not
                    // added up, so that a long run of them cannot overflow.
                    for (int D; FPos != FEnd && (D = HexDigit(*FPos)) >= 0; ++FPos, ++Digits)
                        if (Digits < 2) Code = Code * 16 + D;
                    if (Digits == 0 || Digits > 2) Code = -1;
                } else {
                    int Digits = 0;
                    while (FPos != FEnd && std::isdigit(static_cast<unsigned char>(*FPos)) &&
                           Digits < 4) {
                        Code = (Code < 0 ? 0 : Code) * 10 + (*FPos++ - '0');
                        ++Digits;
                    }
                }
                if (Code < 0 || Code > 255) Fail("expected a byte code 0 to 255 after '#'");
                Bytes += static_cast<char>(Code);
            } else {
                return Bytes;
            }
            // A part ends here; another may follow at once (#10'...') or after +.
            const char* Before = FPos;
            const long long LineBefore = FLine;
            SkipSpace();
            if (FPos != FEnd && *FPos == '+') {
                ++FPos;
                SkipSpace();
                if (FPos == FEnd || (*FPos != '\'' && *FPos != '#'))
                    Fail("expected a string after '+', found " + Found());
            } else if (FPos != Before || FPos == FEnd || (*FPos != '\'' && *FPos != '#')) {
                FPos = Before;
                FLine = LineBefore;
                return Bytes;
            }
        }
    }

    String HexValue() {
        ++FPos; // '{'
        String Bytes;
        int High = -1;
        for (;;) {
            if (FPos == FEnd)
                Fail("expected '}' to close a binary property, found the end of the form");
            const char C = *FPos++;
            if (C == '}') break;
            if (C == '\n') {
                ++FLine;
                continue;
            }
            if (C == ' ' || C == '\t' || C == '\r') continue;
            const int D = HexDigit(C);
            if (D < 0) {
                --FPos;
                Fail("expected a hex digit in a binary property, found " + Found());
            }
            if (High < 0) {
                High = D;
            } else {
                Bytes += static_cast<char>(High << 4 | D);
                High = -1;
            }
        }
        if (High >= 0) Fail("a binary property ends in half a byte (an odd number of hex digits)");
        return Bytes;
    }

    TFormValue SetValue() {
        ++FPos; // '['
        std::vector<String> Elements;
        SkipSpace();
        if (FPos != FEnd && *FPos == ']') {
            ++FPos;
            return TFormValue::Set({});
        }
        for (;;) {
            String E = Ident("a set element");
            if (IsReservedFormWord(E)) {
                FPos -= E.size();
                Fail("expected a set element, found " + Found());
            }
            Elements.push_back(std::move(E));
            SkipSpace();
            if (FPos != FEnd && *FPos == ',') {
                ++FPos;
                continue;
            }
            Expect(']', "',' or ']' in a set");
            return TFormValue::Set(std::move(Elements));
        }
    }

    const char* FEnd;
    const char* FPos;
    long long FLine = 1;
};

} // namespace

TFormObject ParseTextForm(const char* Data, std::size_t Size) {
    TTextDecoder Decoder(Data, Size);
    return Decoder.Form();
}

TFormObject ReadTextForm(TStream& Stream) {
    const std::int64_t Left = Stream.Remaining();
    String Text(static_cast<std::size_t>(Left > 0 ? Left : 0), '\0');
    Stream.ReadBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    return ParseTextForm(Text.data(), Text.size());
}

} // namespace folio
