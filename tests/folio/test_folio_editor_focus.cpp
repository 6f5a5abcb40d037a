// While its caption editor holds the keyboard, the bar stays its form's
// focused and active control, whether or not the bar had the keyboard
// before the edit began; the keyboard comes back to the bar afterwards.
#include "folio/FolioLiveInspector.h"

#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;
using LI = TFolioLiveInspector;

TEST(FolioEditorFocus, TheBarStaysTheFormsFocusedAndActiveControlWhileItsEditorTypes) {
    struct TCase {
        const char* Name;
        bool BarFocusedFirst, OnPanel, Group;
    } const Cases[] = {
        {"item, keyboard elsewhere", false, false, false},
        {"item, bar focused", true, false, false},
        {"group, bar focused, on a panel", true, true, true},
        {"group, keyboard elsewhere, on a panel", false, true, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        THeadlessHost Host;
        TForm Form(nullptr);
        Form.SetBounds(0, 0, 400, 400);
        auto* Other = new TEdit(&Form);
        Other->SetBounds(250, 10, 100, 24);
        Other->SetParent(&Form);
        TWinControl* Parent = &Form;
        if (C.OnPanel) {
            auto* Panel = new TPanel(&Form);
            Panel->SetBounds(0, 40, 220, 320);
            Panel->SetParent(&Form);
            Parent = Panel;
        }
        auto* Bar = new TFolio(&Form);
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(10, 10, 200, 300);
        Bar->SetParent(Parent);
        Bar->GetGroups()->Add("Mail")->GetItems()->Add("Inbox", -1);
        Form.Show();
        Host.RunUntilIdle();
        if (C.BarFocusedFirst)
            Bar->SetFocus();
        else
            Other->SetFocus();
        Host.RunUntilIdle();

        TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
        ASSERT_TRUE(C.Group ? Bar->EditGroup(Mail) : Bar->EditItem(Mail->GetItems()->GetItem(0)));
        ASSERT_NE(LI::Editor(*Bar), nullptr);
        EXPECT_TRUE(LI::Editor(*Bar)->Focused());
        EXPECT_EQ(Form.GetFocusedControl(), Bar);
        EXPECT_EQ(Form.GetActiveControl(), Bar);
        Host.Type("New");
        Host.Key(VK_RETURN);
        EXPECT_EQ(LI::Editor(*Bar), nullptr);
        EXPECT_EQ(C.Group ? Mail->GetCaption() : Mail->GetItems()->GetItem(0)->GetCaption(), "New");
        EXPECT_TRUE(Bar->Focused());
        EXPECT_EQ(Form.GetActiveControl(), Bar);
    }
}
