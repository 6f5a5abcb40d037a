#pragma once

// The class of the form designed in shortcuts.form. The designer saves a
// new form as a TForm1, and its file names the handlers of the bar's
// events ("BarItemClick", "BarGroupClick", typed on the inspector's Events
// page), which this class offers by name.

#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/ui/stdctrls/Label.h"

class TForm1 : public folio::TForm {
    FOLIO_CLASS(TForm1)
public:
    explicit TForm1(folio::TComponent* AOwner) : folio::TForm(AOwner) {}

    // Components the file made are found by the names given in the designer.
    folio::TFolio* Bar() const { return dynamic_cast<folio::TFolio*>(FindComponent("Bar")); }
    folio::TLabel* Status() const { return dynamic_cast<folio::TLabel*>(FindComponent("Status")); }

    void BarItemClick(folio::TObject*, folio::TFolioItem* Item) {
        Status()->SetCaption("You clicked " + Item->GetCaption() + ".");
    }
    void BarGroupClick(folio::TObject*, folio::TFolioGroup* Group) {
        Status()->SetCaption(Group->GetCaption() + " is open.");
    }
};

// The handlers a form file may name, and the class it may be read into.
inline const folio::TClassInfo& TForm1::StaticClassInfo() {
    static const folio::TClassInfo Info =
        folio::TClassBuilder<TForm1>("TForm1", &folio::TForm::StaticClassInfo())
            .Method("BarItemClick", &TForm1::BarItemClick)
            .Method("BarGroupClick", &TForm1::BarGroupClick)
            .Build();
    return Info;
}
