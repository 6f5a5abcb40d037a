#include "framework/ui/dialogs/OpenPictureDialog.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"

namespace folio {

const TClassInfo& TOpenPictureDialog::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TOpenPictureDialog>("TOpenPictureDialog", &TOpenDialog::StaticClassInfo())
            .Creatable()
            .Build();
    return Info;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

bool TOpenPictureDialog::Execute() {
    // The preview's controls go with the dialog's form.
    TScopeGuard Forget([this] {
        FImage = nullptr;
        FCaption = nullptr;
    });
    return TOpenDialog::Execute();
}

void TOpenPictureDialog::AddParts(TParts& Parts, int X) {
    Parts.Preview = new TPanel(Parts.Form);
    Parts.Preview->SetName("PreviewPanel");
    Parts.Preview->SetParent(Parts.Form);
    Parts.Preview->SetBounds(X, 100, 76, 76);
    Parts.Preview->SetBevelOuter(bvLowered);
    FImage = new TImage(Parts.Form);
    FImage->SetName("PreviewImage");
    FImage->SetParent(Parts.Preview);
    FImage->SetBounds(2, 2, 72, 72);
    FImage->SetStretch(true);
    FImage->SetProportional(true);
    FImage->SetCenter(true);
    FCaption = AddLabel(Parts.Form, "(None)", X, 182);
    FCaption->SetName("PreviewLabel");
}

void TOpenPictureDialog::FileSelected(const String& Path) {
    if (!FImage) return;
    TBitmap Picture;
    String Caption = "(None)";
    if (!Path.empty()) {
        // Whatever the file holds, a failed read only leaves the preview
        // empty: the user may still choose the file.
        try {
            Picture.LoadFromFile(Path);
            Caption = Format("%d x %d", Picture.GetWidth(), Picture.GetHeight());
        } catch (const Exception&) {
            Picture.SetSize(0, 0);
        }
    }
    FImage->SetPicture(&Picture);
    FCaption->SetCaption(Caption);
}

FOLIO_REGISTER_CLASS(TOpenPictureDialog)

} // namespace folio
