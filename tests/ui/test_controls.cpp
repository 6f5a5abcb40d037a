#include "framework/core/SysUtils.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/PaintPass.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

// A windowed control that records what reaches it.
class TProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<String> Log;
    int Paints = 0;
    TRect LastClip;
    int CreateParamsCalls = 0;
    unsigned ExtraStyle = 0, ExtraExStyle = 0;

    void CreateParams(TCreateParams& P) override {
        TCustomControl::CreateParams(P);
        ++CreateParamsCalls;
        P.Style |= ExtraStyle;
        P.ExStyle |= ExtraExStyle;
    }
    void Paint() override {
        ++Paints;
        LastClip = Application->GetPaintPass().CurrentClip();
    }
    void Dispatch(TMessage& M) override {
        if (M.Msg == CM_MOUSEENTER) Log.push_back("enter");
        if (M.Msg == CM_MOUSELEAVE) Log.push_back("leave");
        TCustomControl::Dispatch(M);
    }
    using TWinControl::CreateParams;
};

class TGraphicProbe : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;
    void Paint() override { ++Paints; }
};

struct ControlsTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 50, 400, 300);
    }
    void TearDown() override { Form.reset(); }

    TProbe* AddProbe(int L, int T, int W, int H) {
        auto* P = new TProbe(Form.get());
        P->SetBounds(L, T, W, H);
        P->SetParent(Form.get());
        return P;
    }
};

TEST_F(ControlsTest, NoHandleBeforeTheFormIsShownThenEveryVisibleWindowGetsOne) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* Hidden = AddProbe(70, 10, 50, 50);
    Hidden->SetVisible(false);
    EXPECT_FALSE(Form->HandleAllocated());
    EXPECT_FALSE(A->HandleAllocated());
    Form->Show();
    EXPECT_TRUE(Form->HandleAllocated());
    EXPECT_TRUE(A->HandleAllocated());
    EXPECT_FALSE(Hidden->HandleAllocated());
    Hidden->SetVisible(true);
    EXPECT_TRUE(Hidden->HandleAllocated());
    // A control given a shown parent gets its window at once.
    TProbe* Late = AddProbe(0, 100, 20, 20);
    EXPECT_TRUE(Late->HandleAllocated());
    EXPECT_EQ(FindControl(Late->GetHandle()), Late);
}

TEST_F(ControlsTest, MouseEventsReachTheControlUnderThePointerInClientCoordinates) {
    TProbe* A = AddProbe(10, 20, 100, 50);
    TProbe* B = AddProbe(60, 40, 100, 50); // above A where they overlap
    auto* G = new TGraphicProbe(Form.get());
    G->SetBounds(200, 200, 40, 40);
    G->SetParent(Form.get());
    Form->Show();
    std::vector<String> Log;
    auto Rec = [&Log](const char* Name) {
        return [&Log, Name](TObject*, TMouseButton, TShiftState, int X, int Y) {
            Log.push_back(Format("%s %d,%d", Name, X, Y));
        };
    };
    A->OnMouseDown = Rec("A");
    B->OnMouseDown = Rec("B");
    G->OnMouseDown = Rec("G");
    Form->OnMouseDown = Rec("F");

    Host.Click(100 + 15, 50 + 25);   // inside A only
    Host.Click(100 + 70, 50 + 45);   // the overlap: B is on top
    Host.Click(100 + 210, 50 + 205); // graphic control
    Host.Click(100 + 390, 50 + 290); // the form itself
    EXPECT_EQ(Log, (std::vector<String>{"A 5,5", "B 10,5", "G 10,5", "F 390,290"}));
}

TEST_F(ControlsTest, ClickFiresOnlyWhenReleasedInsideAndDoubleClickFiresDblClick) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    Form->Show();
    int Clicks = 0, Doubles = 0;
    A->OnClick = [&](TObject*) { ++Clicks; };
    A->OnDblClick = [&](TObject*) { ++Doubles; };
    Host.Click(120, 70);
    EXPECT_EQ(Clicks, 1);
    Host.Run(1000);
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(300, 300); // released outside: no click
    Host.Release();
    EXPECT_EQ(Clicks, 1);
    Host.Run(1000);
    Host.DoubleClick(120, 70);
    EXPECT_EQ(Doubles, 1);
}

