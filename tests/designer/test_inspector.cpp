#include "DesignerFixture.h"

#include "framework/core/FormFiles.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/ColorSpace.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/input/VirtualKeys.h"

#include <fstream>
#include <iterator>

namespace designer::test {
namespace {

TEST_F(DesignerTest, TheInspectorListsPropertiesAndEventsOfTheSelection) {
    Run("drop TFolio 16 16");
    TObjectInspector& I = Window->Inspector();
    EXPECT_GE(I.FindRow("Alignment"), 0);
    EXPECT_GE(I.FindRow("GroupsFont"), 0);
    EXPECT_LT(I.FindRow("OnItemClick"), 0);
    EXPECT_EQ(I.RowValue(I.FindRow("Name")), "Folio1");
    Run("page Events");
    EXPECT_GE(I.FindRow("OnItemClick"), 0);
    EXPECT_LT(I.FindRow("Alignment"), 0);
    Run("page Properties\n"
        "select Form1\n"
        "expect Name Form1\n");
}

// Each kind of row, edited the way a person edits it.
TEST_F(DesignerTest, ValuesTakenInTheInspectorReachTheObjectAndAreUndoneOneByOne) {
    Run("drop TFolio 16 16");
    auto* Bar = Find<TFolio>("Folio1");
    struct {
        const char* Path;
        const char* Value;
        std::function<bool()> Holds;
    } Cases[] = {
        {"Alignment", "baHorizontal", [&] { return Bar->GetAlignment() == baHorizontal; }},
        {"GroupsFont.Size", "14", [&] { return Bar->GetGroupsFont()->GetSize() == 14; }},
        {"GroupsFont.Style.fsBold", "True",
         [&] { return Bar->GetGroupsFont()->GetStyle().Contains(fsBold); }},
        {"Width", "222", [&] { return Bar->GetWidth() == 222; }},
        {"Color", "clRed", [&] { return Bar->GetColor() == clRed; }},
    };
    for (const auto& C : Cases) {
        Run(String("set ") + C.Path + " " + C.Value);
        EXPECT_TRUE(C.Holds()) << C.Path;
        Run(String("expect ") + C.Path + " " + C.Value);
    }
    for (size_t K = std::size(Cases); K-- > 0;) {
        Run("undo");
        Bar = Find<TFolio>("Folio1");
        ASSERT_NE(Bar, nullptr);
        EXPECT_FALSE(Cases[K].Holds()) << "undoing " << Cases[K].Path;
        for (size_t Earlier = 0; Earlier < K; ++Earlier)
            EXPECT_TRUE(Cases[Earlier].Holds())
                << Cases[Earlier].Path << " after undoing " << Cases[K].Path;
    }
}

// A limit given to the form resizes it: the size rows show the new size, and
// the limit goes into the saved form.
TEST_F(DesignerTest, ASizeLimitShowsItsEffectOnTheOtherRowsAndIsSaved) {
    Run("select Form1\n"
        "set Width 640\n"
        "set Constraints.MaxWidth 500\n"
        "expect Width 500\n"
        "expect ClientWidth 500\n");
    Run("saveas limits.form");
    std::ifstream In(File("limits.form"));
    const String Saved((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_NE(Saved.find("MaxWidth = 500"), String::npos) << Saved;
}

// The bar has more rows than fit: a scroll bar says so, scrolls them, and
// follows the wheel; rows and their value box end left of it.
TEST_F(DesignerTest, TheInspectorScrollsLongListsByItsScrollBar) {
    TObjectInspector& I = Window->Inspector();
    EXPECT_FALSE(I.GetScrollBar()->GetVisible()) << "the empty form's rows fit";
    Run("drop TFolio 16 16");
    ASSERT_GT(I.RowCount(), I.VisibleRows());
    TScrollBar* Bar = I.GetScrollBar();
    ASSERT_TRUE(Bar->GetVisible());
    EXPECT_LE(I.RowRect(0).Right, Bar->GetLeft());
    I.SetCurrentRow(0);
    EXPECT_LE(I.GetValueEdit()->GetLeft() + I.GetValueEdit()->GetWidth(), Bar->GetLeft());

    // A click below the thumb pages down; the wheel scrolls back.
    const TPoint Low = Bar->ClientToScreen(Point(Bar->GetWidth() / 2, Bar->GetHeight() - 20));
    Host.Click(Low.X, Low.Y);
    Host.RunUntilIdle();
    EXPECT_GT(I.GetTopRow(), 0);
    EXPECT_EQ(Bar->GetPosition(), I.GetTopRow());
    const TPoint Middle = I.ClientToScreen(Point(20, I.RowRect(I.GetTopRow()).Top + 4));
    Host.MoveTo(Middle.X, Middle.Y);
    Host.Wheel(120 * 40);
    Host.RunUntilIdle();
    EXPECT_EQ(I.GetTopRow(), 0);
    EXPECT_EQ(Bar->GetPosition(), 0);
}

TEST_F(DesignerTest, ARefusedValueLeavesTheObjectAndTheUndoStepsAndSaysWhy) {
    Run("drop TCGauge 40 40");
    auto* Gauge = Find<TCGauge>("CGauge1");
    const int Width = Gauge->GetWidth();
    EXPECT_THROW(Run("set Width 12a"), EDesignScriptError);
    EXPECT_EQ(Gauge->GetWidth(), Width);
    EXPECT_FALSE(Window->Inspector().GetMessage().empty());
    EXPECT_THROW(Run("set Name 1st"), EDesignScriptError);
    EXPECT_EQ(Gauge->GetName(), "CGauge1");
    // The one undo step is the drop.
    Run("undo");
    EXPECT_EQ(Find<TCGauge>("CGauge1"), nullptr);
    EXPECT_FALSE(Designer().CanUndo());
}

// A colour row has both buttons: the arrow drops the named colours (the
// list scrolls to those far down it) and the ellipsis opens the colour
// dialog preset to the colour.
TEST_F(DesignerTest, AColourIsChosenFromItsListOrInTheColourDialog) {
    Run("drop TCGauge 40 40");
    auto* Gauge = Find<TCGauge>("CGauge1");
    TObjectInspector& I = Window->Inspector();
    const int Row = I.FindRow("BackColor");
    ASSERT_GE(Row, 0);
    EXPECT_FALSE(I.ArrowRect(Row).IsEmpty());
    EXPECT_FALSE(I.EllipsisRect(Row).IsEmpty());
    EXPECT_LE(I.ArrowRect(Row).Right, I.EllipsisRect(Row).Left);

    Run("choose BackColor clInfoBk\n"
        "expect BackColor clInfoBk\n");
    EXPECT_EQ(Gauge->GetBackColor(), clInfoBk);
    // The list was longer than it shows: the wheel brought the colour up.
    TValueList* List = I.GetValueList();
    EXPECT_GT(List->GetTopIndex(), 0);
    EXPECT_TRUE(List->GetScrollBar()->GetVisible());
    EXPECT_FALSE(List->GetVisible());

    Run("edit ForeColor\n"
        "dialog-type Red 10\n"
        "dialog-type Green 20\n"
        "dialog-type Blue 30\n"
        "dialog-click OKButton\n"
        "expect ForeColor $001E140A\n");
    EXPECT_EQ(Gauge->GetForeColor(), RGB(10, 20, 30));
    // Cancel, and OK on the colour as shown, change nothing.
    const size_t Steps = UndoSteps();
    Run("edit ForeColor\n"
        "dialog-type Red 99\n"
        "dialog-click CancelButton\n"
        "edit Color\n"
        "dialog-click OKButton\n");
    EXPECT_EQ(Gauge->GetForeColor(), RGB(10, 20, 30));
    EXPECT_EQ(Gauge->GetColor(), clBtnFace) << "a system colour stays one";
    EXPECT_EQ(UndoSteps(), Steps);
    Run("undo\n"
        "expect ForeColor clBlack\n"
        "undo\n"
        "expect BackColor clWhite\n");
}

TEST_F(DesignerTest, ADroppedListShowsAboveARowNearTheInspectorsEnd) {
    Run("drop TCGauge 40 40");
    TObjectInspector& I = Window->Inspector();
    const int Row = I.FindRow("BackColor");
    I.ScrollIntoView(Row);
    I.SetCurrentRow(Row);
    I.DropDown(Row);
    TValueList* List = I.GetValueList();
    ASSERT_TRUE(List->GetVisible());
    EXPECT_LE(List->GetTop() + List->GetHeight(), I.GetClientHeight());
    const bool Below = List->GetTop() >= I.RowRect(Row).Bottom;
    const bool Above = List->GetTop() + List->GetHeight() <= I.RowRect(Row).Top;
    EXPECT_TRUE(Below || Above);
    // The current value is highlighted and in view.
    EXPECT_EQ(List->GetItems()[static_cast<size_t>(List->GetItemIndex())], "clWhite");
    EXPECT_GE(List->GetItemIndex(), List->GetTopIndex());
    EXPECT_LT(List->GetItemIndex(), List->GetTopIndex() + List->VisibleLines());
}

// As a person edits a value: one click on it, the new text, Enter. The row
// after the current one keeps the window's colour.
// Long names ("OnConstrainedResize") need a wider name column: the line
// between the columns is dragged, the pointer says so, the value box moves
// along keeping what was typed, and some of either column stays.
TEST_F(DesignerTest, TheLineBetweenNamesAndValuesIsDragged) {
    Run("drop TFolio 16 16");
    TObjectInspector& I = Window->Inspector();
    const int Row = I.FindRow("Width");
    I.SetCurrentRow(Row);
    I.GetValueEdit()->SetText("123");
    const int Line = I.ValueRect(Row).Left - 1;
    const int Y = I.RowRect(Row).Top + 5;
    Host.MoveTo(I.ClientToScreen(Point(Line, Y)));
    Host.RunUntilIdle();
    EXPECT_EQ(Host.GetCursor(), crHSplit);
    Host.Drag(I.ClientToScreen(Point(Line, Y)), I.ClientToScreen(Point(Line + 40, Y)));
    Host.RunUntilIdle();
    EXPECT_EQ(I.NameRect(Row).Right, Line + 40);
    EXPECT_EQ(I.ValueRect(Row).Left, Line + 41);
    EXPECT_GT(I.GetValueEdit()->GetLeft(), Line + 40);
    EXPECT_EQ(I.GetValueEdit()->GetText(), "123");
    EXPECT_EQ(I.GetCurrentRow(), Row) << "a drag of the line selects no row";

    Host.Drag(I.ClientToScreen(Point(Line + 40, Y)), I.ClientToScreen(Point(I.GetWidth() + 50, Y)));
    Host.RunUntilIdle();
    EXPECT_LE(I.NameRect(Row).Right, I.RowRect(Row).Right - 30);
    Host.MoveTo(I.ClientToScreen(Point(5, Y)));
    Host.RunUntilIdle();
    EXPECT_NE(Host.GetCursor(), crHSplit);
}

TEST_F(DesignerTest, OneClickOnAValueTakesTheTypedTextAndTheRowsBelowStayPlain) {
    Run("drop TFolio 16 16");
    TObjectInspector& I = Window->Inspector();
    auto ClickValue = [&](const String& Path) {
        const TRect R = I.ValueRect(I.FindRow(Path));
        const TPoint P = I.ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
    };
    ClickValue("Width");
    Host.Type("150");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Find<TFolio>("Folio1")->GetWidth(), 150);
    ClickValue("Height");
    Host.RunUntilIdle();
    const int Below = I.FindRow("Height") + 1;
    const TRect Value = I.ValueRect(Below);
    const TPoint Probe = I.ClientToScreen(Point(Value.Right - 4, Value.Top + 3));
    TBitmap Screen;
    Host.ScreenPicture(Rect(Probe.X, Probe.Y, Probe.X + 1, Probe.Y + 1), Screen);
    EXPECT_EQ(Screen.GetCanvas()->GetPixel(0, 0), ColorToRGB(clWindow));
}

// The colours a person sees: the current row's name on the highlight even
// when it opens into sub-properties, and in a dropped list only the
// current value highlighted.
TEST_F(DesignerTest, TheCurrentRowAndTheCurrentValueAloneAreHighlighted) {
    Run("drop TFolio 16 16");
    TObjectInspector& I = Window->Inspector();
    auto ScreenPixel = [&](const TControl* Control, TPoint P) {
        const TPoint S = Control->ClientToScreen(P);
        TBitmap Picture;
        Host.ScreenPicture(Rect(S.X, S.Y, S.X + 1, S.Y + 1), Picture);
        return Picture.GetCanvas()->GetPixel(0, 0);
    };
    const int Font = I.FindRow("GroupsFont");
    I.SetCurrentRow(Font);
    const TRect Name = I.NameRect(Font);
    EXPECT_EQ(ScreenPixel(&I, Point(Name.Right - 3, Name.Top + 2)), ColorToRGB(clHighlight));

    const int Row = I.FindRow("Color");
    I.ScrollIntoView(Row);
    I.SetCurrentRow(Row);
    I.DropDown(Row);
    TValueList* List = I.GetValueList();
    ASSERT_TRUE(List->GetVisible());
    Host.RunUntilIdle();
    for (int Line = List->GetTopIndex(); Line < List->GetTopIndex() + List->VisibleLines();
         ++Line) {
        const TRect R = List->ItemRect(Line);
        EXPECT_EQ(ScreenPixel(List, Point(R.Right - 3, R.Top + 2)),
                  ColorToRGB(Line == List->GetItemIndex() ? clHighlight : clWindow))
            << List->GetItems()[static_cast<size_t>(Line)];
    }
}

TEST_F(DesignerTest, AComponentReferenceOffersTheFormsComponentsOfItsClass) {
    Run("drop TFolio 16 16\n"
        "drop TFolio 200 16\n"
        "select Folio1\n");
    TObjectInspector& I = Window->Inspector();
    const int Row = I.FindRow("LargeImages");
    ASSERT_GE(Row, 0);
    std::vector<String> Values;
    I.RowEditor(Row)->GetValues([&Values](const String& V) { Values.push_back(V); });
    // No image lists on the form: none to offer, and the bars are not image lists.
    EXPECT_TRUE(Values.empty());
}

} // namespace
} // namespace designer::test
