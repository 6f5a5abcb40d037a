#include "DesignerFixture.h"

#include "DesignedForm.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Png.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/QuitSignals.h"

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

namespace designer::test {
namespace {

TEST(DesignScript, ParsesStepsWithTheirLinesAndKeepsTheSpacesOfTheLastWord) {
    const auto Steps = ParseDesignScript("# a comment\n"
                                         "\n"
                                         "drop TFolio 10 20\r\n"
                                         "set Caption  Two words here\n"
                                         "verb Edit groups...\n");
    ASSERT_EQ(Steps.size(), 3u);
    EXPECT_EQ(Steps[0].Line, 3);
    EXPECT_EQ(Steps[0].Args, (std::vector<String>{"TFolio", "10", "20"}));
    EXPECT_EQ(Steps[1].Args, (std::vector<String>{"Caption", "Two words here"}));
    EXPECT_EQ(Steps[2].Args, (std::vector<String>{"Edit groups..."}));
}

TEST_F(DesignerTest, AScriptStepThatCannotRunNamesItsLineAndStopsTheScript) {
    struct {
        const char* Script;
        const char* Says;
    } Cases[] = {
        {"drop TFolio 10 20\nfly away\n", "line 2 (fly): unknown command"},
        {"drop TNothing 1 1\n", "line 1 (drop): the palette has no TNothing"},
        {"drop TFolio x 1\n", "\"x\" is not a whole number"},
        {"select Nobody\n", "no control named Nobody"},
        {"dialog-click OK\n", "no step before it opens a dialog"},
        {"key Hyper\n", "no key named Hyper"},
    };
    for (const auto& C : Cases) {
        try {
            Run(C.Script);
            ADD_FAILURE() << C.Script << " ran";
        } catch (const EDesignScriptError& E) {
            EXPECT_NE(E.Message().find(C.Says), String::npos) << E.Message();
        }
    }
}

// A whole session as a person runs it; the picture shows the designer with
// a designed form, the bar selected with its handles and the inspector.
TEST_F(DesignerTest, AScriptedSessionDesignsSavesAndPicturesAForm) {
    Run("drop TFolio 16 16\n"
        "set Width 160\n"
        "set Height 300\n"
        "drop TCGauge 208 24\n"
        "set Progress 65\n"
        "drop TButton 208 120\n"
        "drag CGauge1 16 40\n"
        "undo\n"
        "select Folio1\n"
        "set GroupsFont.Size 12\n"
        "saveas session.form\n"
        "expect-modified no\n"
        "snapshot session.png\n");
    TBitmap Picture;
    LoadPng(File("session.png"), Picture);
    EXPECT_EQ(Picture.GetWidth(), 1024);
    // The designed form shows where it is on the screen: its face colour,
    // not the desktop's, inside it.
    const TForm* Form = Designer().GetForm();
    EXPECT_NE(Picture.GetCanvas()->GetPixel(Form->GetLeft() + Form->GetWidth() - 10,
                                            Form->GetTop() + Form->GetHeight() - 10),
              TColor(0x806040));
    TDesignedForm Read = ReadDesignedForm(File("session.form"), nullptr);
    EXPECT_EQ(SnapshotForm(*Read.Form), SnapshotForm(*Designer().GetForm()));
    std::filesystem::copy_file(File("session.png"), "designer-session.png",
                               std::filesystem::copy_options::overwrite_existing);
}

// Ctrl+C or SIGTERM in the designer's terminal ends its window loop. The
// window host turns either into the application's quit, but the loop only
// watched the window and went on waiting for input.
TEST_F(DesignerTest, TheWindowLoopEndsWhenTheProgramIsToldToQuit) {
    const std::function<void()> Quits[] = {
        [] { Application->Terminate(); },
        [] { std::raise(SIGTERM); },
    };
    for (size_t I = 0; I < std::size(Quits); ++I) {
        SCOPED_TRACE(I);
        TQuitSignals Signals;
        Application->ResetTerminated();
        int Steps = 0;
        bool Stopped = false;
        RunDesignerWindow(*Window, [&] {
            if (++Steps == 3) Quits[I]();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            Host.RunUntilIdle();
            // A loop that does not end by itself is ended here, so that the
            // test fails instead of hanging.
            if (Steps == 3000) {
                Window->Window().Hide();
                Stopped = true;
            }
            return !Application->Terminated();
        });
        EXPECT_FALSE(Stopped) << "the loop went on after the quit";
        if (Stopped) Window->Window().Show();
        TQuitSignals::ClearReceived();
        Application->ResetTerminated();
    }
}

} // namespace
} // namespace designer::test