// The router, not the window system, decides which press is the second of a
// double click: the same button on the same control, soon enough and close
// enough to the first; a third press starts a new pair.
TEST_F(ControlsTest, DoubleClicksNeedTheSameControlButtonPlaceAndAShortPause) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(70, 10, 50, 50);
    Form->Show();
    std::vector<String> Log;
    for (TProbe* P : {A, B}) {
        const char* Name = P == A ? "A" : "B";
        P->OnMouseDown = [&Log, Name](TObject*, TMouseButton Button, TShiftState Shift, int, int) {
            Log.push_back(Format("%s %s%s", Name, Button == mbLeft ? "left" : "right",
                                 Shift.Contains(ssDouble) ? " double" : ""));
        };
    }
    const TPoint InA = A->ClientToScreen(Point(30, 30));
    const TPoint InB = B->ClientToScreen(Point(5, 30));
    const int Time = static_cast<int>(GetDoubleClickTime());
    const int Near = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    struct TCase {
        const char* Name;
        TPoint Second;
        int Pause;
        TMouseButton SecondButton;
        std::vector<String> Expected;
    };
    const TCase Cases[] = {
        {"at once, same place", InA, 0, mbLeft, {"A left", "A left double"}},
        {"at the last moment", InA, Time, mbLeft, {"A left", "A left double"}},
        {"too late", InA, Time + 1, mbLeft, {"A left", "A left"}},
        {"within the distance",
         Point(InA.X + Near, InA.Y - Near),
         0,
         mbLeft,
         {"A left", "A left double"}},
        {"too far", Point(InA.X + Near + 1, InA.Y), 0, mbLeft, {"A left", "A left"}},
        {"another button", InA, 0, mbRight, {"A left", "A right"}},
        {"another control", InB, 0, mbLeft, {"A left", "B left"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Log.clear();
        Host.Run(Time + 1);
        Host.Click(InA.X, InA.Y);
        Host.Run(C.Pause);
        Host.Click(C.Second.X, C.Second.Y, C.SecondButton);
        EXPECT_EQ(Log, C.Expected);
    }

    // Three quick clicks: one double click, then a single press again.
    Log.clear();
    Host.Run(Time + 1);
    for (int I = 0; I < 3; ++I) Host.Click(InA.X, InA.Y);
    EXPECT_EQ(Log, (std::vector<String>{"A left", "A left double", "A left"}));

    // A click that opens a modal form, closed at once, and a quick click
    // after it are two single clicks.
    Log.clear();
    Host.Run(Time + 1);
    TForm Dialog(nullptr);
    A->OnClick = [&](TObject*) {
        Host.Defer([&] { Dialog.Close(); });
        Dialog.ShowModal();
    };
    Host.Click(InA.X, InA.Y);
    A->OnClick = nullptr;
    Host.Click(InA.X, InA.Y);
    EXPECT_EQ(Log, (std::vector<String>{"A left", "A left"}));
}

TEST_F(ControlsTest, ThePressedControlKeepsTheMouseUntilRelease) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50);
    Form->Show();
    std::vector<String> Log;
    A->OnMouseMove = [&](TObject*, TShiftState S, int X, int Y) {
        Log.push_back(Format("A move %d,%d%s", X, Y, S.Contains(ssLeft) ? " left" : ""));
    };
    A->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Log.push_back(Format("A up %d,%d", X, Y));
    };
    B->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
        Log.push_back(Format("B move %d,%d", X, Y));
    };
    Host.MoveTo(120, 70);
    Host.Press();
    EXPECT_TRUE(A->GetMouseCapture());
    Host.MoveTo(210, 70); // over B, still A's
    Host.Release();
    EXPECT_FALSE(A->GetMouseCapture());
    Host.MoveTo(211, 70); // now B's
    EXPECT_EQ(Log, (std::vector<String>{"A move 10,10", "A move 100,10 left", "A up 100,10",
                                        "B move 11,10"}));
}

TEST_F(ControlsTest, EnterAndLeaveFollowThePointerAlsoDuringAPress) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50);
    Form->Show();
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(300, 300);
    EXPECT_EQ(A->Log, (std::vector<String>{"enter", "leave"}));
    Host.Release();
    Host.MoveTo(210, 70);
    EXPECT_EQ(B->Log, (std::vector<String>{"enter"}));
    // Hiding the control under the pointer makes it leave.
    B->SetVisible(false);
    EXPECT_EQ(B->Log, (std::vector<String>{"enter", "leave"}));

    // The pointer leaving the host's window leaves the control too, but not
    // while a button holds the mouse.
    A->Log.clear();
    Host.MoveTo(120, 70);
    Host.Press();
    InputRouter->MouseExit();
    EXPECT_EQ(A->Log, (std::vector<String>{"enter"}));
    Host.Release();
    InputRouter->MouseExit();
    EXPECT_EQ(A->Log, (std::vector<String>{"enter", "leave"}));
    EXPECT_EQ(InputRouter->GetMouseControl(), nullptr);
}

