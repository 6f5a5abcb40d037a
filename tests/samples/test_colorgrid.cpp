#include "samples/Cgrid.h"

#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "samples/SampleStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace folio;

namespace {

// Opens the protected key handling to the tests.
struct TProbeGrid : TCColorGrid {
    using TCColorGrid::KeyDown;
    using TCColorGrid::TCColorGrid;
    unsigned short Press(unsigned short Key) {
        KeyDown(Key, {});
        return Key;
    }
};

// A 100 x 100 grid that has had its size message, as a shown one has.
std::unique_ptr<TProbeGrid> MakeGrid() {
    auto Grid = std::make_unique<TProbeGrid>(nullptr);
    Grid->Perform(WM_SIZE, 0, MAKELPARAM(100, 100));
    return Grid;
}

void Press(TCColorGrid& Grid, unsigned Down, unsigned Up, int X, int Y) {
    Grid.Perform(Down, 0, MAKELPARAM(X, Y));
    Grid.Perform(Up, 0, MAKELPARAM(X, Y));
}

// The centre of a square of a 100 x 100 grid in 4 x 4 order.
int CentreX(int Square) {
    return (Square % 4) * 25 + 12;
}
int CentreY(int Square) {
    return (Square / 4) * 25 + 12;
}

TColor Rgb(int R, int G, int B) {
    return R | (G << 8) | (B << 16);
}

bool Near(TColor A, TColor B) {
    for (int Shift = 0; Shift < 24; Shift += 8)
        if (std::abs(((A >> Shift) & 0xFF) - ((B >> Shift) & 0xFF)) > 8) return false;
    return true;
}

} // namespace

TEST(ColorGrid, NewGridDefaults) {
    TCColorGrid Grid(nullptr);
    EXPECT_EQ(Grid.GetGridOrdering(), go4x4);
    EXPECT_EQ(Grid.GetColumns(), 4);
    EXPECT_EQ(Grid.GetRows(), 4);
    EXPECT_EQ(Grid.GetWidth(), 100);
    EXPECT_EQ(Grid.GetHeight(), 100);
    EXPECT_EQ(Grid.GetForegroundIndex(), 0);
    EXPECT_EQ(Grid.GetBackgroundIndex(), 0);
    EXPECT_TRUE(Grid.GetForegroundEnabled());
    EXPECT_TRUE(Grid.GetBackgroundEnabled());
    EXPECT_EQ(Grid.GetSelection(), 0);
    EXPECT_EQ(Grid.GetColor(), clBtnFace);
    EXPECT_FALSE(Grid.GetTabStop());
    // Before any size message the square size is not known yet.
    EXPECT_EQ(Grid.GetCellWidth(), 0);
}

TEST(ColorGrid, SquareColoursSkipThePalettesSpecialShades) {
    TCColorGrid Grid(nullptr);
    EXPECT_EQ(Grid.SquareColor(0), Rgb(0, 0, 0));
    EXPECT_EQ(Grid.SquareColor(1), Rgb(128, 0, 0));
    EXPECT_EQ(Grid.SquareColor(7), Rgb(192, 192, 192));
    EXPECT_EQ(Grid.SquareColor(8), Rgb(128, 128, 128));
    EXPECT_EQ(Grid.SquareColor(9), Rgb(255, 0, 0));
    EXPECT_EQ(Grid.SquareColor(15), Rgb(255, 255, 255));
    Grid.SetForegroundIndex(9);
    Grid.SetBackgroundIndex(4);
    EXPECT_EQ(Grid.GetForegroundColor(), Rgb(255, 0, 0));
    EXPECT_EQ(Grid.GetBackgroundColor(), Rgb(0, 0, 128));
}

TEST(ColorGrid, MarkColoursContrastWithTheirSquare) {
    TCColorGrid Grid(nullptr);
    EXPECT_EQ(Grid.MarkColor(0), Rgb(255, 255, 255)); // dark square, white mark
    EXPECT_EQ(Grid.MarkColor(15), Rgb(0, 0, 0));      // light square, black mark
    EXPECT_EQ(Grid.MarkColor(1), Rgb(0, 255, 255));   // (128, 0, 0)
    EXPECT_EQ(Grid.MarkColor(7), Rgb(0, 0, 0));       // (192, 192, 192)
    EXPECT_EQ(Grid.MarkColor(12), Rgb(255, 255, 0));  // (0, 0, 255)
}

