// A bar with two groups on a form, and a label that names the item the user
// clicked last.

#include "ExampleHost.h"

#include "folio/Folio.h"
#include "framework/ui/stdctrls/Label.h"

using namespace folio;

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "bar-groups");

    TForm Form(nullptr);
    Host.Place(Form, "Two groups", 360, 260);

    // The form owns the pictures, the bar and the label, and frees them.
    auto* Icons = new TImageList(&Form);
    examples::FillExampleIcons(*Icons, 32);

    auto* Bar = new TFolio(&Form);
    Bar->SetParent(&Form);
    Bar->SetBounds(0, 0, 140, 260);
    Bar->SetLargeImages(Icons);

    TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
    Mail->GetItems()->Add("Inbox", 0);
    Mail->GetItems()->Add("Sent", 1);
    Mail->GetItems()->Add("Drafts", 2);
    TFolioGroup* Places = Bar->GetGroups()->Add("Places");
    Places->GetItems()->Add("Home", 3);
    Places->GetItems()->Add("Work", 4);

    auto* Status = new TLabel(&Form);
    Status->SetParent(&Form);
    Status->SetBounds(160, 20, 190, 20);
    Status->SetCaption("Click an item.");

    // The bar tells which item was clicked; the sender is always the bar.
    Bar->OnItemClick = [Status](TObject*, TFolioItem* Item) {
        Status->SetCaption("You clicked " + Item->GetCaption() + ".");
    };
    // A click on a closed group's caption opens it, then this fires.
    Bar->OnGroupClick = [&Form](TObject*, TFolioGroup* Group) {
        Form.SetCaption("Two groups: " + Group->GetCaption());
    };

    // Headless, a user clicks "Sent" so that the picture shows the answer.
    return Host.Run(Form, [Mail](THeadlessHost& Screen) {
        TFolioItem* Sent = Mail->GetItems()->GetItem(1);
        const TPoint P = examples::ScreenCentre(Sent->GetBar(), Sent->GetImageRect());
        Screen.Click(P.X, P.Y);
        // Resting on an item shows its OverImageIndex picture, none here.
        Screen.MoveTo(P.X + 200, P.Y);
    });
}
