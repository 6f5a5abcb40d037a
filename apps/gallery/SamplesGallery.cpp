#include "SamplesGallery.h"

#include "SamplesForm.h"

#include "framework/core/DateUtils.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Messages.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Png.h"
#include "framework/hosts/DesktopColorScheme.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace gallery {

using namespace folio;

namespace {

constexpr unsigned TickInterval = 150;

bool WriteSnapshot(std::ostream& Out, const std::string& SnapshotDir) {
    THeadlessHost Host(1024, 768);
    FollowSchemeVariable();
    TSamplesForm Form(nullptr);
    Form.Show();
    Host.RunUntilIdle();

    std::filesystem::create_directories(SnapshotDir);
    const String Path = SnapshotDir + "/samples-gallery.png";
    Host.Screenshot(&Form, Path);
    Out << "Samples gallery snapshot: " << std::filesystem::absolute(Path).string() << "\n";
    return true;
}

bool ShowWindow(std::ostream& Out) {
    TSdlHost Host;
    TSamplesForm Form(nullptr);
    Form.Show();
    SetTimer(Form.GetHandle(), TSamplesForm::TickTimer, TickInterval);
    Out << "The samples gallery is open in a window; close it to finish.\n" << std::flush;
    // Runs until the window is closed or the application is told to quit.
    Host.Run();
    return true;
}

} // namespace

bool RunSamplesGallery(std::ostream& Out, const std::string& SnapshotDir, bool ForceSnapshots) {
    try {
        const char* Display = std::getenv("DISPLAY");
        if (!ForceSnapshots && Display && *Display && TSdlHost::DisplayAvailable())
            return ShowWindow(Out);
        return WriteSnapshot(Out, SnapshotDir);
    } catch (const Exception& E) {
        Out << "The samples gallery failed: " << E.what() << "\n";
        return false;
    }
}

} // namespace gallery
