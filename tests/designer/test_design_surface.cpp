#include "DesignerFixture.h"

#include "DesignedForm.h"

#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace designer::test {
namespace {

TEST_F(DesignerTest, ADropNamesTheComponentUniquelyMarksItDesignedAndSelectsIt) {
    Run("drop TFolio 13 21\n"
        "drop TFolio 200 20\n"
        "drop TCGauge 300 150\n");
    auto* First = Find<TFolio>("Folio1");
    auto* Second = Find<TFolio>("Folio2");
    auto* Gauge = Find<TCGauge>("CGauge1");
    ASSERT_TRUE(First && Second && Gauge);
    // The grid of 8 pixels catches the press at (13, 21).
    EXPECT_EQ(First->GetLeft(), 16);
    EXPECT_EQ(First->GetTop(), 24);
    EXPECT_TRUE(First->IsDesigning());
    EXPECT_TRUE(Gauge->IsDesigning());
    EXPECT_EQ(First->GetParent(), Designer().GetForm());
    EXPECT_EQ(Designer().GetSelection(), Gauge);
    // The handles sit around the selection, on its parent.
    const TRect B = Gauge->GetBoundsRect();
    const auto& Handles = Designer().GetHandles().Handles();
    EXPECT_TRUE(Handles[0]->GetVisible());
    EXPECT_EQ(Handles[0]->GetParent(), Designer().GetForm());
    EXPECT_EQ(Handles[0]->GetLeft(), B.Left - HandleSize / 2);
    EXPECT_EQ(Handles[4]->GetTop(), B.Bottom - HandleSize / 2);
    // The palette goes back to the arrow after a drop: a press selects.
    EXPECT_EQ(Designer().GetPaletteClass(), nullptr);
    Run("select Folio1");
    EXPECT_EQ(Designer().GetSelection(), First);
}

TEST_F(DesignerTest, TheTitleCarriesTheModifiedMarkUntilSavedAndUndoToTheSavedStateClearsIt) {
    EXPECT_EQ(Window->Window().GetCaption(), "Folio designer: Form1");
    Run("expect-modified no\n"
        "drop TCGauge 40 40\n"
        "expect-modified yes\n");
    EXPECT_EQ(Window->Window().GetCaption(), "Folio designer: Form1 *");
    Run("saveas first.form\n"
        "expect-modified no\n");
    EXPECT_EQ(Window->Window().GetCaption(), "Folio designer: first.form");
    // The save dialog left the designer's window active: a click brings
    // the keys back to the designed form.
    Run("select CGauge1\n"
        "key Right\n"
        "expect-modified yes\n"
        "undo\n"
        "expect-modified no\n");
}

// Mouse drags and the arrow keys, each undone step by step.
TEST_F(DesignerTest, DragsAndArrowKeysMoveAndSizeTheSelectionAndUndoPutsItBack) {
    Run("drop TCGauge 40 48");
    auto Gauge = [this] { return Find<TCGauge>("CGauge1"); };
    const TRect Dropped = Gauge()->GetBoundsRect();
    struct {
        const char* Step;
        TRect Expected;
    } Cases[] = {
        {"drag CGauge1 30 13",
         Bounds(Dropped.Left + 32, Dropped.Top + 16, Dropped.Width(), Dropped.Height())},
        {"key Left",
         Bounds(Dropped.Left + 31, Dropped.Top + 16, Dropped.Width(), Dropped.Height())},
        {"key Down",
         Bounds(Dropped.Left + 31, Dropped.Top + 17, Dropped.Width(), Dropped.Height())},
        {"key shift+Right",
         Bounds(Dropped.Left + 31, Dropped.Top + 17, Dropped.Width() + 1, Dropped.Height())},
        {"key shift+Up",
         Bounds(Dropped.Left + 31, Dropped.Top + 17, Dropped.Width() + 1, Dropped.Height() - 1)},
    };
    std::vector<TRect> Before;
    for (const auto& C : Cases) {
        Before.push_back(Gauge()->GetBoundsRect());
        Run(C.Step);
        EXPECT_EQ(Gauge()->GetBoundsRect(), C.Expected) << C.Step;
    }
    for (size_t I = Before.size(); I-- > 0;) {
        Run("undo");
        ASSERT_NE(Gauge(), nullptr);
        EXPECT_EQ(Gauge()->GetBoundsRect(), Before[I]) << "undoing " << Cases[I].Step;
        // The undone form is still being designed, with the same selection.
        EXPECT_TRUE(Gauge()->IsDesigning());
        EXPECT_EQ(Designer().GetSelection(), Gauge());
    }
}

TEST_F(DesignerTest, AClickThatOnlySelectsDoesNotMoveTheControl) {
    Run("drop TCGauge 40 48");
    const TRect Was = Find<TCGauge>("CGauge1")->GetBoundsRect();
    const bool Steps = Designer().CanUndo();
    Run("drag CGauge1 1 2");
    EXPECT_EQ(Find<TCGauge>("CGauge1")->GetBoundsRect(), Was);
    EXPECT_EQ(Designer().CanUndo(), Steps);
}

TEST_F(DesignerTest, AHandleDragResizesTheSelectionOnTheGrid) {
    Run("drop TPanel 40 40");
    auto* Panel = Find<TPanel>("Panel1");
    const TRect Was = Panel->GetBoundsRect();
    TGrabHandle* BottomRight = Designer().GetHandles().Handles()[4].get();
    const TPoint From = BottomRight->ClientToScreen(Point(3, 3));
    Host.Drag(From, Point(From.X + 21, From.Y + 9), 5);
    Host.RunUntilIdle();
    // The dragged edges land on the grid.
    EXPECT_EQ(Panel->GetBoundsRect(), Rect(Was.Left, Was.Top, Designer().Snap(Was.Right + 21),
                                           Designer().Snap(Was.Bottom + 9)));
    Run("undo");
    EXPECT_EQ(Find<TPanel>("Panel1")->GetBoundsRect(), Was);
}

TEST_F(DesignerTest, DeleteRemovesTheSelectedComponentAndUndoBringsItBackWithItsProperties) {
    Run("drop TCGauge 40 40\n"
        "set Progress 42\n"
        "select CGauge1\n"
        "key Delete\n");
    EXPECT_EQ(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_EQ(Designer().GetSelection(), Designer().GetForm());
    // The form itself is never deleted.
    Run("key Delete");
    ASSERT_NE(Designer().GetForm(), nullptr);
    Run("undo");
    auto* Gauge = Find<TCGauge>("CGauge1");
    ASSERT_NE(Gauge, nullptr);
    EXPECT_EQ(Gauge->GetProgress(), 42);
}

TEST_F(DesignerTest, PressesOnABarCaptionReachTheBarAndOthersSelectIt) {
    Run("drop TFolio 16 16");
    auto* Bar = Find<TFolio>("Folio1");
    Bar->GetGroups()->Add("One");
    Bar->GetGroups()->Add("Two");
    ASSERT_EQ(Bar->GetGroups()->GetCount(), 2);
    Bar->SetAnimationStyle(asNone);
    Run("select Form1");
    EXPECT_EQ(Designer().GetSelection(), Designer().GetForm());
    // The second caption opens its group: the bar took the press.
    const TRect Caption = Bar->GetGroups()->GetGroup(1)->GetCaptionRect();
    const TPoint P =
        Bar->ClientToScreen(Point(Caption.Left + 5, (Caption.Top + Caption.Bottom) / 2));
    Host.Click(P.X, P.Y);
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    // Below the captions the press is the designer's: it selects the bar.
    const TPoint Below = Bar->ClientToScreen(Point(10, Bar->GetClientHeight() - 4));
    Host.Click(Below.X, Below.Y);
    EXPECT_EQ(Designer().GetSelection(), Bar);
}

TEST_F(DesignerTest, SavedFormsReadBackIntoTheSameComponentsInBothEncodings) {
    Run("drop TFolio 16 16");
    Find<TFolio>("Folio1")->GetGroups()->Add("One");
    Run("drop TCGauge 200 40\n"
        "set Progress 70\n"
        "saveas text.form\n"
        "saveas binary.form binary\n");
    const String Designed = SnapshotForm(*Designer().GetForm());
    for (const char* Name : {"text.form", "binary.form"}) {
        TFileStream Saved(File(Name), fmOpenRead);
        EXPECT_EQ(IsBinaryForm(Saved), String(Name) == "binary.form") << Name;
        TDesignedForm Read = ReadDesignedForm(File(Name), nullptr);
        EXPECT_EQ(Read.RootClassName, "TForm1");
        EXPECT_EQ(SnapshotForm(*Read.Form), Designed) << Name;
    }
}

TEST_F(DesignerTest, AnOpenedFormKeepsItsClassNameAndHandlerNamesWhenSavedAgain) {
    const String Text = "object GalleryForm: TGalleryForm\n"
                        "  Left = 320\n"
                        "  Top = 40\n"
                        "  Width = 400\n"
                        "  Height = 300\n"
                        "  object Bar: TFolio\n"
                        "    Left = 8\n"
                        "    Top = 8\n"
                        "    Width = 120\n"
                        "    Height = 200\n"
                        "    OnItemClick = BarItemClick\n"
                        "  end\n"
                        "end\n";
    {
        TFileStream Out(File("gallery.form"), fmCreate);
        Out.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    }
    Run("open gallery.form");
    EXPECT_EQ(Designer().GetRootClassName(), "TGalleryForm");
    auto* Bar = Find<TFolio>("Bar");
    ASSERT_NE(Bar, nullptr);
    EXPECT_TRUE(Bar->IsDesigning());
    EXPECT_EQ(Bar->GetEventHandlerName("OnItemClick"), "BarItemClick");
    Run("select Bar\n"
        "page Events\n"
        "expect OnItemClick BarItemClick\n"
        "set OnGroupClick BarGroupClick\n"
        "save\n");
    TFileStream In(File("gallery.form"), fmOpenRead);
    const TFormObject Saved = ReadFormObject(In);
    EXPECT_EQ(Saved.ClassName, "TGalleryForm");
    ASSERT_EQ(Saved.Children.size(), 1u);
    std::vector<String> Events;
    for (const TFormProperty& P : Saved.Children[0].Properties)
        if (P.Name.rfind("On", 0) == 0) Events.push_back(P.Name + "=" + P.Value.Text);
    std::sort(Events.begin(), Events.end());
    EXPECT_EQ(Events,
              (std::vector<String>{"OnGroupClick=BarGroupClick", "OnItemClick=BarItemClick"}));
}

TEST_F(DesignerTest, AFormThatCannotBeReadLeavesTheDesignedFormAsItWas) {
    Run("drop TCGauge 40 40");
    {
        TFileStream Out(File("broken.form"), fmCreate);
        const String Text = "object F: TForm\n  object X: TNoSuchClass\n  end\nend\n";
        Out.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    }
    EXPECT_THROW(Run("open broken.form"), EDesignScriptError);
    EXPECT_NE(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_TRUE(Designer().GetModified());
}

TEST_F(DesignerTest, ClosingWithUnsavedChangesAsksAndCancelKeepsTheWindow) {
    Run("drop TCGauge 40 40");
    SaveAnswer = mrCancel;
    Window->Window().Close();
    Host.RunUntilIdle();
    EXPECT_TRUE(Window->Window().GetVisible());
    SaveAnswer = mrNo;
    Window->Window().Close();
    Host.RunUntilIdle();
    EXPECT_FALSE(Window->Window().GetVisible());
}

// The question a person answers, in the designer's own dialog: Cancel
// keeps the changes and the window, Yes saves them (a new form through the
// save dialog) and closes.
TEST_F(DesignerTest, ClosingAsksInADialogAndYesSavesBeforeTheWindowCloses) {
    Window->OnAskSave = nullptr;
    Run("drop TCGauge 40 40\n"
        "close\n"
        "dialog-click CancelButton\n");
    EXPECT_TRUE(Window->Window().GetVisible());
    EXPECT_TRUE(Designer().GetModified());
    // A new form has no file: Yes asks for one.
    Run("close\n"
        "dialog-click YesButton\n"
        "dialog-type FileNameEdit " +
        File("closing.form") +
        "\n"
        "dialog-key Enter\n");
    EXPECT_FALSE(Window->Window().GetVisible());
    EXPECT_FALSE(Designer().GetModified());
    TDesignedForm Read = ReadDesignedForm(File("closing.form"), nullptr);
    EXPECT_NE(Read.Form->FindComponent("CGauge1"), nullptr);
}

TEST_F(DesignerTest, CancellingTheSaveDialogKeepsTheWindowOpenAndTheChanges) {
    Window->OnAskSave = nullptr;
    Run("drop TCGauge 40 40\n"
        "close\n"
        "dialog-click YesButton\n"
        "dialog-key Escape\n");
    EXPECT_TRUE(Window->Window().GetVisible());
    EXPECT_TRUE(Designer().GetModified());
    EXPECT_NE(Find<TCGauge>("CGauge1"), nullptr);
}

// New, Open and unloading the package would drop the form: each asks first.
TEST_F(DesignerTest, NewAndOpenAskBeforeDroppingUnsavedChanges) {
    Run("drop TCGauge 40 40\n"
        "saveas kept.form\n"
        "select CGauge1\n"
        "key Right\n");
    const TRect Moved = Find<TCGauge>("CGauge1")->GetBoundsRect();
    SaveAnswer = mrCancel;
    Run("new");
    ASSERT_NE(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_TRUE(Designer().GetModified());
    EXPECT_THROW(Run("open kept.form"), EDesignScriptError);
    ASSERT_NE(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_EQ(Find<TCGauge>("CGauge1")->GetBoundsRect(), Moved);
    // Yes saves the move into the file before the new form comes.
    SaveAnswer = mrYes;
    Run("new");
    EXPECT_EQ(Find<TCGauge>("CGauge1"), nullptr);
    Run("open kept.form");
    ASSERT_NE(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_EQ(Find<TCGauge>("CGauge1")->GetBoundsRect(), Moved);
}

TEST_F(DesignerTest, SaveKeepsTheEncodingTheFormWasOpenedIn) {
    Run("drop TCGauge 40 40\n"
        "saveas kept.form binary\n"
        "new\n"
        "open kept.form\n"
        "select CGauge1\n"
        "key Down\n"
        "save\n");
    TFileStream Saved(File("kept.form"), fmOpenRead);
    EXPECT_TRUE(IsBinaryForm(Saved));
    EXPECT_FALSE(Designer().GetModified());
}

} // namespace
} // namespace designer::test

namespace designer::test {
namespace {

// A control flush with its panel's right and bottom edges: the marks of the
// selection stand half outside the panel, and the panel must not cut them
// off, or the handles there could be neither seen nor grabbed.
TEST_F(DesignerTest, TheMarksOfAControlAtItsContainersEdgeShowWhole) {
    Run("drop TPanel 16 16\n"
        "drop TButton 40 24\n"
        "drop TButton 300 200\n");
    auto* Panel = Find<TPanel>("Panel1");
    auto* Inner = Find<TButton>("Button1");
    ASSERT_EQ(Inner->GetParent(), Panel);
    Inner->SetBounds(Panel->GetWidth() - Inner->GetWidth(), Panel->GetHeight() - Inner->GetHeight(),
                     Inner->GetWidth(), Inner->GetHeight());
    const struct {
        const char* Steps;
        TColor Mark; // handles are solid, the marks of several grey
    } Cases[] = {
        {"select Button1\n", clWindowText},
        {"select Button2\nshift-click Button1\n", clGray},
    };
    const TForm* Form = Designer().GetForm();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Steps);
        Run(Case.Steps);
        Host.RunUntilIdle();
        // The inner button's bottom right corner, on the screen; its mark
        // reaches HandleSize / 2 pixels past it, outside the panel.
        const TPoint Corner = Inner->ClientToScreen(Point(Inner->GetWidth(), Inner->GetHeight()));
        for (int D = 0; D < HandleSize / 2; ++D) {
            const TPoint P(Corner.X + D - Form->GetLeft(), Corner.Y + D - Form->GetTop());
            EXPECT_EQ(Host.Pixel(Form, P.X, P.Y), ColorToRGB(Case.Mark)) << "at +" << D;
        }
    }
    // A mark stays with its control when the panel hides it: none shows.
    Panel->SetVisible(false);
    Designer().Select(Inner);
    for (const auto& H : Designer().GetHandles().Handles()) EXPECT_FALSE(H->GetVisible());
}

} // namespace
} // namespace designer::test
