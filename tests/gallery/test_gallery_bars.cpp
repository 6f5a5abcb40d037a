// What the gallery's bar form switches on beyond a bar's defaults: both bars
// are tab stops, and the horizontal bar places its caption editor through
// its rectangle event. Both are stored in the gallery's form file.
#include "BarGalleryForm.h"

#include "folio/FolioEditor.h"
#include "framework/core/FormText.h"
#include "framework/core/Writer.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/FontEngine.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace folio;
using namespace gallery;

namespace {

TFolEditor* EditorOf(const TFolio& Bar) {
    for (int I = 0; I < Bar.ControlCount(); ++I)
        if (auto* Editor = dynamic_cast<TFolEditor*>(Bar.Controls(I))) return Editor;
    return nullptr;
}

struct BarGalleryBars : ::testing::Test {
    THeadlessHost Host{1280, 1024};
    TGalleryForm Gallery;

    void SetUp() override {
        Gallery.SetAnimation(asNone);
        Gallery.Form.Show();
        Host.RunUntilIdle();
    }
};

} // namespace

TEST_F(BarGalleryBars, TabReachesBothBarsAndAClickGivesOneTheKeyboard) {
    std::set<const TControl*> Reached;
    for (int Tab = 0; Tab < 8; ++Tab) {
        Host.Key(VK_TAB);
        Reached.insert(Gallery.Form.GetActiveControl());
    }
    EXPECT_TRUE(Reached.count(Gallery.Vertical));
    EXPECT_TRUE(Reached.count(Gallery.Horizontal));

    // A click on the horizontal bar's first caption focuses it there; the
    // arrows then walk its captions.
    const TRect Strip = Gallery.Horizontal->GetGroups()->GetGroup(0)->GetCaptionRect();
    const TPoint OnStrip = Gallery.Horizontal->ClientToScreen(
        Point((Strip.Left + Strip.Right) / 2, (Strip.Top + Strip.Bottom) / 2));
    Host.Click(OnStrip.X, OnStrip.Y);
    Host.RunUntilIdle();
    ASSERT_TRUE(Gallery.Horizontal->Focused());
    EXPECT_EQ(Gallery.Horizontal->GetFocusedGroup(), Gallery.Horizontal->GetGroups()->GetGroup(0));
    Host.Key(VK_RIGHT);
    EXPECT_NE(Gallery.Horizontal->GetFocusedItem(), nullptr);
}

// The strip is a few pixels wide and its text runs turned; the editor's text
// runs across. The gallery's box is as wide as the whole caption and a caret,
// one line high, centred on the strip and inside the bar, at either end of
// the bar. The vertical bar keeps the caption's own rectangle.
TEST_F(BarGalleryBars, TheStripsCaptionsAreRenamedInAOneLineBoxAcrossTheStrip) {
    TFolio* Bar = Gallery.Horizontal;
    EXPECT_TRUE(Bar->GetCustomGroupEditing());
    TFolioGroups* Groups = Bar->GetGroups();
    const int Line = Bar->GetGroupsFont()->GetHandle()->Metrics().tmHeight;
    for (TFolioGroup* Group : {Groups->GetGroup(0), Groups->GetGroup(Groups->GetCount() - 1)}) {
        SCOPED_TRACE(Group->GetCaption());
        ASSERT_TRUE(Bar->EditGroup(Group));
        TFolEditor* Editor = EditorOf(*Bar);
        ASSERT_NE(Editor, nullptr);
        const TRect Box = Editor->GetBoundsRect();
        const TRect Strip = Group->GetCaptionRect();
        const int TextWidth = Bar->GetGroupsFont()->GetHandle()->TextWidth(Group->GetCaption());
        // The whole text and the caret after it show without scrolling,
        // unless the caption is wider than the bar itself.
        EXPECT_GE(Editor->GetClientWidth(), std::min(TextWidth + 2 + 1, Bar->GetClientWidth() - 4));
        EXPECT_EQ(Editor->PointFromPos(0).X, 1);
        EXPECT_EQ(Editor->GetClientHeight(), Line + 2);
        EXPECT_GE(Box.Left, 0);
        EXPECT_GE(Box.Top, 0);
        EXPECT_LE(Box.Right, Bar->GetClientWidth());
        EXPECT_LE(Box.Bottom, Bar->GetClientHeight());
        EXPECT_LT(Box.Left, Strip.Right);
        EXPECT_GT(Box.Right, Strip.Left);
        EXPECT_LE(Box.Top, (Strip.Top + Strip.Bottom) / 2);
        EXPECT_GT(Box.Bottom, (Strip.Top + Strip.Bottom) / 2);
        Bar->HideEditor(false);
    }

    TFolioGroup* Mail = Gallery.Vertical->GetGroups()->GetGroup(0);
    ASSERT_TRUE(Gallery.Vertical->EditGroup(Mail));
    ASSERT_NE(EditorOf(*Gallery.Vertical), nullptr);
    EXPECT_EQ(EditorOf(*Gallery.Vertical)->GetBoundsRect(), Mail->GetCaptionRect());
    Gallery.Vertical->HideEditor(false);
}

