#pragma once

#include "framework/ui/dialogs/FileDialog.h"

namespace folio {

class TImage;

/// The file chooser for pictures: beside the lists, a preview of the picture
/// selected in the file list and its size, or "(None)" when the file is not
/// a picture the framework can read.
class TOpenPictureDialog : public TOpenDialog {
    FOLIO_CLASS(TOpenPictureDialog)
public:
    /// A picture chooser with the open dialog's defaults.
    explicit TOpenPictureDialog(TComponent* AOwner);

    /// Runs the dialog as TOpenDialog::Execute does; the preview controls go
    /// with the dialog's form when it returns.
    bool Execute() override;

    /// While Execute runs: the preview and the line under it.
    ///@{
    TImage* GetPreview() const { return FImage; }
    TLabel* GetPreviewLabel() const { return FCaption; }
    ///@}

protected:
    /// Adds the preview panel and its size label beside the lists, at X.
    void AddParts(TParts& Parts, int X) override;
    /// Shows the picture at Path and its size ("32 x 32"), or "(None)" for an
    /// empty path or a file that cannot be read.
    void FileSelected(const String& Path) override;

private:
    TImage* FImage = nullptr;
    TLabel* FCaption = nullptr;
};

} // namespace folio
