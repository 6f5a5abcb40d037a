// The gauge takes its parent's colour from the start: ParentColor begins
// true, as its declared default says, until a colour of its own is set.
#include "samples/Cgauges.h"

#include "framework/core/FormText.h"
#include "framework/core/Writer.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

using namespace folio;

TEST(GaugeParentColor, StartsTrueFollowsTheParentAndIsWrittenOnlyWhenOff) {
    const TPropInfo* Prop = TCGauge::StaticClassInfo().FindProperty("ParentColor");
    ASSERT_NE(Prop, nullptr);
    ASSERT_TRUE(Prop->Default.has_value());
    EXPECT_EQ(*Prop->Default, 1);

    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Panel = new TPanel(&Form);
    Panel->SetName("Panel1");
    Panel->SetParent(&Form);
    Panel->SetColor(0x00123456);
    auto* Gauge = new TCGauge(&Form);
    Gauge->SetName("Gauge1");
    EXPECT_TRUE(Gauge->GetParentColor());
    Gauge->SetParent(Panel);
    EXPECT_EQ(Gauge->GetColor(), 0x00123456);
    Panel->SetColor(0x00654321);
    EXPECT_EQ(Gauge->GetColor(), 0x00654321);
    const auto Text = [&] {
        TWriter Writer;
        return FormToText(Writer.WriteRoot(&Form, nullptr));
    };
    EXPECT_EQ(Text().find("ParentColor"), String::npos) << Text();

    Gauge->SetColor(0x000000FF);
    EXPECT_FALSE(Gauge->GetParentColor());
    Panel->SetColor(0x00111111);
    EXPECT_EQ(Gauge->GetColor(), 0x000000FF);
    EXPECT_NE(Text().find("ParentColor = False"), String::npos) << Text();
}
