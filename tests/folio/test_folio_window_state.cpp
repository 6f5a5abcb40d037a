// The bar's window and what it asks of the framework: the 3-D change
// message, a new window after a border change that keeps all the bar's
// state, the flat frame's pixels, the scroll arrows' size and the pointer's
// place in client coordinates.
#include "folio/Folio.h"
#include "folio/FolioLiveInspector.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

// Counts the 3-D change messages that reach the bar and the windows made
// for it.
struct TCountingBar : TFolio {
    using TFolio::TFolio;
    int Ctl3DChanges = 0;
    int WindowsMade = 0;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == CM_CTL3DCHANGED) ++Ctl3DChanges;
        TFolio::Dispatch(Message);
    }

protected:
    void CreateWnd() override {
        ++WindowsMade;
        TFolio::CreateWnd();
    }
};

// A shown form with a panel holding a bar of three groups, the first long
// and scrolled.
struct FolioWindowTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TPanel* Panel = nullptr;
    TCountingBar* Bar = nullptr;

    void SetUp() override {
        Form->SetBounds(0, 0, 400, 400);
        Panel = new TPanel(Form.get());
        Panel->SetBounds(0, 0, 380, 380);
        Panel->SetParent(Form.get());
        Bar = new TCountingBar(Form.get());
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(20, 30, 160, 300);
        Bar->SetParent(Panel);
        for (const char* Caption : {"Mail", "Places", "Tools"}) {
            TFolioGroup* G = Bar->GetGroups()->Add(Caption);
            for (int I = 0; I < 12; ++I) G->GetItems()->Add(Caption + std::to_string(I), -1);
        }
        Form->Show();
        Host.RunUntilIdle();
    }

    TPoint OnForm(TPoint BarClient) const {
        return Form->ScreenToClient(Bar->ClientToScreen(BarClient));
    }
    TColor Px(TPoint BarWindow) const {
        // Window coordinates: the client area starts one border in.
        const int Border = (Bar->GetWidth() - Bar->GetClientWidth()) / 2;
        const TPoint P = OnForm(Point(BarWindow.X - Border, BarWindow.Y - Border));
        return Host.Pixel(Form.get(), P.X, P.Y);
    }
};

} // namespace

