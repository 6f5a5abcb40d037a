#include "ControlsGallery.h"
#include "EverydayControlsForm.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/DesktopColorScheme.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/Memo.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/tabs/Notebook.h"
#include "framework/ui/tabs/PageControl.h"
#include "framework/ui/tabs/TabSheet.h"

#include <filesystem>

namespace gallery {

using namespace folio;

namespace {

template <class T>
T* Add(TWinControl* Parent, int X, int Y, int W, int H) {
    auto* C = new T(Parent);
    C->SetParent(Parent);
    C->SetBounds(X, Y, W, H);
    return C;
}

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const String& Caption) {
    auto* Item = new TMenuItem(Owner);
    Item->SetCaption(Caption);
    Parent->Add(Item);
    return Item;
}

struct TControlsForm {
    TForm Form{nullptr};
    TComboBox* Combo = nullptr;
    TPopupMenu* Menu = nullptr;

    TControlsForm() {
        Form.SetBounds(40, 40, 560, 360);
        Form.SetCaption("Standard controls");
        auto* Main = new TMainMenu(&Form);
        TMenuItem* File = AddItem(&Form, Main->GetItems(), "&File");
        AddItem(&Form, File, "&Open...");
        AddItem(&Form, Main->GetItems(), "&Edit");
        AddItem(&Form, Main->GetItems(), "&Help");
        Form.SetMenu(Main);
        // Below the menu bar, the controls lie on a panel filling the rest.
        auto* Body = new TPanel(&Form);
        Body->SetParent(&Form);
        Body->SetAlign(alClient);
        Body->SetBevelOuter(bvNone);

        auto* Ok = Add<TButton>(Body, 8, 8, 75, 25);
        Ok->SetCaption("&OK");
        Ok->SetDefault(true);
        auto* Off = Add<TButton>(Body, 88, 8, 75, 25);
        Off->SetCaption("&Disabled");
        Off->SetEnabled(false);
        Add<TLabel>(Body, 172, 14, 0, 0)->SetCaption("A &label");
        auto* Link = Add<TLabel>(Body, 240, 14, 0, 0);
        Link->SetCaption("a link look");
        // Blue reads on light faces only; the dark schemes get a light blue.
        Link->GetFont()->SetColor(GetColorSchemeTraits().Dark ? TColor(0xFFC080) : clBlue);
        Link->GetFont()->SetStyle({fsUnderline});

        auto* Panel = Add<TPanel>(Body, 8, 44, 150, 60);
        Panel->SetCaption("Raised over lowered");
        Panel->SetBevelOuter(bvRaised);
        Panel->SetBevelInner(bvLowered);
        Panel->SetBevelWidth(2);

        auto* Image = Add<TImage>(Body, 168, 44, 60, 60);
        TBitmap Picture;
        Picture.SetSize(60, 60);
        for (int Y = 0; Y < 60; ++Y)
            for (int X = 0; X < 60; ++X)
                Picture.GetCanvas()->SetPixel(
                    X, Y, static_cast<TColor>((X * 4) | ((Y * 4) << 8) | 0x800000));
        Image->SetPicture(&Picture);

        auto* Box = Add<TGroupBox>(Body, 240, 40, 150, 64);
        Box->SetCaption(" Group box ");
        Add<TButton>(Box, 10, 24, 75, 25)->SetCaption("Inside");

        auto* Book = Add<TNotebook>(Body, 8, 112, 150, 60);
        Book->GetPages()->SetText("One\nTwo\n");
        Book->SetPageIndex(1);
        Add<TLabel>(Book->GetPage(1), 8, 8, 0, 0)->SetCaption("Notebook page Two");

        auto* Pages = Add<TPageControl>(Body, 168, 112, 222, 100);
        for (const char* Caption : {"Standard", "Additional", "Samples"}) {
            auto* Sheet = new TTabSheet(&Form);
            Sheet->SetCaption(Caption);
            Sheet->SetPageControl(Pages);
        }
        Pages->SetActivePageIndex(1);

        auto* List = Add<TListBox>(Body, 400, 8, 140, 90);
        for (const char* S : {"TButton", "TLabel", "TPanel", "TImage", "TGroupBox", "TComboBox",
                              "TNotebook", "TListBox", "TPopupMenu"})
            List->GetItems()->Add(S);
        List->SetItemIndex(2);

        Combo = Add<TComboBox>(Body, 8, 184, 150, 0);
        Combo->SetStyle(csDropDownList);
        Combo->GetItems()->SetText("Single color\nPicture\nGradient\n");
        Combo->SetItemIndex(0);

        Menu = new TPopupMenu(&Form);
        AddItem(&Form, Menu->GetItems(), "&Edit groups...");
        AddItem(&Form, Menu->GetItems(), "-");
        AddItem(&Form, Menu->GetItems(), "&Disabled")->SetEnabled(false);
        AddItem(&Form, Menu->GetItems(), "&About");
    }
};

// The controls that show a form's data: text of several lines, a tree,
// a list in its views and a grid of strings.
struct TViewsForm {
    TForm Form{nullptr};
    TMemo* Memo = nullptr;
    TTreeView* Tree = nullptr;
    TListView* Report = nullptr;
    TListView* Icons = nullptr;

