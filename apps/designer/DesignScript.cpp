#include "DesignScript.h"

#include "ComponentTree.h"
#include "DesignCommands.h"
#include "DesignerWindow.h"

#include "framework/core/ScopeGuard.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Png.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuBar.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/PopupList.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <utility>

namespace designer {

using namespace folio;

namespace {

// Commands whose last word runs to the end of the line.
bool TakesRestOfLine(const String& Command, size_t Index) {
    if (Command == "set" || Command == "expect" || Command == "dialog-type") return Index == 1;
    if (Command == "verb" || Command == "dialog-text" || Command == "menu" ||
        Command == "mainmenu" || Command == "type")
        return Index == 0;
    return false;
}

// What a modal form's loop does on the headless screen outside a script's
// dialog steps: the host's own rule, that a dialog without input is a fault.
void HeadlessModalStep() {
    if (!Application->ProcessMessages())
        throw EInvalidOperation("A modal form waits on the headless host, but nothing is left to "
                                "give it input");
}

[[noreturn]] void Fail(const TScriptStep& Step, const String& What) {
    throw EDesignScriptError("design script line " + IntToStr(Step.Line) + " (" + Step.Command +
                             "): " + What);
}

void NeedArgs(const TScriptStep& Step, size_t Count) {
    if (Step.Args.size() < Count)
        Fail(Step, "needs " + IntToStr(static_cast<int>(Count)) + " argument(s)");
}

int IntArg(const TScriptStep& Step, size_t Index) {
    try {
        return StrToInt(Step.Args[Index]);
    } catch (const Exception&) {
        Fail(Step, "\"" + Step.Args[Index] + "\" is not a whole number");
    }
}

struct TKeyName {
    const char* Name;
    unsigned short Key;
};
constexpr TKeyName KeyNames[] = {
    {"Left", VK_LEFT},     {"Right", VK_RIGHT},   {"Up", VK_UP},        {"Down", VK_DOWN},
    {"Delete", VK_DELETE}, {"Escape", VK_ESCAPE}, {"Enter", VK_RETURN}, {"Tab", VK_TAB},
    {"F2", VK_F2},         {"Home", VK_HOME},     {"End", VK_END},      {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},  {"PageDown", VK_NEXT},
};

void PressKey(THeadlessHost& Host, const TScriptStep& Step, const String& Chord) {
    String Name = Chord;
    TShiftState Shift;
    for (bool Prefix = true; Prefix;) {
        Prefix = false;
        for (auto [Text, State] : {std::pair{"shift+", ssShift}, std::pair{"ctrl+", ssCtrl}})
            if (Name.rfind(Text, 0) == 0) {
                Shift.Include(State);
                Name.erase(0, std::char_traits<char>::length(Text));
                Prefix = true;
            }
    }
    for (const TKeyName& K : KeyNames)
        if (Name == K.Name) {
            Host.Key(K.Key, Shift);
            return;
        }
    // A letter or digit is its own key.
    if (Name.size() == 1 && std::isalnum(static_cast<unsigned char>(Name[0]))) {
        Host.Key(static_cast<unsigned short>(std::toupper(static_cast<unsigned char>(Name[0]))),
                 Shift);
        return;
    }
    Fail(Step, "no key named " + Chord);
}

// "Edit > Align > Align tops" as its captions.
std::vector<String> MenuPath(const String& Text) {
    std::vector<String> Path;
    for (size_t From = 0;;) {
        const size_t To = Text.find(" > ", From);
        Path.push_back(Trim(Text.substr(From, To == String::npos ? To : To - From)));
        if (To == String::npos) break;
        From = To + 3;
    }
    return Path;
}

// A menu caption without its accelerator's mark.
String PlainCaption(const String& Caption) {
    String Plain;
    for (char C : Caption)
        if (C != '&') Plain += C;
    return Plain;
}

TPoint CentreOnScreen(const TControl* Control) {
    return Control->ClientToScreen(
        Point(Control->GetClientWidth() / 2, Control->GetClientHeight() / 2));
}

TPoint CentreOf(const TControl* Control, const TRect& R) {
    return Control->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
}

} // namespace

std::vector<TScriptStep> ParseDesignScript(const String& Text) {
    std::vector<TScriptStep> Steps;
    std::istringstream In(Text);
    String Line;
    int Number = 0;
    while (std::getline(In, Line)) {
        ++Number;
        if (!Line.empty() && Line.back() == '\r') Line.pop_back();
        const String Trimmed = Trim(Line);
        if (Trimmed.empty() || Trimmed[0] == '#') continue;
        TScriptStep Step;
        Step.Line = Number;
        size_t Pos = Trimmed.find_first_of(" \t");
        Step.Command = Trimmed.substr(0, Pos);
        while (Pos != String::npos) {
            Pos = Trimmed.find_first_not_of(" \t", Pos);
            if (Pos == String::npos) break;
            if (TakesRestOfLine(Step.Command, Step.Args.size())) {
                Step.Args.push_back(Trimmed.substr(Pos));
                break;
            }
            const size_t End = Trimmed.find_first_of(" \t", Pos);
            Step.Args.push_back(Trimmed.substr(Pos, End == String::npos ? End : End - Pos));
            Pos = End;
        }
        Steps.push_back(std::move(Step));
    }
    return Steps;
}

TDesignScript::TDesignScript(THeadlessHost& Host, TDesignerWindow& Window, std::ostream& Log)
    : FHost(Host), FWindow(Window), FLog(Log) {}

String TDesignScript::PathOf(const String& Name) const {
    // Absolute, as the file dialogs give their choice.
    std::filesystem::path Path(Name);
    if (!FBaseDir.empty() && Path.is_relative()) Path = std::filesystem::path(FBaseDir) / Path;
    return std::filesystem::absolute(Path).lexically_normal().string();
}

void TDesignScript::RunFile(const String& FileName) {
    TFileStream File(FileName, fmOpenRead);
    String Text(static_cast<size_t>(File.GetSize()), '\0');
    File.ReadBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    Run(ParseDesignScript(Text));
}

void TDesignScript::Run(const std::vector<TScriptStep>& Steps) {
    for (size_t I = 0; I < Steps.size(); ++I) {
        if (Steps[I].Command.rfind("dialog-", 0) == 0)
            Fail(Steps[I], "no step before it opens a dialog");
        size_t End = I + 1;
        while (End < Steps.size() && Steps[End].Command.rfind("dialog-", 0) == 0) ++End;
        if (End == I + 1) {
            RunStep(Steps[I]);
        } else {
            std::vector<std::function<void()>> Inside;
            for (size_t K = I + 1; K < End; ++K)
                Inside.push_back([this, &Steps, K] { RunDialogStep(Steps[K]); });
            InDialog(
                Steps[I], [&] { RunStep(Steps[I]); }, Inside);
        }
        FHost.RunUntilIdle();
        I = End - 1;
    }
}

void TDesignScript::InDialog(const TScriptStep& Step, const std::function<void()>& Open,
                             const std::vector<std::function<void()>>& Inside) {
    // The dialog's loop takes the next step inside whenever it has nothing
    // else to do.
    size_t Next = 0;
    SetModalLoopStep([&] {
        if (Application->ProcessMessages()) return;
        TCustomForm* Active = Screen->GetActiveForm();
        if (Next < Inside.size() && Active && Active->IsModal()) {
            Inside[Next++]();
            return;
        }
        Fail(Step, "the dialog it opens waits for steps the script does not give");
    });
    TScopeGuard Restore([] { SetModalLoopStep(HeadlessModalStep); });
    Open();
    if (Next < Inside.size()) Fail(Step, "no dialog is open for the steps after it");
}

void TDesignScript::RunStep(const TScriptStep& Step) {
    FLog << "  " << Step.Command;
    for (const String& A : Step.Args) FLog << " " << A;
    FLog << "\n";
    TFormDesigner& Designer = FWindow.Designer();
    TObjectInspector& Inspector = FWindow.Inspector();
    const String& C = Step.Command;
    auto Component = [&](const String& Name) -> TControl* {
        auto* Found = dynamic_cast<TControl*>(Designer.GetComponent(Name));
        if (!Found) Fail(Step, "the form has no control named " + Name);
        return Found;
    };
    // Makes the row PATH shown, opening the rows above it.
    auto Row = [&](const String& Path) {
        String Prefix;
        size_t Dot = 0;
        while ((Dot = Path.find('.', Dot)) != String::npos) {
            const int Parent = Inspector.FindRow(Path.substr(0, Dot));
            if (Parent < 0) Fail(Step, "the inspector has no row " + Path.substr(0, Dot));
            if (!Inspector.IsExpanded(Parent)) {
                Inspector.ScrollIntoView(Parent);
                const TRect Box = Inspector.ExpanderRect(Parent);
                const TPoint P = CentreOf(&Inspector, Box);
                FHost.Click(P.X, P.Y);
            }
            ++Dot;
        }
        const int Found = Inspector.FindRow(Path);
        if (Found < 0) Fail(Step, "the inspector has no row " + Path);
        Inspector.ScrollIntoView(Found);
        FHost.RunUntilIdle();
        return Found;
    };
    // Drops the row's list with its arrow, turns the wheel over the list
    // until Value shows, and clicks it.
    auto ChooseInList = [&](int R, const String& Value) {
        const TRect ArrowRect = Inspector.ArrowRect(R);
        if (ArrowRect.IsEmpty()) Fail(Step, Inspector.RowPath(R) + " has no list");
        const TPoint Arrow = CentreOf(&Inspector, ArrowRect);
        FHost.Click(Arrow.X, Arrow.Y);
        TValueList* List = Inspector.GetValueList();
        if (!List->GetVisible()) Fail(Step, "the list of " + Inspector.RowPath(R) + " stays shut");
        const auto& Items = List->GetItems();
        const auto Found = std::find(Items.begin(), Items.end(), Value);
        if (Found == Items.end())
            Fail(Step, "the list of " + Inspector.RowPath(R) + " has no " + Value);
        const int Index = static_cast<int>(Found - Items.begin());
        FHost.MoveTo(CentreOnScreen(List));
        for (int Turns = 0; Turns < 1000; ++Turns) {
            if (Index < List->GetTopIndex())
                FHost.Wheel(120);
            else if (Index >= List->GetTopIndex() + List->VisibleLines())
                FHost.Wheel(-120);
            else
                break;
        }
        const TPoint P = CentreOf(List, List->ItemRect(Index));
        FHost.Click(P.X, P.Y);
    };
    if (C == "new") {
        ClickOn(&FWindow.NewButton());
    } else if (C == "open") {
        NeedArgs(Step, 1);
        const String Path = PathOf(Step.Args[0]);
        try {
            InDialog(Step, [&] { ClickOn(&FWindow.OpenButton()); },
                     {[&] { TypeFileName(Step, Path); }});
        } catch (const EDesignScriptError&) {
            throw;
        } catch (const Exception& E) {
            Fail(Step, E.Message());
        }
        if (Designer.GetFileName() != Path) Fail(Step, Path + " was not opened");
    } else if (C == "close") {
        // The window's close box: the window system asks the form to close.
        FWindow.Window().Close();
    } else if (C == "drop") {
        NeedArgs(Step, 3);
        TComponentPalette& Palette = FWindow.Palette();
        const TClassInfo* Class = nullptr;
        for (size_t Page = 0; Page < Palette.Pages().size() && !Class; ++Page) {
            const TPoint Tab = CentreOf(&Palette, Palette.PageTabRect(static_cast<int>(Page)));
            FHost.Click(Tab.X, Tab.Y);
            for (size_t E = 0; E < Palette.Entries().size(); ++E)
                if (Palette.Entries()[E]->Name == Step.Args[0]) {
                    // A button below the rows shown comes up by the wheel.
                    const int Entry = static_cast<int>(E);
                    FHost.MoveTo(CentreOf(&Palette, Palette.PageTabRect(0)));
                    while (Palette.EntryRect(Entry).Bottom > Palette.GetClientHeight() &&
                           Palette.GetTopRow() < Palette.RowCount() - Palette.RowsShown())
                        FHost.Wheel(-WHEEL_DELTA);
                    const TPoint P = CentreOf(&Palette, Palette.EntryRect(Entry));
                    FHost.Click(P.X, P.Y);
                    Class = Palette.Entries()[E];
                    break;
                }
        }
        if (!Class) Fail(Step, "the palette has no " + Step.Args[0]);
        const TPoint P =
            Designer.GetForm()->ClientToScreen(Point(IntArg(Step, 1), IntArg(Step, 2)));
        FHost.Click(P.X, P.Y);
    } else if (C == "select") {
        NeedArgs(Step, 1);
        // A component without a place on the form (a timer, a menu) is
        // chosen by its line in the component tree.
        TComponent* Found = Designer.GetComponent(Step.Args[0]);
        if (Found && !dynamic_cast<TControl*>(Found)) {
            TComponentTree& Tree = FWindow.Tree();
            const int Line = Tree.FindLine(Step.Args[0]);
            if (Line < 0) Fail(Step, "the component tree has no line for " + Step.Args[0]);
            Tree.ScrollIntoView(Line);
            const TPoint P = CentreOf(&Tree, Tree.LineRect(Line));
            FHost.Click(P.X, P.Y);
        } else {
            const TPoint P = CentreOnScreen(Component(Step.Args[0]));
            FHost.Click(P.X, P.Y);
        }
    } else if (C == "shift-click" || C == "ctrl-click") {
        NeedArgs(Step, 1);
        const TPoint P = CentreOnScreen(Component(Step.Args[0]));
        FHost.Click(P.X, P.Y, mbLeft,
                    C == "shift-click" ? TShiftState{ssShift} : TShiftState{ssCtrl});
    } else if (C == "band") {
        NeedArgs(Step, 4);
        TForm* Form = Designer.GetForm();
        const TPoint From = Form->ClientToScreen(Point(IntArg(Step, 0), IntArg(Step, 1)));
        const TPoint To = Form->ClientToScreen(Point(IntArg(Step, 2), IntArg(Step, 3)));
        const bool Adds = Step.Args.size() > 4 && Step.Args[4] == "shift";
        FHost.Drag(From, To, 8, mbLeft, Adds ? TShiftState{ssShift} : TShiftState{});
    } else if (C == "expect-selection") {
        std::vector<String> Names;
        for (TPersistent* P : Designer.GetSelectionList())
            if (auto* Selected = dynamic_cast<TComponent*>(P)) Names.push_back(Selected->GetName());
        std::vector<String> Wanted = Step.Args;
        std::sort(Names.begin(), Names.end());
        std::sort(Wanted.begin(), Wanted.end());
        if (Names != Wanted) {
            String Shown;
            for (const String& N : Names) Shown += (Shown.empty() ? "" : " ") + N;
            Fail(Step, "the selection is \"" + Shown + "\"");
        }
    } else if (C == "dblclick") {
        NeedArgs(Step, 1);
        const TPoint P = CentreOnScreen(Component(Step.Args[0]));
        FHost.DoubleClick(P.X, P.Y);
    } else if (C == "drag") {
        NeedArgs(Step, 3);
        const TPoint From = CentreOnScreen(Component(Step.Args[0]));
        FHost.Drag(From, Point(From.X + IntArg(Step, 1), From.Y + IntArg(Step, 2)), 8);
    } else if (C == "hold-drag") {
        // A drag caught before its end, for a snapshot of what a drag shows.
        NeedArgs(Step, 3);
        const TPoint From = CentreOnScreen(Component(Step.Args[0]));
        FHost.MoveTo(From);
        FHost.Press();
        for (int I = 1; I <= 8; ++I)
            FHost.MoveTo(From.X + IntArg(Step, 1) * I / 8, From.Y + IntArg(Step, 2) * I / 8);
    } else if (C == "tree") {
        // A click on the component's line, which gives the tree the keys.
        NeedArgs(Step, 1);
        TComponentTree& Tree = FWindow.Tree();
        const int Line = Tree.FindLine(Step.Args[0]);
        if (Line < 0) Fail(Step, "the tree has no line " + Step.Args[0]);
        Tree.ScrollIntoView(Line);
        const TRect R = Tree.LineRect(Line);
        const int X = 8 + Tree.Lines()[static_cast<size_t>(Line)].Depth * TComponentTree::Indent;
        const TPoint P = Tree.ClientToScreen(Point(X, (R.Top + R.Bottom) / 2));
        FHost.Click(P.X, P.Y);
    } else if (C == "type") {
        NeedArgs(Step, 1);
        FHost.Type(Step.Args[0]);
    } else if (C == "release") {
        FHost.Release();
    } else if (C == "key") {
        NeedArgs(Step, 1);
        PressKey(FHost, Step, Step.Args[0]);
    } else if (C == "page") {
        NeedArgs(Step, 1);
        const auto Page =
            Step.Args[0] == "Events" ? TObjectInspector::ipEvents : TObjectInspector::ipProperties;
        const TPoint P = CentreOf(&Inspector, Inspector.TabRect(Page));
        FHost.Click(P.X, P.Y);
    } else if (C == "set") {
        NeedArgs(Step, 2);
        const int R = Row(Step.Args[0]);
        const TPoint OnName = CentreOf(&Inspector, Inspector.NameRect(R));
        FHost.Click(OnName.X, OnName.Y);
        const TPropertyAttributes A = Inspector.RowEditor(R)->GetAttributes();
        if (A.Contains(paValueList) && A.Contains(paReadOnly)) {
            // A value that can only be chosen: drop the list and click it.
            ChooseInList(R, Step.Args[1]);
        } else {
            TEdit* Edit = Inspector.GetValueEdit();
            const TPoint P = CentreOnScreen(Edit);
            FHost.Click(P.X, P.Y);
            Edit->SelectAll();
            FHost.Type(Step.Args[1]);
            FHost.Key(VK_RETURN);
        }
        if (!Inspector.GetMessage().empty()) Fail(Step, Inspector.GetMessage());
    } else if (C == "choose") {
        NeedArgs(Step, 2);
        const int R = Row(Step.Args[0]);
        const TPoint OnName = CentreOf(&Inspector, Inspector.NameRect(R));
        FHost.Click(OnName.X, OnName.Y);
        ChooseInList(R, Step.Args[1]);
        if (!Inspector.GetMessage().empty()) Fail(Step, Inspector.GetMessage());
    } else if (C == "edit") {
        NeedArgs(Step, 1);
        const int R = Row(Step.Args[0]);
        const TPoint OnName = CentreOf(&Inspector, Inspector.NameRect(R));
        FHost.Click(OnName.X, OnName.Y);
        const TRect Button = Inspector.EllipsisRect(R);
        if (Button.IsEmpty()) Fail(Step, Step.Args[0] + " has no ellipsis button");
        const TPoint P = CentreOf(&Inspector, Button);
        FHost.Click(P.X, P.Y);
        if (!Inspector.GetMessage().empty()) Fail(Step, Inspector.GetMessage());
    } else if (C == "verb") {
        NeedArgs(Step, 1);
        auto* Selected = dynamic_cast<TControl*>(Designer.GetSelection());
        if (!Selected) Fail(Step, "no control is selected");
        const TPoint At = CentreOnScreen(Selected);
        FHost.Click(At.X, At.Y, mbRight);
        TVerbMenu& Menu = FWindow.Verbs();
        if (!Menu.IsOpen()) Fail(Step, "the right click shows no verbs");
        const std::vector<String> Items = Menu.Verbs();
        const auto Found = std::find(Items.begin(), Items.end(), Step.Args[0]);
        if (Found == Items.end()) {
            Menu.Close();
            Fail(Step, "no verb \"" + Step.Args[0] + "\"");
        }
        const TRect R = Menu.VerbScreenRect(static_cast<int>(Found - Items.begin()));
        FHost.Click((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    } else if (C == "mainmenu") {
        NeedArgs(Step, 1);
        ChooseInMainMenu(Step, MenuPath(Step.Args[0]));
    } else if (C == "menu") {
        NeedArgs(Step, 1);
        // "Align > Align tops": a line of the right-click menu, then one of
        // the submenu it opens.
        const std::vector<String> Path = MenuPath(Step.Args[0]);
        auto* Selected = dynamic_cast<TControl*>(Designer.GetSelection());
        if (!Selected) Fail(Step, "no control is selected");
        const TPoint At = CentreOnScreen(Selected);
        FHost.Click(At.X, At.Y, mbRight);
        TVerbMenu& Menu = FWindow.Verbs();
        for (size_t Level = 0; Level < Path.size(); ++Level) {
            const bool Sub = Level > 0;
            const std::vector<String> Items = Menu.Captions(Sub);
            const auto Found = std::find(Items.begin(), Items.end(), Path[Level]);
            if (Found == Items.end() || !Menu.IsEnabled(int(Found - Items.begin()), Sub)) {
                Menu.Close();
                Fail(Step, "the menu has no " + String(Found == Items.end() ? "" : "enabled ") +
                               "line \"" + Path[Level] + "\"");
            }
            const TRect R = Menu.ItemScreenRect(int(Found - Items.begin()), Sub);
            FHost.Click((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
        }
    } else if (C == "undo") {
        ClickOn(&FWindow.UndoButton());
    } else if (C == "redo") {
        ClickOn(&FWindow.RedoButton());
    } else if (C == "save") {
        ClickOn(&FWindow.SaveButton());
    } else if (C == "saveas") {
        NeedArgs(Step, 1);
        const bool Binary = Step.Args.size() > 1 && Step.Args[1] == "binary";
        const String Path = PathOf(Step.Args[0]);
        InDialog(Step, [&] { ClickOn(&FWindow.SaveAsButton()); }, {[&] {
                     if (Binary) ChooseFileType(Step, 1);
                     TypeFileName(Step, Path);
                 }});
        if (Designer.GetFileName() != Path || Designer.GetModified())
            Fail(Step, Path + " was not saved");
    } else if (C == "scheme") {
        NeedArgs(Step, 1);
        TColorScheme Scheme;
        if (Step.Args[0] != "desktop" && !ColorSchemeFromName(Step.Args[0], Scheme))
            Fail(Step, "no colour scheme \"" + Step.Args[0] + "\"");
        ViewInScheme(Step.Args[0]);
        FHost.RunUntilIdle();
    } else if (C == "snapshot") {
        NeedArgs(Step, 1);
        FHost.RunUntilIdle();
        SaveScreenPicture(1024, 768, PathOf(Step.Args[0]));
    } else if (C == "expect") {
        NeedArgs(Step, 2);
        const int R = Row(Step.Args[0]);
        if (Inspector.RowValue(R) != Step.Args[1])
            Fail(Step, Step.Args[0] + " shows \"" + Inspector.RowValue(R) + "\", not \"" +
                           Step.Args[1] + "\"");
    } else if (C == "load-package") {
        try {
            if (!FWindow.LoadPackage(Step.Args.empty() ? TPackageLibrary::DefaultPath()
                                                       : PathOf(Step.Args[0])))
                Fail(Step, "the unsaved changes were kept");
        } catch (const Exception& E) {
            Fail(Step, E.Message());
        }
    } else if (C == "unload-package") {
        if (!FWindow.UnloadPackage()) Fail(Step, "the unsaved changes were kept");
    } else if (C == "expect-modified") {
        NeedArgs(Step, 1);
        if (Designer.GetModified() != (Step.Args[0] == "yes"))
            Fail(Step, "the title reads \"" + FWindow.Window().GetCaption() + "\"");
    } else {
        Fail(Step, "unknown command");
    }
}

void TDesignScript::ChooseInMainMenu(const TScriptStep& Step, const std::vector<String>& Path) {
    TMenuBar* Bar = FWindow.Window().GetMenuBar();
    if (!Bar) Fail(Step, "the designer's window has no main menu");
    TMenuItem* Root = Bar->GetMenu()->GetItems();
    int Entry = -1;
    for (int I = 0; I < Root->Count() && Entry < 0; ++I)
        if (PlainCaption(Root->GetItem(I)->GetCaption()) == Path[0]) Entry = I;
    if (Entry < 0) Fail(Step, "the main menu has no " + Path[0]);
    const TRect E = Bar->EntryRect(Entry);
    const TPoint At = CentreOf(Bar, E);
    FHost.Click(At.X, At.Y);
    TMenuWindow* Window = Bar->GetWindow();
    for (size_t Level = 1; Level < Path.size(); ++Level) {
        if (!Window) Fail(Step, "no menu opens for " + Path[Level - 1]);
        TMenuItem* Items = Window->GetMenuItem();
        int Found = -1;
        for (int I = 0; I < Items->Count() && Found < 0; ++I)
            if (PlainCaption(Items->GetItem(I)->GetCaption()) == Path[Level]) Found = I;
        if (Found < 0 || !Items->GetItem(Found)->GetEnabled()) {
            if (Bar->GetWindow()) Bar->GetWindow()->CloseUp(true);
            Fail(Step, "the menu has no " + String(Found < 0 ? "" : "enabled ") + "line \"" +
                           Path[Level] + "\"");
        }
        const TRect R = Window->ItemRect(Found);
        const TPoint P =
            Window->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        FHost.Click(P.X, P.Y);
        Window = Window->GetSubmenu();
    }
}

void TDesignScript::ClickOn(const TControl* Control) {
    const TPoint P = CentreOnScreen(Control);
    FHost.Click(P.X, P.Y);
}

void TDesignScript::TypeFileName(const TScriptStep& Step, const String& Path) {
    TCustomForm* Dialog = Screen->GetActiveForm();
    auto* Name =
        Dialog ? dynamic_cast<TCustomEdit*>(Dialog->FindComponent("FileNameEdit")) : nullptr;
    if (!Name) Fail(Step, "no file dialog is open");
    ClickOn(Name);
    FHost.Key('A', TShiftState{ssCtrl});
    FHost.Type(Path);
    FHost.Key(VK_RETURN);
}

void TDesignScript::ChooseFileType(const TScriptStep& Step, int Index) {
    TCustomForm* Dialog = Screen->GetActiveForm();
    auto* Types =
        Dialog ? dynamic_cast<TComboBox*>(Dialog->FindComponent("FileTypeCombo")) : nullptr;
    if (!Types) Fail(Step, "no file dialog is open");
    ClickOn(Types);
    if (!Types->GetDroppedDown()) Fail(Step, "the file types do not drop down");
    const TListBox* List = Types->GetPopupList()->GetList();
    const TRect R = List->ItemRect(Index);
    const TPoint P = List->ClientToScreen(Point(R.Left + 10, (R.Top + R.Bottom) / 2));
    FHost.Click(P.X, P.Y);
}

void TDesignScript::RunDialogStep(const TScriptStep& Step) {
    FLog << "    " << Step.Command;
    for (const String& A : Step.Args) FLog << " " << A;
    FLog << "\n";
    TCustomForm* Dialog = Screen->GetActiveForm();
    if (!Dialog || !Dialog->IsModal()) Fail(Step, "no dialog is open");
    FLog << "    (in " << Dialog->GetName() << ")\n";
    auto Control = [&](const String& Name) {
        auto* Found = dynamic_cast<TControl*>(Dialog->FindComponent(Name));
        if (!Found) Fail(Step, "the dialog has no control named " + Name);
        return Found;
    };
    if (Step.Command == "dialog-click") {
        NeedArgs(Step, 1);
        const TPoint P = CentreOnScreen(Control(Step.Args[0]));
        FHost.Click(P.X, P.Y);
    } else if (Step.Command == "dialog-type") {
        NeedArgs(Step, 2);
        TControl* Target = Control(Step.Args[0]);
        const TPoint P = CentreOnScreen(Target);
        FHost.Click(P.X, P.Y);
        if (auto* Edit = dynamic_cast<TCustomEdit*>(Target)) Edit->SelectAll();
        FHost.Type(Step.Args[1]);
    } else if (Step.Command == "dialog-text") {
        NeedArgs(Step, 1);
        FHost.Type(Step.Args[0]);
    } else if (Step.Command == "dialog-key") {
        NeedArgs(Step, 1);
        PressKey(FHost, Step, Step.Args[0]);
    } else {
        Fail(Step, "unknown command");
    }
}

void SaveScreenPicture(int Width, int Height, const String& PngPath) {
    TBitmap Picture(Width, Height);
    TCanvas* C = Picture.GetCanvas();
    C->GetBrush()->SetColor(0x806040);
    C->FillRect(Rect(0, 0, Width, Height));
    for (TWinControl* W : InputRouter->TopLevels()) {
        if (!W->GetVisible()) continue;
        const TPixelSurface* S = W->GetSurface();
        if (!S || !S->Valid()) continue;
        const TRect R = W->GetBoundsRect();
        for (int Y = 0; Y < S->Height; ++Y) {
            const int DY = R.Top + Y;
            if (DY < 0 || DY >= Height) continue;
            const int X0 = std::max(0, -R.Left);
            const int X1 = std::min(S->Width, Width - R.Left);
            if (X1 <= X0) continue;
            std::memcpy(Picture.ScanLine(DY) + R.Left + X0, S->Row(Y) + X0,
                        static_cast<size_t>(X1 - X0) * sizeof(TPixel));
        }
    }
    SavePng(Picture, PngPath);
}

} // namespace designer
