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

/// The bar editor dialog: a working copy of a designed bar's groups in its
/// own bar (named Bar), with the controls to add, delete, rename and set up
/// groups and items. Nothing reaches the designed bar before Apply (or OK,
/// which the opener handles). Its layout is the text form file
/// FolioEditorForm.form, which the library carries and the constructor
/// reads; the controls below are the form's components of those names.
class TFolioEditorForm : public TForm {
    FOLIO_CLASS(TFolioEditorForm)
public:
    /// Reads the dialog's layout from the form file the library carries and
    /// binds its controls. Raises EInvalidOperation when the form file lacks
    /// one of the controls below.
    explicit TFolioEditorForm(TComponent* AOwner);
    /// Silences the working bar's deletion events first, so that freeing the
    /// groups does not reach a half-destroyed dialog.
    ~TFolioEditorForm() override;

    ///@{
    /// Where Apply copies the working groups (the designed bar's groups);
    /// null, the default, makes Apply do nothing.
    TFolioGroups* GetTargetGroups() const { return FTargetGroups; }
    void SetTargetGroups(TFolioGroups* Value) { FTargetGroups = Value; }
    ///@}
    ///@{
    /// The designer Apply tells that the form changed; null, the default,
    /// tells no one.
    IDesigner* GetTargetDesigner() const { return FTargetDesigner; }
    void SetTargetDesigner(IDesigner* Value) { FTargetDesigner = Value; }
    ///@}

    /// The working group the Groups box shows and writes; null for none.
    TFolioGroup* GetCurrentGroup() const { return FCurrentGroup; }
    /// The working item the Items box shows and writes; null for none.
    TFolioItem* GetCurrentItem() const { return FCurrentItem; }
    /// The dialog changed the working copy since it opened or since Apply.
    bool GetModified() const { return FModified; }

    /// The working bar, holding the copy of the designed bar's groups.
    TFolio* Bar = nullptr;
    ///@{
    /// The dialog's OK, Cancel and Apply buttons; Apply is enabled only while
    /// there are changes it has not sent.
    TButton* OKButton = nullptr;
    TButton* CancelButton = nullptr;
    TButton* ApplyButton = nullptr;
    ///@}
    ///@{
    /// The logo panel with its picture, and the labels naming the web
    /// address (URLLabel opens it when clicked).
    TPanel* LogoPanel = nullptr;
    TImage* LogoImage = nullptr;
    TLabel* WebLabel = nullptr;
    TLabel* URLLabel = nullptr;
    ///@}
    ///@{
    /// The Groups box (captioned with the designed bar's name) and the Items
    /// box (captioned with the current group's caption).
    TGroupBox* GroupsGroupBox = nullptr;
    TGroupBox* ItemsGroupBox = nullptr;
    ///@}
    ///@{
    /// The Groups box's controls: new, delete and rename buttons, the caption
    /// text, the face style with a page of settings per style (colour;
    /// picture set and cleared; gradient start and end colours), tag,
    /// caption colour and image size. Colour panels open the colour dialog
    /// when clicked.
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
    ///@}
    ///@{
    /// The Items box's controls: add and delete buttons, caption text, image
    /// index, image index under the pointer, tag, and the button that edits
    /// the caption in place on the working bar. A number field whose text is
    /// not a whole number writes 0.
    TButton* AddItemButton = nullptr;
    TButton* DeleteItemButton = nullptr;
    TEdit* ItemTextEdit = nullptr;
    TEdit* ItemImageSpinEdit = nullptr;
    TEdit* ItemOverImageSpinEdit = nullptr;
    TEdit* TagSpinEdit = nullptr;
    TButton* ItemEditTextButton = nullptr;
    ///@}
    /// The dialog that picks a group's colours.
    TColorDialog* ColorDialog = nullptr;
    /// The dialog that picks a group's picture file.
    TOpenPictureDialog* OpenPictureDialog = nullptr;

    /// Fills the Groups box from Group, or empties and disables it; the
    /// Items box is emptied either way.
    void SetGroup(TFolioGroup* Group);
    /// Fills the Items box from Item, or empties and disables it.
    void SetItem(TFolioItem* Item);
    ///@{
    /// Write the box's controls into the current group or item and mark the
    /// dialog modified; nothing without one, or while the box is being
    /// filled. A list showing no choice leaves the group's value as it was.
    void GroupChange(TObject* Sender);
    void ItemChange(TObject* Sender);
    ///@}
    /// Marks the working copy changed and enables Apply.
    void SetModified();