TEST_F(BarGalleryBars, TheFormFileKeepsTheTabStopsAndTheEditorHook) {
    TWriter Writer;
    const String Text = FormToText(Writer.WriteRoot(&Gallery.Form, nullptr));
    const auto BarText = [&](const char* Name) {
        const size_t From = Text.find(String("object ") + Name + ": TFolio");
        EXPECT_NE(From, String::npos) << Name;
        return Text.substr(From, Text.find("\n    end\n", From) + 1 - From);
    };
    EXPECT_NE(BarText("VerticalBar").find("TabStop = True\n"), String::npos);
    EXPECT_EQ(BarText("VerticalBar").find("CustomGroupEditing"), String::npos);
    const String Strip = BarText("HorizontalBar");
    for (const char* Line : {"TabStop = True\n", "CustomGroupEditing = True\n",
                             "OnGetGroupEditRect = BarGetGroupEditRect\n"})
        EXPECT_NE(Strip.find(Line), String::npos) << Line << Strip;
}

// The groups painted in the gallery's own colours keep their items'
// captions legible in every scheme: the captions are drawn in the scheme's
// text colour, so a dark scheme needs darker faces, taken when it switches.
TEST_F(BarGalleryBars, ItemCaptionsStayLegibleOnTheGallerysOwnColoursInEveryScheme) {
    for (TColorScheme S :
         {csDark, csLight, csHighContrastDark, csHighContrastLight, csClassic, csDark}) {
        Screen->SetColorScheme(S);
        Host.RunUntilIdle();
        SCOPED_TRACE(ColorSchemeName(S));
        int Checked = 0;
        for (TFolio* Bar : {Gallery.Vertical, Gallery.Horizontal})
            for (int G = 0; G < Bar->GetGroups()->GetCount(); ++G) {
                TFolioGroup* Group = Bar->GetGroups()->GetGroup(G);
                const bool Gradient = Group->GetStyle() == gbGradient;
                std::vector<TColor> Faces;
                if (Group->GetStyle() == gbBitmap) {
                    // Every pixel of the tiled picture.
                    TBitmap* Tile = Group->GetBitmap();
                    for (int Y = 0; Y < Tile->GetHeight(); ++Y)
                        for (int X = 0; X < Tile->GetWidth(); ++X)
                            Faces.push_back(Tile->GetCanvas()->GetPixel(X, Y));
                } else {
                    Faces = {Gradient ? Group->GetStartColor() : Group->GetColor(),
                             Gradient ? Group->GetEndColor() : Group->GetColor()};
                }
                for (TColor Face : Faces) {
                    if ((Face & clSystemColor) == clSystemColor) continue;
                    ++Checked;
                    EXPECT_GE(ContrastRatio(Bar->GetFont()->GetColor(), Face), 4.5)
                        << Group->GetCaption() << " on " << std::hex << Face;
                }
            }
        EXPECT_EQ(Checked, 8 + 24 * 24);
    }
    Screen->SetColorScheme(csClassic);
    Screen->SetFollowDesktopColorScheme(true);
}
