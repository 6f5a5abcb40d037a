#include "DesignCommands.h"

#include "FormDesigner.h"

#include "framework/core/Exceptions.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/menus/MenuItem.h"

namespace designer {

using namespace folio;

void RunReporting(TFormDesigner& Designer, const std::function<void()>& Command) {
    if (!Designer.OnError) return Command();
    try {
        Command();
    } catch (const Exception& E) {
        Designer.OnError(E.Message());
    }
}

void AddSelectionCommands(TMenuItem* Items, TComponent* Owner, TFormDesigner& Designer) {
    const bool Components = !Designer.SelectedTops().empty();
    int Controls = 0;
    for (TPersistent* P : Designer.GetSelectionList())
        if (dynamic_cast<TControl*>(P) && P != Designer.GetForm()) ++Controls;
    auto Add = [&](TMenuItem* Parent, const String& Caption, bool Enabled,
                   std::function<void()> Run) {
        auto* Item = new TMenuItem(Owner);
        Item->SetCaption(Caption);
        Item->SetEnabled(Enabled);
        if (Run)
            Item->OnClick = [&Designer, Run = std::move(Run)](TObject*) {
                RunReporting(Designer, Run);
            };
        Parent->Add(Item);
        return Item;
    };
    Add(Items, "Cut", Components, [&Designer] { Designer.CutSelection(); });
    Add(Items, "Copy", Components, [&Designer] { Designer.CopySelection(); });
    Add(Items, "Paste", !Clipboard()->GetAsText().empty(), [&Designer] { Designer.Paste(); });
    Add(Items, "Delete", Components, [&Designer] { Designer.DeleteSelection(); });
    Add(Items, "-", true, nullptr);
    Add(Items, "Bring to front", Controls > 0, [&Designer] { Designer.BringSelectionToFront(); });
    Add(Items, "Send to back", Controls > 0, [&Designer] { Designer.SendSelectionToBack(); });
    TMenuItem* Align = Add(Items, "Align", Controls > 1, nullptr);
    for (const TAlignCommandName& C : AlignCommandNames) {
        const TAlignCommand Command = C.Command;
        Add(Align, C.Caption, Controls > 1,
            [&Designer, Command] { Designer.AlignSelection(Command); });
    }
}

} // namespace designer