    // The handlers the form file binds by name.

    /// Captions the Groups box with the designed bar's name and shows the
    /// working bar's open group.
    void FormActivate(TObject* Sender);
    /// Copies the working groups to the target groups, tells the target
    /// designer, and disables Apply; nothing without target groups.
    void ApplyButtonClick(TObject* Sender);
    /// Adds a group captioned "New" to the working bar and opens its
    /// caption for editing.
    void NewGroupButtonClick(TObject* Sender);
    /// Deletes the working bar's open group and shows the one that opens
    /// next.
    void DeleteGroupButtonClick(TObject* Sender);
    /// Opens the open group's caption for editing on the working bar.
    void GroupNameButtonClick(TObject* Sender);
    /// Adds an item captioned "New" (no picture) to the open group and opens
    /// its caption for editing; it counts as a change once it is named.
    void AddItemButtonClick(TObject* Sender);
    /// Deletes the current item and empties the Items box.
    void DeleteItemButtonClick(TObject* Sender);
    /// Opens the current item's caption for editing on the working bar.
    void ItemEditTextButtonClick(TObject* Sender);
    ///@{
    /// Lets the developer pick the colour of that panel in the colour
    /// dialog; a confirmed choice goes into the current group.
    void GroupColorPanelClick(TObject* Sender);
    void GroupStartColorPanelClick(TObject* Sender);
    void GroupEndColorPanelClick(TObject* Sender);
    void GroupCaptionColorPanelClick(TObject* Sender);
    ///@}
    /// Loads the current group's picture from a file the picture dialog
    /// picks. A file that cannot be read raises before anything changed.
    void GroupSetPictureButtonClick(TObject* Sender);
    /// Takes the current group's picture away.
    void GroupClearPictureButtonClick(TObject* Sender);
    /// The working bar's OnGroupClick: shows Group in the Groups box.
    void BarGroupClick(TObject* Sender, TFolioGroup* Group);
    /// The working bar's OnItemClick: shows Item in the Items box.
    void BarItemClick(TObject* Sender, TFolioItem* Item);
    /// The working bar's OnGroupDeletion: stops showing Group if it is the
    /// current one, and marks the dialog modified.
    void BarGroupDeletion(TObject* Sender, TFolioGroup* Group);
    /// The working bar's OnItemDeletion: empties the Items box if Item is
    /// the current one.
    void BarItemDeletion(TObject* Sender, TFolioItem* Item);
    /// The working bar's OnEditedGroup: shows Group with its new caption
    /// NewText and opens it on the working bar.
    void BarEditedGroup(TObject* Sender, TFolioGroup* Group, String& NewText);
    /// The working bar's OnEditedItem: shows the new caption NewText when
    /// Item is the current one.
    void BarEditedItem(TObject* Sender, TFolioItem* Item, String& NewText);
    /// Opens WebAddress with OpenUrl, or with the desktop when it is empty.
    void URLLabelClick(TObject* Sender);

    /// How the link label opens the web address: by default the desktop is
    /// asked to open it (which raises when the desktop has no opener); a
    /// host or a test may do otherwise.
    std::function<void(const String& Url)> OpenUrl;

    /// The web address the link label opens.
    static const char* const WebAddress;

private:
    /// Finds the form file's components and wires what the file does not.
    void BindControls();
    /// Lets the developer choose Panel's colour; a confirmed choice goes
    /// into the current group with all the other group fields.
    void ChooseColor(TPanel* Panel);

    TFolioGroups* FTargetGroups = nullptr;
    IDesigner* FTargetDesigner = nullptr;
    TFolioGroup* FCurrentGroup = nullptr;
    TFolioItem* FCurrentItem = nullptr;
    bool FGroupLoading = false;
    bool FItemLoading = false;
    bool FModified = false;
};

/// The bar editor dialog's unit: what a package does with it when it is
/// loaded and unloaded.
namespace FolioEditorFormUnit {
/// Registers the dialog's form class with the form reader while the package
/// is loaded.
void Initialize();
/// Takes the dialog's form class back from the form reader.
void Finalize();
} // namespace FolioEditorFormUnit

} // namespace folio
