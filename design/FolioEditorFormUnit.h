#pragma once

#include "framework/ui/forms/Form.h"

#include <functional>

namespace folio {

class IDesigner;
class TButton;
class TColorDialog;
class TComboBox;
class TEdit;
class TFolio;
class TFolioGroup;
class TFolioGroups;
class TFolioItem;
class TGroupBox;
class TImage;
class TLabel;
class TNotebook;
class TOpenPictureDialog;
class TPanel;

// The bar editor dialog: a working copy of a designed bar's groups in its
// own bar (named Bar), with the controls to add, delete, rename and set up
// groups and items. Nothing reaches the designed bar before Apply (or OK,
// which the opener handles). Its layout is the text form file
// FolioEditorForm.form, which the library carries and the constructor
// reads; the controls below are the form's components of those names.
class TFolioEditorForm : public TForm {
    FOLIO_CLASS(TFolioEditorForm)
public:
    explicit TFolioEditorForm(TComponent* AOwner);
    ~TFolioEditorForm() override;

    // Where Apply copies the working groups, and whom it tells.
    TFolioGroups* GetTargetGroups() const { return FTargetGroups; }
    void SetTargetGroups(TFolioGroups* Value) { FTargetGroups = Value; }
    IDesigner* GetTargetDesigner() const { return FTargetDesigner; }
    void SetTargetDesigner(IDesigner* Value) { FTargetDesigner = Value; }

    TFolioGroup* GetCurrentGroup() const { return FCurrentGroup; }
    TFolioItem* GetCurrentItem() const { return FCurrentItem; }
    // The dialog changed the working copy since it opened or since Apply.
    bool GetModified() const { return FModified; }

    // The controls of the form file.
    TFolio* Bar = nullptr;
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TButton* ApplyButton = nullptr;
    TPanel* LogoPanel = nullptr;
    TImage* LogoImage = nullptr;
    TLabel* WebLabel = nullptr;
    TLabel* URLLabel = nullptr;
    TGroupBox* GroupsGroupBox = nullptr;
    TGroupBox* ItemsGroupBox = nullptr;
    TButton* NewGroupButton = nullptr;
    TButton* DeleteGroupButton = nullptr;
    TButton* GroupNameButton = nullptr;
    TEdit* GroupTextEdit = nullptr;
    TComboBox* GroupStyleComboBox = nullptr;
    TNotebook* GroupStyleNotebook = nullptr;
    TPanel* GroupColorPanel = nullptr;
    TButton* GroupSetPictureButton = nullptr;
    TButton* GroupClearPictureButton = nullptr;
    TPanel* GroupStartColorPanel = nullptr;
    TPanel* GroupEndColorPanel = nullptr;
    TEdit* GroupTagSpinEdit = nullptr;
    TPanel* GroupCaptionColorPanel = nullptr;
    TComboBox* GroupImageSizeComboBox = nullptr;
    TButton* AddItemButton = nullptr;
    TButton* DeleteItemButton = nullptr;
    TEdit* ItemTextEdit = nullptr;
    TEdit* ItemImageSpinEdit = nullptr;
    TEdit* ItemOverImageSpinEdit = nullptr;
    TEdit* TagSpinEdit = nullptr;
    TButton* ItemEditTextButton = nullptr;
    TColorDialog* ColorDialog = nullptr;
    TOpenPictureDialog* OpenPictureDialog = nullptr;

    // Fills the Groups box from Group, or empties and disables it.
    void SetGroup(TFolioGroup* Group);
    // Fills the Items box from Item, or empties and disables it.
    void SetItem(TFolioItem* Item);
    // Write the controls into the current group or item.
    void GroupChange(TObject* Sender);
    void ItemChange(TObject* Sender);
    void SetModified();

    // The handlers the form file binds by name.
    void FormActivate(TObject* Sender);
    void ApplyButtonClick(TObject* Sender);
    void NewGroupButtonClick(TObject* Sender);
    void DeleteGroupButtonClick(TObject* Sender);
    void GroupNameButtonClick(TObject* Sender);
    void AddItemButtonClick(TObject* Sender);
    void DeleteItemButtonClick(TObject* Sender);
    void ItemEditTextButtonClick(TObject* Sender);
    void GroupColorPanelClick(TObject* Sender);
    void GroupStartColorPanelClick(TObject* Sender);
    void GroupEndColorPanelClick(TObject* Sender);
    void GroupCaptionColorPanelClick(TObject* Sender);
    void GroupSetPictureButtonClick(TObject* Sender);
    void GroupClearPictureButtonClick(TObject* Sender);
    void BarGroupClick(TObject* Sender, TFolioGroup* Group);
    void BarItemClick(TObject* Sender, TFolioItem* Item);
    void BarGroupDeletion(TObject* Sender, TFolioGroup* Group);
    void BarItemDeletion(TObject* Sender, TFolioItem* Item);
    void BarEditedGroup(TObject* Sender, TFolioGroup* Group, String& NewText);
    void BarEditedItem(TObject* Sender, TFolioItem* Item, String& NewText);
    void URLLabelClick(TObject* Sender);

    // How the link label opens the web address: by default the desktop is
    // asked to open it (which raises when the desktop has no opener); a
    // host or a test may do otherwise.
    std::function<void(const String& Url)> OpenUrl;

    // The web address the link label opens.
    static const char* const WebAddress;

private:
    // Finds the form file's components and wires what the file does not.
    void BindControls();
    // Lets the developer choose Panel's colour; a confirmed choice goes
    // into the current group with all the other group fields.
    void ChooseColor(TPanel* Panel);

    TFolioGroups* FTargetGroups = nullptr;
    IDesigner* FTargetDesigner = nullptr;
    TFolioGroup* FCurrentGroup = nullptr;
    TFolioItem* FCurrentItem = nullptr;
    bool FGroupLoading = false;
    bool FItemLoading = false;
    bool FModified = false;
};

namespace FolioEditorFormUnit {
// Registers the dialog's form class with the form reader while the package
// is loaded.
void Initialize();
void Finalize();
} // namespace FolioEditorFormUnit

} // namespace folio