TEST(ColorGrid, IndexesOutsideTheGridReadNoPaletteEntry) {
    TCColorGrid Grid(nullptr);
    Grid.SetForegroundIndex(40);
    Grid.SetBackgroundIndex(-7);
    EXPECT_EQ(Grid.GetForegroundIndex(), 40);
    EXPECT_EQ(Grid.GetForegroundColor(), clNone);
    EXPECT_EQ(Grid.GetBackgroundColor(), clNone);
    EXPECT_EQ(Grid.SquareColor(16), clNone);
    EXPECT_EQ(Grid.MarkColor(-1), clNone);
}

TEST(ColorGrid, ShrinksToWholeSquares) {
    auto Grid = MakeGrid();
    EXPECT_EQ(Grid->GetCellWidth(), 25);
    Grid->SetBounds(0, 0, 103, 50);
    Grid->SetGridOrdering(go8x2);
    EXPECT_EQ(Grid->GetWidth(), 96);
    EXPECT_EQ(Grid->GetHeight(), 50);
    EXPECT_EQ(Grid->GetCellWidth(), 12);
    EXPECT_EQ(Grid->GetCellHeight(), 25);
    EXPECT_EQ(Grid->SquareRect(9), Bounds(12, 25, 12, 25));

    // A size message does the same.
    Grid->SetBounds(0, 0, 103, 50);
    Grid->Perform(WM_SIZE, 0, MAKELPARAM(103, 50));
    EXPECT_EQ(Grid->GetWidth(), 96);
    EXPECT_EQ(Grid->GetCellWidth(), 12);

    Grid->SetGridOrdering(go1x16);
    EXPECT_EQ(Grid->GetColumns(), 1);
    EXPECT_EQ(Grid->GetRows(), 16);
    EXPECT_EQ(Grid->GetHeight(), 48);
    EXPECT_EQ(Grid->GetCellHeight(), 3);
}

TEST(ColorGrid, PositionsAreClampedToTheEdgeSquares) {
    auto Grid = MakeGrid();
    EXPECT_EQ(Grid->SquareFromPos(0, 0), 0);
    EXPECT_EQ(Grid->SquareFromPos(99, 99), 15);
    EXPECT_EQ(Grid->SquareFromPos(60, 30), 6);
    EXPECT_EQ(Grid->SquareFromPos(-50, 30), 4);
    EXPECT_EQ(Grid->SquareFromPos(500, -3), 3);
    EXPECT_EQ(Grid->SquareFromPos(500, 500), 15);
}

TEST(ColorGrid, MouseBeforeTheFirstSizeMessageDoesNotDivideByZero) {
    TCColorGrid Grid(nullptr);
    ASSERT_EQ(Grid.GetCellWidth(), 0);
    EXPECT_EQ(Grid.SquareFromPos(60, 60), 10);
    Press(Grid, WM_LBUTTONDOWN, WM_LBUTTONUP, 60, 60);
    EXPECT_EQ(Grid.GetForegroundIndex(), 10);
    // Even a grid squeezed below one pixel per square answers a square.
    Grid.SetBounds(0, 0, 3, 0);
    EXPECT_EQ(Grid.SquareFromPos(2, 5), 2);
}

TEST(ColorGrid, KeyWalksInFourByFour) {
    auto Grid = MakeGrid();
    struct TCase {
        int From;
        unsigned short Key;
        int To;
    };
    const TCase Cases[] = {
        {0, VK_UP, 15},    {2, VK_UP, 13},   {13, VK_DOWN, 2}, {15, VK_DOWN, 0},
        {15, VK_RIGHT, 0}, {0, VK_LEFT, 15}, {5, VK_SPACE, 6}, {6, VK_DOWN, 10},
        {10, VK_UP, 6},    {9, VK_HOME, 0},  {9, VK_END, 15},
    };
    for (const TCase& C : Cases) {
        Grid->SetSelection(C.From);
        EXPECT_EQ(Grid->Press(C.Key), 0) << C.From << " key " << C.Key;
        EXPECT_EQ(Grid->GetSelection(), C.To) << C.From << " key " << C.Key;
    }
}

TEST(ColorGrid, KeyWalksAreReversibleInEveryOrdering) {
    auto Grid = MakeGrid();
    for (TGridOrdering O : {go16x1, go8x2, go4x4, go2x8, go1x16}) {
        Grid->SetGridOrdering(O);
        for (int S = 0; S < 16; ++S) {
            Grid->SetSelection(S);
            Grid->Press(VK_DOWN);
            const int Below = Grid->GetSelection();
            EXPECT_NE(Below, S);
            Grid->Press(VK_UP);
            EXPECT_EQ(Grid->GetSelection(), S) << "ordering " << static_cast<int>(O);
            Grid->Press(VK_RIGHT);
            Grid->Press(VK_LEFT);
            EXPECT_EQ(Grid->GetSelection(), S);
        }
    }
    // Down walks column by column: in 8 x 2, off square 8 onto square 1.
    Grid->SetGridOrdering(go8x2);
    Grid->SetSelection(8);
    Grid->Press(VK_DOWN);
    EXPECT_EQ(Grid->GetSelection(), 1);
    Grid->SetGridOrdering(go16x1);
    Grid->SetSelection(4);
    Grid->Press(VK_DOWN);
    EXPECT_EQ(Grid->GetSelection(), 5);
}

