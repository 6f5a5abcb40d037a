#include "DesignerFixture.h"

#include "framework/ui/controls/Accessible.h"

namespace designer::test {
namespace {

// The child of Node whose role and name are these, or null.
std::unique_ptr<TAccessible> ChildNamed(const TAccessible& Node, TAccRole Role,
                                        const String& Name) {
    for (int I = 0; I < Node.GetChildCount(); ++I)
        if (auto Child = Node.GetChild(I);
            Child && Child->GetRole() == Role && Child->GetName() == Name)
            return Child;
    return nullptr;
}

std::vector<String> ChildNames(const TAccessible& Node) {
    std::vector<String> Names;
    for (int I = 0; I < Node.GetChildCount(); ++I) Names.push_back(Node.GetChild(I)->GetName());
    return Names;
}

class DesignerAccessibleTest : public DesignerTest {
protected:
    DesignerAccessibleTest() { Run("drop TPanel 16 16\ndrop TButton 200 40\n"); }
    std::unique_ptr<TAccessible> Palette() { return GetAccessible(&Window->Palette()); }
    std::unique_ptr<TAccessible> Inspector() { return GetAccessible(&Window->Inspector()); }
    std::unique_ptr<TAccessible> Tree() { return GetAccessible(&Window->Tree()); }
};

// The three parts of the window that paint themselves, each as a node of
// its role with named parts a screen reader can read.
TEST_F(DesignerAccessibleTest, ThePaletteTheInspectorAndTheTreeHaveNodesForTheirParts) {
    const struct {
        std::unique_ptr<TAccessible> Node;
        TAccRole Role;
        const char* Name;
    } Parts[] = {
        {Palette(), TAccRole::ToolBar, "Component palette"},
        {Inspector(), TAccRole::Grouping, "Object inspector"},
        {Tree(), TAccRole::Tree, "Components of the form"},
    };
    for (const auto& Part : Parts) {
        ASSERT_NE(Part.Node, nullptr) << Part.Name;
        EXPECT_EQ(Part.Node->GetRole(), Part.Role) << Part.Name;
        EXPECT_EQ(Part.Node->GetName(), Part.Name);
        EXPECT_FALSE(Part.Node->GetBounds().IsEmpty()) << Part.Name;
    }
    // The palette: its pages, then the arrow and a toggle button per class.
    const auto Pal = Palette();
    const auto Pages = ChildNamed(*Pal, TAccRole::PageTabList, "Palette pages");
    ASSERT_NE(Pages, nullptr);
    EXPECT_EQ(ChildNames(*Pages), (std::vector<String>{"Marrow", "Samples", "Standard"}));
    const std::vector<String> Names = ChildNames(*Pal);
    ASSERT_GE(Names.size(), 2u);
    EXPECT_EQ(Names[1], "Pointer");
    const auto Arrow = Pal->GetChild(1);
    EXPECT_EQ(Arrow->GetRole(), TAccRole::ToggleButton);
    EXPECT_TRUE(Arrow->GetStates() & asChecked) << "nothing is chosen";
    // The tree: a line per component, the selection selected.
    const auto T = Tree();
    EXPECT_EQ(ChildNames(*T),
              (std::vector<String>{"Form1: TForm", "Panel1: TPanel", "Button1: TButton"}));
    EXPECT_TRUE(T->GetChild(2)->GetStates() & asSelected);
    EXPECT_FALSE(T->GetChild(1)->GetStates() & asSelected);
    // The inspector: the pages and the rows as name and value cells of a
    // table named after the selection.
    const auto In = Inspector();
    const auto Table = ChildNamed(*In, TAccRole::Table, "Button1: TButton");
    ASSERT_NE(Table, nullptr);
    const int Row = Window->Inspector().FindRow("Caption");
    ASSERT_GE(Row, 0);
    const auto Name = Table->GetChild(2 * Row);
    const auto Value = Table->GetChild(2 * Row + 1);
    EXPECT_EQ(Name->GetRole(), TAccRole::Cell);
    EXPECT_EQ(Name->GetName(), "Caption");
    EXPECT_EQ(Value->GetName(), "Button1");
    EXPECT_EQ(Value->GetDescription(), "Caption");
    EXPECT_EQ(Table->GetChildCount(), 2 * Window->Inspector().RowCount());
    // As a table: a row per property, its name and its value as columns.
    TAccTable Shape;
    ASSERT_TRUE(Table->GetTable(Shape));
    EXPECT_EQ(std::tuple(Shape.Rows, Shape.Columns, Shape.HeaderRow),
              std::tuple(Window->Inspector().RowCount(), 2, false));
    EXPECT_EQ(Table->GetColumnName(0), "Property");
    EXPECT_EQ(Table->GetColumnName(1), "Value");
    EXPECT_EQ(Table->GetRowName(Row), "Caption");
    EXPECT_EQ(Table->GetRowName(Shape.Rows), "") << "past the last row";
    EXPECT_FALSE(In->GetTable(Shape)) << "the inspector itself is no table";
    EXPECT_NE(ChildNamed(*In, TAccRole::PageTabList, "Inspector pages"), nullptr);
    // The filter box over the palette is known by what it is for.
    const auto Filter = GetAccessible(&Window->PaletteFilter());
    EXPECT_EQ(Filter->GetRole(), TAccRole::Text);
    EXPECT_EQ(Filter->GetName(), "Filter the palette by class name");
    // The window's menu bar is named, its entries as they read.
    const auto Bar = GetAccessible(&Window->Window())->GetChild(0);
    ASSERT_NE(Bar, nullptr);
    EXPECT_EQ(Bar->GetRole(), TAccRole::MenuBar);
    EXPECT_EQ(Bar->GetName(), "Main menu");
    EXPECT_EQ(ChildNames(*Bar), (std::vector<String>{"File", "Edit", "View", "Component", "Help"}));
}

// The inspector's value box is named after the property it edits, and a
// screen reader hears the name change as the current row moves.
TEST_F(DesignerAccessibleTest, TheValueBoxIsNamedAfterItsRow) {
    TObjectInspector& I = Window->Inspector();
    std::vector<const void*> Renamed;
    SetAccessibleEventListener([&](TControl*, const void* Key, TAccEvent Event) {
        if (Event == TAccEvent::NameChanged) Renamed.push_back(Key);
    });
    const auto Box = [&]() -> std::unique_ptr<TAccessible> {
        const auto In = Inspector();
        for (int C = 0; C < In->GetChildCount(); ++C)
            if (auto Child = In->GetChild(C); Child && Child->GetKey() == I.GetValueEdit())
                return Child;
        return nullptr;
    };
    for (const char* Property : {"Caption", "Left", "Name"}) {
        Renamed.clear();
        I.ScrollIntoView(I.FindRow(Property));
        I.SetCurrentRow(I.FindRow(Property));
        Host.RunUntilIdle();
        const auto Node = Box();
        ASSERT_NE(Node, nullptr) << Property;
        EXPECT_EQ(Node->GetRole(), TAccRole::Text);
        EXPECT_EQ(Node->GetName(), Property);
        EXPECT_EQ(Node->GetValue(), I.RowValue(I.FindRow(Property)));
        TAccCaret Caret;
        EXPECT_TRUE(Node->GetCaret(Caret)) << "still an edit box";
        EXPECT_EQ(Renamed, std::vector<const void*>{I.GetValueEdit()}) << Property;
    }
    // Placing the box again on the same row is no rename.
    Renamed.clear();
    I.SetCurrentRow(I.FindRow("Name"));
    Host.RunUntilIdle();
    EXPECT_TRUE(Renamed.empty());
    SetAccessibleEventListener(nullptr);
}

// Each part's "press" does what a click on it does.
TEST_F(DesignerAccessibleTest, PressingPartsActsAsAClick) {
    const auto Button = [&](const String& Name) {
        return ChildNamed(*Palette(), TAccRole::ToggleButton, Name);
    };
    // A page tab shows its page; a class's button chooses it, and the next
    // click on the form drops one.
    auto Pages = ChildNamed(*Palette(), TAccRole::PageTabList, "Palette pages");
    ASSERT_NE(Pages, nullptr);
    ASSERT_TRUE(ChildNamed(*Pages, TAccRole::PageTab, "Standard")->DoAction("press"));
    EXPECT_EQ(Window->Palette().GetPage(), "Standard");
    auto Panel = Button("Panel");
    ASSERT_NE(Panel, nullptr);
    EXPECT_EQ(Panel->GetActions(), (std::vector<String>{"press"}));
    ASSERT_TRUE(Panel->DoAction("press"));
    EXPECT_TRUE(Button("Panel")->GetStates() & asChecked);
    EXPECT_FALSE(Button("Pointer")->GetStates() & asChecked);
    const TPoint At = Designer().GetForm()->ClientToScreen(Point(300, 200));
    Host.Click(At.X, At.Y);
    Host.RunUntilIdle();
    EXPECT_NE(Find<TPanel>("Panel2"), nullptr);
    EXPECT_FALSE(Panel->DoAction("open")) << "no such action";
    // A tree line selects its component; the inspector's table follows.
    auto Line = ChildNamed(*Tree(), TAccRole::TreeItem, "Panel1: TPanel");
    ASSERT_NE(Line, nullptr);
    ASSERT_TRUE(Line->DoAction("press"));
    Run("expect-selection Panel1");
    EXPECT_NE(ChildNamed(*Inspector(), TAccRole::Table, "Panel1: TPanel"), nullptr);
    // A name cell makes its row the current one; the Events page shows.
    const int Row = Window->Inspector().FindRow("Caption");
    auto Table = ChildNamed(*Inspector(), TAccRole::Table, "Panel1: TPanel");
    ASSERT_TRUE(Table->GetChild(2 * Row)->DoAction("press"));
    EXPECT_EQ(Window->Inspector().GetCurrentRow(), Row);
    EXPECT_TRUE(Table->GetChild(2 * Row + 1)->GetStates() & asSelected);
    auto InspectorPages = ChildNamed(*Inspector(), TAccRole::PageTabList, "Inspector pages");
    ASSERT_TRUE(ChildNamed(*InspectorPages, TAccRole::PageTab, "Events")->DoAction("press"));
    EXPECT_EQ(Window->Inspector().GetPage(), TObjectInspector::ipEvents);
}

} // namespace
} // namespace designer::test
