// Puts a bar on a form on the headless host and saves the form as a PNG:
// what an application does with nothing but the installed package.

#include "folio/Folio.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: consumer PICTURE.png\n");
        return 2;
    }
    using namespace folio;
    constexpr TColor FormColour = 0x00A0FF40;
    THeadlessHost Host(640, 480);
    TForm Form(nullptr);
    Form.SetBounds(10, 10, 240, 180);
    Form.SetClientWidth(240);
    Form.SetClientHeight(180);
    Form.SetColor(FormColour);
    auto* Bar = new TFolio(&Form);
    Bar->SetParent(&Form);
    Bar->SetBounds(0, 0, 120, 180);
    Bar->GetGroups()->Add("Mail")->GetItems()->Add("Inbox", -1);
    Bar->GetGroups()->Add("Notes");
    Form.Show();
    Host.RunUntilIdle();

    // The bar paints over its part of the form and leaves the rest alone.
    if (Host.Pixel(&Form, 60, 90) == FormColour || Host.Pixel(&Form, 180, 90) != FormColour) {
        std::fprintf(stderr, "the bar did not paint where it stands\n");
        return 1;
    }
    Host.Screenshot(&Form, argv[1]);
    std::printf("saved %s\n", argv[1]);
    return 0;
}
