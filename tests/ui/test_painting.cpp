#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/paint/PaintPass.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace folio;

namespace {

// Fills its client area with its colour and draws a dark square at (2, 2).
class TSquare : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    unsigned ExtraStyle = 0, ExtraExStyle = 0;
    int Paints = 0;
    void CreateParams(TCreateParams& P) override {
        TCustomControl::CreateParams(P);
        P.Style |= ExtraStyle;
        P.ExStyle |= ExtraExStyle;
    }
    void Paint() override {
        ++Paints;
        TCanvas* C = GetCanvas();
        C->FillRect(GetClientRect());
        C->GetBrush()->SetColor(clNavy);
        C->FillRect(Rect(2, 2, 6, 6));
    }
};

class TDot : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(clLime);
        GetCanvas()->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
    }
};

struct PaintingTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 200, 150);
        Form->SetColor(clSilver);
    }
    TSquare* Add(int L, int T, int W, int H, TColor Color) {
        auto* S = new TSquare(Form.get());
        S->SetBounds(L, T, W, H);
        S->SetColor(Color);
        S->SetParent(Form.get());
        return S;
    }
    TColor At(int X, int Y) { return Host.Pixel(Form.get(), X, Y); }
};

TEST_F(PaintingTest, ChildrenPaintIntoTheFormSurfaceAtTheirOffsets) {
    Add(10, 20, 30, 30, clRed);
    auto* Dot = new TDot(Form.get());
    Dot->SetBounds(100, 100, 5, 5);
    Dot->SetParent(Form.get());
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(At(0, 0), clSilver);
    EXPECT_EQ(At(10, 20), clRed);
    EXPECT_EQ(At(12, 22), clNavy);
    EXPECT_EQ(At(39, 49), clRed);
    EXPECT_EQ(At(40, 50), clSilver);
    EXPECT_EQ(At(100, 100), clLime);
    EXPECT_EQ(At(105, 105), clSilver);
}

