#include "DesignCommands.h"

#include "FormDesigner.h"

#include "framework/core/Exceptions.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/VirtualKeys.h"
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
                   std::function<void()> Run, TShortCut Key = 0) {
        auto* Item = new TMenuItem(Owner);
        Item->SetCaption(Caption);
        Item->SetEnabled(Enabled);
        Item->SetShortCut(Key);
        if (Run)
            Item->OnClick = [&Designer, Run = std::move(Run)](TObject*) {
                RunReporting(Designer, Run);
            };
        Parent->Add(Item);
        return Item;
    };
    Add(
        Items, "Cut", Components, [&Designer] { Designer.CutSelection(); },
        ShortCut('X', {ssCtrl}));
    Add(
        Items, "Copy", Components, [&Designer] { Designer.CopySelection(); },
        ShortCut('C', {ssCtrl}));
    Add(
        Items, "Paste", !Clipboard()->GetAsText().empty(), [&Designer] { Designer.Paste(); },
        ShortCut('V', {ssCtrl}));
    Add(
        Items, "Delete", Components, [&Designer] { Designer.DeleteSelection(); },
        ShortCut(VK_DELETE, {}));
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

void ViewInScheme(const String& Choice) {
    TColorScheme Scheme = csClassic;
    if (ColorSchemeFromName(Choice, Scheme))
        Screen->SetColorScheme(Scheme);
    else
        Screen->SetFollowDesktopColorScheme(true);
}

void AddSchemeChoices(TMenuItem* Parent, TComponent* Owner) {
    const struct {
        const char* Caption;
        const char* Name;
    } Choices[] = {
        {"The desktop's", "desktop"},
        {"Classic", "classic"},
        {"Light", "light"},
        {"Dark", "dark"},
        {"High contrast, dark", "high-contrast-dark"},
        {"High contrast, light", "high-contrast-light"},
    };
    for (const auto& C : Choices) {
        auto* Item = new TMenuItem(Owner);
        Item->SetCaption(C.Caption);
        Item->SetRadioItem(true);
        TColorScheme Scheme = csClassic;
        const bool Named = ColorSchemeFromName(C.Name, Scheme);
        Item->SetChecked(Named ? !Screen->GetFollowDesktopColorScheme() &&
                                     Screen->GetColorScheme() == Scheme
                               : Screen->GetFollowDesktopColorScheme());
        const String Name = C.Name;
        Item->OnClick = [Name](TObject*) { ViewInScheme(Name); };
        Parent->Add(Item);
    }
}

} // namespace designer