TEST(ColorGrid, OtherKeysAreLeftAndSeenOnce) {
    auto Grid = MakeGrid();
    int Seen = 0;
    Grid->OnKeyDown = [&](TObject*, unsigned short&, TShiftState) { ++Seen; };
    EXPECT_EQ(Grid->Press(VK_NEXT), VK_NEXT);
    EXPECT_EQ(Grid->Press(VK_PRIOR), VK_PRIOR);
    EXPECT_EQ(Grid->Press(VK_LEFT), 0);
    EXPECT_EQ(Seen, 3);
    EXPECT_EQ(Grid->GetSelection(), 15);
}

TEST(ColorGrid, LettersPickAtTheCursorAndClick) {
    auto Grid = MakeGrid();
    int Clicks = 0, Changes = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Grid->OnChange = [&](TObject*) { ++Changes; };
    Grid->SetSelection(6);
    EXPECT_EQ(Grid->Press('F'), 0);
    Grid->SetSelection(11);
    EXPECT_EQ(Grid->Press('B'), 0);
    EXPECT_EQ(Grid->GetForegroundIndex(), 6);
    EXPECT_EQ(Grid->GetBackgroundIndex(), 11);
    EXPECT_EQ(Grid->GetSelection(), 11);
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(Changes, 2);
}

TEST(ColorGrid, ButtonsPickTheirSideAndDraggingFollows) {
    auto Grid = MakeGrid();
    int Changes = 0;
    Grid->OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Grid.get());
        ++Changes;
    };
    Press(*Grid, WM_LBUTTONDOWN, WM_LBUTTONUP, CentreX(5), CentreY(5));
    EXPECT_EQ(Grid->GetForegroundIndex(), 5);
    EXPECT_EQ(Grid->GetSelection(), 5);
    Press(*Grid, WM_RBUTTONDOWN, WM_RBUTTONUP, CentreX(10), CentreY(10));
    EXPECT_EQ(Grid->GetBackgroundIndex(), 10);
    EXPECT_EQ(Grid->GetForegroundIndex(), 5);
    EXPECT_EQ(Changes, 2);

    // Picking the colour a side already has changes nothing.
    Press(*Grid, WM_LBUTTONDOWN, WM_LBUTTONUP, CentreX(5), CentreY(5));
    EXPECT_EQ(Changes, 2);

    // A held button drags its colour, clamped to the edge squares outside.
    Grid->Perform(WM_MBUTTONDOWN, 0, MAKELPARAM(CentreX(0), CentreY(0)));
    Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(CentreX(2), CentreY(2)));
    EXPECT_EQ(Grid->GetBackgroundIndex(), 2);
    Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(300, -40));
    EXPECT_EQ(Grid->GetBackgroundIndex(), 3);
    EXPECT_EQ(Grid->GetSelection(), 3);
    Grid->Perform(WM_MBUTTONUP, 0, MAKELPARAM(300, -40));
    Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(CentreX(8), CentreY(8)));
    EXPECT_EQ(Grid->GetBackgroundIndex(), 3);
    EXPECT_EQ(Grid->GetForegroundIndex(), 5);
}

TEST(ColorGrid, ClickEnablingPicksADisabledSideOnce) {
    auto Grid = MakeGrid();
    int Changes = 0;
    Grid->OnChange = [&](TObject*) { ++Changes; };
    Grid->EnableForeground(false);
    EXPECT_EQ(Changes, 0);

    // Without click-enabling the press only moves the cursor.
    Grid->Perform(WM_LBUTTONDOWN, 0, MAKELPARAM(CentreX(6), CentreY(6)));
    EXPECT_EQ(Grid->GetSelection(), 6);
    EXPECT_EQ(Grid->GetForegroundIndex(), 0);
    EXPECT_FALSE(Grid->GetForegroundEnabled());
    // Dragging never enables a side, click-enabling or not.
    Grid->SetClickEnablesColor(true);
    Grid->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(CentreX(7), CentreY(7)));
    Grid->Perform(WM_LBUTTONUP, 0, MAKELPARAM(CentreX(7), CentreY(7)));
    EXPECT_EQ(Grid->GetSelection(), 7);
    EXPECT_FALSE(Grid->GetForegroundEnabled());
    EXPECT_EQ(Changes, 0);

    Press(*Grid, WM_LBUTTONDOWN, WM_LBUTTONUP, CentreX(9), CentreY(9));
    EXPECT_TRUE(Grid->GetForegroundEnabled());
    EXPECT_EQ(Grid->GetForegroundIndex(), 9);
    EXPECT_EQ(Changes, 1);

    // Enabling on the very square the disabled side held still reports it.
    Grid->EnableBackground(false);
    Grid->SetSelection(0);
    Grid->Press('B');
    EXPECT_TRUE(Grid->GetBackgroundEnabled());
    EXPECT_EQ(Grid->GetBackgroundIndex(), 0);
    EXPECT_EQ(Changes, 2);
}

