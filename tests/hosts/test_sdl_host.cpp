#include "framework/hosts/SdlHost.h"
#include "framework/ui/Application.h"
#include "framework/ui/Input.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

class TPad : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<String> Log;
    void Paint() override { GetCanvas()->FillRect(GetClientRect()); }
    void Dispatch(TMessage& M) override {
        if (M.Msg == CM_MOUSEENTER) Log.push_back("enter");
        TCustomControl::Dispatch(M);
    }
};

// A real window under an X server: skipped where there is no display.
TEST(SdlHost, OpensAWindowPerFormAndReactsToRealInput) {
    if (!TSdlHost::DisplayAvailable())
        GTEST_SKIP() << "no display (DISPLAY unset or unreachable): window host not tested";
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 200, 120);
    Form.SetCaption("smoke");
    auto* Pad = new TPad(&Form);
    Pad->SetBounds(0, 0, 200, 120);
    Pad->SetParent(&Form);
    Pad->SetCursor(crHandPoint);
    String Typed;
    Pad->OnKeyPress = [&](TObject*, char& K) { Typed += K; };
    std::vector<String> Clicks;
    Pad->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Clicks.push_back(std::to_string(X) + "," + std::to_string(Y));
    };
    Form.Show();
    Pad->SetFocus();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    ASSERT_NE(Host.WindowOf(&Form), nullptr);
    EXPECT_EQ(Host.WindowSize(&Form), (TSize{200, 120}));
    EXPECT_GE(Host.PresentCount(), 1u);

    // Nothing changed: nothing is presented again.
    const unsigned Presents = Host.PresentCount();
    for (int I = 0; I < 3; ++I) Host.Step(1);
    EXPECT_EQ(Host.PresentCount(), Presents);

    // Input through the window system's event queue.
    Host.PushMouseButton(&Form, 30, 20, mbLeft, true);
    Host.PushMouseButton(&Form, 30, 20, mbLeft, false);
    Host.PushText(&Form, "ok");
    for (int I = 0; I < 5; ++I) Host.Step(5);
    EXPECT_EQ(Clicks, (std::vector<String>{"30,20"}));
    EXPECT_EQ(Typed, "ok");

    // A resize of the window resizes the form and its surface.
    Host.ResizeWindow(&Form, 260, 150);
    for (int I = 0; I < 50 && Form.GetWidth() != 260; ++I) Host.Step(10);
    EXPECT_EQ(Form.GetWidth(), 260);
    ASSERT_NE(Form.GetSurface(), nullptr);
    EXPECT_EQ(Form.GetSurface()->Width, 260);

    Form.Hide();
    Host.Step(1);
    EXPECT_EQ(Host.WindowOf(&Form), nullptr);
}

} // namespace