TEST_F(ControlsTest, TheCursorIsTheOneOfTheControlUnderThePointer) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    Form->Show();
    A->SetCursor(crHandPoint);
    Host.MoveTo(120, 70);
    EXPECT_EQ(Host.GetCursor(), crHandPoint);
    Host.MoveTo(300, 300);
    EXPECT_EQ(Host.GetCursor(), crArrow);
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Host.GetCursor(), crHourGlass);
    Screen->SetCursor(crDefault);
}

TEST_F(ControlsTest, BorderBitsShrinkTheClientAreaAndMoveChildren) {
    TProbe* A = AddProbe(10, 10, 100, 80);
    EXPECT_EQ(A->GetClientRect(), Rect(0, 0, 100, 80));
    A->ExtraStyle = WS_BORDER;
    EXPECT_EQ(A->GetClientRect(), Rect(0, 0, 98, 78));
    A->ExtraExStyle = WS_EX_CLIENTEDGE;
    EXPECT_EQ(A->GetClientRect(), Rect(0, 0, 94, 74));
    Form->Show();
    EXPECT_EQ(A->GetClientWidth(), 94);
    // Style changes through the window take effect at once.
    const HWND H = A->GetHandle();
    SetWindowLong(H, GWL_STYLE, GetWindowLong(H, GWL_STYLE) & ~WS_BORDER);
    EXPECT_EQ(A->GetClientRect(), Rect(0, 0, 96, 76));
    EXPECT_EQ(A->ClientToScreen(Point(0, 0)), Point(100 + 10 + 2, 50 + 10 + 2));
    // A click on the frame goes to the control, with client coordinates
    // that count from inside the frame.
    int X = -100;
    A->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int MX, int) { X = MX; };
    Host.Click(100 + 10 + 2 + 5, 50 + 30);
    EXPECT_EQ(X, 5);
}

