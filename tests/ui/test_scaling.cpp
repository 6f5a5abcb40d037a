#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

// A form designed at the standard resolution: a panel following the form's
// font, a panel with a font of its own, and two panels that touch.
struct TDesigned {
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TPanel* Inherits = new TPanel(Form.get());
    TPanel* Own = new TPanel(Form.get());
    TPanel* Left = new TPanel(Form.get());
    TPanel* Right = new TPanel(Form.get());

    TDesigned() {
        Form->SetName("Designed");
        Form->SetBounds(30, 40, 300, 200);
        Form->SetClientWidth(300);
        Form->SetClientHeight(200);
        const std::pair<TPanel*, TRect> Panels[] = {{Inherits, Rect(10, 10, 110, 60)},
                                                    {Own, Rect(10, 70, 110, 120)},
                                                    {Left, Rect(0, 150, 33, 180)},
                                                    {Right, Rect(33, 150, 67, 180)}};
        int N = 0;
        for (auto [Panel, Bounds] : Panels) {
            Panel->SetName("Panel" + std::to_string(++N));
            Panel->SetParent(Form.get());
            Panel->SetBoundsRect(Bounds);
        }
        Own->GetFont()->SetHeight(-13);
        Own->GetConstraints()->SetMinWidth(80);
        Own->GetConstraints()->SetMaxWidth(150);
    }
};

struct ScalingTest : ::testing::Test {
    THeadlessHost Host;
};

TEST_F(ScalingTest, AScaledFormGrowsToTheScreenOnceWhenItShows) {
    Screen->SetPixelsPerInch(192);
    TDesigned D;
    EXPECT_EQ(D.Form->GetPixelsPerInch(), 96);
    EXPECT_EQ(D.Inherits->GetWidth(), 100); // nothing happens before it shows
    D.Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(D.Form->GetPixelsPerInch(), 192);
    // The form keeps its place; its client area and everything on it doubles.
    EXPECT_EQ(D.Form->GetLeft(), 30);
    EXPECT_EQ(D.Form->GetTop(), 40);
    EXPECT_EQ(D.Form->GetClientWidth(), 600);
    EXPECT_EQ(D.Form->GetClientHeight(), 400);
    EXPECT_EQ(D.Inherits->GetBoundsRect(), Rect(20, 20, 220, 120));
    EXPECT_EQ(D.Own->GetBoundsRect(), Rect(20, 140, 220, 240));
    EXPECT_EQ(D.Own->GetConstraints()->GetMinWidth(), 160);
    EXPECT_EQ(D.Own->GetConstraints()->GetMaxWidth(), 300);
    // Fonts double once: the form's, the panel's own, and the one that
    // follows the form's through it.
    EXPECT_EQ(D.Form->GetFont()->GetHeight(), -22);
    EXPECT_EQ(D.Inherits->GetFont()->GetHeight(), -22);
    EXPECT_TRUE(D.Inherits->GetParentFont());
    EXPECT_EQ(D.Own->GetFont()->GetHeight(), -26);
    for (TControl* C : {static_cast<TControl*>(D.Form.get()), static_cast<TControl*>(D.Own)}) {
        EXPECT_EQ(C->GetCurrentPPI(), 192);
        EXPECT_EQ(C->ScalePixels(16), 32);
    }
    // Showing it again changes nothing.
    D.Form->Hide();
    D.Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(D.Form->GetClientWidth(), 600);
    EXPECT_EQ(D.Own->GetFont()->GetHeight(), -26);
}

TEST_F(ScalingTest, EdgesScaleSoThatTouchingControlsStillTouch) {
    Screen->SetPixelsPerInch(144);
    TDesigned D;
    D.Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(D.Left->GetBoundsRect(), Rect(0, 225, 50, 270));
    EXPECT_EQ(D.Right->GetLeft(), D.Left->GetLeft() + D.Left->GetWidth());
    EXPECT_EQ(D.Right->GetBoundsRect(), Rect(50, 225, 101, 270));
    EXPECT_EQ(D.Own->ScalePixels(2), 3);
}

TEST_F(ScalingTest, TheStandardResolutionAndUnscaledFormsChangeNothing) {
    for (const int Ppi : {96, 192}) {
        Screen->SetPixelsPerInch(Ppi);
        TDesigned D;
        if (Ppi == 192) D.Form->SetScaled(false);
        D.Form->Show();
        Host.RunUntilIdle();
        EXPECT_EQ(D.Form->GetClientWidth(), 300) << Ppi;
        EXPECT_EQ(D.Inherits->GetBoundsRect(), Rect(10, 10, 110, 60)) << Ppi;
        EXPECT_EQ(D.Own->GetFont()->GetHeight(), -13) << Ppi;
        EXPECT_EQ(D.Form->GetFont()->GetHeight(), -11) << Ppi;
        EXPECT_EQ(D.Own->GetCurrentPPI(), 96) << Ppi;
        EXPECT_EQ(D.Form->GetPixelsPerInch(), 96) << Ppi;
    }
}

String TextOf(TStream& Binary) {
    TMemoryStream Text;
    Binary.SetPosition(0);
    ObjectBinaryToText(Binary, Text);
    return String(Text.Memory(), static_cast<size_t>(Text.GetSize()));
}

TEST_F(ScalingTest, AFormFileIsMeantForTheResolutionItNames) {
    // A form at the standard resolution writes no resolution: its files
    // stay as they were.
    TMemoryStream Standard;
    {
        TDesigned D;
        WriteComponent(Standard, D.Form.get());
    }
    EXPECT_EQ(TextOf(Standard).find("PixelsPerInch"), String::npos);

    Screen->SetPixelsPerInch(192);
    TMemoryStream Dense;
    {
        TDesigned D;
        D.Form->Show();
        Host.RunUntilIdle();
        WriteComponent(Dense, D.Form.get());
    }
    EXPECT_NE(TextOf(Dense).find("PixelsPerInch = 192"), String::npos);

    // Read where it was saved: nothing grows again, and the controls know
    // the resolution their sizes are meant for.
    {
        TForm Copy(nullptr);
        Dense.SetPosition(0);
        ReadComponent(Dense, &Copy);
        auto* Own = dynamic_cast<TPanel*>(Copy.FindComponent("Panel2"));
        ASSERT_NE(Own, nullptr);
        EXPECT_EQ(Own->GetCurrentPPI(), 192);
        Copy.Show();
        Host.RunUntilIdle();
        EXPECT_EQ(Copy.GetClientWidth(), 600);
        EXPECT_EQ(Own->GetBoundsRect(), Rect(20, 140, 220, 240));
        EXPECT_EQ(Own->GetFont()->GetHeight(), -26);
    }
    // Read on a standard screen: it shrinks back to its design.
    Screen->SetPixelsPerInch(96);
    {
        TForm Copy(nullptr);
        Dense.SetPosition(0);
        ReadComponent(Dense, &Copy);
        Copy.Show();
        Host.RunUntilIdle();
        auto* Own = dynamic_cast<TPanel*>(Copy.FindComponent("Panel2"));
        ASSERT_NE(Own, nullptr);
        EXPECT_EQ(Copy.GetClientWidth(), 300);
        EXPECT_EQ(Own->GetBoundsRect(), Rect(10, 70, 110, 120));
        EXPECT_EQ(Own->GetFont()->GetHeight(), -13);
        EXPECT_EQ(Own->GetCurrentPPI(), 96);
        EXPECT_EQ(Copy.GetPixelsPerInch(), 96);
    }
}

} // namespace
