// A bar whose look is the program's own: item pictures drawn in code (a
// letter on a coloured badge), captions drawn by OnDrawGroupCaption and the
// open group's face, behind its items, by OnDrawGroup.

#include "ExampleHost.h"

#include "folio/Folio.h"
#include "framework/gfx/FontEngine.h"

#include <algorithm>
#include <utility>
#include <vector>

using namespace folio;

namespace {

// A badge with the first letter of Caption, as the item's picture.
void AddBadge(TImageList& List, const String& Caption, TColor Colour) {
    const int Size = List.GetWidth();
    TBitmap Picture(Size, Size);
    TCanvas* Canvas = Picture.GetCanvas();
    Canvas->GetBrush()->SetColor(clFuchsia);
    Canvas->FillRect(Rect(0, 0, Size, Size));
    Canvas->GetBrush()->SetColor(Colour);
    Canvas->GetPen()->SetColor(clWhite);
    Canvas->Ellipse(0, 0, Size, Size);
    Canvas->GetFont()->SetColor(clWhite);
    Canvas->GetFont()->SetSize(14);
    Canvas->GetBrush()->SetStyle(bsClear);
    TRect R = Rect(0, 0, Size, Size);
    String Letter = Caption.substr(0, 1);
    Canvas->DrawText(Letter, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    List.AddMasked(&Picture, clFuchsia);
}

} // namespace

int main(int argc, char** argv) {
    examples::TExampleHost Host(argc, argv, "custom-drawing");

    TForm Form(nullptr);
    Host.Place(Form, "Custom drawing", 170, 300);

    auto* Badges = new TImageList(&Form);
    Badges->SetWidth(32);
    Badges->SetHeight(32);
    auto* Bar = new TFolio(&Form);
    Bar->SetParent(&Form);
    Bar->SetAlign(alClient);
    Bar->SetLargeImages(Badges);
    Bar->SetGroupCaptionHeight(26);

    const TColor Colours[] = {0x9C5A1E, 0x2E8B57, 0x3050C0, 0x8040A0};
    const std::pair<const char*, std::vector<const char*>> Contents[] = {
        {"Tasks", {"Today", "Later"}}, {"Notes", {"Ideas", "Books"}}};
    int Picture = 0;
    for (const auto& [Caption, Items] : Contents) {
        TFolioGroup* Group = Bar->GetGroups()->Add(Caption);
        for (const char* Item : Items) {
            AddBadge(*Badges, Item, Colours[Picture]);
            Group->GetItems()->Add(Item, Picture++);
        }
    }

    // Captions: a dark strip, lighter under the pointer, its text in white.
    Bar->SetCustomDrawGroupCaption(true);
    Bar->OnDrawGroupCaption = [](TObject*, TCanvas* Canvas, TFolioGroup* Group, const TRect& R,
                                 TFolGroupState State) {
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(State == gsOver ? TColor(0x705030) : TColor(0x503010));
        Canvas->FillRect(R);
        Canvas->GetBrush()->SetColor(clYellow);
        Canvas->FillRect(Rect(R.Left, R.Top, R.Left + 4, R.Bottom));
        Canvas->GetBrush()->SetStyle(bsClear);
        Canvas->GetFont()->SetColor(clWhite);
        TRect Text = Rect(R.Left + 12, R.Top, R.Right, R.Bottom);
        String Caption = Group->GetCaption();
        Canvas->DrawText(Caption, Text, DT_VCENTER | DT_SINGLELINE);
    };
    // The open group's face: pale bands; the bar paints the items on top.
    Bar->SetCustomDrawGroup(true);
    Bar->OnDrawGroup = [](TObject*, TCanvas* Canvas, TFolioGroup*, const TRect& R) {
        for (int Y = R.Top; Y < R.Bottom; Y += 20) {
            Canvas->GetBrush()->SetColor((Y - R.Top) / 20 % 2 ? TColor(0xF4EEE8)
                                                              : TColor(0xE8DDD0));
            Canvas->FillRect(Rect(R.Left, Y, R.Right, std::min(Y + 20, R.Bottom)));
        }
    };

    return Host.Run(Form);
}
