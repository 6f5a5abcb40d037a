// A bar that remembers how its user arranged it: the groups and items are
// read from the registry at start, when a save is there, and written back
// when the program ends.

#include "ExampleHost.h"

#include "folio/Folio.h"
#include "framework/core/Registry.h"

#include <iostream>

using namespace folio;

// Where the arrangement lives, below HKEY_CURRENT_USER. The leading
// backslash takes the path from the root: the bar opens one key per group
// and item with this same path, and a path without it would be taken from
// the key opened just before, nesting every group below the last.
const char* const ArrangementKey = "\\Software\\Folio examples\\Shortcuts";

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "remember-arrangement");

    TForm Form(nullptr);
    Host.Place(Form, "Remembered shortcuts", 160, 280);

    auto* Icons = new TImageList(&Form);
    examples::FillExampleIcons(*Icons, 32);
    auto* Bar = new TFolio(&Form);
    Bar->SetParent(&Form);
    Bar->SetAlign(alClient);
    Bar->SetLargeImages(Icons);

    // What a first run shows.
    TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
    Mail->GetItems()->Add("Inbox", 0);
    Mail->GetItems()->Add("Sent", 1);
    Mail->GetItems()->Add("Drafts", 2);
    Bar->GetGroups()->Add("Places")->GetItems()->Add("Home", 3);

    // A damaged save is reported as the library words it and the program
    // stops, rather than overwrite what the user may still want back. A
    // failed load leaves the bar as it was.
    bool Restored = false;
    try {
        if (TRegistry().KeyExists(ArrangementKey)) {
            Bar->LoadFromRegistry(HKEY_CURRENT_USER, ArrangementKey);
            Restored = true;
            std::cout << "Restored the arrangement saved in the registry.\n";
        }
    } catch (const Exception& E) {
        return examples::Fail("The saved arrangement cannot be read", E);
    }

    // Headless, nobody is there to rearrange the bar, so a first run plays a
    // user who drags "Drafts" to the top of its group.
    const int Shown = Host.Run(Form, [Bar, Restored](THeadlessHost& Screen) {
        if (Restored) return;
        TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
        const TPoint From =
            examples::ScreenCentre(Bar, Mail->GetItems()->GetItem(2)->GetImageRect());
        Screen.Drag(From, examples::ScreenCentre(Bar, Mail->GetInsertMarkRect(0)), 8);
        Screen.MoveTo(0, 0);
    });

    try {
        Bar->SaveToRegistry(HKEY_CURRENT_USER, ArrangementKey);
    } catch (const Exception& E) {
        return examples::Fail("The arrangement cannot be saved", E);
    }
    return Shown;
}