// CM_CTL3DCHANGED reaches the bar once per real change, from its own Ctl3D
// or from its parent's when it follows the parent; each time the window is
// made again, so that the border follows.
TEST_F(FolioWindowTest, TheCtl3DChangeMessageRecreatesTheWindowWithItsNewBorder) {
    struct TCase {
        const char* Name;
        std::function<void()> Change;
        int Messages;
        bool Ctl3D;
    } const Cases[] = {
        {"turned off", [&] { Bar->SetCtl3D(false); }, 1, false},
        {"set to what it is", [&] { Bar->SetCtl3D(false); }, 0, false},
        {"turned on", [&] { Bar->SetCtl3D(true); }, 1, true},
        {"following the parent",
         [&] {
             Bar->SetParentCtl3D(true);
             Panel->SetCtl3D(false);
         },
         1, false},
        {"the message sent as such", [&] { Bar->Perform(CM_CTL3DCHANGED, 0, 0); }, 1, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Bar->Ctl3DChanges = 0;
        Bar->WindowsMade = 0;
        C.Change();
        Host.RunUntilIdle();
        EXPECT_EQ(Bar->Ctl3DChanges, C.Messages);
        EXPECT_EQ(Bar->WindowsMade, C.Messages) << "a new window per change";
        EXPECT_EQ(Bar->GetCtl3D(), C.Ctl3D);
        // A sunken client edge is two pixels, the plain border one.
        EXPECT_EQ(Bar->GetWidth() - Bar->GetClientWidth(), C.Ctl3D ? 4 : 2);
        EXPECT_TRUE(Bar->HandleAllocated());
    }
}

// A new window after a Ctl3D, BorderStyle or FlatBorder change keeps every
// property and all state: the open group, its scroll position, the pointer's
// item, the keyboard's item and the focus, an open caption editor with its
// text.
TEST_F(FolioWindowTest, ANewWindowAfterABorderChangeKeepsAllState) {
    struct TCase {
        const char* Name;
        std::function<void(TFolio&)> Change;
    } const Cases[] = {
        {"Ctl3D", [](TFolio& B) { B.SetCtl3D(!B.GetCtl3D()); }},
        {"BorderStyle",
         [](TFolio& B) { B.SetBorderStyle(B.GetBorderStyle() == bsNone ? bsSingle : bsNone); }},
        {"FlatBorder", [](TFolio& B) { B.SetFlatBorder(!B.GetFlatBorder()); }},
    };
    Bar->SetTabStop(true);
    Bar->SetVisibleGroup(1);
    TFolioGroup* Places = Bar->GetGroups()->GetGroup(1);
    Places->SetStartItem(3);
    Bar->SetFocus();
    Bar->SetFocusedItem(Places->GetItems()->GetItem(4));
    const TRect Picture = Places->GetItems()->GetItem(5)->GetImageRect();
    Host.MoveTo(Bar->ClientToScreen(
        Point((Picture.Left + Picture.Right) / 2, (Picture.Top + Picture.Bottom) / 2)));
    Host.RunUntilIdle();
    ASSERT_EQ(Bar->GetItemUnderCursor(), Places->GetItems()->GetItem(5));
    ASSERT_TRUE(Bar->EditGroup(Bar->GetGroups()->GetGroup(2)));
    LI::Editor(*Bar)->SetText("Typed");
    ASSERT_EQ(Form->GetActiveControl(), Bar);
    ASSERT_TRUE(LI::Editor(*Bar)->Focused());

    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const int Made = Bar->WindowsMade;
        C.Change(*Bar);
        Host.RunUntilIdle();
        EXPECT_GT(Bar->WindowsMade, Made) << "the window was made again";
        EXPECT_EQ(Bar->GetGroups()->GetCount(), 3);
        EXPECT_EQ(Bar->GetVisibleGroup(), 1);
        EXPECT_EQ(Places->GetStartItem(), 3);
        EXPECT_EQ(Bar->GetItemUnderCursor(), Places->GetItems()->GetItem(5));
        EXPECT_EQ(Bar->GetFocusedItem(), Places->GetItems()->GetItem(4));
        EXPECT_EQ(Form->GetActiveControl(), Bar);
        EXPECT_TRUE(LI::Editor(*Bar)->Focused());
        ASSERT_NE(LI::Editor(*Bar), nullptr);
        EXPECT_TRUE(LI::Editing(*Bar));
        EXPECT_EQ(LI::Editor(*Bar)->GetText(), "Typed");
        EXPECT_EQ(LI::Editor(*Bar)->GetParent(), Bar);
        EXPECT_EQ(Bar->GetTabStop(), true);
        EXPECT_EQ(Bar->GetAnimationStyle(), asNone);
    }
    Bar->HideEditor(true);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(2)->GetCaption(), "Typed");
}

