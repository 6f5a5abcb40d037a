#include "design/FolioEditorFormUnit.h"

#include "design/FolioEditorLogo.h"
#include "folio/Folio.h"
#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/forms/Designer.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/tabs/Notebook.h"

#include <cstddef>

namespace folio {

extern const unsigned char FolioEditorFormResource[];
extern const std::size_t FolioEditorFormResourceSize;

const char* const TFolioEditorForm::WebAddress = "https://folio.example.org/";

namespace {

template <class T>
T* Find(TComponent* Form, const char* Name) {
    auto* Found = dynamic_cast<T*>(Form->FindComponent(Name));
    if (!Found)
        throw EInvalidOperation(String("The bar editor's form file lacks the ") +
                                T::StaticClassInfo().Name + " " + Name);
    return Found;
}

// The numbers of the dialog's number fields: a text that is not a decimal
// integer counts as 0.
int NumberOf(const TEdit* Edit) {
    return StrToIntDef(Edit->GetText(), 0);
}

} // namespace

const TClassInfo& TFolioEditorForm::StaticClassInfo() {
    using C = TFolioEditorForm;
    static const TClassInfo Info =
        TClassBuilder<C>("TFolioEditorForm", &TForm::StaticClassInfo())
            .Method("FormActivate", &C::FormActivate)
            .Method("GroupChange", &C::GroupChange)
            .Method("ItemChange", &C::ItemChange)
            .Method("ApplyButtonClick", &C::ApplyButtonClick)
            .Method("NewGroupButtonClick", &C::NewGroupButtonClick)
            .Method("DeleteGroupButtonClick", &C::DeleteGroupButtonClick)
            .Method("GroupNameButtonClick", &C::GroupNameButtonClick)
            .Method("AddItemButtonClick", &C::AddItemButtonClick)
            .Method("DeleteItemButtonClick", &C::DeleteItemButtonClick)
            .Method("ItemEditTextButtonClick", &C::ItemEditTextButtonClick)
            .Method("GroupColorPanelClick", &C::GroupColorPanelClick)
            .Method("GroupStartColorPanelClick", &C::GroupStartColorPanelClick)
            .Method("GroupEndColorPanelClick", &C::GroupEndColorPanelClick)
            .Method("GroupCaptionColorPanelClick", &C::GroupCaptionColorPanelClick)
            .Method("GroupSetPictureButtonClick", &C::GroupSetPictureButtonClick)
            .Method("GroupClearPictureButtonClick", &C::GroupClearPictureButtonClick)
            .Method("BarGroupClick", &C::BarGroupClick)
            .Method("BarItemClick", &C::BarItemClick)
            .Method("BarGroupDeletion", &C::BarGroupDeletion)
            .Method("BarItemDeletion", &C::BarItemDeletion)
            .Method("BarEditedGroup", &C::BarEditedGroup)
            .Method("BarEditedItem", &C::BarEditedItem)
            .Method("URLLabelClick", &C::URLLabelClick)
            .Creatable()
            .Build();
    return Info;
}

TFolioEditorForm::TFolioEditorForm(TComponent* AOwner) : TForm(AOwner) {
    TMemoryStream Layout;
    Layout.WriteBuffer(FolioEditorFormResource,
                       static_cast<std::int64_t>(FolioEditorFormResourceSize));
    Layout.SetPosition(0);
    ReadComponent(Layout, this);
    BindControls();
    LogoImage->SetPicture(MakeFolioEditorLogo().get());
}

TFolioEditorForm::~TFolioEditorForm() {
    // The working bar's deletion events must not reach a half-destroyed
    // dialog while the components are freed.
    if (Bar) {
        Bar->OnGroupDeletion = nullptr;
        Bar->OnItemDeletion = nullptr;
    }
}

void TFolioEditorForm::BindControls() {
    Bar = Find<TFolio>(this, "Bar");
    OKButton = Find<TButton>(this, "OKButton");
    CancelButton = Find<TButton>(this, "CancelButton");
    ApplyButton = Find<TButton>(this, "ApplyButton");
    LogoPanel = Find<TPanel>(this, "LogoPanel");
    LogoImage = Find<TImage>(this, "LogoImage");
    WebLabel = Find<TLabel>(this, "WebLabel");
    URLLabel = Find<TLabel>(this, "URLLabel");
    GroupsGroupBox = Find<TGroupBox>(this, "GroupsGroupBox");
    ItemsGroupBox = Find<TGroupBox>(this, "ItemsGroupBox");
    NewGroupButton = Find<TButton>(this, "NewGroupButton");
    DeleteGroupButton = Find<TButton>(this, "DeleteGroupButton");
    GroupNameButton = Find<TButton>(this, "GroupNameButton");
    GroupTextEdit = Find<TEdit>(this, "GroupTextEdit");
    GroupStyleComboBox = Find<TComboBox>(this, "GroupStyleComboBox");
    GroupStyleNotebook = Find<TNotebook>(this, "GroupStyleNotebook");
    GroupColorPanel = Find<TPanel>(this, "GroupColorPanel");
    GroupSetPictureButton = Find<TButton>(this, "GroupSetPictureButton");
    GroupClearPictureButton = Find<TButton>(this, "GroupClearPictureButton");
    GroupStartColorPanel = Find<TPanel>(this, "GroupStartColorPanel");
    GroupEndColorPanel = Find<TPanel>(this, "GroupEndColorPanel");
    GroupTagSpinEdit = Find<TEdit>(this, "GroupTagSpinEdit");
    GroupCaptionColorPanel = Find<TPanel>(this, "GroupCaptionColorPanel");
    GroupImageSizeComboBox = Find<TComboBox>(this, "GroupImageSizeComboBox");
    AddItemButton = Find<TButton>(this, "AddItemButton");
    DeleteItemButton = Find<TButton>(this, "DeleteItemButton");
    ItemTextEdit = Find<TEdit>(this, "ItemTextEdit");
    ItemImageSpinEdit = Find<TEdit>(this, "ItemImageSpinEdit");
    ItemOverImageSpinEdit = Find<TEdit>(this, "ItemOverImageSpinEdit");
    TagSpinEdit = Find<TEdit>(this, "TagSpinEdit");
    ItemEditTextButton = Find<TButton>(this, "ItemEditTextButton");
    ColorDialog = Find<TColorDialog>(this, "ColorDialog");
    OpenPictureDialog = Find<TOpenPictureDialog>(this, "OpenPictureDialog");
}

// --- Filling the boxes -------------------------------------------------------------------

void TFolioEditorForm::SetGroup(TFolioGroup* Group) {
    SetItem(nullptr);
    FCurrentGroup = Group;
    FGroupLoading = true;
    const bool Has = Group != nullptr;
    DeleteGroupButton->SetEnabled(Has);
    GroupNameButton->SetEnabled(Has);
    AddItemButton->SetEnabled(Has);
    GroupTextEdit->SetEnabled(Has);
    GroupTagSpinEdit->SetEnabled(Has);
    GroupCaptionColorPanel->SetEnabled(Has);
    GroupStyleComboBox->SetEnabled(Has);
    GroupImageSizeComboBox->SetEnabled(Has);
    GroupStyleNotebook->SetVisible(Has);
    if (Has) {
        ItemsGroupBox->SetCaption(" Items in group <" + Group->GetCaption() + ">");
        GroupTextEdit->SetText(Group->GetCaption());
        GroupStyleComboBox->SetItemIndex(Group->GetStyle());
        GroupStyleNotebook->SetPageIndex(Group->GetStyle());
        GroupColorPanel->SetColor(Group->GetColor());
        GroupStartColorPanel->SetColor(Group->GetStartColor());
        GroupEndColorPanel->SetColor(Group->GetEndColor());
        GroupTagSpinEdit->SetText(IntToStr(Group->GetTag()));
        GroupCaptionColorPanel->SetColor(Group->GetCaptionColor());
        GroupImageSizeComboBox->SetItemIndex(Group->GetImageSize());
    } else {
        // The Items box caption and the notebook's colour panels keep
        // what they showed.
        GroupTextEdit->SetText(String());
        GroupStyleComboBox->SetItemIndex(-1);
        GroupTagSpinEdit->SetText(String());
        GroupCaptionColorPanel->SetColor(clBtnFace);
        GroupImageSizeComboBox->SetItemIndex(-1);
    }
    FGroupLoading = false;
}

void TFolioEditorForm::SetItem(TFolioItem* Item) {
    FCurrentItem = Item;
    FItemLoading = true;
    const bool Has = Item != nullptr;
    ItemTextEdit->SetText(Has ? Item->GetCaption() : String());
    ItemImageSpinEdit->SetText(Has ? IntToStr(Item->GetImageIndex()) : String());
    ItemOverImageSpinEdit->SetText(Has ? IntToStr(Item->GetOverImageIndex()) : String());
    TagSpinEdit->SetText(Has ? IntToStr(Item->GetTag()) : String());
    for (TControl* Control :
         std::initializer_list<TControl*>{ItemTextEdit, ItemImageSpinEdit, ItemOverImageSpinEdit,
                                          TagSpinEdit, DeleteItemButton, ItemEditTextButton})
        Control->SetEnabled(Has);
    FItemLoading = false;
}

// --- Writing the controls back -----------------------------------------------------------

void TFolioEditorForm::GroupChange(TObject*) {
    if (!FCurrentGroup || FGroupLoading) return;
    TFolioGroup* Group = FCurrentGroup;
    Group->SetCaption(GroupTextEdit->GetText());
    Group->SetTag(NumberOf(GroupTagSpinEdit));
    Group->SetCaptionColor(GroupCaptionColorPanel->GetColor());
    // The lists always show a choice while there is a group; should one
    // show none, the group keeps its value rather than take a bad one.
    const int Style = GroupStyleComboBox->GetItemIndex();
    if (Style >= gbColor && Style <= gbGradient)
        Group->SetStyle(static_cast<TFolGroupBackgroungStyle>(Style));
    GroupStyleNotebook->SetPageIndex(Group->GetStyle());
    Group->SetColor(GroupColorPanel->GetColor());
    Group->SetStartColor(GroupStartColorPanel->GetColor());
    Group->SetEndColor(GroupEndColorPanel->GetColor());
    const int ImageSize = GroupImageSizeComboBox->GetItemIndex();
    if (ImageSize >= isSmall && ImageSize <= isLarge)
        Group->SetImageSize(static_cast<TFolImageSize>(ImageSize));
    SetModified();
}

void TFolioEditorForm::ItemChange(TObject*) {
    if (!FCurrentItem || FItemLoading) return;
    FCurrentItem->SetCaption(ItemTextEdit->GetText());
    FCurrentItem->SetTag(NumberOf(TagSpinEdit));
    FCurrentItem->SetImageIndex(NumberOf(ItemImageSpinEdit));
    FCurrentItem->SetOverImageIndex(NumberOf(ItemOverImageSpinEdit));
    SetModified();
}

void TFolioEditorForm::SetModified() {
    FModified = true;
    ApplyButton->SetEnabled(true);
}

void TFolioEditorForm::ApplyButtonClick(TObject*) {
    if (!FTargetGroups) return;
    FTargetGroups->Assign(Bar->GetGroups());
    if (FTargetDesigner) FTargetDesigner->Modified();
    FModified = false;
    ApplyButton->SetEnabled(false);
}

void TFolioEditorForm::FormActivate(TObject*) {
    const TFolio* Designed = FTargetGroups ? FTargetGroups->GetBar() : nullptr;
    GroupsGroupBox->SetCaption(" Groups in <" + (Designed ? Designed->GetName() : String()) + "> ");
    SetGroup(Bar->GetVisibleGroupObject());
}

namespace FolioEditorFormUnit {

void Initialize() {
    RegisterClass(TFolioEditorForm::StaticClassInfo());
}

void Finalize() {
    UnregisterClass(TFolioEditorForm::StaticClassInfo());
}

} // namespace FolioEditorFormUnit

} // namespace folio
