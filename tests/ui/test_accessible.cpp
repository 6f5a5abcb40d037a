#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

std::unique_ptr<TAccessible> AsChart(TControl* C) {
    return std::make_unique<TControlAccessible>(C, TAccRole::Chart);
}
std::unique_ptr<TAccessible> AsGraphic(TControl* C) {
    return std::make_unique<TControlAccessible>(C, TAccRole::Graphic);
}

} // namespace

TEST(Accessible, RegistrationsStackByClassAndLeaveWithTheirObjects) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    auto* Panel = new TPanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetCaption("Tools");
    Panel->SetHint("Tool box|The tools");
    EXPECT_EQ(GetAccessible(Panel)->GetRole(), TAccRole::Grouping);
    EXPECT_EQ(GetAccessible(Panel)->GetDescription(), "Tool box");
    {
        // A registration for an ancestor class reaches the panel too.
        TAccessibleRegistration Outer(TCustomControl::StaticClassInfo(), AsChart);
        EXPECT_EQ(GetAccessible(Panel)->GetRole(), TAccRole::Chart);
        {
            TAccessibleRegistration Inner(TPanel::StaticClassInfo(), AsGraphic);
            EXPECT_EQ(GetAccessible(Panel)->GetRole(), TAccRole::Graphic);
        }
        EXPECT_EQ(GetAccessible(Panel)->GetRole(), TAccRole::Chart);
    }
    EXPECT_EQ(GetAccessible(Panel)->GetRole(), TAccRole::Grouping);
    EXPECT_EQ(GetAccessible(nullptr), nullptr);
    // A hidden control is there, without bounds.
    Form->Show();
    Panel->SetBounds(5, 5, 40, 30);
    EXPECT_EQ(GetAccessible(Panel)->GetBounds().Width(), 40);
    Panel->SetVisible(false);
    EXPECT_TRUE(GetAccessible(Panel)->GetBounds().IsEmpty());
    EXPECT_TRUE(GetAccessible(Panel)->GetStates() & asInvisible);
    EXPECT_EQ(GetAccessible(Form.get())->GetChildCount(), 0);
}