TEST_F(ControlsTest, RecreateWndKeepsPropertiesChildrenAndAsksCreateParamsAgain) {
    TProbe* A = AddProbe(10, 10, 200, 150);
    auto* Child = new TProbe(Form.get());
    Child->SetBounds(5, 6, 30, 20);
    Child->SetParent(A);
    A->SetColor(0x0000FF);
    A->SetText("caption");
    A->SetTabStop(true);
    Form->Show();
    const HWND Old = A->GetHandle();
    const int Calls = A->CreateParamsCalls;
    A->ExtraExStyle = WS_EX_CLIENTEDGE;
    A->RecreateWnd();
    EXPECT_NE(A->GetHandle(), Old);
    EXPECT_FALSE(IsWindow(Old));
    EXPECT_GT(A->CreateParamsCalls, Calls);
    EXPECT_EQ(GetWindowLong(A->GetHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE);
    EXPECT_EQ(A->GetColor(), 0x0000FF);
    EXPECT_EQ(A->GetText(), "caption");
    EXPECT_TRUE(A->GetTabStop());
    EXPECT_EQ(A->GetBoundsRect(), Bounds(10, 10, 200, 150));
    ASSERT_EQ(A->ControlCount(), 1);
    EXPECT_EQ(A->Controls(0), Child);
    EXPECT_TRUE(Child->HandleAllocated());
    EXPECT_EQ(Child->GetBoundsRect(), Bounds(5, 6, 30, 20));
}

TEST_F(ControlsTest, InvalidationPaintsOnlyDirtyWindowsWhenIdle) {
    TProbe* A = AddProbe(10, 10, 100, 100);
    TProbe* B = AddProbe(200, 10, 100, 100);
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(A->Paints, 1);
    EXPECT_EQ(B->Paints, 1);
    // Invalidations close together merge into one paint of their union
    // (far apart ones paint apart: see the painting tests).
    TRect R1 = Rect(5, 5, 10, 10), R2 = Rect(14, 12, 25, 40);
    InvalidateRect(A->GetHandle(), &R1, false);
    InvalidateRect(A->GetHandle(), &R2, false);
    EXPECT_EQ(A->Paints, 1); // nothing before the loop is idle
    Host.RunUntilIdle();
    EXPECT_EQ(A->Paints, 2);
    EXPECT_EQ(B->Paints, 1);
    EXPECT_EQ(A->LastClip, Rect(5, 5, 25, 40));
    // Update paints at once.
    B->Invalidate();
    B->Update();
    EXPECT_EQ(B->Paints, 2);
    Host.RunUntilIdle();
    EXPECT_EQ(B->Paints, 2);
}

TEST_F(ControlsTest, AParentPaintingOverAChildMakesTheChildRepaint) {
    TProbe* A = AddProbe(10, 10, 100, 100);
    Form->Show();
    Host.RunUntilIdle();
    int FormPaints = 0;
    Form->OnResize = nullptr;
    const int Before = A->Paints;
    TRect R = Rect(0, 0, 30, 30);
    InvalidateRect(Form->GetHandle(), &R, true);
    Host.RunUntilIdle();
    EXPECT_EQ(A->Paints, Before + 1);
    EXPECT_EQ(A->LastClip, Rect(0, 0, 20, 20));
    (void)FormPaints;
}

TEST_F(ControlsTest, AGraphicControlPaintsWithItsParent) {
    auto* G = new TGraphicProbe(Form.get());
    G->SetBounds(20, 20, 30, 30);
    G->SetParent(Form.get());
    Form->Show();
    Host.RunUntilIdle();
    EXPECT_EQ(G->Paints, 1);
    G->Invalidate();
    Host.RunUntilIdle();
    EXPECT_EQ(G->Paints, 2);
    TRect Away = Rect(200, 200, 210, 210);
    InvalidateRect(Form->GetHandle(), &Away, true);
    Host.RunUntilIdle();
    EXPECT_EQ(G->Paints, 2);
}

TEST_F(ControlsTest, AlignLaysChildrenOutInTheClientArea) {
    TProbe* Top = AddProbe(0, 0, 10, 30);
    TProbe* Left = AddProbe(0, 0, 40, 10);
    TProbe* Client = AddProbe(0, 0, 10, 10);
    Top->SetAlign(alTop);
    Left->SetAlign(alLeft);
    Client->SetAlign(alClient);
    EXPECT_EQ(Top->GetBoundsRect(), Rect(0, 0, 400, 30));
    EXPECT_EQ(Left->GetBoundsRect(), Rect(0, 30, 40, 300));
    EXPECT_EQ(Client->GetBoundsRect(), Rect(40, 30, 400, 300));
    int Resized = 0;
    Client->OnResize = [&](TObject*) { ++Resized; };
    Form->SetBounds(100, 50, 500, 300);
    EXPECT_EQ(Client->GetBoundsRect(), Rect(40, 30, 500, 300));
    EXPECT_EQ(Resized, 1);
}

TEST_F(ControlsTest, AnchorsKeepTheDistanceToTheRightAndBottomEdges) {
    TProbe* Stuck = AddProbe(350, 250, 40, 40);
    Stuck->SetAnchors({akRight, akBottom});
    TProbe* Wide = AddProbe(10, 10, 380, 20);
    Wide->SetAnchors({akLeft, akTop, akRight});
    TProbe* Plain = AddProbe(10, 100, 20, 20);
    Form->SetBounds(100, 50, 500, 350);
    EXPECT_EQ(Stuck->GetBoundsRect(), Bounds(450, 300, 40, 40));
    EXPECT_EQ(Wide->GetBoundsRect(), Bounds(10, 10, 480, 20));
    EXPECT_EQ(Plain->GetBoundsRect(), Bounds(10, 100, 20, 20));
}

TEST_F(ControlsTest, CanResizeAndConstraintsLimitTheSize) {
    TProbe* A = AddProbe(0, 0, 50, 50);
    A->GetConstraints()->SetMaxWidth(80);
    A->SetWidth(100);
    EXPECT_EQ(A->GetWidth(), 80);
    A->OnCanResize = [](TObject*, int&, int& H, bool& Resize) {
        if (H > 60) Resize = false;
    };
    A->SetHeight(70);
    EXPECT_EQ(A->GetHeight(), 50);
    A->OnConstrainedResize = [](TObject*, int& MinW, int&, int&, int&) { MinW = 60; };
    A->SetWidth(10);
    EXPECT_EQ(A->GetWidth(), 60);

    // A limit the current size passes resizes the control at once.
    TProbe* B = AddProbe(0, 0, 120, 40);
    B->GetConstraints()->SetMaxWidth(90);
    B->GetConstraints()->SetMinHeight(55);
    EXPECT_EQ(B->GetBoundsRect(), Bounds(0, 0, 90, 55));
}

TEST_F(ControlsTest, KeysGoToTheFocusedControlAndTabMovesTheFocus) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50);
    TProbe* C = AddProbe(200, 10, 50, 50);
    A->SetTabStop(true);
    B->SetTabStop(false);
    C->SetTabStop(true);
    std::vector<String> Log;
    A->OnEnter = [&](TObject*) { Log.push_back("A enter"); };
    A->OnExit = [&](TObject*) { Log.push_back("A exit"); };
    C->OnEnter = [&](TObject*) { Log.push_back("C enter"); };
    A->OnKeyDown = [&](TObject*, unsigned short& K, TShiftState) {
        Log.push_back(Format("A key %d", K));
    };
    A->OnKeyPress = [&](TObject*, char& K) { Log.push_back(Format("A char %c", K)); };
    Form->Show();
    A->SetFocus();
    EXPECT_TRUE(A->Focused());
    EXPECT_EQ(Form->GetActiveControl(), A);
    Host.KeyDown('X');
    Host.Type("y");
    Host.Key(VK_TAB);
    EXPECT_TRUE(C->Focused());
    Host.Key(VK_TAB, {ssShift});
    EXPECT_TRUE(A->Focused());
    EXPECT_EQ(Log, (std::vector<String>{"A enter", "A key 88", "A char y", "A exit", "C enter",
                                        "A enter"}));
}

