#include "DesignerFixture.h"

#include "framework/core/FormFiles.h"

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
