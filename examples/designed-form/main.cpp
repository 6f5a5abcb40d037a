// A form designed in the designer, loaded at run time: the form file makes
// the bar and the label, and names the handlers of the bar's events, which
// this program's form class offers by name.
//
// Usage: designed-form [FORM-FILE] [--snapshots DIR]

#include "ExampleHost.h"

#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/core/FormFiles.h"
#include "framework/ui/stdctrls/Label.h"

using namespace folio;

// The designer saves a new form as a TForm1; its file names the handlers
// "BarItemClick" and "BarGroupClick" (the inspector's Events page).
class TForm1 : public TForm {
    FOLIO_CLASS(TForm1)
public:
    explicit TForm1(TComponent* AOwner) : TForm(AOwner) {}

    void BarItemClick(TObject*, TFolioItem* Item) {
        Status()->SetCaption("You clicked " + Item->GetCaption() + ".");
    }
    void BarGroupClick(TObject*, TFolioGroup* Group) {
        Status()->SetCaption(Group->GetCaption() + " is open.");
    }

private:
    // Components the file made are found by the names given in the designer.
    TLabel* Status() { return dynamic_cast<TLabel*>(FindComponent("Status")); }
};

// The handlers a form file may name, and the class it may be read into.
const TClassInfo& TForm1::StaticClassInfo() {
    static const TClassInfo Info = TClassBuilder<TForm1>("TForm1", &TForm::StaticClassInfo())
                                       .Method("BarItemClick", &TForm1::BarItemClick)
                                       .Method("BarGroupClick", &TForm1::BarGroupClick)
                                       .Build();
    return Info;
}

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
        auto* Bar = dynamic_cast<TFolio*>(Form.FindComponent("Bar"));
        TFolioItem* Sent = Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(1);
        const TPoint P = examples::ScreenCentre(Bar, Sent->GetImageRect());
        Screen.Click(P.X, P.Y);
        Screen.MoveTo(0, 0);
    });
}
