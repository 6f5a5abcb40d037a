// The gallery's forms on the headless screen: their layout follows the
// window's size down to a least size, the captions above the samples follow
// the controls, and the colour grids' marks keep clear of their squares'
// frames.
#include "BarGalleryForm.h"
#include "SamplesForm.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace folio;
using namespace gallery;

namespace {

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// Sizes the form as the window host does when the user drags its frame.
void SizeForm(THeadlessHost& Host, TForm& Form, int Width, int Height) {
    Form.SetBounds(Form.GetLeft(), Form.GetTop(), Width, Height);
    Host.RunUntilIdle();
}

// The captions of Bar's groups and items, in order, groups first each.
std::vector<String> Captions(const TFolio& Bar) {
    std::vector<String> All;
    const TFolioGroups* Groups = Bar.GetGroups();
    for (int G = 0; G < Groups->GetCount(); ++G) {
        const TFolioGroup* Group = Groups->GetGroup(G);
        All.push_back(Group->GetCaption());
        for (int I = 0; I < Group->GetItems()->GetCount(); ++I)
            All.push_back(Group->GetItems()->GetItem(I)->GetCaption());
    }
    return All;
}

// Presses F2, types "!" at the end of what its editor opened on and
// accepts; answers the one caption of Bar that changed ("" for none, or
// several).
String RenamedByF2(THeadlessHost& Host, const TFolio& Bar) {
    const std::vector<String> Before = Captions(Bar);
    Host.Key(VK_F2);
    Host.Key(VK_END);
    Host.Type("!");
    Host.Key(VK_RETURN);
    const std::vector<String> After = Captions(Bar);
    String Changed;
    for (size_t I = 0; I < Before.size() && I < After.size(); ++I)
        if (Before[I] != After[I]) {
            if (!Changed.empty()) return "";
            Changed = Before[I];
        }
    return Changed;
}

} // namespace

TEST(BarGalleryLayout, BarsFillTheWindowAndStopAtTheLeastSize) {
    THeadlessHost Host(1280, 1024);
    TGalleryForm Gallery;
    Gallery.SetAnimation(asNone);
    Gallery.Form.Show();
    Gallery.OpenLongGroup();
    Host.RunUntilIdle();
    TForm& Form = Gallery.Form;
    const int Width = Form.GetWidth(), Height = Form.GetHeight();
    const int BarHeight = Gallery.Vertical->GetHeight();
    const int StripWidth = Gallery.Horizontal->GetWidth();
    const int LeastWidth = Form.GetConstraints()->GetMinWidth();
    const int LeastHeight = Form.GetConstraints()->GetMinHeight();
    ASSERT_GT(LeastWidth, 0);
    ASSERT_GT(LeastHeight, 0);

    struct TCase {
        const char* Name;
        int Width, Height;
    };
    const TCase Cases[] = {{"grown", Width + 200, Height + 150},
                           {"shrunk", Width - 60, Height - 80},
                           {"far too small", 200, 150}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        SizeForm(Host, Form, C.Width, C.Height);
        const int W = std::max(C.Width, LeastWidth), H = std::max(C.Height, LeastHeight);
        EXPECT_EQ(Form.GetWidth(), W);
        EXPECT_EQ(Form.GetHeight(), H);
        // The vertical bar takes all the height gained or lost, the
        // horizontal one all the width.
        EXPECT_EQ(Gallery.Vertical->GetHeight(), BarHeight + H - Height);
        EXPECT_EQ(Gallery.Horizontal->GetWidth(), StripWidth + W - Width);
        // Every caption shows, and the open groups a whole item at least.
        for (TFolio* Bar : {Gallery.Vertical, Gallery.Horizontal}) {
            const TFolioGroups* Groups = Bar->GetGroups();
            const TRect Last = Groups->GetGroup(Groups->GetCount() - 1)->GetCaptionRect();
            EXPECT_LE(Bar->IsVertical() ? Last.Bottom : Last.Right,
                      Bar->IsVertical() ? Bar->GetClientHeight() : Bar->GetClientWidth());
            EXPECT_GE(Bar->GetVisibleGroupObject()->GetVisibleItems(), 1);
        }
    }
}