TEST(ColorGrid, DisabledSideKeepsItsIndex) {
    TCColorGrid Grid(nullptr);
    Grid.EnableBackground(false);
    Grid.SetBackgroundIndex(7);
    EXPECT_EQ(Grid.GetBackgroundIndex(), 0);
    Grid.EnableBackground(true);
    Grid.SetBackgroundIndex(7);
    EXPECT_EQ(Grid.GetBackgroundIndex(), 7);
}

TEST(ColorGrid, AnswersDialogCodeAndPublishesItsProperties) {
    TCColorGrid Grid(nullptr);
    EXPECT_EQ(Grid.Perform(WM_GETDLGCODE), 0x81);

    const TClassInfo& Info = TCColorGrid::StaticClassInfo();
    for (const char* Name : {"ClickEnablesColor", "ForegroundIndex", "BackgroundIndex",
                             "ForegroundEnabled", "BackgroundEnabled", "Selection", "GridOrdering",
                             "TabStop", "Ctl3D", "OnChange", "OnMouseDown"}) {
        const TPropInfo* P = Info.FindProperty(Name);
        ASSERT_NE(P, nullptr) << Name;
        if (P->IsOrdinal()) {
            EXPECT_TRUE(P->HasDefaultValue(Grid)) << Name;
        }
    }
    EXPECT_EQ(Info.FindProperty("Color"), nullptr);
    Cgrid::Register();
    EXPECT_EQ(PalettePageOf(Info), LoadStr(SSamplesPage));
}

namespace {

// A shown 100 x 100 grid at (10, 20) of a borderless form.
struct ColorGridPaint : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TCColorGrid* Grid = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 200, 150);
        Grid = new TCColorGrid(Form.get());
        Grid->SetBounds(10, 20, 100, 100);
        Grid->SetParent(Form.get());
        Form->Show();
        Host.RunUntilIdle();
    }
    void TearDown() override { Form.reset(); }

    // A pixel in the grid's client coordinates.
    TColor At(int X, int Y) const { return Host.Pixel(Form.get(), 10 + X, 20 + Y); }
    // How many pixels inside a square's colour area differ from its colour,
    // and how many of them are Mark (give or take the text's smoothing).
    int Foreign(int Square, TColor Mark, int* Exact = nullptr) const {
        const TRect R = Grid->SquareRect(Square);
        const TColor Own = Grid->SquareColor(Square);
        int Count = 0;
        if (Exact) *Exact = 0;
        for (int Y = R.Top + 3; Y < R.Bottom - 3; ++Y)
            for (int X = R.Left + 3; X < R.Right - 3; ++X) {
                const TColor C = At(X, Y);
                if (C == Own) continue;
                ++Count;
                if (Exact && Near(C, Mark)) ++*Exact;
            }
        return Count;
    }
};

} // namespace

TEST_F(ColorGridPaint, ThreeDimensionalSquares) {
    // Square 5 spans (25, 25) to (50, 50): a face-coloured outline, two
    // shadow lines top and left, two highlight lines bottom and right, and
    // the colour inside.
    const TColor Face = ColorToRGB(clBtnFace);
    const TColor Shadow = ColorToRGB(clBtnShadow);
    const TColor Light = ColorToRGB(clBtnHighlight);
    const TColor Own = Grid->SquareColor(5);
    EXPECT_EQ(At(25, 35), Face);
    EXPECT_EQ(At(35, 49), Face);
    EXPECT_EQ(At(26, 35), Shadow);
    EXPECT_EQ(At(27, 35), Shadow);
    EXPECT_EQ(At(35, 26), Shadow);
    EXPECT_EQ(At(47, 35), Light);
    EXPECT_EQ(At(48, 35), Light);
    EXPECT_EQ(At(35, 48), Light);
    EXPECT_EQ(At(28, 35), Own);
    EXPECT_EQ(At(46, 46), Own);
    EXPECT_EQ(Foreign(5, Own), 0);
}

