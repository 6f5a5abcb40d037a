// Where a cursor may stop and where a line may break, by the Unicode rules
// for grapheme clusters and line breaking as ICU implements them.

#include "framework/gfx/ShapedText.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <climits>

namespace folio {

namespace {

// ICU's iterators are expensive to open and cheap to point at new text:
// each thread keeps one of each kind.
struct TIterators {
    UBreakIterator* Grapheme = nullptr;
    UBreakIterator* Line = nullptr;
    TIterators() {
        UErrorCode Status = U_ZERO_ERROR;
        Grapheme = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &Status);
        if (U_FAILURE(Status)) Grapheme = nullptr;
        Status = U_ZERO_ERROR;
        Line = ubrk_open(UBRK_LINE, "", nullptr, 0, &Status);
        if (U_FAILURE(Status)) Line = nullptr;
    }
    ~TIterators() {
        if (Grapheme) ubrk_close(Grapheme);
        if (Line) ubrk_close(Line);
    }
};

// Marks every boundary the iterator finds with Flag; Hard, when not zero,
// marks the boundaries that end a hard line break as well.
void Mark(UBreakIterator* It, UText* Text, std::vector<std::uint8_t>& Breaks, std::uint8_t Flag,
          std::uint8_t Hard) {
    UErrorCode Status = U_ZERO_ERROR;
    ubrk_setUText(It, Text, &Status);
    if (U_FAILURE(Status)) return;
    for (int32_t B = ubrk_first(It); B != UBRK_DONE; B = ubrk_next(It)) {
        if (B < 0 || static_cast<size_t>(B) >= Breaks.size()) continue;
        Breaks[static_cast<size_t>(B)] |= Flag;
        if (Hard) {
            const int32_t Rule = ubrk_getRuleStatus(It);
            if (Rule >= UBRK_LINE_HARD && Rule < UBRK_LINE_HARD_LIMIT)
                Breaks[static_cast<size_t>(B)] |= Hard;
        }
    }
}

} // namespace

void FindTextBreaks(std::string_view Text, std::vector<std::uint8_t>& Breaks) {
    Breaks.assign(Text.size() + 1, 0);
    Breaks[0] = tbGraphemeStart;
    Breaks[Text.size()] = tbGraphemeStart;
    if (Text.empty()) return;
    // Plain ASCII letters and digits, the common one-word caption, need no
    // iterator: every byte starts a character and no line breaks inside.
    bool Simple = true;
    for (char C : Text) {
        const auto U = static_cast<unsigned char>(C);
        if (!((U >= '0' && U <= '9') || (U >= 'A' && U <= 'Z') || (U >= 'a' && U <= 'z'))) {
            Simple = false;
            break;
        }
    }
    if (Simple) {
        for (auto& B : Breaks) B = tbGraphemeStart;
        return;
    }
    if (Text.size() > static_cast<size_t>(INT32_MAX)) return;
    thread_local TIterators Its;
    UErrorCode Status = U_ZERO_ERROR;
    UText Utf8 = UTEXT_INITIALIZER;
    utext_openUTF8(&Utf8, Text.data(), static_cast<int64_t>(Text.size()), &Status);
    if (U_FAILURE(Status)) return;
    if (Its.Grapheme) Mark(Its.Grapheme, &Utf8, Breaks, tbGraphemeStart, 0);
    if (Its.Line) Mark(Its.Line, &Utf8, Breaks, tbBreakAllowed, tbBreakMandatory);
    utext_close(&Utf8);
    // A break is never before the text, and the end is no break inside it.
    Breaks[0] &= static_cast<std::uint8_t>(~(tbBreakAllowed | tbBreakMandatory));
    Breaks[Text.size()] &= static_cast<std::uint8_t>(~(tbBreakAllowed | tbBreakMandatory));
    // Without ICU every character start is at least a cursor stop.
    if (!Its.Grapheme)
        for (size_t I = 0; I < Text.size(); ++I)
            if ((static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80) Breaks[I] |= tbGraphemeStart;
}

} // namespace folio
