#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace folio;

namespace {

constexpr TPixel Stain = 0xFF13579Bu;

// A bar that notes whether the stain was still under it when its paint
// began: then the background was not erased first.
struct TStainProbeBar : TFolio {
    using TFolio::TFolio;
    TPoint Probe;
    bool StainAtPaint = false;
    void Paint() override {
        const TPoint O = GetWindowOrigin();
        const TPixelSurface* S = GetTopLevel()->GetSurface();
        StainAtPaint = S->Row(O.Y + Probe.Y)[O.X + Probe.X] == Stain;
        TFolio::Paint();
    }
};

struct TBackgroundCase {
    const char* Name;
    // Whether the bar's paint sets every pixel, so that the erase goes.
    bool Covers;
    std::function<void(TFolio&)> Setup;
};

void Items(TFolioGroup* G, int Count) {
    for (int I = 0; I < Count; ++I) G->GetItems()->Add(Format("Item %d", I), -1);
}

} // namespace

// Stains the bar's pixels on the form's surface and repaints it: whether
// the erase was skipped or not, no stained pixel may be left, and the bar
// must look exactly as it did. Covering cases skip the erase (the stain is
// still there when the paint begins); the others erase as before.
TEST(FolioBackground, ARepaintLeavesNoStalePixelWhetherOrNotItErases) {
    TBitmap Tile(8, 8);
    Tile.GetCanvas()->GetBrush()->SetColor(0x3060C0);
    Tile.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
    const TBackgroundCase Cases[] = {
        {"first group open, plain colour", true, [](TFolio& B) { B.SetVisibleGroup(0); }},
        {"middle group open, gradient", true,
         [](TFolio& B) {
             TFolioGroup* G = B.GetGroups()->GetGroup(1);
             G->SetStyle(gbGradient);
             G->SetStartColor(0xF0E0D0);
             G->SetEndColor(0x906040);
             B.SetVisibleGroup(1);
         }},
        {"last group open, scrolled with both buttons", true,
         [](TFolio& B) {
             TFolioGroup* G = B.GetGroups()->GetGroup(2);
             Items(G, 30);
             B.SetVisibleGroup(2);
             G->SetStartItem(3);
         }},
        {"horizontal bar", true,
         [](TFolio& B) {
             B.SetAlignment(baHorizontal);
             B.SetVisibleGroup(1);
         }},
        {"captions taller than the bar", true,
         [](TFolio& B) {
             B.SetGroupCaptionHeight(90);
             B.SetVisibleGroup(1);
         }},
        {"picture background with no picture", true,
         [](TFolio& B) {
             B.GetGroups()->GetGroup(0)->SetStyle(gbBitmap);
             B.SetVisibleGroup(0);
         }},
        {"picture background", false,
         [&Tile](TFolio& B) {
             B.GetGroups()->GetGroup(0)->SetStyle(gbBitmap);
             B.GetGroups()->GetGroup(0)->SetBitmap(&Tile);
             B.SetVisibleGroup(0);
         }},
        {"no groups", false, [](TFolio& B) { B.GetGroups()->Clear(); }},
        {"captions drawn by the application", false,
         [](TFolio& B) {
             B.SetVisibleGroup(0);
             B.SetCustomDrawGroupCaption(true);
             B.OnDrawGroupCaption = [](TObject*, TCanvas* C, TFolioGroup*, const TRect& R,
                                       TFolGroupState) {
                 C->GetBrush()->SetColor(0x00FF00);
                 C->FillRect(Rect(R.Left, R.Top, R.Left + 10, R.Bottom));
             };
         }},
        {"group drawn by the application", false,
         [](TFolio& B) {
             B.SetVisibleGroup(0);
             B.SetCustomDrawGroup(true);
             B.OnDrawGroup = [](TObject*, TCanvas*, TFolioGroup*, const TRect&) {};
         }},
    };
    for (const TBackgroundCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THeadlessHost Host;
        TForm Form(nullptr);
        Form.SetBounds(0, 0, 300, 300);
        auto* Bar = new TStainProbeBar(&Form);
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(20, 20, 160, 240);
        Bar->SetParent(&Form);
        for (int G = 0; G < 3; ++G) Items(Bar->GetGroups()->Add(Format("Group %d", G)), 4);
        Case.Setup(*Bar);
        Form.Show();
        Host.RunUntilIdle();

        const TPoint O = Bar->GetWindowOrigin();
        const TRect Client = Bounds(O.X, O.Y, 160, 240);
        const TPixelSurface* S = Form.GetSurface();
        ASSERT_NE(S, nullptr);
        std::vector<TPixel> Before;
        for (int Y = Client.Top; Y < Client.Bottom; ++Y)
            for (int X = Client.Left; X < Client.Right; ++X) Before.push_back(S->Row(Y)[X]);
        for (int Y = Client.Top; Y < Client.Bottom; ++Y)
            for (int X = Client.Left; X < Client.Right; ++X) S->Row(Y)[X] = Stain;

        Bar->Probe = Point(80, 120);
        Bar->Invalidate();
        Host.RunUntilIdle();

        EXPECT_EQ(Bar->StainAtPaint, Case.Covers) << "the erase was skipped or not as expected";
        int Stale = 0, Changed = 0;
        size_t K = 0;
        for (int Y = Client.Top; Y < Client.Bottom; ++Y)
            for (int X = Client.Left; X < Client.Right; ++X, ++K) {
                if (S->Row(Y)[X] == Stain) ++Stale;
                if (S->Row(Y)[X] != Before[K]) ++Changed;
            }
        EXPECT_EQ(Stale, 0);
        EXPECT_EQ(Changed, 0);
    }
}
