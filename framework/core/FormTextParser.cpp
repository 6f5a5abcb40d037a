#include "framework/core/FormText.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormFloat.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Utf8.h"

#include <array>
#include <cctype>
#include <cstring>

namespace folio {

namespace {

// Names are ASCII words or words of any script in UTF-8; IsValidIdent
// decides afterwards which bytes make a name.
bool IsWordChar(char C) {
    const auto U = static_cast<unsigned char>(C);
    return std::isalnum(U) || C == '_' || C == '.' || U >= 0x80;
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

bool SameWord(const String& A, const char* B) {
    std::size_t I = 0;
    for (; I < A.size() && B[I]; ++I)
        if (std::tolower(static_cast<unsigned char>(A[I])) != B[I]) return false;
    return I == A.size() && !B[I];
}

constexpr int HexDigit(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

// Binary properties (a bar's groups, pictures) are most of a large form's
// text, so their digits are looked up rather than compared.
constexpr std::array<signed char, 256> HexDigits = [] {
    std::array<signed char, 256> T{};
    for (int C = 0; C < 256; ++C) T[C] = static_cast<signed char>(HexDigit(static_cast<char>(C)));
    return T;
}();

bool IsHighSurrogate(char32_t C) {
    return C >= 0xD800 && C <= 0xDBFF;
}
bool IsLowSurrogate(char32_t C) {
    return C >= 0xDC00 && C <= 0xDFFF;
}

constexpr char32_t ReplacementCharacter = 0xFFFD;

constexpr long long MaxFloatLength = 1000;

// Builds the bytes of one string literal from its quoted parts and its
// character codes.
//
// A code from 256 up is a character (a UTF-16 unit, as the files that use
// them write them: a pair of surrogates makes one character, a lone one
// becomes U+FFFD), and the string is a wide one. A code from 128 to 255 is
// where files disagree: the forms of older applications give their
// accented letters so ('Param'#232'tres', 'Espa'#241'ol': one code for one
// Latin-1 character, which is what the code means in Unicode too), while
// some others spelled UTF-8 out byte by byte ('Caf'#195#169). A run of such
// codes that is well-formed UTF-8 is taken as those bytes, since a run of
// Latin-1 letters that happens to be well-formed UTF-8 ("Ã©") is what
// garbled text looks like, not what people write; any other run is Latin-1
// characters. In a wide string every code is a character. Quoted parts are
// taken as the bytes they are (forms are UTF-8 files), except that a wide
// string must be UTF-8, so there a byte that is not is a Latin-1 character.
//
// Our own writer gives quoted UTF-8 for text and codes only below 128, and
// a byte that is not UTF-8 stays a raw byte inside quotes, so whatever it
// writes reads back byte for byte.
class TStringBuilder {
public:
    explicit TStringBuilder(bool Characters) : FCharacters(Characters) {}

    void Quoted(const char* Data, std::size_t Size) {
        Flush();
        if (!FCharacters) {
            FOut.append(Data, Size);
            return;
        }
        for (std::size_t I = 0; I < Size;) {
            const std::size_t N = Utf8CharLength(Data, Size, I);
            if (N == 0) {
                AppendUtf8(FOut, static_cast<unsigned char>(Data[I]));
                ++I;
            } else {
                FOut.append(Data + I, N);
                I += N;
            }
        }
    }

    void Code(char32_t C) {
        if (C >= 0x100) FWide = true;
        if (C >= 0x80 && C <= 0xFF && !FCharacters) {
            FlushSurrogate();
            FRun += static_cast<char>(C);
            return;
        }
        FlushRun();
        if (IsLowSurrogate(C) && FHigh) {
            AppendUtf8(FOut, 0x10000 + ((FHigh - 0xD800) << 10) + (C - 0xDC00));
            FHigh = 0;
            return;
        }
        FlushSurrogate();
        if (IsHighSurrogate(C)) {
            FHigh = C;
        } else if (IsLowSurrogate(C)) {
            AppendUtf8(FOut, ReplacementCharacter);
        } else {
            AppendUtf8(FOut, C);
        }
    }

    // The bytes so far and those waiting in a run, for the length limit.
    std::size_t Size() const { return FOut.size() + FRun.size() + (FHigh ? 3 : 0); }

    void Finish() { Flush(); }
    bool Wide() const { return FWide; }
    // True when the literal must be read again with every code a character:
    // it turned out wide, and a run was taken as UTF-8 or a quoted byte is
    // not UTF-8.
    bool NeedsCharacters() const {
        return FWide && !FCharacters && (FTookUtf8 || !IsWellFormedUtf8(FOut.data(), FOut.size()));
    }
    String& Text() { return FOut; }

private:
    void Flush() {
        FlushRun();
        FlushSurrogate();
    }
    void FlushSurrogate() {
        if (!FHigh) return;
        AppendUtf8(FOut, ReplacementCharacter);
        FHigh = 0;
    }
    void FlushRun() {
        if (FRun.empty()) return;
        if (FRun.size() >= 2 && IsWellFormedUtf8(FRun.data(), FRun.size())) {
            FOut += FRun;
            FTookUtf8 = true;
        } else {
            for (char B : FRun) AppendUtf8(FOut, static_cast<unsigned char>(B));
        }
        FRun.clear();
    }

    bool FCharacters;
    bool FWide = false;
    bool FTookUtf8 = false;
    char32_t FHigh = 0;
    String FRun;
    String FOut;
};

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
        if (!IsObjectWord(PeekWord()))
            Fail("expected 'object', 'inherited' or 'inline' at the start of the form, found " +
                 Found());
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

    static bool IsObjectWord(const String& W) {
        return SameWord(W, "object") || SameWord(W, "inherited") || SameWord(W, "inline");
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

    // "[n]" after an object's class or a collection's "item".
    long long Index(const char* What, long long Limit) {
        ++FPos; // '['
        SkipSpace();
        if (FPos == FEnd || !IsDigit(*FPos))
            Fail(String("expected ") + What + " (a number from 0) after '[', found " + Found());
        const TNumber N = Number();
        if (N.Float || N.Int > Limit)
            Fail(String("expected ") + What + " from 0 to " + IntToStr(Limit));
        Expect(']', ("']' after " + String(What)).c_str());
        return N.Int;
    }

    TFormObject Object(int Depth) {
        TFormObject Node;
        Node.Place = {true, FLine};
        if (Depth >= MaxFormDepth)
            Fail("components nest deeper than " + IntToStr(MaxFormDepth) + " levels");
        const String Kind = Word();
        Node.Inherited = SameWord(Kind, "inherited");
        Node.Inline = SameWord(Kind, "inline");
        String First = Ident("a component name or class name");
        SkipSpace();
        if (FPos != FEnd && *FPos == ':') {
            ++FPos;
            Node.Name = std::move(First);
            Node.ClassName = Ident("a class name after ':'");
        } else {
            Node.ClassName = std::move(First);
        }
        SkipSpace();
        if (FPos != FEnd && *FPos == '[')
            Node.ChildIndex = static_cast<int>(Index("a child index", INT32_MAX));
        for (;;) {
            SkipSpace();
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
            if (IsObjectWord(W)) {
                Node.Children.push_back(Object(Depth + 1));
                continue;
            }
            if (!Node.Children.empty())
                Fail("expected an object or 'end' after the nested objects, found " + Found());
            Property(W, Node.Properties, 0);
        }
    }

    // One "Name = value" line whose name W has been peeked.
    void Property(const String& W, std::vector<TFormProperty>& Properties, int Depth) {
        if (!IsValidPropertyPath(W)) Fail("expected a property name, found " + Found());
        TFormProperty P;
        P.Place = {true, FLine};
        FPos += W.size();
        P.Name = W;
        Expect('=', ("'=' after " + W).c_str());
        P.Value = Value(Depth);
        Properties.push_back(std::move(P));
    }

    TFormValue Value(int Depth) {
        SkipSpace();
        if (FPos == FEnd) Fail("expected a value, found the end of the form");
        const char C = *FPos;
        if (C == '\'' || C == '#') return StringValue();
        if (C == '{') return TFormValue::Binary(HexValue());
        if (C == '[') return SetValue();
        if (C == '(') return ListValue(Depth);
        if (C == '<') return CollectionValue(Depth);
        if (C == '-' || C == '+' || C == '$' || IsDigit(C)) {
            const TNumber N = Number();
            if (!N.Float) return TFormValue::Integer(N.Int);
            return N.Single ? TFormValue::Single(N.SingleValue)
                            : TFormValue::Extended(N.ExtendedValue);
        }
        const String W = PeekWord();
        if (W.empty()) Fail("expected a value, found " + Found());
        if (SameWord(W, "nil")) return FPos += W.size(), TFormValue::Nil();
        if (SameWord(W, "true")) return FPos += W.size(), TFormValue::Bool(true);
        if (SameWord(W, "false")) return FPos += W.size(), TFormValue::Bool(false);
        if (!IsValidIdentValue(W)) Fail("expected a value, found " + Found());
        FPos += W.size();
        return TFormValue::Ident(W);
    }

    struct TNumber {
        bool Float = false;
        bool Single = false;
        long long Int = 0;
        float SingleValue = 0;
        long double ExtendedValue = 0;
    };

    // An integer (decimal or $hex), or a float: decimal digits with a
    // fraction or an exponent, and "s" after a single's.
    TNumber Number() {
        TNumber N;
        const char* Start = FPos;
        const bool Negative = *FPos == '-';
        const bool Signed = Negative || *FPos == '+';
        if (Signed) ++FPos;
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
            if (Signed && Any) Fail("expected a number without a sign before '$'");
        } else {
            bool Overflow = false;
            while (FPos != FEnd && IsDigit(*FPos)) {
                const unsigned D = static_cast<unsigned>(*FPos - '0');
                if (Magnitude > (~0ULL - D) / 10) Overflow = true;
                Magnitude = Magnitude * 10 + D;
                Any = true;
                ++FPos;
            }
            if (Any && FPos != FEnd && (*FPos == '.' || *FPos == 'e' || *FPos == 'E'))
                return FloatNumber(Start);
            if (Overflow) Fail("a number too large for 64 bits");
            const unsigned long long Limit = Negative ? 1ULL << 63 : (1ULL << 63) - 1;
            if (Magnitude > Limit) Fail("a number too large for 64 bits");
            if (Any && FPos != FEnd && (*FPos == 's' || *FPos == 'S') &&
                (FPos + 1 == FEnd || !IsWordChar(FPos[1])))
                return FloatNumber(Start);
        }
        if (!Any) Fail("expected digits, found " + Found());
        if (FPos != FEnd && IsWordChar(*FPos)) Fail("expected a number, found " + Found());
        N.Int =
            Negative ? static_cast<long long>(0 - Magnitude) : static_cast<long long>(Magnitude);
        return N;
    }

    TNumber FloatNumber(const char* Start) {
        if (FPos != FEnd && *FPos == '.') {
            ++FPos;
            while (FPos != FEnd && IsDigit(*FPos)) ++FPos;
        }
        if (FPos != FEnd && (*FPos == 'e' || *FPos == 'E')) {
            ++FPos;
            if (FPos != FEnd && (*FPos == '+' || *FPos == '-')) ++FPos;
            if (FPos == FEnd || !IsDigit(*FPos))
                Fail("expected the digits of an exponent, found " + Found());
            while (FPos != FEnd && IsDigit(*FPos)) ++FPos;
        }
        const char* End = FPos;
        // No float needs more digits than this to be read to the bit, and
        // converting a longer run would take time for nothing.
        if (End - Start > MaxFloatLength)
            Fail("a number longer than " + IntToStr(MaxFloatLength) + " characters");
        TNumber N;
        N.Float = true;
        if (FPos != FEnd && (*FPos == 's' || *FPos == 'S')) {
            N.Single = true;
            ++FPos;
        }
        if (FPos != FEnd && IsWordChar(*FPos)) Fail("expected a number, found " + Found());
        const std::string_view Digits(Start, static_cast<std::size_t>(End - Start));
        const bool Ok =
            N.Single ? ParseSingle(Digits, N.SingleValue) : ParseExtended(Digits, N.ExtendedValue);
        if (!Ok) Fail("the number " + String(Digits) + " is out of range");
        return N;
    }

    // Quoted parts and character codes, and parts of a long string joined
    // by +.
    TFormValue StringValue() {
        const char* Start = FPos;
        const long long StartLine = FLine;
        TStringBuilder Plain(false);
        StringParts(Plain);
        if (!Plain.NeedsCharacters())
            return Plain.Wide() ? TFormValue::WStr(std::move(Plain.Text()))
                                : TFormValue::Str(std::move(Plain.Text()));
        FPos = Start;
        FLine = StartLine;
        TStringBuilder Wide(true);
        StringParts(Wide);
        return TFormValue::WStr(std::move(Wide.Text()));
    }

    // The bytes waiting to be added are counted low (a run of codes may
    // double when it turns out Latin-1), so the exact length is checked
    // again at the end.
    void Finish(TStringBuilder& Builder) const {
        Builder.Finish();
        CheckLength(Builder, 0);
    }

    void CheckLength(const TStringBuilder& Builder, std::size_t More) const {
        if (Builder.Size() > MaxFormStringLength || More > MaxFormStringLength - Builder.Size())
            Fail("a string longer than " + IntToStr(static_cast<long long>(MaxFormStringLength)) +
                 " bytes");
    }

    void StringParts(TStringBuilder& Builder) {
        for (;;) {
            if (FPos != FEnd && *FPos == '\'') {
                ++FPos;
                for (;;) {
                    const char* Run = FPos;
                    while (FPos != FEnd && *FPos != '\'' && *FPos != '\n' && *FPos != '\r') ++FPos;
                    CheckLength(Builder, static_cast<std::size_t>(FPos - Run));
                    Builder.Quoted(Run, static_cast<std::size_t>(FPos - Run));
                    if (FPos == FEnd || *FPos != '\'')
                        Fail("a string is not closed with ' on its line");
                    if (FPos + 1 != FEnd && FPos[1] == '\'') {
                        CheckLength(Builder, 1);
                        Builder.Quoted("'", 1);
                        FPos += 2;
                        continue;
                    }
                    ++FPos;
                    break;
                }
            } else if (FPos != FEnd && *FPos == '#') {
                ++FPos;
                Builder.Code(CharacterCode());
                CheckLength(Builder, 0);
            } else {
                Finish(Builder);
                return;
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
                Finish(Builder);
                return;
            }
        }
    }

    // The number after '#': decimal, or hexadecimal after '$'. Only so many
    // digits are added up; the rest are counted, so that a long run of
    // them cannot overflow.
    char32_t CharacterCode() {
        long long Code = 0;
        int Digits = 0;
        if (FPos != FEnd && *FPos == '$') {
            ++FPos;
            for (int D; FPos != FEnd && (D = HexDigit(*FPos)) >= 0; ++FPos, ++Digits)
                if (Digits < 6) Code = Code * 16 + D;
            if (Digits > 6) Code = -1;
        } else {
            for (; FPos != FEnd && IsDigit(*FPos); ++FPos, ++Digits)
                if (Digits < 7) Code = Code * 10 + (*FPos - '0');
            if (Digits > 7) Code = -1;
        }
        if (Digits == 0 || Code < 0 || Code > 0x10FFFF)
            Fail("expected a character code from 0 to 1114111 after '#'");
        return static_cast<char32_t>(Code);
    }

    String HexValue() {
        ++FPos; // '{'
        String Bytes;
        if (const void* Close = std::memchr(FPos, '}', static_cast<std::size_t>(FEnd - FPos)))
            Bytes.reserve(static_cast<std::size_t>(static_cast<const char*>(Close) - FPos) / 2);
        int High = -1;
        for (;;) {
            // Whole bytes: two digits in a row, the usual run of a line.
            while (High < 0 && FEnd - FPos >= 2) {
                const int Hi = HexDigits[static_cast<unsigned char>(FPos[0])];
                const int Lo = HexDigits[static_cast<unsigned char>(FPos[1])];
                if ((Hi | Lo) < 0) break;
                Bytes.push_back(static_cast<char>(Hi << 4 | Lo));
                FPos += 2;
            }
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

    void CheckValueDepth(int Depth) const {
        if (Depth >= MaxFormDepth)
            Fail("values nest deeper than " + IntToStr(MaxFormDepth) + " levels");
    }

    // "( value value ... )": the values one after another, any kinds.
    TFormValue ListValue(int Depth) {
        CheckValueDepth(Depth);
        ++FPos; // '('
        std::vector<TFormValue> Items;
        for (;;) {
            SkipSpace();
            if (FPos == FEnd) Fail("expected ')' to close a list, found the end of the form");
            if (*FPos == ')') {
                ++FPos;
                return TFormValue::List(std::move(Items));
            }
            Items.push_back(Value(Depth + 1));
        }
    }

    // "< item ... end item [2] ... end >": each item's properties.
    TFormValue CollectionValue(int Depth) {
        CheckValueDepth(Depth);
        ++FPos; // '<'
        std::vector<TFormCollectionItem> Items;
        for (;;) {
            SkipSpace();
            if (FPos != FEnd && *FPos == '>') {
                ++FPos;
                return TFormValue::MakeCollection(std::move(Items));
            }
            if (!SameWord(PeekWord(), "item"))
                Fail("expected 'item' or '>' in a collection, found " + Found());
            TFormCollectionItem Item;
            Item.Place = {true, FLine};
            FPos += 4;
            SkipSpace();
            if (FPos != FEnd && *FPos == '[')
                Item.Index = Index("an item's order index", INT32_MAX);
            for (;;) {
                SkipSpace();
                const String W = PeekWord();
                if (SameWord(W, "end")) {
                    FPos += W.size();
                    break;
                }
                if (W.empty() || IsObjectWord(W)) {
                    if (FPos == FEnd)
                        Fail("expected 'end' to close the item opened on line " +
                             IntToStr(Item.Place.Where) + ", found the end of the form");
                    Fail("expected a property name or 'end' in an item, found " + Found());
                }
                Property(W, Item.Properties, Depth + 1);
            }
            Items.push_back(std::move(Item));
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
