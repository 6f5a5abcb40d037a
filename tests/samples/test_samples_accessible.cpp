#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"

#include "framework/core/DateUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

TEST(SamplesAccessible, GaugeCalendarAndColourGridShowTheirValuesCellsAndSelection) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    auto* Gauge = new TCGauge(Form.get());
    Gauge->SetBounds(10, 10, 100, 20);
    Gauge->SetParent(Form.get());
    Gauge->SetProgress(42);
    auto* Cal = new TCCalendar(Form.get());
    Cal->SetBounds(10, 40, 210, 140);
    Cal->SetParent(Form.get());
    Cal->SeTCCalendarDate(EncodeDate(2024, 2, 14));
    auto* Grid = new TCColorGrid(Form.get());
    Grid->SetBounds(250, 40, 100, 100);
    Grid->SetParent(Form.get());
    Grid->SetForegroundIndex(3);
    Grid->SetBackgroundIndex(12);
    Form->Show();
    Host.RunUntilIdle();

    const auto G = GetAccessible(Gauge);
    EXPECT_EQ(G->GetRole(), TAccRole::ProgressBar);
    EXPECT_EQ(G->GetValue(), "42%");

    const auto C = GetAccessible(Cal);
    EXPECT_EQ(C->GetRole(), TAccRole::Table);
    EXPECT_EQ(C->GetName(), "2024-02");
    ASSERT_EQ(C->GetChildCount(), 7 * 7);
    EXPECT_EQ(C->GetChild(0)->GetRole(), TAccRole::ColumnHeader);
    int Selected = 0;
    for (int I = 7; I < C->GetChildCount(); ++I) {
        const auto Cell = C->GetChild(I);
        EXPECT_EQ(Cell->GetRole(), TAccRole::Cell);
        if (Cell->GetStates() & asSelected) {
            ++Selected;
            EXPECT_EQ(Cell->GetName(), "14");
        }
    }
    EXPECT_EQ(Selected, 1);
    // As a table: a row of day names over the weeks, which name the columns.
    TAccTable Shape;
    ASSERT_TRUE(C->GetTable(Shape));
    EXPECT_EQ(std::tuple(Shape.Rows, Shape.Columns, Shape.HeaderRow), std::tuple(6, 7, true));
    EXPECT_EQ(C->GetColumnName(0), C->GetChild(0)->GetName());
    EXPECT_FALSE(C->GetColumnName(0).empty());
    EXPECT_EQ(C->GetColumnName(7), "");

    const auto Colours = GetAccessible(Grid);
    EXPECT_EQ(Colours->GetRole(), TAccRole::Grid);
    ASSERT_EQ(Colours->GetChildCount(), 16);
    for (int I = 0; I < 16; ++I) {
        const bool Marked = I == 3 || I == 12;
        EXPECT_EQ((Colours->GetChild(I)->GetStates() & asSelected) != 0, Marked) << I;
    }
    EXPECT_EQ(Colours->GetChild(3)->GetName(), "Colour 3 (foreground)");
    EXPECT_EQ(Colours->GetChild(12)->GetName(), "Colour 12 (background)");
    // Its squares are a table of the grid's ordering, with no headers.
    for (const auto& [Ordering, Rows, Columns] :
         {std::tuple{go4x4, 4, 4}, {go8x2, 2, 8}, {go1x16, 16, 1}}) {
        Grid->SetGridOrdering(Ordering);
        ASSERT_TRUE(Colours->GetTable(Shape));
        EXPECT_EQ(std::tuple(Shape.Rows, Shape.Columns, Shape.HeaderRow),
                  std::tuple(Rows, Columns, false));
        EXPECT_EQ(Colours->GetColumnName(0), "");
    }
    // Each cell lies on the screen where the grid paints it.
    EXPECT_EQ(Colours->GetChild(0)->GetBounds().Left,
              Grid->ClientToScreen(Point(0, 0)).X + Grid->SquareRect(0).Left);
}