// Where a control's far corner lies in its form's client area.
TPoint FarCorner(const TForm& Form, const TControl& Control) {
    return Form.ScreenToClient(
        Control.ClientToScreen(Point(Control.GetClientWidth(), Control.GetClientHeight())));
}

TEST(SamplesGalleryLayout, CalendarTakesTheRoomAndNothingIsCutOff) {
    THeadlessHost Host(1280, 1024);
    TSamplesForm Form(nullptr);
    Form.Show();
    Host.RunUntilIdle();
    const int Width = Form.GetWidth(), Height = Form.GetHeight();
    const int CalendarWidth = Form.Calendar->GetWidth();
    const int CalendarHeight = Form.Calendar->GetHeight();
    const int LeastWidth = Form.GetConstraints()->GetMinWidth();
    const int LeastHeight = Form.GetConstraints()->GetMinHeight();
    ASSERT_GT(LeastWidth, 0);
    ASSERT_GT(LeastHeight, 0);
    for (const TSize Size : {TSize{Width + 240, Height + 160}, TSize{100, 100}}) {
        SCOPED_TRACE(std::to_string(Size.cx) + " x " + std::to_string(Size.cy));
        SizeForm(Host, Form, Size.cx, Size.cy);
        const int W = std::max(Size.cx, LeastWidth), H = std::max(Size.cy, LeastHeight);
        ASSERT_EQ(Form.GetWidth(), W);
        ASSERT_EQ(Form.GetHeight(), H);
        EXPECT_EQ(Form.Calendar->GetWidth(), CalendarWidth + W - Width);
        EXPECT_EQ(Form.Calendar->GetHeight(), CalendarHeight + H - Height);
        // The graphs share the width.
        EXPECT_LE(std::abs(Form.Graphs[0]->GetWidth() - Form.Graphs[1]->GetWidth()), 1);
        for (const TControl* C : {static_cast<const TControl*>(Form.Calendar),
                                  static_cast<const TControl*>(Form.ColorGrid),
                                  static_cast<const TControl*>(Form.WideGrid),
                                  static_cast<const TControl*>(Form.Gauges[4])}) {
            const TPoint Corner = FarCorner(Form, *C);
            EXPECT_LE(Corner.X, Form.GetClientWidth());
            EXPECT_LE(Corner.Y, Form.GetClientHeight());
        }
    }
}

TEST(SamplesGalleryCaptions, FollowTheCalendarAndTheGridsThroughInput) {
    THeadlessHost Host(1280, 1024);
    TSamplesForm Form(nullptr);
    Form.Show();
    Host.RunUntilIdle();
    EXPECT_EQ(Form.CalendarCaption->GetCaption(), "Calendar: 29 February 2024");
    EXPECT_EQ(Form.ColorGridCaption->GetCaption(), "Colour grid: FG 12, BG 11");

    // A click on the 15th, then Page Down to the next month.
    TCCalendar* Calendar = Form.Calendar;
    TRect Fifteenth;
    for (int Row = 1; Row < 7; ++Row)
        for (int Col = 0; Col < 7; ++Col)
            if (Calendar->GetCellText(Col, Row) == "15") Fifteenth = Calendar->CellRect(Col, Row);
    ASSERT_FALSE(Fifteenth.IsEmpty());
    Host.Click(Calendar->ClientToScreen(Centre(Fifteenth)).X,
               Calendar->ClientToScreen(Centre(Fifteenth)).Y);
    EXPECT_EQ(Form.CalendarCaption->GetCaption(), "Calendar: 15 February 2024");
    Host.Key(VK_NEXT);
    EXPECT_EQ(Form.CalendarCaption->GetCaption(), "Calendar: 15 March 2024");

    // The left button picks the foreground, the right one the background.
    TCColorGrid* Grid = Form.ColorGrid;
    const TPoint Third = Grid->ClientToScreen(Centre(Grid->SquareRect(3)));
    const TPoint Fifth = Grid->ClientToScreen(Centre(Grid->SquareRect(5)));
    Host.Click(Third.X, Third.Y);
    EXPECT_EQ(Form.ColorGridCaption->GetCaption(), "Colour grid: FG 3, BG 11");
    Host.Run(1000);
    Host.Click(Fifth.X, Fifth.Y, mbRight);
    EXPECT_EQ(Form.ColorGridCaption->GetCaption(), "Colour grid: FG 3, BG 5");
    const TPoint Wide = Form.WideGrid->ClientToScreen(Centre(Form.WideGrid->SquareRect(9)));
    Host.Run(1000);
    Host.Click(Wide.X, Wide.Y);
    EXPECT_EQ(Form.WideGridCaption->GetCaption(), "Colour grid 8 x 2: FG 9, BG 4");
}