TEST_F(ControlsTest, AControlThatWantsTabGetsIt) {
    class TWantsTab : public TProbe {
    public:
        using TProbe::TProbe;
        void Dispatch(TMessage& M) override {
            if (M.Msg == WM_GETDLGCODE) {
                M.Result = DLGC_WANTTAB;
                return;
            }
            TProbe::Dispatch(M);
        }
    };
    auto* A = new TWantsTab(Form.get());
    A->SetParent(Form.get());
    A->SetTabStop(true);
    TProbe* B = AddProbe(100, 10, 50, 50);
    B->SetTabStop(true);
    String Typed;
    A->OnKeyPress = [&](TObject*, char& K) { Typed += K; };
    Form->Show();
    A->SetFocus();
    Host.Key(VK_TAB);
    EXPECT_TRUE(A->Focused());
    EXPECT_EQ(Typed, "\t");
}

TEST_F(ControlsTest, ArrowsMoveTheFocusAmongSiblingsUnlessTheControlWantsThem) {
    class TWantsArrows : public TProbe {
    public:
        using TProbe::TProbe;
        void Dispatch(TMessage& M) override {
            if (M.Msg == WM_GETDLGCODE) {
                M.Result = DLGC_WANTARROWS;
                return;
            }
            TProbe::Dispatch(M);
        }
    };
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50); // no tab stop: arrows still reach it
    auto* C = new TWantsArrows(Form.get());
    C->SetBounds(200, 10, 50, 50);
    C->SetParent(Form.get());
    A->SetTabStop(true);
    C->SetTabStop(true);
    std::vector<String> Keys;
    C->OnKeyDown = [&](TObject*, unsigned short& K, TShiftState) {
        Keys.push_back(Format("C key %d", K));
    };
    Form->Show();
    A->SetFocus();
    Host.Key(VK_RIGHT);
    EXPECT_TRUE(B->Focused());
    Host.Key(VK_DOWN);
    EXPECT_TRUE(C->Focused());
    // C handles arrows itself: they reach it and the focus stays.
    Host.Key(VK_LEFT);
    Host.Key(VK_UP);
    EXPECT_TRUE(C->Focused());
    EXPECT_EQ(Keys, (std::vector<String>{Format("C key %d", VK_LEFT), Format("C key %d", VK_UP)}));
    B->SetFocus();
    Host.Key(VK_LEFT);
    EXPECT_TRUE(A->Focused());
    Host.Key(VK_UP); // wraps round to the last sibling
    EXPECT_TRUE(C->Focused());
}

TEST_F(ControlsTest, AFormWithKeyPreviewSeesKeysFirstAndMaySwallowOrChangeThem) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    std::vector<String> Log;
    Form->OnKeyDown = [&](TObject*, unsigned short& K, TShiftState) {
        Log.push_back(Format("form down %d", K));
        if (K == 'Q') K = 0;
        if (K == 'R') K = 'S';
    };
    Form->OnKeyPress = [&](TObject*, char& K) {
        Log.push_back(Format("form char %c", K));
        if (K == 'q') K = 0;
    };
    Form->OnKeyUp = [&](TObject*, unsigned short& K, TShiftState) {
        Log.push_back(Format("form up %d", K));
    };
    A->OnKeyDown = [&](TObject*, unsigned short& K, TShiftState) {
        Log.push_back(Format("A down %d", K));
    };
    A->OnKeyPress = [&](TObject*, char& K) { Log.push_back(Format("A char %c", K)); };
    A->OnKeyUp = [&](TObject*, unsigned short& K, TShiftState) {
        Log.push_back(Format("A up %d", K));
    };
    Form->Show();
    A->SetFocus();
    // Without KeyPreview the form hears nothing of its controls' keys.
    Host.KeyDown('X');
    EXPECT_EQ(Log, (std::vector<String>{"A down 88"}));
    Log.clear();
    Form->SetKeyPreview(true);
    Host.KeyDown('X');
    Host.KeyDown('Q');
    Host.KeyDown('R');
    Host.Type("qa");
    Host.KeyUp('X');
    EXPECT_EQ(Log, (std::vector<String>{"form down 88", "A down 88", "form down 81", "form down 82",
                                        "A down 83", "form char q", "form char a", "A char a",
                                        "form up 88", "A up 88"}));
}

