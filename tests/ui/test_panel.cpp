#include "PropertyRoundTrip.h"

#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct PanelTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->SetColor(clWhite);
    }

    TColor Px(int X, int Y) {
        Host.RunUntilIdle();
        return Host.Pixel(Form.get(), X, Y);
    }
};

const TColor White = ColorToRGB(clBtnHighlight);
const TColor Shadow = ColorToRGB(clBtnShadow);

TEST_F(PanelTest, BevelsAreDrawnOuterBorderBandInnerFromTheEdge) {
    auto* P = new TPanel(Form.get());
    P->SetParent(Form.get());
    P->SetBounds(10, 10, 100, 60);
    P->SetColor(clSilver);
    P->SetBevelOuter(bvRaised);
    P->SetBevelInner(bvLowered);
    P->SetBevelWidth(2);
    P->SetPanelBorderWidth(3);
    Form->Show();
    // Rows of pixels going in from the left edge, halfway down.
    const TColor Expected[] = {White,    White,  clSilver, clSilver,
                               clSilver, Shadow, Shadow,   clSilver};
    for (int I = 0; I < 8; ++I) EXPECT_EQ(Px(10 + I, 40), Expected[I]) << I;
    // The bottom-right lines mirror them.
    const TColor Mirror[] = {Shadow, Shadow, clSilver, clSilver, clSilver, White, White};
    for (int I = 0; I < 7; ++I) EXPECT_EQ(Px(109 - I, 40), Mirror[I]) << I;
    EXPECT_EQ(P->GetInnerRect(), Rect(7, 7, 93, 53));
}

TEST_F(PanelTest, AlignedChildrenFillWhatTheBevelsLeave) {
    auto* P = new TPanel(Form.get());
    P->SetParent(Form.get());
    P->SetBounds(10, 10, 100, 60);
    P->SetBevelInner(bvRaised);
    auto* Child = new TPanel(Form.get());
    Child->SetParent(P);
    Child->SetAlign(alClient);
    EXPECT_EQ(Child->GetBoundsRect(), Rect(2, 2, 98, 58));
    P->SetBevelOuter(bvNone);
    EXPECT_EQ(Child->GetBoundsRect(), Rect(1, 1, 99, 59));
}

TEST_F(PanelTest, ASingleBorderTakesTheEdgeOutsideTheClientArea) {
    auto* P = new TPanel(Form.get());
    P->SetParent(Form.get());
    P->SetBounds(10, 10, 100, 60);
    P->SetBevelOuter(bvNone);
    Form->Show();
    EXPECT_EQ(P->GetClientWidth(), 100);
    P->SetBorderStyle(bsSingle);
    EXPECT_EQ(P->GetClientWidth(), 96);
    EXPECT_EQ(Px(10, 40), Shadow); // the sunken client edge
    P->SetCtl3D(false);
    P->RecreateWnd();
    EXPECT_EQ(P->GetClientWidth(), 98);
    EXPECT_EQ(Px(10, 40), ColorToRGB(clWindowFrame));
}

TEST_F(PanelTest, GroupBoxFrameIsEtchedThroughTheCaptionsMiddle) {
    auto* G = new TGroupBox(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(20, 20, 150, 100);
    G->SetCaption(" Groups ");
    Form->Show();
    const int Top = G->GetFrameRect().Top;
    EXPECT_GT(Top, 2);
    // Each side has a dark line with a light one inside it (bottom and right:
    // light outside).
    EXPECT_EQ(Px(20, 80), Shadow);
    EXPECT_EQ(Px(21, 80), White);
    EXPECT_EQ(Px(20 + 148, 80), Shadow);
    EXPECT_EQ(Px(20 + 149, 80), White);
    EXPECT_EQ(Px(60, 20 + 98), Shadow);
    EXPECT_EQ(Px(60, 20 + 99), White);
    // The top line runs beside the caption, which covers it.
    EXPECT_EQ(Px(23, 20 + Top), Shadow);
    EXPECT_EQ(Px(23, 20 + Top + 1), White);
    EXPECT_EQ(Px(140, 20 + Top), Shadow);
    EXPECT_EQ(Px(20 + 8, 20 + Top), ColorToRGB(clWhite));
    // Without Ctl3D the frame is one dark line.
    G->SetCtl3D(false);
    EXPECT_EQ(Px(20, 80), ColorToRGB(clWindowFrame));
    EXPECT_EQ(Px(21, 80), ColorToRGB(clWhite));
}

TEST_F(PanelTest, GroupBoxChildrenAlignBelowTheCaptionAndItsAcceleratorEntersIt) {
    auto* G = new TGroupBox(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(20, 20, 150, 100);
    G->SetCaption("&Items");
    auto* Outside = new TEdit(Form.get());
    Outside->SetParent(Form.get());
    Outside->SetBounds(200, 20, 80, 25);
    auto* Inside = new TEdit(Form.get());
    Inside->SetParent(G);
    Inside->SetAlign(alTop);
    const TRect Inner = G->GetInnerRect();
    EXPECT_EQ(Inside->GetTop(), Inner.Top);
    EXPECT_EQ(Inside->GetLeft(), 2);
    EXPECT_GT(Inner.Top, 10);
    Form->Show();
    Outside->SetFocus();
    Host.Key('I', {ssAlt});
    EXPECT_TRUE(Inside->Focused());
}

TEST_F(PanelTest, PublishedPropertiesSurviveACopyThroughTheTable) {
    TPanel P(nullptr);
    P.SetBevelInner(bvLowered);
    P.SetBevelOuter(bvSpace);
    P.SetBevelWidth(3);
    P.SetPanelBorderWidth(2);
    P.SetBorderStyle(bsSingle);
    P.SetAlignment(taLeftJustify);
    P.SetCaption("Logo");
    P.SetColor(clWhite);
    TPanel Copy(nullptr);
    proptest::CopyPublished(P, Copy);
    proptest::ExpectSamePublished(P, Copy);
    EXPECT_EQ(Copy.GetBevelWidth(), 3);
    TGroupBox G(nullptr);
    G.SetCaption(" Groups ");
    TGroupBox GCopy(nullptr);
    proptest::CopyPublished(G, GCopy);
    proptest::ExpectSamePublished(G, GCopy);
}

// Form files write enumerations and sets by name. The names must be in the
// tables however early a table is first built: the application object is
// made while the program's units are still being initialised.
TEST(PublishedTables, EveryEnumerationAndSetKnowsItsNames) {
    const TClassInfo* Classes[] = {
        &TPanel::StaticClassInfo(),     &TGroupBox::StaticClassInfo(), &TLabel::StaticClassInfo(),
        &TEdit::StaticClassInfo(),      &TComboBox::StaticClassInfo(), &TListBox::StaticClassInfo(),
        &TScrollBar::StaticClassInfo(), &TForm::StaticClassInfo(),
    };
    for (const TClassInfo* Class : Classes)
        for (const TPropInfo* P : Class->PublishedProperties())
            if (P->Kind == TTypeKind::tkEnum || P->Kind == TTypeKind::tkSet) {
                EXPECT_FALSE(P->EnumNames.empty()) << Class->Name << "." << P->Name;
            }
}

} // namespace
