#include "framework/core/ColorConsts.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct FormPlacementTest : ::testing::Test {
    THeadlessHost Host;

    std::unique_ptr<TForm> MakeForm(TComponent* Owner = nullptr) {
        auto Form = std::make_unique<TForm>(Owner);
        Form->SetBounds(30, 40, 200, 100);
        return Form;
    }
};

TEST_F(FormPlacementTest, PositionPlacesTheFormWhenItIsFirstShown) {
    const int W = Screen->GetWidth(), H = Screen->GetHeight();
    auto Designed = MakeForm();
    Designed->Show();
    EXPECT_EQ(Designed->GetBoundsRect(), Rect(30, 40, 230, 140));

    auto Centred = MakeForm();
    Centred->SetPosition(poScreenCenter);
    Centred->Show();
    EXPECT_EQ(Centred->GetLeft(), (W - 200) / 2);
    EXPECT_EQ(Centred->GetTop(), (H - 100) / 2);
    // Only the first showing places it: a form the user moved stays there.
    Centred->Hide();
    Centred->SetBounds(5, 6, 200, 100);
    Centred->Show();
    EXPECT_EQ(Centred->GetLeft(), 5);

    // Forms the system places go down and to the right of each other,
    // keeping their size.
    auto First = MakeForm(), Second = MakeForm();
    First->SetPosition(poDefault);
    Second->SetPosition(poDefaultPosOnly);
    First->Show();
    Second->Show();
    EXPECT_GT(Second->GetLeft(), First->GetLeft());
    EXPECT_GT(Second->GetTop(), First->GetTop());
    EXPECT_EQ(Second->GetWidth(), 200);
    EXPECT_LE(Second->GetBoundsRect().Right, W);
}

TEST_F(FormPlacementTest, OwnerFormCentreIsOverTheOwningForm) {
    auto Owner = MakeForm();
    Owner->SetBounds(100, 100, 400, 300);
    Owner->Show();
    auto* Dialog = new TForm(Owner.get());
    Dialog->SetBounds(0, 0, 100, 50);
    Dialog->SetPosition(poOwnerFormCenter);
    Dialog->Show();
    EXPECT_EQ(Dialog->GetBoundsRect(), Rect(250, 225, 350, 275));
}

