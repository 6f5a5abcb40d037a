// Two bars side by side: the user drags items within a bar and from one bar
// to the other. The bars move the items themselves; the program only hears
// where they went.

#include "ExampleHost.h"

#include "folio/Folio.h"
#include "framework/ui/stdctrls/Label.h"

using namespace folio;

namespace {

TFolio* AddBar(TForm& Form, TImageList* Icons, int Left, const char* Caption) {
    auto* Bar = new TFolio(&Form);
    Bar->SetParent(&Form);
    Bar->SetBounds(Left, 0, 130, 250);
    Bar->SetLargeImages(Icons);
    Bar->GetGroups()->Add(Caption);
    return Bar;
}

} // namespace

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "drag-between-bars");

    TForm Form(nullptr);
    Host.Place(Form, "Drag between bars", 270, 280);

    auto* Icons = new TImageList(&Form);
    examples::FillExampleIcons(*Icons, 32);
    TFolio* Left = AddBar(Form, Icons, 0, "To do");
    TFolio* Right = AddBar(Form, Icons, 140, "Done");
    TFolioItems* ToDo = Left->GetGroups()->GetGroup(0)->GetItems();
    ToDo->Add("Write", 0);
    ToDo->Add("Test", 1);
    ToDo->Add("Ship", 2);
    Right->GetGroups()->GetGroup(0)->GetItems()->Add("Plan", 3);

    auto* Status = new TLabel(&Form);
    Status->SetParent(&Form);
    Status->SetBounds(4, 258, 262, 18);
    Status->SetCaption("Drag an item onto the other bar.");

    // Both bars take items from each other (AllowDragging is on by default).
    // A drop moves the item: it leaves the bar it came from and joins the
    // open group of the bar it was let go over, where the insert mark was.
    for (TFolio* Bar : {Left, Right})
        Bar->OnEndDrag = [Status, Left, Right](TObject*, TObject*, int, int) {
            Status->SetCaption(
                std::to_string(Left->GetVisibleGroupObject()->GetItems()->GetCount()) + " to do, " +
                std::to_string(Right->GetVisibleGroupObject()->GetItems()->GetCount()) + " done.");
        };

    // Headless, a user drags "Write" onto the right bar, below "Plan".
    return Host.Run(Form, [Left, Right, ToDo](THeadlessHost& Screen) {
        const TPoint From = examples::ScreenCentre(Left, ToDo->GetItem(0)->GetImageRect());
        const TPoint To =
            examples::ScreenCentre(Right, Right->GetVisibleGroupObject()->GetInsertMarkRect(1));
        Screen.Drag(From, To, 8);
        Screen.MoveTo(0, 0);
    });
}
