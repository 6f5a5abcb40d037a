#pragma once

// How every example runs: in a window when a display is there, or on the
// headless screen when there is none or when `--snapshots DIR` asks for a
// picture. Headless, the example may play a user first (clicks and drags
// through the screen's own input), then its form is saved as DIR/NAME.png
// by the screen's screenshot, the same one the gallery and the designer use.

#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/forms/Form.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace examples {

class TExampleHost {
public:
    // Takes `--snapshots DIR` from the command line; the other arguments
    // stay for the example (Arguments()). Make the host before any form.
    TExampleHost(int argc, char** argv, std::string Name) : FName(std::move(Name)) {
        for (int I = 1; I < argc; ++I) {
            if (std::strcmp(argv[I], "--snapshots") == 0 && I + 1 < argc)
                FSnapshotDir = argv[++I];
            else
                FArguments.emplace_back(argv[I]);
        }
        const char* Display = std::getenv("DISPLAY");
        if (FSnapshotDir.empty() && Display && *Display && folio::TSdlHost::DisplayAvailable()) {
            FWindow = std::make_unique<folio::TSdlHost>();
            return;
        }
        if (FSnapshotDir.empty()) FSnapshotDir = "snapshots";
        FScreen = std::make_unique<folio::THeadlessHost>(1024, 768);
    }

    const std::vector<std::string>& Arguments() const { return FArguments; }

    // Gives Form its title and a client area of Width by Height pixels,
    // near the screen's top left corner.
    static void Place(folio::TForm& Form, const folio::String& Caption, int Width, int Height) {
        Form.SetCaption(Caption);
        Form.SetBounds(40, 40, Width, Height);
        Form.SetClientWidth(Width);
        Form.SetClientHeight(Height);
    }
    // The headless screen, or null in a window.
    folio::THeadlessHost* Screen() const { return FScreen.get(); }

    // Shows Form. In a window, runs until the user closes it. Headless,
    // runs Play (a user's input, when given) and saves the form's picture.
    // Answers the program's exit code.
    int Run(folio::TForm& Form, const std::function<void(folio::THeadlessHost&)>& Play = {}) {
        Form.Show();
        if (FWindow) {
            while (Form.GetVisible() && FWindow->Step(-1)) {
            }
            return 0;
        }
        FScreen->RunUntilIdle();
        if (Play) Play(*FScreen);
        std::filesystem::create_directories(FSnapshotDir);
        const std::string Picture = FSnapshotDir + "/" + FName + ".png";
        FScreen->Screenshot(&Form, Picture);
        std::cout << "Snapshot: " << Picture << "\n";
        return 0;
    }

private:
    std::string FName;
    std::string FSnapshotDir;
    std::vector<std::string> FArguments;
    std::unique_ptr<folio::TSdlHost> FWindow;
    std::unique_ptr<folio::THeadlessHost> FScreen;
};

// The centre of a rectangle of a control, on the screen: where a user
// clicks it.
inline folio::TPoint ScreenCentre(const folio::TControl* Control, const folio::TRect& R) {
    return Control->ClientToScreen(folio::Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
}

// Fills List with a few pictures of Size pixels (round marks of different
// colours) for the examples' items; a real program loads its own.
inline void FillExampleIcons(folio::TImageList& List, int Size) {
    const folio::TColor Colours[] = {0x3070E0, 0x40A040, 0xD08030, 0x2090F0, 0xA050B0};
    const folio::TColor Mask = 0xFF00FF;
    List.SetWidth(Size);
    List.SetHeight(Size);
    for (const folio::TColor Colour : Colours) {
        folio::TBitmap Picture(Size, Size);
        folio::TCanvas* Canvas = Picture.GetCanvas();
        Canvas->GetBrush()->SetColor(Mask);
        Canvas->FillRect(folio::Rect(0, 0, Size, Size));
        Canvas->GetBrush()->SetColor(Colour);
        Canvas->Ellipse(1, 1, Size - 1, Size - 1);
        List.AddMasked(&Picture, Mask);
    }
}

// Prints a failure of the library as the library words it and answers the
// exit code for it.
inline int Fail(const std::string& What, const std::exception& E) {
    std::cerr << What << ": " << E.what() << "\n";
    return 1;
}

} // namespace examples
