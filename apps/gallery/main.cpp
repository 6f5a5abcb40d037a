// The gallery: the package's demo. It shows what the framework and the
// controls can do; without a display it prints and writes snapshots.
#include "BarGallery.h"
#include "ControlsGallery.h"
#include "FrameworkTour.h"
#include "SamplesGallery.h"
#include "WorldGallery.h"

#include "framework/ui/app/QuitSignals.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    gallery::TBarGalleryOptions Options;
    std::string FormFile;
    for (int I = 1; I < argc; ++I) {
        if (std::strcmp(argv[I], "--form") == 0 && I + 1 < argc) {
            FormFile = argv[++I];
            continue;
        }
        if (std::strcmp(argv[I], "--controls") == 0) {
            const bool Shown = gallery::ShowControlsWindows(std::cout);
            if (const int Signal = folio::TQuitSignals::Received()) return 128 + Signal;
            return Shown ? 0 : 1;
        }
        if (std::strcmp(argv[I], "--snapshots") == 0) {
            Options.ForceSnapshots = true;
            if (I + 1 < argc) Options.SnapshotDir = argv[++I];
        } else {
            std::cerr << "usage: gallery [--snapshots DIR] [--form FILE] [--controls]\n";
            return 2;
        }
    }
    // A form file is shown alone: the designer's round trip.
    if (!FormFile.empty()) {
        const bool Shown = gallery::ShowFormFile(std::cout, FormFile, Options);
        if (const int Signal = folio::TQuitSignals::Received()) return 128 + Signal;
        return Shown ? 0 : 1;
    }
    const bool Ok = gallery::RunFrameworkTour(std::cout);
    std::cout << (Ok ? "All framework checks came out right.\n"
                     : "Something did not come out right.\n");
    // Ctrl+C (or SIGTERM) in a window ends the whole demo, not just the
    // window it came in: the exit code says which signal it was.
    const bool BarOk = gallery::RunBarGallery(std::cout, Options);
    if (const int Signal = folio::TQuitSignals::Received()) return 128 + Signal;
    const bool SamplesOk =
        gallery::RunSamplesGallery(std::cout, Options.SnapshotDir, Options.ForceSnapshots);
    if (const int Signal = folio::TQuitSignals::Received()) return 128 + Signal;
    const bool ControlsOk = gallery::RunControlsGallery(std::cout, Options.SnapshotDir);
    const bool WorldOk = gallery::WriteWorldSnapshot(std::cout, Options.SnapshotDir);
    return Ok && BarOk && SamplesOk && ControlsOk && WorldOk ? 0 : 1;
}