TEST_F(ColorGridPaint, FlatSquaresAndTheFocusedCursor) {
    Grid->SetCtl3D(false);
    Host.RunUntilIdle();
    const TColor Own = Grid->SquareColor(5);
    EXPECT_EQ(At(25, 35), clBlack);
    EXPECT_EQ(At(49, 35), clBlack);
    EXPECT_EQ(At(26, 35), Own);
    EXPECT_EQ(At(48, 48), Own);

    // The focused cursor inverts the square's outline and draws a black
    // frame two pixels inside it.
    Grid->SetTabStop(true);
    Grid->SetSelection(5);
    Grid->SetFocus();
    Host.RunUntilIdle();
    EXPECT_EQ(At(25, 35), clWhite);
    EXPECT_EQ(At(27, 35), clBlack);
    EXPECT_EQ(At(47, 35), clBlack);
    EXPECT_EQ(At(26, 35), Own);
    EXPECT_EQ(At(30, 35), Own);

    // Losing the focus brings the plain square back.
    Form->FocusControl(nullptr);
    Host.RunUntilIdle();
    EXPECT_EQ(At(25, 35), clBlack);
    EXPECT_EQ(At(27, 35), Own);
}

TEST_F(ColorGridPaint, FocusedThreeDimensionalCursorShowsADottedFrame) {
    const TColor Own = Grid->SquareColor(6);
    Grid->SetSelection(6); // square 6 spans (50, 25) to (75, 50)
    Grid->SetTabStop(true);
    Grid->SetFocus();
    Host.RunUntilIdle();
    int Dots = 0;
    for (int X = 54; X < 71; ++X) Dots += At(X, 29) != Own;
    EXPECT_GT(Dots, 4);
    EXPECT_EQ(At(60, 35), Own);
}

TEST_F(ColorGridPaint, SettersRepaintWhatTheyChange) {
    Grid->SetForegroundIndex(3);
    Grid->SetBackgroundIndex(12);
    Grid->SetGridOrdering(go8x2);
    Host.RunUntilIdle();
    // In 8 x 2 square 12 spans (48, 50) to (60, 100).
    EXPECT_EQ(Grid->GetWidth(), 96);
    EXPECT_EQ(At(53, 58), Grid->SquareColor(12)); // above its "BG" mark
    EXPECT_EQ(At(7, 25), Grid->SquareColor(0));
}

TEST_F(ColorGridPaint, MarksAreDrawnInTheirSquaresContrastColour) {
    // A new grid marks square 0 (black) with "FB" in white.
    int Exact = 0;
    EXPECT_GT(Foreign(0, clWhite, &Exact), 0);
    EXPECT_GT(Exact, 0);

    Grid->SetForegroundIndex(1);  // (128, 0, 0)
    Grid->SetBackgroundIndex(15); // white
    Host.RunUntilIdle();
    EXPECT_EQ(Foreign(0, clWhite), 0);
    EXPECT_GT(Foreign(1, Rgb(0, 255, 255), &Exact), 0);
    EXPECT_GT(Exact, 0);
    EXPECT_GT(Foreign(15, clBlack, &Exact), 0);
    EXPECT_GT(Exact, 0);
}

TEST_F(ColorGridPaint, SharedSquareMarkFollowsTheEnabledSides) {
    auto Snapshot = [this] {
        std::vector<TColor> Pixels;
        const TRect R = Grid->SquareRect(0);
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) Pixels.push_back(At(X, Y));
        return Pixels;
    };
    const auto Both = Snapshot(); // "FB"
    Grid->EnableBackground(false);
    Host.RunUntilIdle();
    const auto ForegroundOnly = Snapshot(); // "FG"
    EXPECT_NE(ForegroundOnly, Both);
    EXPECT_GT(Foreign(0, clWhite), 0);
    Grid->EnableForeground(false);
    Host.RunUntilIdle();
    EXPECT_EQ(Foreign(0, clWhite), 0);
    Grid->EnableBackground(true);
    Grid->EnableForeground(true);
    Host.RunUntilIdle();
    EXPECT_EQ(Snapshot(), Both);
}

TEST_F(ColorGridPaint, IndexesOutsideTheGridPaintNoMark) {
    Grid->SetForegroundIndex(40);
    Grid->SetBackgroundIndex(-3);
    Grid->SetSelection(99);
    Grid->Invalidate();
    Host.RunUntilIdle();
    for (int Square = 0; Square < 16; ++Square) EXPECT_EQ(Foreign(Square, clNone), 0) << Square;
}
