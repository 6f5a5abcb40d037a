#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

// The text clipboard. It keeps its text in the process; a window host that
// can reach the system clipboard installs a reader and a writer.
class TClipboard {
public:
    String GetAsText() const;
    void SetAsText(const String& Text);
    bool HasText() const { return !GetAsText().empty(); }

    void SetBackend(std::function<String()> Reader, std::function<void(const String&)> Writer);

private:
    String FText;
    std::function<String()> FReader;
    std::function<void(const String&)> FWriter;
};

TClipboard* Clipboard();

} // namespace folio
