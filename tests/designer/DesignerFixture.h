#pragma once

#include "DesignScript.h"
#include "DesignerWindow.h"

#include "folio/Folio.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Panel.h"
#include "samples/Cgauges.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace designer::test {

using namespace folio;

// A designer on the headless screen with a palette of the bar, a sample
// control and two standard controls, registered as a package would.
class DesignerTest : public ::testing::Test {
protected:
    DesignerTest() {
        {
            TRegistrationScope Scope(DesignRegistry(), &PaletteOwner);
            RegisterComponents("Marrow", {&TFolio::StaticClassInfo()});
            RegisterComponents("Samples", {&TCGauge::StaticClassInfo()});
            RegisterComponents("Standard",
                               {&TButton::StaticClassInfo(), &TPanel::StaticClassInfo()});
        }
        Window = std::make_unique<TDesignerWindow>();
        Window->OnAskSave = [this](const String&) { return SaveAnswer; };
        Window->Show();
        Host.RunUntilIdle();
        Dir = std::filesystem::temp_directory_path() /
              ("folio-designer-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    ~DesignerTest() override {
        Window.reset();
        DesignRegistry().Unregister(&PaletteOwner);
        std::filesystem::remove_all(Dir);
    }

    // Runs script lines; a failing step fails the test with its message.
    void Run(const String& Script) {
        TDesignScript Runner(Host, *Window, Log);
        Runner.SetBaseDir(Dir.string());
        Runner.Run(ParseDesignScript(Script));
    }
    TFormDesigner& Designer() { return Window->Designer(); }
    template <class T>
    T* Find(const String& Name) {
        return dynamic_cast<T*>(Designer().GetComponent(Name));
    }
    String File(const String& Name) const { return (Dir / Name).string(); }
    size_t UndoSteps() { return Designer().UndoCount(); }

    static inline const int PaletteOwner = 0;
    THeadlessHost Host{1024, 768};
    std::unique_ptr<TDesignerWindow> Window;
    std::filesystem::path Dir;
    std::ostringstream Log;
    TModalResult SaveAnswer = mrCancel;
};

} // namespace designer::test
