#pragma once

#include "framework/ui/dialogs/FileDialog.h"

namespace folio {

class TImage;

// The file chooser for pictures: beside the lists, a preview of the picture
// selected in the file list and its size, or "(None)" when the file is not
// a picture the framework can read.
class TOpenPictureDialog : public TOpenDialog {
    FOLIO_CLASS(TOpenPictureDialog)
public:
    explicit TOpenPictureDialog(TComponent* AOwner);

    bool Execute() override;

    // While Execute runs: the preview and the line under it.
    TImage* GetPreview() const { return FImage; }
    TLabel* GetPreviewLabel() const { return FCaption; }

protected:
    void AddParts(TParts& Parts, int X) override;
    void FileSelected(const String& Path) override;

private:
    TImage* FImage = nullptr;
    TLabel* FCaption = nullptr;
};

} // namespace folio
