// A form designed in the designer, loaded at run time: the form file makes
// the bar and the label, and names the handlers of the bar's events, which
// this program's form class offers by name.
//
// Usage: designed-form [FORM-FILE] [--snapshots DIR]

#include "ExampleHost.h"
#include "designed-form/ShortcutsForm.h"

#include "framework/core/FormFiles.h"

using namespace folio;

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "designed-form");
    const std::string FormFile =
        Host.Arguments().empty() ? FOLIO_EXAMPLE_FORM : Host.Arguments().front();

    TForm1 Form(nullptr);
    try {
        // A missing or damaged file raises with the reason (and the line of
        // a damaged one) and leaves the form as it was.
        ReadComponentFile(FormFile, &Form);
    } catch (const Exception& E) {
        return examples::Fail("The form " + FormFile + " cannot be loaded", E);
    }

    // Headless, a user clicks "Sent".
    return Host.Run(Form, [&Form](THeadlessHost& Screen) {
        TFolio* Bar = Form.Bar();
        TFolioItem* Sent = Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(1);
        const TPoint P = examples::ScreenCentre(Bar, Sent->GetImageRect());
        Screen.Click(P.X, P.Y);
        Screen.MoveTo(0, 0);
    });
}