TEST_F(ControlsTest, AFormMayRefuseTheFocusedControl) {
    class TPickyForm : public TForm {
    public:
        using TForm::TForm;
        TWinControl* Refused = nullptr;
        bool SetFocusedControl(TWinControl* C) override {
            if (C == Refused) return false;
            return TForm::SetFocusedControl(C);
        }
    };
    auto F = std::make_unique<TPickyForm>(nullptr);
    auto* A = new TProbe(F.get());
    A->SetParent(F.get());
    int Focus = 0;
    A->OnEnter = [&](TObject*) { ++Focus; };
    F->Refused = A;
    F->Show();
    A->SetFocus();
    EXPECT_EQ(Focus, 0);
    EXPECT_NE(F->GetFocusedControl(), A);
}

TEST_F(ControlsTest, WheelGoesToTheControlUnderThePointerAndUpToItsParentWhenUnhandled) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50);
    Form->Show();
    A->SetFocus();
    std::vector<String> Log;
    A->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        Log.push_back("A down");
        Handled = true;
    };
    B->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        Log.push_back("B down");
        Handled = true;
    };
    Form->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& Handled) {
        Log.push_back("form up");
        Handled = true;
    };
    // Over B, which takes turns towards the user and leaves the others to
    // its parent; the focused A is never asked.
    Host.MoveTo(B->ClientToScreen(Point(20, 20)));
    Host.Wheel(-WHEEL_DELTA);
    Host.Wheel(WHEEL_DELTA);
    // Over the form's own area only the form is asked.
    Host.MoveTo(Form->ClientToScreen(Point(300, 150)));
    Host.Wheel(-WHEEL_DELTA);
    Host.Wheel(WHEEL_DELTA);
    EXPECT_EQ(Log, (std::vector<String>{"B down", "form up", "form up"}));
}

TEST_F(ControlsTest, ParentFontAndColourFollowTheParentUntilSetDirectly) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    A->SetParentColor(true);
    Form->SetColor(0x00FFFF);
    EXPECT_EQ(A->GetColor(), 0x00FFFF);
    A->SetColor(0xFF0000);
    EXPECT_FALSE(A->GetParentColor());
    Form->SetColor(0x008000);
    EXPECT_EQ(A->GetColor(), 0xFF0000);

    Form->GetFont()->SetHeight(-20);
    EXPECT_EQ(A->GetFont()->GetHeight(), -20);
    EXPECT_TRUE(A->GetParentFont());
    A->GetFont()->SetHeight(-9);
    EXPECT_FALSE(A->GetParentFont());
    Form->GetFont()->SetHeight(-30);
    EXPECT_EQ(A->GetFont()->GetHeight(), -9);
}

TEST_F(ControlsTest, DrawTextBiDiModeFlagsFollowTheReadingOrder) {
    TProbe* A = AddProbe(0, 0, 10, 10);
    EXPECT_EQ(A->DrawTextBiDiModeFlags(0x0), 0x0u);
    A->SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(A->UseRightToLeftReading());
    EXPECT_EQ(A->DrawTextBiDiModeFlags(0x0), 0x2u | 0x20000u);
    EXPECT_EQ(A->DrawTextBiDiModeFlags(0x2), 0x20000u);
    A->SetBiDiMode(bdRightToLeftReadingOnly);
    EXPECT_EQ(A->DrawTextBiDiModeFlags(0x0), 0x20000u);
}

TEST_F(ControlsTest, PublishedTableDeclaresInheritedPropertiesUnpublished) {
    const TClassInfo& Info = TControl::StaticClassInfo();
    EXPECT_NE(Info.FindProperty("Left"), nullptr);
    EXPECT_EQ(Info.FindProperty("Align"), nullptr);
    ASSERT_NE(Info.FindDeclared("Align"), nullptr);
    EXPECT_NE(TWinControl::StaticClassInfo().FindDeclared("TabStop"), nullptr);
    EXPECT_NE(TForm::StaticClassInfo().FindProperty("Caption"), nullptr);
}

