#include "framework/core/RegistryText.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <algorithm>

namespace folio {

// The registry file format
//
// A registry file is UTF-8 text with one entry per line, so that it reads
// well in an editor and a changed value is one changed line in a diff:
//
//   # Lines starting with "#" and blank lines are comments.
//   [Software\Folio\Bar]
//   "Groups" = dword:00000002
//   [Software\Folio\Bar\Group 1]
//   "Caption" = sz:"Files and \"folders\""
//
// - "[path]" starts a key: its names from the root key, joined by
//   backslashes; "[]" is the root key itself. Keys on the way that have no
//   line of their own are created. In a key name, "%" and every byte that is
//   not printable UTF-8 are written as "%" and two hex digits; a name holds
//   no backslash, escaped or not.
// - A value line is the value's name in double quotes, "=", and the data:
//   "dword:" and one to eight hex digits, or "sz:" and a string in quotes.
// - In quotes, \\ \" \n \r \t stand for a backslash, a quote, a line feed, a
//   carriage return and a tab, and \xHH for any byte; every other byte that
//   is not printable UTF-8 is written that way.
// - Names compare without regard to ASCII case and keep the case they were
//   written with; a key holds at most one value of a name.
// - The writer gives every key a line of its own, also an empty one, in the
//   order the keys were made, each followed by its values in the order they
//   were first written. Comments are not kept when the file is written again.

namespace {

// The length of the well-formed UTF-8 sequence starting at Text[Pos], or 0.
size_t Utf8SequenceAt(std::string_view Text, size_t Pos) {
    const auto Byte = [&](size_t I) { return static_cast<unsigned char>(Text[Pos + I]); };
    const unsigned char Lead = Byte(0);
    size_t Length = 0;
    unsigned char Low = 0x80, High = 0xBF; // bounds of the second byte
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        if (Lead == 0xE0) Low = 0xA0;  // overlong
        if (Lead == 0xED) High = 0x9F; // surrogates
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        if (Lead == 0xF0) Low = 0x90;  // overlong
        if (Lead == 0xF4) High = 0x8F; // past U+10FFFF
    } else {
        return 0;
    }
    if (Pos + Length > Text.size()) return 0;
    if (Byte(1) < Low || Byte(1) > High) return 0;
    for (size_t I = 2; I < Length; ++I)
        if (Byte(I) < 0x80 || Byte(I) > 0xBF) return 0;
    return Length;
}

enum class TEscape { KeyName, Quoted };

void AppendByteEscape(String& Out, unsigned char C, TEscape Style) {
    static const char Hex[] = "0123456789ABCDEF";
    Out += Style == TEscape::Quoted ? "\\x" : "%";
    Out += Hex[C >> 4];
    Out += Hex[C & 15];
}

// The escape of a byte below 0x80, or null when it stands as it is.
const char* AsciiEscape(unsigned char C, TEscape Style) {
    if (Style == TEscape::Quoted) {
        switch (C) {
        case '\\':
            return "\\\\";
        case '"':
            return "\\\"";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            break;
        }
    } else if (C == '%') {
        return "";
    }
    return C < 0x20 || C == 0x7F ? "" : nullptr;
}

void AppendEscaped(String& Out, std::string_view Text, TEscape Style) {
    size_t Plain = 0; // start of the run of bytes that stand as they are
    size_t I = 0;
    while (I < Text.size()) {
        const auto C = static_cast<unsigned char>(Text[I]);
        if (C >= 0x80) {
            if (const size_t Length = Utf8SequenceAt(Text, I)) {
                I += Length;
                continue;
            }
        } else if (!AsciiEscape(C, Style)) {
            ++I;
            continue;
        }
        Out.append(Text, Plain, I - Plain);
        const char* Escape = C < 0x80 ? AsciiEscape(C, Style) : "";
        if (*Escape)
            Out += Escape;
        else
            AppendByteEscape(Out, C, Style);
        Plain = ++I;
    }
    Out.append(Text, Plain, Text.size() - Plain);
}

int HexDigit(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

bool IsBlank(char C) {
    return C == ' ' || C == '\t';
}

// Reads the file's lines into a tree.
class TRegTextParser {
public:
    TRegTextParser(std::string_view Text, const String& FileName)
        : FText(Text), FFileName(FileName), FRoot(std::make_unique<TRegKeyNode>()) {}

    std::unique_ptr<TRegKeyNode> Parse() {
        if (static_cast<std::int64_t>(FText.size()) > RegistryMaxFileSize)
            Fail("the file is larger than the 64 MiB a registry file may have");
        size_t Start = 0;
        while (Start < FText.size()) {
            ++FLine;
            size_t End = FText.find('\n', Start);
            if (End == std::string_view::npos) End = FText.size();
            ParseLine(FText.substr(Start, End - Start));
            Start = End + 1;
        }
        return std::move(FRoot);
    }

private:
    [[noreturn]] void Fail(const String& What) const {
        throw ERegistryException(Format("The registry file \"%s\" is damaged at line %d: %s. "
                                        "Mend or remove the file; it is left as it is.",
                                        FFileName.c_str(), FLine, What.c_str()));
    }

    void ParseLine(std::string_view Line) {
        while (!Line.empty() && (IsBlank(Line.back()) || Line.back() == '\r'))
            Line.remove_suffix(1);
        while (!Line.empty() && IsBlank(Line.front())) Line.remove_prefix(1);
        if (Line.empty() || Line.front() == '#') return;
        if (Line.front() == '[')
            ParseKeyHeader(Line);
        else if (Line.front() == '"')
            ParseValue(Line);
        else
            Fail("a line is neither a key in brackets nor a quoted value name");
    }

    void ParseKeyHeader(std::string_view Line) {
        if (Line.size() < 2 || Line.back() != ']') Fail("a key line has no closing \"]\"");
        const std::string_view FullPath = Line.substr(1, Line.size() - 2);
        std::string_view Path = FullPath;
        TRegKeyNode* Key = FRoot.get();
        int Depth = 0;
        // A written file names every key right after its parent, each by its
        // whole path; walking those from the root would take time in the
        // square of the depth. A path that goes on from the last key line's
        // starts at that key (names hold no backslash, so the names before
        // it are the same ones).
        if (!FKeyPath.empty() && FullPath.starts_with(FKeyPath) &&
            (FullPath.size() == FKeyPath.size() || FullPath[FKeyPath.size()] == '\\')) {
            Key = FKey;
            Depth = FKeyDepth;
            Path.remove_prefix(FKeyPath.size());
            if (!Path.empty()) {
                Path.remove_prefix(1);
                if (Path.empty()) Fail("a key path ends in a backslash");
            }
        }
        while (!Path.empty()) {
            const size_t Slash = Path.find('\\');
            const std::string_view Name = Path.substr(0, Slash);
            if (++Depth > RegistryMaxDepth)
                Fail(Format("the key path is more than %d keys deep", RegistryMaxDepth));
            Key = &Key->EnsureKey(UnescapeKeyName(Name));
            if (Slash == std::string_view::npos) break;
            Path.remove_prefix(Slash + 1);
            if (Path.empty()) Fail("a key path ends in a backslash");
        }
        FKey = Key;
        FKeyPath = FullPath;
        FKeyDepth = Depth;
    }

    String UnescapeKeyName(std::string_view Text) {
        if (Text.empty()) Fail("a key path holds an empty name");
        String Name;
        for (size_t I = 0; I < Text.size(); ++I) {
            if (Text[I] != '%') {
                const size_t Run = std::min(Text.find('%', I), Text.size());
                Name.append(Text, I, Run - I);
                I = Run - 1;
                continue;
            }
            const int High = I + 2 < Text.size() ? HexDigit(Text[I + 1]) : -1;
            const int Low = High >= 0 ? HexDigit(Text[I + 2]) : -1;
            if (Low < 0) Fail("a \"%\" in a key name is not followed by two hex digits");
            // Key names hold no backslash: it parts the names of a path.
            if (High * 16 + Low == '\\') Fail("a key name holds an escaped backslash");
            Name += static_cast<char>(High * 16 + Low);
            I += 2;
        }
        CheckNameLength(Name);
        return Name;
    }

    void CheckNameLength(const String& Name) const {
        if (Name.size() > RegistryMaxNameLength)
            Fail(Format("a name is longer than %zu bytes", RegistryMaxNameLength));
    }

    void ParseValue(std::string_view Line) {
        if (!FKey) Fail("a value stands before the first key line");
        size_t Pos = 0;
        String Name = ParseQuoted(Line, Pos);
        CheckNameLength(Name);
        SkipBlanks(Line, Pos);
        if (Pos >= Line.size() || Line[Pos] != '=') Fail("a value name is not followed by \"=\"");
        ++Pos;
        SkipBlanks(Line, Pos);
        TRegValue Value;
        const std::string_view Rest = Line.substr(Pos);
        if (Rest.starts_with("dword:")) {
            Pos += 6;
            Value.Type = rdInteger;
            Value.Number = ParseHexNumber(Line, Pos);
        } else if (Rest.starts_with("sz:")) {
            Pos += 3;
            Value.Type = rdString;
            Value.Text = ParseQuoted(Line, Pos);
        } else {
            Fail("a value's data starts with neither \"dword:\" nor \"sz:\"");
        }
        if (Pos != Line.size()) Fail("a value line goes on after its data");
        if (FKey->FindValue(Name))
            Fail("the value " + QuoteRegName(Name) + " is given twice in one key");
        FKey->SetValue(Name, std::move(Value));
    }

    static void SkipBlanks(std::string_view Line, size_t& Pos) {
        while (Pos < Line.size() && IsBlank(Line[Pos])) ++Pos;
    }

    std::uint32_t ParseHexNumber(std::string_view Line, size_t& Pos) const {
        std::uint32_t Number = 0;
        size_t Digits = 0;
        for (int D; Pos < Line.size() && (D = HexDigit(Line[Pos])) >= 0; ++Pos, ++Digits)
            Number = Number << 4 | static_cast<std::uint32_t>(D);
        if (Digits == 0 || Digits > 8) Fail("a dword holds other than one to eight hex digits");
        return Number;
    }

    // The quoted text starting at Line[Pos]; Pos ends behind the closing quote.
    String ParseQuoted(std::string_view Line, size_t& Pos) const {
        if (Pos >= Line.size() || Line[Pos] != '"') Fail("a quoted text was expected");
        ++Pos;
        String Text;
        while (Pos < Line.size() && Line[Pos] != '"') {
            if (Line[Pos] != '\\') {
                // Most text needs no unescaping: it is taken a run at a time.
                const size_t Start = Pos;
                for (; Pos < Line.size() && Line[Pos] != '"' && Line[Pos] != '\\'; ++Pos) {
                    const auto C = static_cast<unsigned char>(Line[Pos]);
                    if ((C < 0x20 && C != '\t') || C == 0x7F)
                        Fail("a control character stands unescaped in quotes");
                }
                Text.append(Line, Start, Pos - Start);
                continue;
            }
            ++Pos;
            if (Pos >= Line.size()) break;
            switch (Line[Pos++]) {
            case '\\':
                Text += '\\';
                break;
            case '"':
                Text += '"';
                break;
            case 'n':
                Text += '\n';
                break;
            case 'r':
                Text += '\r';
                break;
            case 't':
                Text += '\t';
                break;
            case 'x': {
                const int High = Pos < Line.size() ? HexDigit(Line[Pos]) : -1;
                const int Low = High >= 0 && Pos + 1 < Line.size() ? HexDigit(Line[Pos + 1]) : -1;
                if (Low < 0) Fail("a \"\\x\" in quotes is not followed by two hex digits");
                Text += static_cast<char>(High * 16 + Low);
                Pos += 2;
                break;
            }
            default:
                Fail("quotes hold an unknown escape after a backslash");
            }
        }
        if (Pos >= Line.size()) Fail("a quoted text has no closing quote");
        ++Pos;
        return Text;
    }

    std::string_view FText;
    const String& FFileName;
    std::unique_ptr<TRegKeyNode> FRoot;
    TRegKeyNode* FKey = nullptr; // the key of the last key line
    std::string_view FKeyPath;   // and its path as written, and its depth
    int FKeyDepth = 0;
    int FLine = 0;
};

void AppendValue(String& Out, const String& Name, const TRegValue& Value) {
    Out += '"';
    AppendEscaped(Out, Name, TEscape::Quoted);
    if (Value.Type == rdInteger) {
        char Digits[] = "\" = dword:00000000\n";
        for (int I = 0; I < 8; ++I)
            Digits[17 - I] = "0123456789abcdef"[(Value.Number >> (4 * I)) & 15];
        Out += Digits;
    } else {
        Out += "\" = sz:\"";
        AppendEscaped(Out, Value.Text, TEscape::Quoted);
        Out += "\"\n";
    }
}

// The key's line, its values and then its subkeys. The root key (the empty
// path) needs a line only when it holds values.
void AppendKey(String& Out, const TRegKeyNode& Key, String& Path) {
    if (!Path.empty() || Key.Values().Count() > 0) {
        Out += "\n[";
        Out += Path;
        Out += "]\n";
    }
    for (size_t I = 0; I < Key.Values().Count(); ++I)
        AppendValue(Out, Key.Values().At(I).Name, Key.Values().At(I).Value);
    for (size_t I = 0; I < Key.Keys().Count(); ++I) {
        const size_t Length = Path.size();
        if (!Path.empty()) Path += '\\';
        AppendEscaped(Path, Key.Keys().At(I).Name, TEscape::KeyName);
        AppendKey(Out, *Key.Keys().At(I).Value, Path);
        Path.resize(Length);
    }
}

} // namespace

std::unique_ptr<TRegKeyNode> ParseRegistryText(std::string_view Text, const String& FileName) {
    return TRegTextParser(Text, FileName).Parse();
}

String FormatRegistryText(const TRegKeyNode& Root, const String& Title) {
    String Out = "# ";
    AppendEscaped(Out, Title, TEscape::KeyName);
    Out += "\n";
    String Path;
    AppendKey(Out, Root, Path);
    return Out;
}

String QuoteRegName(std::string_view Name) {
    constexpr size_t Shown = 60;
    String Out = "\"";
    AppendEscaped(Out, Name.substr(0, Shown), TEscape::Quoted);
    if (Name.size() > Shown) Out += "...";
    Out += '"';
    return Out;
}

} // namespace folio
