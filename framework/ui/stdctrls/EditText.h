#pragma once

// Shared by the parts of the edit box: its text positions and its caret.

namespace folio::edittext {

// The gap between the client edge and the text.
constexpr int Margin = 1;

// The caret's timer on the box's window.
constexpr unsigned CaretTimer = 0xCA7E;

// A byte inside a UTF-8 character, where the caret never stops.
inline bool IsContinuation(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

} // namespace folio::edittext