TEST(SamplesGalleryGrids, MarksKeepClearOfTheSquaresFrames) {
    THeadlessHost Host(1280, 1024);
    TSamplesForm Form(nullptr);
    Form.Show();
    Host.RunUntilIdle();
    // The marks are centred in the square; a raised frame takes its outer
    // three pixels, and one more keeps the text off it.
    constexpr int Clear = 2 * (3 + 1);
    TBitmap Measure(8, 8);
    for (TCColorGrid* Grid : {Form.ColorGrid, Form.WideGrid}) {
        Measure.GetCanvas()->SetFont(Grid->GetFont());
        for (const char* Mark : {"FG", "BG", "FB"}) {
            SCOPED_TRACE(Mark);
            EXPECT_LE(Measure.GetCanvas()->TextWidth(Mark) + Clear, Grid->GetCellWidth());
            EXPECT_LE(Measure.GetCanvas()->TextHeight(Mark) + Clear, Grid->GetCellHeight());
        }
    }
}

// F2 goes to the bar that has the keyboard and renames what shows its focus
// cue there, wherever the pointer rests; the gallery itself renames under
// the pointer only when no bar has the keyboard.
TEST(BarGalleryF2, RenamesWhatTheFocusCueIsOnWhereverThePointerRests) {
    struct TCase {
        const char* Name;
        bool Horizontal;
        int Steps;           // presses of the bar's forward arrow after Tab
        const char* Renamed; // the caption whose editor opens
    };
    const TCase Cases[] = {
        {"the open group's caption", false, 0, "Mail"},
        {"the third item of the open group", false, 3, "Sent items"},
        {"the caption after the open group", false, 13, "Calendar"},
        {"an item of the horizontal bar", true, 2, "Mail"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        THeadlessHost Host(1280, 1024);
        TGalleryForm Gallery;
        Gallery.SetAnimation(asNone);
        Gallery.Form.Show();
        Host.RunUntilIdle();
        TFolio* Bar = C.Horizontal ? Gallery.Horizontal : Gallery.Vertical;
        // The pointer rests on the form's empty area, which a click gives
        // the keyboard; Tab then walks to the bar.
        Gallery.RestPointer(Host);
        Host.Click();
        for (int Tabs = 0; Tabs < 3 && !Bar->Focused(); ++Tabs) Host.Key(VK_TAB);
        ASSERT_TRUE(Bar->Focused());
        for (int I = 0; I < C.Steps; ++I) Host.Key(C.Horizontal ? VK_RIGHT : VK_DOWN);
        EXPECT_EQ(RenamedByF2(Host, *Bar), C.Renamed);
    }
}

// With the keyboard on the form itself, F2 renames what lies under the
// pointer in the bar it rests on.
TEST(BarGalleryF2, WithNoBarFocusedRenamesUnderThePointer) {
    THeadlessHost Host(1280, 1024);
    TGalleryForm Gallery;
    Gallery.SetAnimation(asNone);
    Gallery.Form.Show();
    Host.RunUntilIdle();
    Gallery.Form.FocusControl(nullptr);
    ASSERT_FALSE(Gallery.Vertical->Focused() || Gallery.Horizontal->Focused());
    ASSERT_TRUE(Gallery.HoverItem(Host, 1));
    EXPECT_EQ(RenamedByF2(Host, *Gallery.Vertical), "Outbox");
}

// The wheel scrolls the bar under the pointer; a turn over the other bar,
// which has nothing to scroll, or over the form's empty area reaches no
// bar, least of all the focused one.
TEST(BarGalleryWheel, ScrollsOnlyTheBarUnderThePointer) {
    THeadlessHost Host(1280, 1024);
    TGalleryForm Gallery;
    Gallery.SetAnimation(asNone);
    Gallery.Form.Show();
    Host.RunUntilIdle();
    TFolio* Vertical = Gallery.Vertical;
    TFolioGroup* Mail = Vertical->GetVisibleGroupObject();
    ASSERT_EQ(Mail->GetCaption(), "Mail");
    Mail->SetStartItem(2);
    Gallery.RestPointer(Host);
    Host.Click();
    for (int Tabs = 0; Tabs < 3 && !Vertical->Focused(); ++Tabs) Host.Key(VK_TAB);
    ASSERT_TRUE(Vertical->Focused());

    const TFolio* Horizontal = Gallery.Horizontal;
    const TRect Strip = Horizontal->GetVisibleGroupObject()->GetClientRect();
    struct TCase {
        const char* Name;
        TPoint At;
        int StartItem; // Mail's first shown item after a turn towards the user
    };
    const TCase Cases[] = {
        {"over the horizontal bar",
         Horizontal->ClientToScreen(Point(Strip.Right - 4, Strip.Top + 4)), 2},
        {"over the form's empty area",
         Gallery.Form.ClientToScreen(
             Point(Gallery.Form.ScalePixels(600), Gallery.Form.ScalePixels(500))),
         2},
        {"over the vertical bar", Vertical->ClientToScreen(Centre(Mail->GetClientRect())), 3},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Mail->SetStartItem(2);
        Host.MoveTo(C.At);
        Host.Wheel(-WHEEL_DELTA);
        EXPECT_EQ(Mail->GetStartItem(), C.StartItem);
        EXPECT_TRUE(Vertical->Focused());
    }
}

// The gallery shows tooltips: an item's own hint, a caption cut short in
// full, and the bar's hint over its background.
TEST(BarGalleryHints, TheBarsShowTheirTooltips) {
    THeadlessHost Host(1280, 1024);
    TGalleryForm Gallery;
    Gallery.SetAnimation(asNone);
    Gallery.Form.Show();
    Host.RunUntilIdle();
    TFolio* Vertical = Gallery.Vertical;
    TFolio* Horizontal = Gallery.Horizontal;
    Vertical->GetVisibleGroupObject()->SetStartItem(0);
    const TFolioGroup* Cut = Horizontal->GetGroups()->GetGroup(1);
    struct TCase {
        const char* Name;
        TPoint At;
        const char* Hint;
    };
    const TCase Cases[] = {
        {"an item with its own hint",
         Vertical->ClientToScreen(
             Centre(Vertical->GetVisibleGroupObject()->GetItems()->GetItem(0)->GetImageRect())),
         "Mail that came in"},
        {"a caption cut short", Horizontal->ClientToScreen(Centre(Cut->GetCaptionRect())),
         "Shortcuts with a caption far too long for the strip"},
        {"the vertical bar's background",
         Vertical->ClientToScreen(
             Point(8, Vertical->GetVisibleGroupObject()->GetClientRect().Top + 4)),
         "Click a caption to open its group; double click or F2 renames"},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Gallery.RestPointer(Host);
        Host.MoveTo(C.At);
        Host.Run(Application->GetHintPause());
        THintWindow* Shown = Application->GetHintManager().ShownWindow();
        ASSERT_NE(Shown, nullptr);
        EXPECT_EQ(Shown->GetCaption(), C.Hint);
    }
}
