#include "EverydayControlsForm.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/StatusBar.h"
#include "framework/ui/comctrls/ToolBar.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/extctrls/Bevel.h"
#include "framework/ui/extctrls/ScrollBox.h"
#include "framework/ui/extctrls/Shape.h"
#include "framework/ui/extctrls/SpeedButton.h"
#include "framework/ui/extctrls/Splitter.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"

namespace gallery {

using namespace folio;

namespace {

template <class T>
T* Add(TWinControl* Parent, int X, int Y, int W, int H) {
    auto* C = new T(Parent->GetOwner() ? Parent->GetOwner() : Parent);
    C->SetParent(Parent);
    C->SetBounds(X, Y, W, H);
    return C;
}

} // namespace

TEverydayControlsForm::TEverydayControlsForm(TComponent* AOwner) : TForm(AOwner) {
    SetBounds(20, 20, 600, 420);
    SetCaption("Everyday controls");

    const char* Checks[] = {"&Word wrap", "Show &hints", "Mixed (grayed)", "Disabled"};
    for (int I = 0; I < 4; ++I) {
        auto* Box = Add<TCheckBox>(this, 8, 8 + 22 * I, 130, 17);
        Box->SetCaption(Checks[I]);
        Box->SetAllowGrayed(I == 2);
        Box->SetState(I == 0 ? cbChecked : I == 2 ? cbGrayed : cbUnchecked);
        Box->SetEnabled(I != 3);
    }
    auto* Sizes = Add<TGroupBox>(this, 150, 4, 130, 92);
    Sizes->SetCaption(" Icons ");
    const char* Radios[] = {"&Large", "&Small", "L&ist"};
    for (int I = 0; I < 3; ++I) {
        auto* Radio = Add<TRadioButton>(Sizes, 10, 20 + 22 * I, 110, 17);
        Radio->SetCaption(Radios[I]);
        Radio->SetChecked(I == 1);
    }
    auto* Group = Add<TRadioGroup>(this, 290, 4, 300, 92);
    Group->SetCaption(" Animation ");
    Group->GetItems()->SetText("None\nLinear\nAccelerate\nBounce\nFade\n");
    Group->SetColumns(2);
    Group->SetItemIndex(2);

    auto* Progress = Add<TProgressBar>(this, 8, 110, 272, 18);
    Progress->SetPosition(60);
    auto* Smooth = Add<TProgressBar>(this, 8, 134, 272, 18);
    Smooth->SetSmooth(true);
    Smooth->SetPosition(35);
    auto* Upright = Add<TProgressBar>(this, 290, 110, 18, 110);
    // Turning a bar upright swaps its sides.
    Upright->SetOrientation(pbVertical);
    Upright->SetBounds(290, 110, 18, 110);
    Upright->SetPosition(70);
    auto* Track = Add<TTrackBar>(this, 8, 160, 272, 45);
    Track->SetMax(20);
    Track->SetFrequency(2);
    Track->SetPosition(13);
    auto* Standing = Add<TTrackBar>(this, 320, 104, 45, 120);
    Standing->SetOrientation(trVertical);
    Standing->SetBounds(320, 104, 45, 120);
    Standing->SetPosition(4);
    auto* Spin = Add<TSpinEdit>(this, 8, 214, 90, 24);
    Spin->SetMaxValue(999);
    Spin->SetValue(42);

    auto* Line = Add<TBevel>(this, 8, 248, 582, 2);
    Line->SetShape(bsTopLine);
    const TShapeType Shapes[] = {stRectangle, stRoundRect, stEllipse, stCircle};
    const TColor Fills[] = {clYellow, clAqua, clLime, clFuchsia};
    for (int I = 0; I < 4; ++I) {
        auto* Shape = Add<TShape>(this, 8 + 70 * I, 258, 60, 40);
        Shape->SetShape(Shapes[I]);
        Shape->GetBrush()->SetColor(Fills[I]);
        Shape->GetPen()->SetColor(clNavy);
    }
    auto* Box = Add<TBevel>(this, 290, 254, 300, 48);
    Box->SetShape(bsFrame);
    // Bold, italic and underline stay down each on its own; the alignments
    // keep one down.
    const char* Captions[] = {"B", "I", "U", "", "", ""};
    for (int I = 0; I < 6; ++I) {
        auto* Button = Add<TSpeedButton>(this, 298 + 28 * I + (I >= 3 ? 12 : 0), 266, 25, 24);
        Button->SetCaption(Captions[I]);
        Button->SetFlat(I >= 3);
        Button->SetGroupIndex(I < 3 ? I + 1 : 9);
        Button->SetAllowAllUp(I < 3);
        if (I >= 3) {
            // Three lines of text, flush left, centred and flush right.
            TBitmap Glyph(16, 16);
            TCanvas* Canvas = Glyph.GetCanvas();
            Canvas->GetBrush()->SetColor(clWhite);
            Canvas->FillRect(Rect(0, 0, 16, 16));
            Canvas->GetBrush()->SetColor(clBlack);
            for (int Row = 0; Row < 3; ++Row) {
                const int Width = Row == 1 ? 8 : 12;
                const int Left = I == 3 ? 2 : I == 4 ? (16 - Width) / 2 : 14 - Width;
                Canvas->FillRect(Rect(Left, 3 + 4 * Row, Left + Width, 5 + 4 * Row));
            }
            Glyph.GetCanvas()->SetPixel(0, 15, clWhite);
            Button->SetGlyph(&Glyph);
        }
        Button->SetDown(I == 0 || I == 4);
    }

    // A window's frame in small: a tool bar, a list beside a scrolling
    // pane with a splitter between, and a status bar.
    auto* Frame = Add<TPanel>(this, 8, 308, 582, 100);
    Frame->SetBevelOuter(bvLowered);
    auto* Tools = Add<TToolBar>(Frame, 0, 0, 100, 28);
    Tools->SetFlat(false);
    const TToolButtonStyle Styles[] = {tbsButton, tbsButton,    tbsDivider, tbsCheck,
                                       tbsCheck,  tbsSeparator, tbsDropDown};
    const char* Labels[] = {"N", "O", "", "L", "S", "", "V"};
    for (int I = 0; I < 7; ++I) {
        auto* Button = Add<TToolButton>(Tools, 0, 0, 23, 22);
        Button->SetStyle(Styles[I]);
        Button->SetCaption(Labels[I]);
        Button->SetGrouped(true);
        Button->SetDown(I == 3);
    }
    Tools->SetShowCaptions(true);
    Tools->SetButtonHeight(4);
    auto* Status = Add<TStatusBar>(Frame, 0, 0, 100, 19);
    for (const char* Text : {"3 groups", "12 items", "Ready"}) {
        TStatusPanel* Panel = Status->GetPanels()->Add();
        Panel->SetText(Text);
        Panel->SetWidth(90);
    }
    auto* Side = Add<TPanel>(Frame, 0, 0, 150, 10);
    Side->SetAlign(alLeft);
    Side->SetCaption("Folders");
    auto* Split = Add<TSplitter>(Frame, 160, 0, 4, 10);
    Split->SetAlign(alLeft);
    auto* Scroll = Add<TScrollBox>(Frame, 0, 0, 10, 10);
    Scroll->SetAlign(alClient);
    Scroll->SetColor(clWindow);
    for (int I = 0; I < 6; ++I)
        Add<TLabel>(Scroll, 8, 4 + 18 * I, 0, 0)->SetCaption("Line " + std::to_string(I + 1));
}

} // namespace gallery
