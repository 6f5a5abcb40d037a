#include "framework/design/StdComponents.h"

#include "framework/design/DesignRegistry.h"
#include "framework/design/StdComponentIcons.h"
#include "framework/gfx/ImageList.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/StatusBar.h"
#include "framework/ui/comctrls/ToolBar.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/FileDialog.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/extctrls/Bevel.h"
#include "framework/ui/extctrls/ScrollBox.h"
#include "framework/ui/extctrls/Shape.h"
#include "framework/ui/extctrls/SpeedButton.h"
#include "framework/ui/extctrls/Splitter.h"
#include "framework/ui/extctrls/Timer.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/Memo.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"
#include "framework/ui/stdctrls/ScrollBar.h"
#include "framework/ui/tabs/Notebook.h"
#include "framework/ui/tabs/PageControl.h"
#include "framework/ui/tabs/TabControl.h"

#include <utility>
#include <vector>

namespace folio {

namespace {

using TEntry = std::pair<const TClassInfo*, TComponentIconProc>;

void RegisterPage(const String& Page, const std::vector<TEntry>& Entries) {
    std::vector<const TClassInfo*> Classes;
    for (const auto& [Class, Icon] : Entries) {
        Classes.push_back(Class);
        RegisterComponentIcon(*Class, Icon);
    }
    RegisterComponents(Page, Classes);
}

template <class T>
TEntry E(TComponentIconProc Icon) {
    return {&T::StaticClassInfo(), Icon};
}

} // namespace

void RegisterStandardComponents() {
    using namespace std_icons;
    RegisterPage("Standard",
                 {E<TMainMenu>(MainMenu), E<TPopupMenu>(PopupMenu), E<TLabel>(Label),
                  E<TEdit>(Edit), E<TMemo>(Memo), E<TButton>(Button), E<TCheckBox>(CheckBox),
                  E<TRadioButton>(RadioButton), E<TListBox>(ListBox), E<TComboBox>(ComboBox),
                  E<TScrollBar>(ScrollBar), E<TGroupBox>(GroupBox), E<TRadioGroup>(RadioGroup),
                  E<TPanel>(Panel)});
    RegisterPage("Additional", {E<TSpeedButton>(SpeedButton), E<TImage>(Image), E<TShape>(Shape),
                                E<TBevel>(Bevel), E<TScrollBox>(ScrollBox), E<TSplitter>(Splitter),
                                E<TStringGrid>(StringGrid), E<TNotebook>(Notebook)});
    RegisterPage("Common",
                 {E<TTabControl>(TabControl), E<TPageControl>(PageControl),
                  E<TImageList>(ImageList), E<TTrackBar>(TrackBar), E<TProgressBar>(ProgressBar),
                  E<TSpinEdit>(SpinEdit), E<TTreeView>(TreeView), E<TListView>(ListView),
                  E<TStatusBar>(StatusBar), E<TToolBar>(ToolBar), E<TToolButton>(ToolButton)});
    RegisterPage("System", {E<TTimer>(Timer)});
    RegisterPage("Dialogs",
                 {E<TOpenDialog>(OpenDialog), E<TSaveDialog>(SaveDialog),
                  E<TOpenPictureDialog>(OpenPictureDialog), E<TColorDialog>(ColorDialog)});
}

} // namespace folio