TEST_F(PaintingTest, BorderAndClientEdgeAreDrawnOutsideTheClientArea) {
    TSquare* A = Add(10, 10, 40, 40, clRed);
    A->ExtraStyle = WS_BORDER;
    TSquare* B = Add(60, 10, 40, 40, clRed);
    B->ExtraExStyle = WS_EX_CLIENTEDGE;
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(At(10, 10), ColorToRGB(clWindowFrame));
    EXPECT_EQ(At(11, 11), clRed);
    EXPECT_EQ(At(11 + 2, 11 + 2), clNavy); // the client starts inside the frame
    EXPECT_EQ(At(60, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(61, 11), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(At(99, 49), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(62, 12), clRed);
}

TEST_F(PaintingTest, InvalidationRepaintsOnlyTheDirtyArea) {
    TSquare* A = Add(10, 10, 50, 50, clRed);
    Form->Show();
    Host.RunUntilIdle();
    // Mark two pixels behind the paint pass's back; only the one inside
    // the invalidated rectangle comes back.
    TPixelSurface S = *Form->GetSurface();
    S.Row(17)[17] = RgbToPixel(clYellow);
    S.Row(50)[50] = RgbToPixel(clYellow);
    const unsigned Version = Form->GetSurfaceVersion();
    TRect R = Rect(0, 0, 10, 10);
    InvalidateRect(A->GetHandle(), &R, false);
    Host.RunUntilIdle();
    EXPECT_EQ(At(17, 17), clRed);
    EXPECT_EQ(At(50, 50), clYellow);
    EXPECT_GT(Form->GetSurfaceVersion(), Version);
    // Nothing dirty: nothing painted, the surface version stays.
    const unsigned Quiet = Form->GetSurfaceVersion();
    Host.RunUntilIdle();
    EXPECT_EQ(Form->GetSurfaceVersion(), Quiet);
}

// Puts a pixel of a colour no paint uses on the form's surface, behind the
// paint pass's back: it survives only where nothing repaints.
void Mark(TForm& Form, int X, int Y) {
    Form.GetSurface()->Row(Y)[X] = RgbToPixel(clYellow);
}

TEST_F(PaintingTest, TwoSmallChangesFarApartRepaintOnlyThemselves) {
    TSquare* A = Add(10, 10, 180, 130, clRed);
    Form->Show();
    Host.RunUntilIdle();
    for (bool Buffered : {false, true}) {
        SCOPED_TRACE(Buffered ? "double-buffered" : "painted in place");
        A->SetDoubleBuffered(Buffered);
        Form->TakeSurfaceDamage();
        Mark(*Form, 25, 25);   // inside the first change
        Mark(*Form, 165, 115); // inside the second
        Mark(*Form, 90, 70);   // between them
        const TRect First = Rect(10, 10, 20, 20), Second = Rect(150, 100, 160, 110);
        InvalidateRect(A->GetHandle(), &First, false);
        InvalidateRect(A->GetHandle(), &Second, false);
        Host.RunUntilIdle();
        EXPECT_EQ(At(25, 25), clRed);
        EXPECT_EQ(At(165, 115), clRed);
        EXPECT_EQ(At(90, 70), clYellow);
        // The host is told of the two places, in form coordinates.
        const TDamageRegion Damage = Form->TakeSurfaceDamage();
        ASSERT_EQ(Damage.Count(), 2);
        EXPECT_EQ(Damage[0], Rect(20, 20, 30, 30));
        EXPECT_EQ(Damage[1], Rect(160, 110, 170, 120));
    }
}

TEST_F(PaintingTest, ChangesCloseTogetherRepaintAsOne) {
    TSquare* A = Add(10, 10, 180, 130, clRed);
    Form->Show();
    Host.RunUntilIdle();
    const int Paints = A->Paints;
    Mark(*Form, 32, 25); // in the narrow gap between the two changes
    const TRect Left = Rect(10, 10, 20, 20), Right = Rect(23, 10, 33, 20);
    InvalidateRect(A->GetHandle(), &Left, false);
    InvalidateRect(A->GetHandle(), &Right, false);
    Host.RunUntilIdle();
    EXPECT_EQ(A->Paints, Paints + 1);
    EXPECT_EQ(At(32, 25), clRed);
}

TEST_F(PaintingTest, AChildRepaintsOnlyWhereItsParentPaintedOverIt) {
    TSquare* B = Add(100, 20, 60, 60, clRed);
    Form->Show();
    Host.RunUntilIdle();
    const int Paints = B->Paints;
    Mark(*Form, 95, 35);  // the form's own, inside the first change
    Mark(*Form, 105, 35); // the child's, inside the first change
    Mark(*Form, 150, 70); // the child's, outside both changes
    Mark(*Form, 50, 80);  // the form's, between the changes
    const TRect OverChild = Rect(90, 30, 110, 40), Far = Rect(10, 120, 20, 130);
    InvalidateRect(Form->GetHandle(), &OverChild, true);
    InvalidateRect(Form->GetHandle(), &Far, true);
    Host.RunUntilIdle();
    EXPECT_EQ(At(95, 35), clSilver);
    EXPECT_EQ(At(105, 35), clRed);
    EXPECT_EQ(At(150, 70), clYellow);
    EXPECT_EQ(At(50, 80), clYellow);
    EXPECT_EQ(B->Paints, Paints + 1);
}

TEST_F(PaintingTest, DoubleBufferedControlsEndUpWithTheSamePixels) {
    TSquare* A = Add(10, 10, 30, 30, clRed);
    A->SetDoubleBuffered(true);
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(At(10, 10), clRed);
    EXPECT_EQ(At(12, 12), clNavy);
    EXPECT_EQ(At(40, 40), clSilver);
}

TEST_F(PaintingTest, WindowCanvasDrawsInWindowCoordinatesOverTheFrame) {
    class TFlat : public TSquare {
    public:
        using TSquare::TSquare;
        void Dispatch(TMessage& M) override {
            if (M.Msg == WM_NCPAINT) {
                TCanvas* DC = GetWindowDC(GetHandle());
                DC->GetBrush()->SetColor(clFuchsia);
                DC->FrameRect(Rect(0, 0, GetClientWidth() + 2, GetClientHeight() + 2));
                ReleaseDC(GetHandle(), DC);
                return;
            }
            TSquare::Dispatch(M);
        }
    };
    auto* F = new TFlat(Form.get());
    F->ExtraStyle = WS_BORDER;
    F->SetBounds(20, 20, 40, 40);
    F->SetColor(clRed);
    F->SetParent(Form.get());
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(At(20, 20), clFuchsia);
    EXPECT_EQ(At(59, 59), clFuchsia);
    EXPECT_EQ(At(21, 21), clRed);
}

TEST_F(PaintingTest, DrawingOnTheCanvasOutsidePaintShowsAtOnce) {
    TSquare* A = Add(10, 10, 30, 30, clRed);
    // Before the form shows, the canvas draws nowhere and does not fail.
    A->GetCanvas()->FillRect(Rect(0, 0, 5, 5));
    Form->Show();
    Host.RunUntilIdle();
    const unsigned Version = Form->GetSurfaceVersion();
    A->GetCanvas()->GetBrush()->SetColor(clYellow);
    A->GetCanvas()->FillRect(Rect(-100, -100, 100, 100)); // clipped to the control
    EXPECT_EQ(At(10, 10), clYellow);
    EXPECT_EQ(At(39, 39), clYellow);
    EXPECT_EQ(At(40, 40), clSilver);
    EXPECT_GT(Form->GetSurfaceVersion(), Version);
}

TEST_F(PaintingTest, OnlyTheTopLevelWindowHasASurfaceAndItsVersionOutlivesTheHandle) {
    TSquare* A = Add(10, 10, 20, 20, clRed);
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(A->GetSurface(), nullptr);
    ASSERT_NE(Form->GetSurface(), nullptr);
    Form->TakeSurfaceDamage();
    // Making the window again gives it new pixels; a host comparing versions
    // must still see that they changed.
    const unsigned Version = Form->GetSurfaceVersion();
    Form->SetBorderStyle(bsDialog);
    Host.RunUntilIdle();
    EXPECT_GT(Form->GetSurfaceVersion(), Version);
    EXPECT_EQ(At(12, 12), clNavy);
    EXPECT_EQ(Form->TakeSurfaceDamage(), TDamageRegion(Rect(0, 0, 200, 150)));
    // A new size damages the whole surface as well.
    Form->SetBounds(0, 0, 220, 160);
    Host.RunUntilIdle();
    EXPECT_EQ(Form->TakeSurfaceDamage(), TDamageRegion(Rect(0, 0, 220, 160)));
    EXPECT_TRUE(Form->TakeSurfaceDamage().IsEmpty());
}

TEST_F(PaintingTest, MovingAChildRepaintsWhereItWasAndWhereItIs) {
    TSquare* A = Add(10, 10, 20, 20, clRed);
    Form->Show();
    Host.RunUntilIdle();
    A->SetBounds(100, 50, 20, 20);
    Host.RunUntilIdle();
    EXPECT_EQ(At(15, 15), clSilver);
    EXPECT_EQ(At(101, 51), clRed);
}

} // namespace

namespace {

TEST_F(PaintingTest, PaintStartsWithTheControlFontAndColour) {
    class TRecorder : public TCustomControl {
    public:
        using TCustomControl::TCustomControl;
        int Height = 0;
        TColor Brush = 0;
        void Paint() override {
            Height = GetCanvas()->GetFont()->GetHeight();
            Brush = GetCanvas()->GetBrush()->GetColor();
            GetCanvas()->GetFont()->SetHeight(-40); // a paint may change it
        }
    };
    auto* R = new TRecorder(Form.get());
    R->SetBounds(0, 0, 20, 20);
    R->SetParent(Form.get());
    R->SetColor(clTeal);
    R->GetFont()->SetHeight(-17);
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(R->Height, -17);
    EXPECT_EQ(R->Brush, clTeal);
    R->Invalidate();
    Host.RunUntilIdle();
    EXPECT_EQ(R->Height, -17);
}

} // namespace

// A disabled box paints as disabled, in the face colour with grey text, so
// that nobody takes it for a place to type; enabled, the same box shows
// the window colour and the window-text colour.
TEST_F(PaintingTest, DisabledBoxesShowTheFaceColourAndGreyText) {
    Form->SetBounds(0, 0, 300, 200);
    // The keyboard goes to a button, so that no box shows a selection.
    auto* Button = new TButton(Form.get());
    Button->SetBounds(150, 120, 75, 25);
    Button->SetParent(Form.get());
    auto* Edit = new TEdit(Form.get());
    Edit->SetBounds(10, 10, 120, 24);
    Edit->SetText("Inbox");
    auto* Editable = new TComboBox(Form.get());
    Editable->SetBounds(10, 50, 120, 24);
    Editable->SetText("Inbox");
    auto* DropDownList = new TComboBox(Form.get());
    DropDownList->SetStyle(csDropDownList);
    DropDownList->SetBounds(10, 90, 120, 24);
    DropDownList->GetItems()->Add("Inbox");
    DropDownList->SetItemIndex(0);
    auto* List = new TListBox(Form.get());
    List->SetBounds(150, 10, 120, 80);
    List->GetItems()->Add("Inbox");
    TWinControl* const Boxes[] = {Edit, Editable, DropDownList, List};
    for (TWinControl* Box : Boxes) Box->SetParent(Form.get());
    Form->Show();
    // The box's text and its background at a place no text reaches: left of
    // a combo box's button, below a list's only item.
    auto Text = [](TWinControl* Box) { return Rect(3, 3, 60, std::min(Box->GetHeight() - 3, 20)); };
    auto Empty = [&](TWinControl* Box) {
        return Box == List ? Point(60, 60)
                           : Point(Box->GetClientWidth() - 30, Box->GetHeight() / 2);
    };
    const TColor Window = ColorToRGB(clWindow), Face = ColorToRGB(clBtnFace);
    // Text is smoothed: the window-text colour shows as dark pixels, grey
    // text has none.
    auto Dark = [](TColor C) {
        return (C & 0xFF) < 0x50 && ((C >> 8) & 0xFF) < 0x50 && ((C >> 16) & 0xFF) < 0x50;
    };
    for (const bool Enabled : {true, false}) {
        for (TWinControl* Box : Boxes) {
            SCOPED_TRACE(String(Box == Edit           ? "edit box"
                                : Box == Editable     ? "combo box"
                                : Box == DropDownList ? "drop-down list"
                                                      : "list box") +
                         (Enabled ? ", enabled" : ", disabled"));
            Box->SetEnabled(Enabled);
            Host.RunUntilIdle();
            const TPoint At = Box->ClientToScreen(Empty(Box));
            EXPECT_EQ(Host.Pixel(Form.get(), At.X - Form->GetLeft(), At.Y - Form->GetTop()),
                      Enabled ? Window : Face);
            int Inked = 0, Drawn = 0;
            const TRect R = Text(Box);
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                for (int X = R.Left; X < R.Right; ++X) {
                    const TPoint P = Box->ClientToScreen(Point(X, Y));
                    const TColor C =
                        Host.Pixel(Form.get(), P.X - Form->GetLeft(), P.Y - Form->GetTop());
                    Inked += Dark(C);
                    Drawn += C != (Enabled ? Window : Face);
                }
            EXPECT_GT(Drawn, 0) << "no text shows";
            if (Enabled)
                EXPECT_GT(Inked, 0);
            else
                EXPECT_EQ(Inked, 0);
        }
    }
}

TEST_F(PaintingTest, TheApplicationsPaintPassPaintsWhateverIdleWorkIsInstalled) {
    TSquare* S = Add(10, 10, 40, 30, clWhite);
    Form->Show();
    Host.RunUntilIdle();
    int Idles = 0;
    Application->SetIdleHandler([&Idles] { ++Idles; });
    const unsigned Before = Application->GetPaintPass().PaintMessages();
    const int Paints = S->Paints;
    S->InvalidateRect(Rect(0, 0, 5, 5), false);
    Application->ProcessMessages();
    Application->SetIdleHandler(nullptr);
    EXPECT_EQ(S->Paints, Paints + 1);
    EXPECT_GT(Application->GetPaintPass().PaintMessages(), Before);
    EXPECT_GE(Idles, 1);
}

#ifndef NDEBUG
TEST_F(PaintingTest, InvalidatingOrPaintingOffTheUserInterfaceThreadStopsADebugBuild) {
    TSquare* S = Add(10, 10, 40, 30, clWhite);
    Form->Show();
    Host.RunUntilIdle();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(std::thread([S] { S->Invalidate(); }).join(), "user-interface thread");
    S->InvalidateRect(Rect(0, 0, 5, 5), false);
    EXPECT_DEATH(std::thread([] { Application->GetPaintPass().PaintAll(); }).join(),
                 "user-interface thread");
}
#endif