TEST_F(ControlsTest, PopupMenuReferenceIsDroppedWhenTheMenuIsFreed) {
    TProbe* A = AddProbe(0, 0, 10, 10);
    auto* Menu = new TComponent(nullptr);
    A->SetPopupMenu(Menu);
    EXPECT_EQ(A->GetPopupMenu(), Menu);
    delete Menu;
    EXPECT_EQ(A->GetPopupMenu(), nullptr);
}

TEST_F(ControlsTest, DestroyingAControlUnderThePointerOrWithCaptureIsSafe) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    Form->Show();
    Host.MoveTo(120, 70);
    Host.Press();
    EXPECT_TRUE(A->GetMouseCapture());
    delete A;
    Host.MoveTo(130, 70);
    Host.Release();
    EXPECT_EQ(Form->ControlCount(), 0);
}

// --- modal forms -----------------------------------------------------------

TEST_F(ControlsTest, ShowModalRunsALoopUntilTheResultIsSet) {
    TForm Dialog(nullptr);
    Dialog.SetBounds(0, 0, 100, 100);
    auto* Ok = new TProbe(&Dialog);
    Ok->SetBounds(10, 10, 40, 20);
    Ok->SetParent(&Dialog);
    Ok->OnClick = [&](TObject*) { Dialog.SetModalResult(mrOk); };
    Form->Show();
    int FormClicks = 0;
    Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++FormClicks; };
    Host.Defer([&] {
        EXPECT_TRUE(Dialog.IsModal());
        EXPECT_EQ(Screen->GetActiveForm(), &Dialog);
        Host.Click(300, 250); // on the blocked form: ignored
        Host.Click(20, 15);
    });
    EXPECT_EQ(Dialog.ShowModal(), mrOk);
    EXPECT_FALSE(Dialog.GetVisible());
    EXPECT_EQ(FormClicks, 0);
    EXPECT_EQ(Screen->GetActiveForm(), Form.get());
}

TEST_F(ControlsTest, CloseOnAModalFormAnswersCancel) {
    TForm Dialog(nullptr);
    Host.Defer([&] { Dialog.Close(); });
    EXPECT_EQ(Dialog.ShowModal(), mrCancel);
}

// --- drag and drop ---------------------------------------------------------

struct DragTest : ControlsTest {
    TProbe* Source = nullptr;
    TProbe* Target = nullptr;
    std::vector<String> Log;

    void SetUp() override {
        ControlsTest::SetUp();
        Source = AddProbe(10, 10, 50, 50);    // screen 110..160, 60..110
        Target = AddProbe(200, 10, 100, 100); // screen 300..400, 60..160
        Source->SetDragMode(dmAutomatic);
        Target->OnDragOver = [this](TObject*, TObject* Src, int X, int Y, TDragState S,
                                    bool& Accept) {
            const char* Names[] = {"enter", "leave", "move"};
            Log.push_back(
                Format("%s %d,%d%s", Names[static_cast<int>(S)], X, Y, Src == Source ? "" : " ?"));
            Accept = X < 50;
        };
        Target->OnDragDrop = [this](TObject*, TObject*, int X, int Y) {
            Log.push_back(Format("drop %d,%d", X, Y));
        };
        Source->OnEndDrag = [this](TObject*, TObject* T, int, int) {
            Log.push_back(T == Target ? "end on target" : "end nowhere");
        };
        Form->Show();
    }
};

TEST_F(DragTest, ADragEntersMovesLeavesAndDrops) {
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(121, 71); // below the threshold: still a press
    EXPECT_FALSE(Source->Dragging() && Application->GetDragManager().Active());
    Host.MoveTo(310, 70);
    EXPECT_TRUE(Application->GetDragManager().Active());
    EXPECT_EQ(Host.GetCursor(), crDrag);
    Host.MoveTo(380, 70);
    EXPECT_EQ(Host.GetCursor(), crNoDrop);
    Host.MoveTo(320, 80);
    Host.Release();
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Log, (std::vector<String>{"enter 10,10", "move 10,10", "move 80,10", "move 20,20",
                                        "leave 20,20", "drop 20,20", "end on target"}));
}

