// Controls made of parts (an edit box and buttons, scroll bars, a group's
// radio buttons) are designed whole: a press on a part selects and drags
// the control holding it, and keys typed meanwhile are the designer's.
#include "DesignerFixture.h"

#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Memo.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>

namespace designer::test {
namespace {

TEST_F(DesignerTest, APressOnAPartOfAControlSelectsAndDragsTheWholeControl) {
    struct TCase {
        const TClassInfo* Class;
        // Readies the dropped control and answers the part to press on.
        std::function<TControl*(TWinControl*)> Part;
    };
    const TCase Cases[] = {
        {&TSpinEdit::StaticClassInfo(),
         [](TWinControl* C) { return static_cast<TSpinEdit*>(C)->GetEdit(); }},
        {&TComboBox::StaticClassInfo(),
         [](TWinControl* C) -> TControl* {
             for (int I = 0; I < C->ControlCount(); ++I)
                 if (dynamic_cast<TEdit*>(C->Controls(I))) return C->Controls(I);
             return nullptr;
         }},
        {&TRadioGroup::StaticClassInfo(),
         [](TWinControl* C) -> TControl* {
             static_cast<TRadioGroup*>(C)->GetItems()->Add("one");
             static_cast<TRadioGroup*>(C)->GetItems()->Add("two");
             for (int I = 0; I < C->ControlCount(); ++I)
                 if (dynamic_cast<TRadioButton*>(C->Controls(I))) return C->Controls(I);
             return nullptr;
         }},
        {&TMemo::StaticClassInfo(),
         [](TWinControl* C) -> TControl* {
             static_cast<TMemo*>(C)->SetScrollBars(ssVertical);
             for (int I = 0; I < C->ControlCount(); ++I)
                 if (dynamic_cast<TScrollBar*>(C->Controls(I)) && C->Controls(I)->GetVisible())
                     return C->Controls(I);
             return nullptr;
         }},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Class->Name);
        auto* Whole =
            dynamic_cast<TWinControl*>(Designer().DropComponent(*C.Class, nullptr, Point(40, 40)));
        ASSERT_NE(Whole, nullptr);
        TControl* Part = C.Part(Whole);
        ASSERT_NE(Part, nullptr);
        Host.RunUntilIdle();
        Run("select Form1");
        const TPoint At = Part->ClientToScreen(Point(4, Part->GetHeight() / 2));
        Host.Click(At.X, At.Y);
        EXPECT_EQ(Designer().GetSelection(), Whole);
        // Typing goes to the designer, not into the part.
        const String Text = Part->GetText();
        Host.Type("7");
        EXPECT_EQ(Part->GetText(), Text);
        // A drag by the part moves the whole by the pointer's way (after
        // the time of a double click, which would open the whole's editor).
        Host.Run(1000);
        const TPoint Was = Point(Whole->GetLeft(), Whole->GetTop());
        Host.Drag(At, Point(At.X + 16, At.Y + 8));
        EXPECT_EQ(Whole->GetLeft(), Was.X + 16);
        EXPECT_EQ(Whole->GetTop(), Was.Y + 8);
        const String Name = Whole->GetName();
        Run("key Delete");
        EXPECT_EQ(Designer().GetComponent(Name), nullptr);
    }
}

} // namespace
} // namespace designer::test
