#pragma once

#include "framework/core/Exceptions.h"
#include "framework/core/Types.h"

#include <functional>
#include <ostream>
#include <vector>

namespace folio {
class TControl;
class THeadlessHost;
} // namespace folio

namespace designer {

using folio::String;

class TDesignerWindow;

// A script step that cannot run: the message names the line.
class EDesignScriptError : public folio::Exception {
public:
    using folio::Exception::Exception;
};

// One line of a design script: the command and its words. The last word
// of "set" and "type" steps keeps its spaces (it runs to the line's end).
struct TScriptStep {
    int Line = 0;
    String Command;
    std::vector<String> Args;
};

// A session in the designer, written down: one step a line, run on the
// headless screen through the same input a person gives (clicks on the
// palette, the form, the inspector and the verb menu, keys and drags).
//
//   new                             a new form
//   drop CLASS X Y                  choose CLASS on the palette, click the form at X, Y
//   select NAME                     click the component (or the form by its name); one
//                                   without a place on the form by its tree line
//   shift-click NAME | ctrl-click NAME   the component joins or leaves the selection
//   band X1 Y1 X2 Y2 [shift]        drag a band over the form from X1, Y1 to X2, Y2
//   expect-selection NAME...        exactly these components are selected
//   drag NAME DX DY                 drag the component by DX, DY pixels
//   hold-drag NAME DX DY | release  the same drag with the button kept down
//                                   (for a snapshot), and letting it go
//   key [shift+]KEY                 Left Right Up Down Delete Escape Enter Tab F2
//                                   Home End PageUp PageDown Space, a letter or digit
//   type TEXT                       type TEXT where the keys are
//   tree NAME                       click NAME's line in the component tree
//   page Properties|Events          the inspector's page
//   set PATH VALUE                  an inspector row ("GroupsFont.Size") takes VALUE
//   choose PATH VALUE               drop the row's list and click VALUE in it
//   edit PATH                       the row's ellipsis button
//   verb TEXT                       right click the selection, click the verb TEXT
//   menu TEXT [> SUBTEXT]           right click the selection, click the line TEXT
//                                   (and SUBTEXT in the submenu it opens)
//   mainmenu TEXT [> SUBTEXT]...    click TEXT on the main menu's bar, then each
//                                   line in the menus it opens ("Edit > Undo")
//   dblclick NAME                   double click the component
//   dialog-click NAME               in the open dialog: click the control NAME
//   dialog-type NAME TEXT           click the edit NAME, replace its text by TEXT
//   dialog-text TEXT                type TEXT where the open dialog's focus is
//   dialog-key [shift+]KEY          a key in the open dialog
//   undo | redo | save              the tool buttons
//   open FILE | saveas FILE [binary]  the tool button, FILE typed in its file dialog
//   close                           close the designer's window (it may ask first)
//   scheme NAME                     view in a colour scheme (classic, light, dark,
//                                   high-contrast-dark, high-contrast-light, desktop)
//   snapshot FILE                   a PNG of the whole screen
//   expect PATH VALUE               the inspector row PATH shows VALUE
//   expect-modified yes|no          the title's modified mark
//   load-package [FILE] | unload-package
//
// Lines starting with "#" and empty lines are skipped. The dialog steps
// after a step that opens a modal dialog run inside it.
std::vector<TScriptStep> ParseDesignScript(const String& Text);

class TDesignScript {
public:
    TDesignScript(folio::THeadlessHost& Host, TDesignerWindow& Window, std::ostream& Log);
    // Runs the steps in order; raises EDesignScriptError at the first that
    // fails, naming its line.
    void Run(const std::vector<TScriptStep>& Steps);
    void RunFile(const String& FileName);

    // Where the "open", "saveas" and "snapshot" files are found when their
    // names are relative.
    void SetBaseDir(const String& Dir) { FBaseDir = Dir; }

private:
    void RunStep(const TScriptStep& Step);
    void RunDialogStep(const TScriptStep& Step);
    // Runs Open, which opens a modal dialog, and then each of Inside in it,
    // one whenever the dialog has nothing else to do.
    void InDialog(const TScriptStep& Step, const std::function<void()>& Open,
                  const std::vector<std::function<void()>>& Inside);
    void ClickOn(const folio::TControl* Control);
    void ChooseInMainMenu(const TScriptStep& Step, const std::vector<String>& Path);
    // In the open file dialog: Path typed as the name and taken.
    void TypeFileName(const TScriptStep& Step, const String& Path);
    void ChooseFileType(const TScriptStep& Step, int Index);
    String PathOf(const String& Name) const;

    folio::THeadlessHost& FHost;
    TDesignerWindow& FWindow;
    std::ostream& FLog;
    String FBaseDir;
};

// The headless screen as one picture: every shown top-level form's surface
// at its place, bottom first, on the desktop colour.
void SaveScreenPicture(int Width, int Height, const String& PngPath);

} // namespace designer
