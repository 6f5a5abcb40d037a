#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct StringGridTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TStringGrid* Grid = nullptr;
    int DefaultClicks = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 500, 400);
        auto* Ok = new TButton(Form.get());
        Ok->SetParent(Form.get());
        Ok->SetBounds(400, 350, 75, 25);
        Ok->SetDefault(true);
        Ok->OnClick = [this](TObject*) { ++DefaultClicks; };
        Grid = new TStringGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(10, 10, 330, 130);
        Grid->SetOptions(Grid->GetOptions() + goEditing);
        Grid->SetCells(1, 1, "one");
        Grid->SetCells(2, 1, "two");
        Form->Show();
        Grid->SetFocus();
        Host.RunUntilIdle();
    }
};

TEST_F(StringGridTest, CellsHoldTextsAndOnlyFilledOnesTakeRoom) {
    EXPECT_EQ(Grid->GetCells(1, 1), "one");
    EXPECT_EQ(Grid->GetCells(4, 4), "");
    EXPECT_EQ(Grid->GetFilledCount(), 2);
    Grid->SetCells(1, 1, "");
    EXPECT_EQ(Grid->GetFilledCount(), 1);
    EXPECT_THROW(Grid->SetCells(5, 0, "x"), EInvalidOperation);
    EXPECT_THROW(Grid->SetCells(0, -1, "x"), EInvalidOperation);
    Grid->SetRowCount(1 << 30); // kept at the largest grid
    EXPECT_EQ(Grid->GetRowCount(), TCustomGrid::MaxCellCount);
}

// Each row: keys or typing at the current cell, then the texts of the two
// first cells, whether the editor is open, and how often the form's
// default button was pressed.
TEST_F(StringGridTest, EditingInPlaceByKeysAndTyping) {
    struct Step {
        const char* What;
        std::function<void()> Do;
        const char* Cell11;
        const char* Cell21;
        bool Editing;
    };
    const Step Steps[] = {
        {"F2 opens the editor", [&] { Host.Key(VK_F2); }, "one", "two", true},
        {"typing replaces the selected text", [&] { Host.Type("uno"); }, "one", "two", true},
        {"Enter keeps it", [&] { Host.Key(VK_RETURN); }, "uno", "two", false},
        {"a typed letter starts an edit", [&] { Host.Type("x"); }, "uno", "two", true},
        {"Escape drops it", [&] { Host.Key(VK_ESCAPE); }, "uno", "two", false},
        {"Enter opens", [&] { Host.Key(VK_RETURN); }, "uno", "two", true},
        {"moving on keeps the edit",
         [&] {
             Host.Type("!");
             Grid->SetCol(2);
         },
         "!", "two", false},
        {"typing in the next cell",
         [&] {
             Host.Type("dos");
             Host.Key(VK_RETURN);
         },
         "!", "dos", false},
    };
    for (const Step& S : Steps) {
        S.Do();
        Host.RunUntilIdle();
        EXPECT_EQ(Grid->GetCells(1, 1), S.Cell11) << S.What;
        EXPECT_EQ(Grid->GetCells(2, 1), S.Cell21) << S.What;
        EXPECT_EQ(Grid->IsEditing(), S.Editing) << S.What;
    }
    EXPECT_EQ(DefaultClicks, 0);
    // Without goEditing nothing opens, and Enter is the form's again.
    Grid->SetOptions(Grid->GetOptions() - goEditing);
    Host.Key(VK_F2);
    Host.Type("z");
    Host.Key(VK_RETURN);
    EXPECT_FALSE(Grid->IsEditing());
    EXPECT_EQ(Grid->GetCells(2, 1), "dos");
    EXPECT_EQ(DefaultClicks, 1);
}

TEST_F(StringGridTest, ADoubleClickEditsTheCellUnderThePointer) {
    const TRect R = Grid->CellRect(2, 2);
    const TPoint P = Grid->ClientToScreen(Point(R.Left + 5, R.Top + 5));
    Host.DoubleClick(P.X, P.Y);
    ASSERT_TRUE(Grid->IsEditing());
    Host.Type("cell");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Grid->GetCells(2, 2), "cell");
}

String Read(const String& Cells) {
    const String Text = "object Form1: TForm\n"
                        "  object Grid: TStringGrid\n"
                        "    StoreCells = True\n"
                        "    Cells = (" +
                        Cells +
                        ")\n"
                        "  end\n"
                        "end\n";
    TMemoryStream S;
    S.Write(Text.data(), static_cast<std::int64_t>(Text.size()));
    S.SetPosition(0);
    TForm Form(nullptr);
    try {
        ReadComponent(S, &Form);
    } catch (const Exception& E) {
        return E.what();
    }
    return "read";
}

TEST(StringGridForm, CellListsOutsideAnyGridAreRefusedWithTheirLine) {
    THeadlessHost Host;
    const struct {
        const char* What;
        const char* Cells;
        const char* Expected;
    } Rows[] = {
        {"good cells", "(0 0 'a') (3 2 'b')", "read"},
        {"a negative column", "(-1 0 'a')", "line 4"},
        {"a row beyond any grid", "(0 1048576 'a')", "line 4"},
        {"a cell of two values", "(0 0)", "line 4"},
    };
    for (const auto& Row : Rows) {
        const String Got = Read(Row.Cells);
        EXPECT_NE(Got.find(Row.Expected), String::npos) << Row.What << ": " << Got;
    }
}

} // namespace
