#include "DesignerFixture.h"

#include "framework/core/Exceptions.h"
#include "framework/ui/app/Clipboard.h"

#include <fstream>
#include <iterator>

namespace designer::test {
namespace {

// Copy, cut and paste by keyboard on the designed form: a pasted component
// gets free names (its children too), lands beside what it was copied from
// or in the selected container, and each paste is one undo step.
TEST_F(DesignerTest, ComponentsAreCopiedCutAndPastedByKeyboard) {
    Run("drop TPanel 16 16\n"
        "drop TButton 24 24\n");
    auto* Panel = Find<TPanel>("Panel1");
    auto* Button = Find<TButton>("Button1");
    ASSERT_TRUE(Panel && Button);
    ASSERT_EQ(Button->GetParent(), Panel);

    Run("select Button1\nkey ctrl+C\nkey ctrl+V\n");
    EXPECT_NE(Clipboard()->GetAsText().find("object Button1: TButton"), String::npos);
    auto* Copy = Find<TButton>("Button2");
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetParent(), Find<TPanel>("Panel1"));
    EXPECT_EQ(Copy->GetLeft(), Find<TButton>("Button1")->GetLeft() + Designer().GetGridSize());
    EXPECT_EQ(Copy->GetCaption(), "Button1");
    EXPECT_EQ(Designer().GetSelection(), Copy);

    // A container pasted on the form brings its children, all renamed.
    const size_t Steps = UndoSteps();
    Run("select Panel1\nkey ctrl+C\nselect Form1\nkey ctrl+V\n");
    auto* Panel2 = Find<TPanel>("Panel2");
    ASSERT_NE(Panel2, nullptr);
    EXPECT_EQ(Panel2->GetParent(), Designer().GetForm());
    EXPECT_EQ(Panel2->ControlCount(), 2);
    EXPECT_NE(Find<TButton>("Button3"), nullptr);
    EXPECT_NE(Find<TButton>("Button4"), nullptr);
    EXPECT_EQ(Find<TButton>("Button3")->GetParent(), Panel2);
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("undo");
    EXPECT_EQ(Find<TPanel>("Panel2"), nullptr);
    EXPECT_EQ(Find<TButton>("Button3"), nullptr);

    // Cut takes the component away; its name is free again for the paste.
    // The copy lies over the original: a click on it takes the copy.
    Run("select Button2");
    EXPECT_EQ(Designer().GetSelection(), Find<TButton>("Button2"));
    Run("key ctrl+X");
    EXPECT_EQ(Find<TButton>("Button2"), nullptr);
    Run("select Panel1\nkey ctrl+V\n");
    ASSERT_NE(Find<TButton>("Button2"), nullptr);
    EXPECT_EQ(Find<TButton>("Button2")->GetParent(), Find<TPanel>("Panel1"));
    Run("key ctrl+Z");
    EXPECT_EQ(Find<TButton>("Button2"), nullptr);
}

// Text that is no single component block changes nothing and says why.
TEST_F(DesignerTest, PastingTextThatIsNoComponentChangesNothing) {
    Run("drop TButton 24 24");
    const size_t Steps = UndoSteps();
    const String Before = SnapshotForm(*Designer().GetForm());
    for (const char* Text :
         {"hello", "object Form2: TForm\nend\n", "object Thing1: TNoSuchClass\nend\n",
          "inherited Button1: TButton\nend\n", "object Button1: TButton\n  Left = \n",
          // Blocks the reader refuses only as it sets their values.
          "object Button1: TButton\n  Width = 'wide'\nend\n",
          "object Button1: TButton\n  NoSuchProperty = 1\nend\n"}) {
        Clipboard()->SetAsText(Text);
        EXPECT_THROW(Designer().Paste(), EFormError) << Text;
        EXPECT_EQ(SnapshotForm(*Designer().GetForm()), Before) << Text;
        EXPECT_EQ(UndoSteps(), Steps) << Text;
    }
    // An empty clipboard pastes nothing; copying the form copies nothing.
    Clipboard()->SetAsText("");
    Designer().Paste();
    Run("select Form1\nkey ctrl+C\n");
    EXPECT_EQ(Clipboard()->GetAsText(), "");
    EXPECT_EQ(UndoSteps(), Steps);
}

// The tool buttons' keys work on the designed form and in the designer's
// own window alike.
TEST_F(DesignerTest, CtrlKeysSaveAndStartANewFormFromEitherWindow) {
    Run("saveas keys.form\n"
        "drop TButton 24 24\n"
        "select Button1\n"
        "key ctrl+S\n");
    EXPECT_FALSE(Designer().GetModified());
    std::ifstream In(File("keys.form"));
    const String Saved((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    EXPECT_NE(Saved.find("object Button1: TButton"), String::npos);

    Run("key Right");
    ASSERT_TRUE(Designer().GetModified());
    const TPoint Header = Window->Inspector().ClientToScreen(Point(4, 4));
    Host.Click(Header.X, Header.Y);
    Run("key ctrl+S");
    EXPECT_FALSE(Designer().GetModified());
    Run("key ctrl+N");
    EXPECT_EQ(Designer().GetFileName(), "");
    EXPECT_EQ(Find<TButton>("Button1"), nullptr);
}

} // namespace
} // namespace designer::test