TEST_F(DragTest, LeavingTheTargetAndARefusedDropEndNowhere) {
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(310, 70);
    Host.MoveTo(200, 200); // off the target, over the form
    Host.MoveTo(390, 70);  // back, refused there
    Host.Release();
    EXPECT_EQ(Log,
              (std::vector<String>{"enter 10,10", "move 10,10", "leave -100,140", "enter 90,10",
                                   "move 90,10", "leave 90,10", "end nowhere"}));
}

TEST_F(DragTest, EscapeCancelsAndTheDragObjectIsReleased) {
    static int Alive = 0;
    struct TCounted : TDragObject {
        TCounted() { ++Alive; }
        ~TCounted() override { --Alive; }
    };
    TObject* Seen = nullptr;
    Source->OnStartDrag = [](TObject*, TDragObject*& Obj) { Obj = new TCounted; };
    Target->OnDragOver = [&](TObject*, TObject* Src, int, int, TDragState, bool& Accept) {
        Seen = Src;
        Accept = true;
    };
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(310, 70);
    EXPECT_EQ(Alive, 1);
    EXPECT_NE(dynamic_cast<TCounted*>(Seen), nullptr);
    Host.Key(VK_ESCAPE);
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_EQ(Alive, 0);
    Host.Release();
    EXPECT_EQ(Log, (std::vector<String>{"end nowhere"}));
}

TEST_F(DragTest, WithoutOnDragOverATargetRefuses) {
    TProbe* Other = AddProbe(10, 150, 50, 50);
    bool Dropped = false;
    Other->OnDragDrop = [&](TObject*, TObject*, int, int) { Dropped = true; };
    Host.Drag(Point(120, 70), Point(120, 250));
    EXPECT_FALSE(Dropped);
    EXPECT_EQ(Log, (std::vector<String>{"end nowhere"}));
}

TEST_F(DragTest, AReleaseBeforeTheThresholdIsAClick) {
    int Clicks = 0;
    Source->OnClick = [&](TObject*) { ++Clicks; };
    Host.MoveTo(120, 70);
    Host.Press();
    Host.MoveTo(121, 70);
    Host.Release();
    EXPECT_EQ(Clicks, 1);
    EXPECT_TRUE(Log.empty());
}

} // namespace

TEST_F(ControlsTest, WheelNeverGoesSidewaysToTheFocusedControl) {
    TProbe* A = AddProbe(10, 10, 50, 50);
    TProbe* B = AddProbe(100, 10, 50, 50);
    Form->Show();
    A->SetFocus();
    std::vector<String> Log;
    A->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool& Handled) {
        Log.push_back("A");
        Handled = true;
    };
    B->OnMouseWheel = [&](TObject*, TShiftState, int Delta, TPoint, bool& Handled) {
        Log.push_back("B");
        Handled = Delta > 0;
    };
    Form->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { Log.push_back("form"); };
    // Over B, which takes turns away from the user only.
    Host.MoveTo(B->ClientToScreen(Point(20, 20)));
    Host.Wheel(WHEEL_DELTA);
    EXPECT_EQ(Log, (std::vector<String>{"B"}));
    // One it leaves goes up to the form and ends there, unused: the focused
    // control is not under the pointer.
    Log.clear();
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Log, (std::vector<String>{"B", "form"}));
    // Over the focused control it goes there and up, once each.
    Log.clear();
    A->OnMouseWheel = [&](TObject*, TShiftState, int, TPoint, bool&) { Log.push_back("A"); };
    Host.MoveTo(A->ClientToScreen(Point(10, 10)));
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Log, (std::vector<String>{"A", "form"}));
    // Beside every form nothing is asked.
    Log.clear();
    Host.MoveTo(Form->GetLeft() + Form->GetWidth() + 20, Form->GetTop() + 20);
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_TRUE(Log.empty());
}

TEST_F(ControlsTest, SidewaysWheelTurnsReachTheControlUnderThePointer) {
    struct TSideways : TProbe {
        using TProbe::TProbe;
        int Turned = 0;
        bool DoMouseHWheel(TShiftState, int Delta, TPoint) override {
            Turned += Delta;
            return true;
        }
    };
    auto* S = new TSideways(Form.get());
    S->SetBounds(10, 10, 50, 50);
    S->SetParent(Form.get());
    Form->Show();
    Host.MoveTo(S->ClientToScreen(Point(10, 10)));
    Host.HWheel(WHEEL_DELTA);
    Host.HWheel(-40);
    EXPECT_EQ(S->Turned, WHEEL_DELTA - 40);
    // An upright turn is a different message.
    Host.Wheel(WHEEL_DELTA);
    EXPECT_EQ(S->Turned, WHEEL_DELTA - 40);
}