    TViewsForm() {
        Form.SetBounds(40, 40, 560, 360);
        Form.SetCaption("Lists and text");
        Memo = Add<TMemo>(&Form, 8, 8, 260, 110);
        Memo->SetScrollBars(ssVertical);
        Memo->GetLines()->SetText("A memo holds several lines of text: it wraps them at its "
                                  "width and scrolls.\nEnter starts a new line.\n\n"
                                  "Its Lines are stored in the form as a list.\n");
        Tree = Add<TTreeView>(&Form, 8, 126, 260, 220);
        TTreeNodes* N = Tree->GetItems();
        N->BeginUpdate();
        TTreeNode* Home = N->AddChild(nullptr, "Home");
        TTreeNode* Mail = N->AddChild(Home, "Mail");
        for (const char* S : {"Inbox", "Sent", "Drafts"}) N->AddChild(Mail, S);
        TTreeNode* Docs = N->AddChild(Home, "Documents");
        N->AddChild(N->AddChild(Docs, "Letters"), "2026");
        N->AddChild(Docs, "Invoices");
        N->AddChild(nullptr, "Network");
        N->AddChild(N->AddChild(nullptr, "Trash"), "old.txt");
        N->EndUpdate();
        Home->Expand(false);
        Mail->Expand(false);
        Docs->Expand(false);
        Tree->SetHideSelection(false);
        Tree->SetSelected(N->FindText("Sent"));

        Report = Add<TListView>(&Form, 276, 8, 276, 150);
        Report->SetViewStyle(vsReport);
        for (const char* Caption : {"Name", "Size", "Kind"}) {
            TListColumn* Column = Report->GetColumns()->Add();
            Column->SetCaption(Caption);
            Column->SetWidth(Caption[0] == 'N' ? 110 : 75);
        }
        Report->GetColumns()->GetColumn(1)->SetAlignment(taRightJustify);
        const char* Files[][3] = {{"letter.txt", "4 KB", "Text"},
                                  {"photo.png", "812 KB", "Picture"},
                                  {"budget.csv", "18 KB", "Table"},
                                  {"notes.md", "2 KB", "Text"},
                                  {"song.ogg", "3,904 KB", "Sound"}};
        for (const auto& F : Files) {
            TListItem* Item = Report->GetItems()->Add();
            Item->SetCaption(F[0]);
            Item->GetSubItems()->Add(F[1]);
            Item->GetSubItems()->Add(F[2]);
        }
        Report->SortByColumn(0);
        Report->SetHideSelection(false);
        Report->SetItemIndex(1);

        Icons = Add<TListView>(&Form, 276, 166, 276, 90);
        Icons->SetViewStyle(vsList);
        for (int I = 1; I <= 30; ++I)
            Icons->GetItems()->Add()->SetCaption("Entry " + std::to_string(I));

        auto* Grid = Add<TStringGrid>(&Form, 276, 264, 276, 82);
        Grid->SetColCount(4);
        Grid->SetRowCount(3);
        Grid->SetDefaultRowHeight(18);
        Grid->SetOptions(Grid->GetOptions() + goEditing);
        const char* Cells[3][4] = {
            {"", "Mon", "Tue", "Wed"}, {"Ann", "8", "6", "7"}, {"Bo", "5", "", "9"}};
        for (int Row = 0; Row < 3; ++Row)
            for (int Col = 0; Col < 4; ++Col) Grid->SetCells(Col, Row, Cells[Row][Col]);
    }
};

bool Snapshot(THeadlessHost& Host, const std::string& Dir, const char* Name, std::ostream& Out) {
    const String Path = Dir + "/" + Name;
    Host.ScreenshotScreen(Rect(0, 0, 640, 480), Path);
    Out << "Controls gallery snapshot: " << std::filesystem::absolute(Path).string() << "\n";
    return true;
}

} // namespace

