// The form designer. With a display it opens its window beside the form
// being designed; with --script it runs a design script on the headless
// screen and writes a snapshot of the screen at the end.
#include "DesignScript.h"
#include "DesignerWindow.h"
#include "Recovery.h"

#include "framework/core/Exceptions.h"
#include "framework/hosts/DesktopColorScheme.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/QuitSignals.h"
#include "framework/ui/dialogs/MessageDialog.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace {

struct TOptions {
    std::string FormFile;
    std::string Script;
    std::string SnapshotDir = "snapshots";
    std::string Package = designer::TPackageLibrary::DefaultPath();
    bool Headless = false;
};

// The palette: the framework's controls, and the package's when it loads.
// A designer without the package still designs forms of standard controls.
void Prepare(designer::TDesignerWindow& Window, const TOptions& Options) {
    try {
        Window.LoadPackage(Options.Package);
    } catch (const designer::EPackageError& E) {
        std::cerr << "designer: " << E.what() << "\n";
    }
    if (!Options.FormFile.empty()) Window.Designer().Open(Options.FormFile);
}

void Usage() {
    std::cerr
        << "usage: designer [FORM-FILE] [--package LIBRARY] [--script FILE] [--snapshots DIR]\n";
}

int RunHeadless(const TOptions& Options) {
    using namespace designer;
    folio::THeadlessHost Host(1024, 768);
    // No desktop to ask here: the user's FOLIO_COLOR_SCHEME stands for it.
    folio::FollowSchemeVariable();
    TDesignerWindow Window;
    Window.OnAskSave = [](const String&) { return folio::mrNo; };
    Prepare(Window, Options);
    Window.Show();
    Host.RunUntilIdle();
    std::filesystem::create_directories(Options.SnapshotDir);
    if (!Options.Script.empty()) {
        std::cout << "Running " << Options.Script << ":\n";
        TDesignScript Script(Host, Window, std::cout);
        Script.SetBaseDir(Options.SnapshotDir);
        Script.RunFile(Options.Script);
    }
    Host.RunUntilIdle();
    const std::string Picture = Options.SnapshotDir + "/designer.png";
    SaveScreenPicture(1024, 768, Picture);
    std::cout << "Designer snapshot: " << std::filesystem::absolute(Picture).string() << "\n";
    return 0;
}

int RunWindow(const TOptions& Options) {
    using namespace designer;
    folio::TSdlHost Host;
    TDesignerWindow Window;
    // A file that cannot be read or written is told in a dialog, not only
    // on the terminal the designer may not have.
    folio::Application->OnException = [](folio::TObject*, const std::exception& E) {
        std::cerr << "designer: " << E.what() << "\n";
        ShowDesignerError(E.what());
    };
    Prepare(Window, Options);
    Window.Show();
    OfferRecoveryCopy(Window.Designer(), [](const String& Question) {
        return folio::MessageDlg(Question, folio::mtConfirmation, {folio::mbYes, folio::mbNo}) ==
               folio::mrYes;
    });
    RunDesignerWindow(Window, [&Host] { return Host.Step(-1); });
    if (const int Signal = folio::TQuitSignals::Received()) {
        // Told to end from the terminal: nobody is there to ask about the
        // unsaved changes, so they are kept for the next start.
        if (Window.Designer().GetModified()) {
            try {
                std::cerr << "designer: the unsaved changes are kept in "
                          << WriteRecoveryCopy(Window.Designer()) << "\n";
            } catch (const folio::Exception& E) {
                std::cerr << "designer: the unsaved changes are lost: " << E.what() << "\n";
            }
        }
        return 128 + Signal;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    TOptions Options;
    for (int I = 1; I < argc; ++I) {
        if (std::strcmp(argv[I], "--script") == 0 && I + 1 < argc) {
            Options.Script = argv[++I];
            Options.Headless = true;
        } else if (std::strcmp(argv[I], "--package") == 0 && I + 1 < argc) {
            Options.Package = argv[++I];
        } else if (std::strcmp(argv[I], "--snapshots") == 0 && I + 1 < argc) {
            Options.SnapshotDir = argv[++I];
            Options.Headless = true;
        } else if (argv[I][0] == '-') {
            Usage();
            return 2;
        } else {
            Options.FormFile = argv[I];
        }
    }
    designer::RegisterStandardControls();
    try {
        const char* Display = std::getenv("DISPLAY");
        if (!Options.Headless && Display && *Display && folio::TSdlHost::DisplayAvailable())
            return RunWindow(Options);
        return RunHeadless(Options);
    } catch (const folio::Exception& E) {
        std::cerr << "designer: " << E.what() << "\n";
        return 1;
    }
}
