#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

/// The text clipboard. It keeps its text in the process; a window host that
/// can reach the system clipboard installs a reader and a writer.
class TClipboard {
public:
    /// The text on the clipboard (the system's, through the reader when one is
    /// installed); "" when empty.
    String GetAsText() const;
    /// Puts Text on the clipboard (and through the writer on the system's).
    void SetAsText(const String& Text);
    /// Whether the clipboard holds a non-empty text.
    bool HasText() const { return !GetAsText().empty(); }

    /// Installs the host's reader and writer of the system clipboard (empty
    /// functions: the process's own text again).
    void SetBackend(std::function<String()> Reader, std::function<void(const String&)> Writer);

private:
    String FText;
    std::function<String()> FReader;
    std::function<void(const String&)> FWriter;
};

/// The clipboard of the process.
TClipboard* Clipboard();

} // namespace folio