bool ShowControlsWindows(std::ostream& Out) {
    try {
        if (!TSdlHost::DisplayAvailable()) {
            Out << "The controls need a display to show their windows.\n";
            return false;
        }
        TSdlHost Host;
        FollowSchemeVariable();
        TEverydayControlsForm Everyday(nullptr);
        TViewsForm Views;
        Views.Form.SetBounds(660, 20, Views.Form.GetWidth(), Views.Form.GetHeight());
        Everyday.Show();
        Views.Form.Show();
        Out << "The everyday controls are open in two windows; close them to finish.\n"
            << std::flush;
        Host.Run();
        return true;
    } catch (const Exception& E) {
        Out << "The controls windows failed: " << E.what() << "\n";
        return false;
    }
}

bool RunControlsGallery(std::ostream& Out, const std::string& SnapshotDir) {
    try {
        std::filesystem::create_directories(SnapshotDir);
        THeadlessHost Host(640, 480);
        FollowSchemeVariable();
        {
            TControlsForm F;
            F.Form.Show();
            Host.RunUntilIdle();
            F.Combo->SetDroppedDown(true);
            Host.RunUntilIdle();
            Snapshot(Host, SnapshotDir, "controls-gallery.png", Out);
            F.Combo->SetDroppedDown(false);
            F.Menu->Popup(300, 250);
            Host.Key(VK_DOWN);
            Host.RunUntilIdle();
            Snapshot(Host, SnapshotDir, "controls-gallery-menu.png", Out);
            Host.Key(VK_ESCAPE);
        }
        {
            TEverydayControlsForm Everyday(nullptr);
            Everyday.Show();
            Host.RunUntilIdle();
            Snapshot(Host, SnapshotDir, "everyday-controls.png", Out);
        }
        {
            TViewsForm F;
            F.Form.Show();
            F.Memo->SetFocus();
            Host.Key(VK_END, {ssCtrl});
            Host.Key(VK_UP, {ssShift});
            Host.RunUntilIdle();
            Snapshot(Host, SnapshotDir, "controls-views.png", Out);
        }
        TColorDialog Colors(nullptr);
        Colors.SetColor(static_cast<TColor>(0x3080C0));
        Host.Defer([&] {
            Snapshot(Host, SnapshotDir, "color-dialog.png", Out);
            Host.Key(VK_ESCAPE);
        });
        Colors.Execute();
        TOpenPictureDialog Pictures(nullptr);
        Pictures.SetTitle("Select picture");
        Pictures.SetFilter("Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*");
        Pictures.SetInitialDir(SnapshotDir);
        Host.Defer([&] {
            Snapshot(Host, SnapshotDir, "file-dialog.png", Out);
            Host.Key(VK_ESCAPE);
        });
        Pictures.Execute();
        return true;
    } catch (const Exception& E) {
        Out << "The controls gallery failed: " << E.what() << "\n";
        return false;
    }
}

} // namespace gallery