TEST_F(FormPlacementTest, BorderIconsDecideTheTitleBarButtons) {
    struct Case {
        TFormBorderStyle Style;
        TBorderIcons Icons;
        unsigned Present, Absent;
    };
    const Case Cases[] = {
        {bsSizeable,
         {biSystemMenu, biMinimize, biMaximize},
         WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
         0},
        {bsSingle, {biSystemMenu}, WS_SYSMENU | WS_CAPTION, WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
        {bsSingle, {}, WS_CAPTION, WS_SYSMENU},
        // Dialog frames never have the minimise and maximise buttons.
        {bsDialog,
         {biSystemMenu, biMinimize, biMaximize},
         WS_SYSMENU,
         WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
    };
    for (const Case& C : Cases) {
        auto Form = MakeForm();
        Form->SetBorderStyle(C.Style);
        Form->SetBorderIcons(C.Icons);
        Form->Show();
        EXPECT_EQ(Form->GetStyle() & C.Present, C.Present) << static_cast<int>(C.Style);
        EXPECT_EQ(Form->GetStyle() & C.Absent, 0u) << static_cast<int>(C.Style);
    }
}

TEST_F(FormPlacementTest, FormFilesCarryIconsPositionAndClientSize) {
    TForm Form(nullptr);
    TMemoryStream Text;
    const String Source = "object Dialog: TForm\n"
                          "  BorderIcons = [biSystemMenu]\n"
                          "  BorderStyle = bsSingle\n"
                          "  ClientHeight = 406\n"
                          "  ClientWidth = 405\n"
                          "  Position = poDefaultPosOnly\n"
                          "end\n";
    Text.Write(Source.data(), static_cast<std::int64_t>(Source.size()));
    Text.SetPosition(0);
    ReadComponent(Text, &Form);
    EXPECT_TRUE(Form.GetBorderIcons().Contains(biSystemMenu));
    EXPECT_FALSE(Form.GetBorderIcons().Contains(biMinimize));
    EXPECT_EQ(Form.GetPosition(), poDefaultPosOnly);
    EXPECT_EQ(Form.GetClientWidth(), 405);
    EXPECT_EQ(Form.GetClientHeight(), 406);

    // Written back, the same values come out.
    TMemoryStream Out;
    WriteComponent(Out, &Form, nullptr, feText);
    const String Written(static_cast<const char*>(Out.Memory()), Out.GetSize());
    for (const char* Line : {"BorderIcons = [biSystemMenu]", "Position = poDefaultPosOnly",
                             "ClientWidth = 405", "ClientHeight = 406"})
        EXPECT_NE(Written.find(Line), String::npos) << Line << "\n" << Written;
}

// Size limits given in a designer survive a form file in either encoding,
// on the form and on a control; no limit writes nothing.
TEST_F(FormPlacementTest, FormFilesCarrySizeLimits) {
    for (TFormEncoding Encoding : {feText, feBinary}) {
        TForm Form(nullptr);
        Form.SetBounds(0, 0, 300, 200);
        Form.GetConstraints()->SetMinWidth(250);
        Form.GetConstraints()->SetMaxHeight(400);
        auto* Side = new TPanel(&Form);
        Side->SetName("Side");
        Side->SetParent(&Form);
        Side->GetConstraints()->SetMaxWidth(90);
        TMemoryStream Out;
        WriteComponent(Out, &Form, nullptr, Encoding);
        Out.SetPosition(0);

        TForm Again(nullptr);
        ReadComponent(Out, &Again);
        const TSizeConstraints* C = Again.GetConstraints();
        EXPECT_EQ(C->GetMinWidth(), 250) << Encoding;
        EXPECT_EQ(C->GetMaxHeight(), 400) << Encoding;
        EXPECT_EQ(C->GetMaxWidth(), 0) << Encoding;
        auto* SideAgain = dynamic_cast<TPanel*>(Again.FindComponent("Side"));
        ASSERT_NE(SideAgain, nullptr);
        EXPECT_EQ(SideAgain->GetConstraints()->GetMaxWidth(), 90) << Encoding;
        // The limits hold on the form read back.
        Again.SetBounds(0, 0, 100, 500);
        EXPECT_EQ(Again.GetWidth(), 250) << Encoding;
        EXPECT_EQ(Again.GetHeight(), 400) << Encoding;
    }
    TForm Plain(nullptr);
    TMemoryStream Out;
    WriteComponent(Out, &Plain, nullptr, feText);
    const String Written(static_cast<const char*>(Out.Memory()), Out.GetSize());
    EXPECT_EQ(Written.find("Constraints"), String::npos) << Written;
}

TEST_F(FormPlacementTest, AFormFileCarriesTheIconAndEveryChangeCountsOnce) {
    TBitmap Picture;
    Picture.SetSize(16, 16);
    Picture.GetCanvas()->GetBrush()->SetColor(clRed);
    Picture.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    TForm Source(nullptr);
    EXPECT_TRUE(Source.GetIcon()->GetEmpty());
    const unsigned Before = Source.GetIconVersion();
    Source.SetIcon(&Picture);
    EXPECT_EQ(Source.GetIconVersion(), Before + 1) << "a host sends each new icon once";

    TMemoryStream Text;
    WriteComponent(Text, &Source, nullptr, feText);
    const String Written(static_cast<const char*>(Text.Memory()), Text.GetSize());
    EXPECT_NE(Written.find("Icon.Data = {"), String::npos) << Written;
    Text.SetPosition(0);
    TForm Back(nullptr);
    ReadComponent(Text, &Back);
    EXPECT_TRUE(Back.GetIcon()->Equals(&Picture));
    EXPECT_GT(Back.GetIconVersion(), 0u);

    // A form without an icon writes none.
    TForm Plain(nullptr);
    TMemoryStream None;
    WriteComponent(None, &Plain, nullptr, feText);
    const String PlainText(static_cast<const char*>(None.Memory()), None.GetSize());
    EXPECT_EQ(PlainText.find("Icon"), String::npos) << PlainText;
}

} // namespace

// A form that shows too large for the screen's work area, or that grows by
// scaling as it shows, is fitted into the work area and moved onto it; its
// least size stays. Others keep the bounds they were given.
TEST_F(FormPlacementTest, FormsTooLargeForTheWorkAreaAreFittedIntoIt) {
    struct TCase {
        const char* Name;
        TRect WorkArea;
        int PixelsPerInch;
        TRect Bounds;    // as designed, at 96 pixels per inch
        TSize LeastSize; // at 96 pixels per inch
        bool Designing;
        TRect Expected;
    };
    const TRect Whole = Rect(0, 0, 1024, 768);
    const TRect BelowAPanel = Rect(0, 30, 1024, 768);
    const TCase Cases[] = {
        {"scaled beyond the screen", Whole, 192, Rect(40, 40, 740, 600), {}, false, Whole},
        {"scaled, fits but reaches beyond",
         Whole,
         144,
         Rect(400, 300, 900, 700),
         {},
         false,
         Rect(274, 168, 1024, 768)},
        {"scaled, fits where it is",
         Whole,
         144,
         Rect(10, 20, 510, 420),
         {},
         false,
         Rect(10, 20, 760, 620)},
        {"shown larger than the screen", Whole, 96, Rect(100, 50, 1300, 950), {}, false, Whole},
        {"below the desktop's panel",
         BelowAPanel,
         192,
         Rect(40, 10, 640, 300),
         {},
         false,
         Rect(0, 30, 1024, 610)},
        {"its least size does not fit",
         Whole,
         192,
         Rect(300, 200, 900, 700),
         {600, 300},
         false,
         Rect(0, 0, 1200, 768)},
        {"its least size fits", Whole, 192, Rect(0, 0, 700, 500), {400, 300}, false, Whole},
        {"not scaled, partly beyond but not too large",
         Whole,
         96,
         Rect(900, 700, 1100, 800),
         {},
         false,
         Rect(900, 700, 1100, 800)},
        {"open in a designer",
         Whole,
         96,
         Rect(100, 50, 1300, 950),
         {},
         true,
         Rect(100, 50, 1300, 950)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Screen->SetSize(1024, 768);
        Screen->SetWorkAreaRect(C.WorkArea);
        Screen->SetPixelsPerInch(C.PixelsPerInch);
        auto Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsSizeable);
        Form->SetBounds(C.Bounds.Left, C.Bounds.Top, C.Bounds.Width(), C.Bounds.Height());
        Form->GetConstraints()->SetMinWidth(C.LeastSize.cx);
        Form->GetConstraints()->SetMinHeight(C.LeastSize.cy);
        if (C.Designing) Form->SetDesigning(true);
        Form->Show();
        EXPECT_EQ(Form->GetBoundsRect(), C.Expected);
        Form.reset();
        Screen->SetPixelsPerInch(96);
    }
    Screen->SetSize(1024, 768);
}
