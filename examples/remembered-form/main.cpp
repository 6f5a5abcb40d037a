// The tutorial's last step: the form designed in the designer, read at run
// time, whose bar keeps the user's arrangement in the registry from one run
// to the next.
//
// Usage: remembered-form [FORM-FILE] [--snapshots DIR]

#include "ExampleHost.h"
#include "designed-form/ShortcutsForm.h"

#include "framework/core/FormFiles.h"
#include "framework/core/Registry.h"

#include <iostream>

using namespace folio;

const char* const ArrangementKey = "\\Software\\Folio examples\\Remembered form";

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "remembered-form");
    const std::string FormFile =
        Host.Arguments().empty() ? FOLIO_EXAMPLE_FORM : Host.Arguments().front();

    // First the design, then what the user made of it, over the design.
    TForm1 Form(nullptr);
    bool Restored = false;
    try {
        ReadComponentFile(FormFile, &Form);
        if (TRegistry().KeyExists(ArrangementKey)) {
            Form.Bar()->LoadFromRegistry(HKEY_CURRENT_USER, ArrangementKey);
            Restored = true;
            std::cout << "Restored the arrangement saved in the registry.\n";
        }
    } catch (const Exception& E) {
        return examples::Fail("The shortcuts cannot be shown", E);
    }

    // Headless, a first run plays a user who drags "Sent" above "Inbox".
    const int Shown = Host.Run(Form, [&Form, Restored](THeadlessHost& Screen) {
        if (Restored) return;
        TFolio* Bar = Form.Bar();
        TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
        const TPoint From =
            examples::ScreenCentre(Bar, Mail->GetItems()->GetItem(1)->GetImageRect());
        Screen.Drag(From, examples::ScreenCentre(Bar, Mail->GetInsertMarkRect(0)), 8);
        Screen.MoveTo(0, 0);
    });

    try {
        Form.Bar()->SaveToRegistry(HKEY_CURRENT_USER, ArrangementKey);
    } catch (const Exception& E) {
        return examples::Fail("The arrangement cannot be saved", E);
    }
    return Shown;
}
