#include "framework/design/ComponentEditor.h"

#include "framework/core/Component.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/ui/app/Clipboard.h"

namespace folio {

TComponentEditor::TComponentEditor(TComponent* AComponent, IDesigner* ADesigner)
    : FComponent(AComponent), FDesigner(ADesigner) {}

TComponentEditor::~TComponentEditor() = default;

void TComponentEditor::Edit() {
    if (GetVerbCount() > 0) ExecuteVerb(0);
}

// The base editor offers no verbs, so there is nothing to run and no text.
void TComponentEditor::ExecuteVerb(int) {}

String TComponentEditor::GetVerb(int) {
    return String();
}

int TComponentEditor::GetVerbCount() {
    return 0;
}

void TComponentEditor::Copy() {
    if (!FComponent) return;
    TMemoryStream Stream;
    WriteComponent(Stream, FComponent, nullptr, feText);
    Clipboard()->SetAsText(String(Stream.Memory(), static_cast<size_t>(Stream.GetSize())));
}

} // namespace folio