// The flat frame is a one-pixel sunken edge over the plain border: the
// button shadow along the top and left, the highlight along the right and
// bottom. Without it the plain border shows its own colour there.
TEST_F(FolioWindowTest, TheFlatBorderIsASunkenEdgeOverThePlainBorder) {
    Bar->SetColor(0x0000FF00);
    Bar->GetGroups()->Clear();
    Bar->SetFlatBorder(true);
    Host.RunUntilIdle();
    ASSERT_EQ(Bar->GetWidth() - Bar->GetClientWidth(), 2);
    const int W = Bar->GetWidth(), H = Bar->GetHeight();
    const TColor Shadow = ColorToRGB(clBtnShadow), Light = ColorToRGB(clBtnHighlight);
    struct TProbe {
        const char* Where;
        TPoint At;
        TColor Colour;
    } const Probes[] = {
        {"top", Point(W / 2, 0), Shadow},          {"left", Point(0, H / 2), Shadow},
        {"right", Point(W - 1, H / 2), Light},     {"bottom", Point(W / 2, H - 1), Light},
        {"inside", Point(W / 2, H / 2), 0x00FF00},
    };
    for (const TProbe& P : Probes) EXPECT_EQ(Px(P.At), P.Colour) << P.Where;

    Bar->SetFlatBorder(false);
    Host.RunUntilIdle();
    ASSERT_FALSE(Bar->GetCtl3D());
    EXPECT_NE(Px(Point(W / 2, 0)), Shadow) << "the plain border";
    EXPECT_NE(Px(Point(W / 2, H - 1)), Light) << "the plain border";
}

// The scroll buttons are the platform's scroll arrows: as wide and as high
// as its metrics say, at the open group's right edge in a vertical bar and
// at its bottom in a horizontal one.
TEST_F(FolioWindowTest, ScrollButtonsTakeTheScrollArrowSize) {
    const int ArrowW = GetSystemMetrics(SM_CXVSCROLL), ArrowH = GetSystemMetrics(SM_CYVSCROLL);
    ASSERT_GT(ArrowW, 0);
    for (const TFolAlignment Alignment : {baVertical, baHorizontal}) {
        SCOPED_TRACE(Alignment == baVertical ? "vertical" : "horizontal");
        Bar->SetAlignment(Alignment);
        Bar->SetBounds(20, 30, Alignment == baVertical ? 160 : 340,
                       Alignment == baVertical ? 300 : 160);
        TFolioGroup* Open = Bar->GetVisibleGroupObject();
        Open->SetStartItem(2);
        ASSERT_TRUE(Open->GetPrevButtonVisible());
        ASSERT_TRUE(Open->GetNextButtonVisible());
        for (const TRect R : {Open->GetPrevButtonRect(), Open->GetNextButtonRect()}) {
            EXPECT_EQ(R.Width(), ArrowW);
            EXPECT_EQ(R.Height(), ArrowH);
        }
        Open->SetStartItem(0);
    }
}

// The pointer's place on the screen, and the same place in the bar's client
// coordinates, which the bar's hit tests take.
TEST_F(FolioWindowTest, ThePointersPlaceConvertsToTheBarsClientCoordinates) {
    const TRect Caption = Bar->GetGroups()->GetGroup(1)->GetCaptionRect();
    struct TCase {
        TPoint Client;
    } const Cases[] = {{Point(0, 0)},
                       {Point(5, Caption.Top + 3)},
                       {Point(-10, -20)},
                       {Point(Bar->GetClientWidth() + 7, 40)}};
    for (const TCase& C : Cases) {
        const TPoint Screen = Bar->ClientToScreen(C.Client);
        Host.MoveTo(Screen);
        TPoint Got;
        ASSERT_TRUE(GetCursorPos(Got));
        EXPECT_EQ(Got, Screen);
        EXPECT_EQ(Mouse->GetCursorPos(), Screen);
        EXPECT_EQ(Bar->ScreenToClient(Got), C.Client);
        EXPECT_EQ(
            Panel->ScreenToClient(Got),
            Point(C.Client.X + Bar->GetLeft() + (Bar->GetWidth() - Bar->GetClientWidth()) / 2,
                  C.Client.Y + Bar->GetTop() + (Bar->GetHeight() - Bar->GetClientHeight()) / 2));
    }
    // The hit test of the pointer's place finds the caption under it.
    Host.MoveTo(Bar->ClientToScreen(Point(5, Caption.Top + 3)));
    Host.RunUntilIdle();
    EXPECT_EQ(Bar->GetGroupUnderCursor(), Bar->GetGroups()->GetGroup(1));
}
