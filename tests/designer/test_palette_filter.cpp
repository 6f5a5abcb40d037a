#include "DesignerFixture.h"

#include "ObjectInspector.h"

#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/input/VirtualKeys.h"

namespace designer::test {
namespace {

std::vector<String> EntryNames(const TComponentPalette& Palette) {
    std::vector<String> Names;
    for (const TClassInfo* C : Palette.Entries()) Names.push_back(C->Name);
    return Names;
}

// Typing in the box over the palette narrows it to the classes of every
// page whose name holds the text, whatever its case; Escape clears it and
// the page shows again.
TEST_F(DesignerTest, TheFilterBoxNarrowsThePaletteAndEscapeClearsIt) {
    TComponentPalette& Palette = Window->Palette();
    const std::vector<String> Page = EntryNames(Palette);
    const TPoint Box = Window->PaletteFilter().ClientToScreen(Point(10, 10));
    struct TCase {
        const char* Typed;
        std::vector<String> Shown;
    };
    const TCase Cases[] = {
        {"u", {"TButton", "TCGauge"}}, {"GAU", {"TCGauge"}}, {"ton", {"TButton"}},
        {"folio", {"TFolio"}},         {"nothing", {}},
    };
    for (const TCase& C : Cases) {
        Host.Click(Box.X, Box.Y);
        Window->PaletteFilter().SelectAll();
        Host.Type(C.Typed);
        std::vector<String> Shown = EntryNames(Palette);
        std::sort(Shown.begin(), Shown.end());
        EXPECT_EQ(Shown, C.Shown) << C.Typed;
    }
    // A class found by the filter drops as from its page.
    Window->PaletteFilter().SelectAll();
    Host.Type("butt");
    Run("drop TButton 16 16");
    EXPECT_NE(Find<TButton>("Button1"), nullptr);
    Host.Click(Box.X, Box.Y);
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(Window->PaletteFilter().GetText(), "");
    EXPECT_EQ(EntryNames(Palette), Page);
}

// Resting the pointer on an inspector row shows its type and the value's
// whole text; each row has its own tooltip.
TEST_F(DesignerTest, InspectorRowsShowTheirTypeAndWholeValueAsTooltips) {
    Run("drop TButton 16 16\n"
        "set Caption A caption far too long to be read whole in the value column\n");
    TObjectInspector& I = Window->Inspector();
    auto Rest = [&](const String& Path) {
        const int Row = I.FindRow(Path);
        I.ScrollIntoView(Row);
        Host.RunUntilIdle();
        const TRect R = I.NameRect(Row);
        // From outside the window, as a person comes to a row afresh.
        Host.MoveTo(1000, 700);
        Host.Run(3000);
        Host.MoveTo(I.ClientToScreen(Point(R.Left + 4, (R.Top + R.Bottom) / 2)));
        Host.Run(600);
        THintWindow* W = Application->GetHintManager().ShownWindow();
        return W ? W->GetCaption() : String("(none)");
    };
    EXPECT_EQ(Rest("Caption"),
              "Caption: String\nA caption far too long to be read whole in the value column");
    EXPECT_EQ(I.RowHint(I.FindRow("Width")), "Width: Integer\n75");
    EXPECT_EQ(Rest("Visible"), "Visible: Boolean\nTrue") << "each row its own";
    EXPECT_EQ(I.RowHint(-1), "");
}

} // namespace
} // namespace designer::test
