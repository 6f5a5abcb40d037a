#include "framework/ui/app/Clipboard.h"

namespace folio {

TClipboard* Clipboard() {
    static TClipboard TheClipboard;
    return &TheClipboard;
}

String TClipboard::GetAsText() const {
    return FReader ? FReader() : FText;
}

void TClipboard::SetAsText(const String& Text) {
    FText = Text;
    if (FWriter) FWriter(Text);
}

void TClipboard::SetBackend(std::function<String()> Reader,
                            std::function<void(const String&)> Writer) {
    FReader = std::move(Reader);
    FWriter = std::move(Writer);
}

} // namespace folio
