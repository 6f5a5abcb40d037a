#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/ui/forms/Palette.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {

class TRuntimeProbe : public TComponent {
    FOLIO_CLASS(TRuntimeProbe)
public:
    using TComponent::TComponent;
};
const TClassInfo& TRuntimeProbe::StaticClassInfo() {
    static const TClassInfo Info{
        "TRuntimeProbe", &TComponent::StaticClassInfo(), {}, [](TComponent* Owner) -> TComponent* {
            return new TRuntimeProbe(Owner);
        }};
    return Info;
}

struct TSeen {
    String Page;
    std::vector<const TClassInfo*> Classes;
    int Calls = 0;
};
TSeen Seen;

void Remember(const String& Page, const std::vector<const TClassInfo*>& Classes) {
    Seen.Page = Page;
    Seen.Classes = Classes;
    ++Seen.Calls;
}

// Takes whatever registry the test program has out of the way, and puts it
// back afterwards.
class RegisterComponentsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FPrevious = SetRegisterComponentsProc(nullptr);
        Seen = {};
    }
    void TearDown() override { SetRegisterComponentsProc(FPrevious); }

private:
    TRegisterComponentsProc FPrevious = nullptr;
};

} // namespace

TEST_F(RegisterComponentsTest, WithoutADesignerTheClassesBecomeCreatableByName) {
    ASSERT_EQ(GetClass("TRuntimeProbe"), nullptr);
    RegisterComponents("Probes", {nullptr, &TRuntimeProbe::StaticClassInfo()});
    TComponent Owner(nullptr);
    TComponent* Made = CreateComponent("TRuntimeProbe", &Owner);
    EXPECT_EQ(Made->ClassName(), "TRuntimeProbe");
    EXPECT_EQ(Made->Owner(), &Owner);
    UnregisterClass(TRuntimeProbe::StaticClassInfo());
    EXPECT_EQ(GetClass("TRuntimeProbe"), nullptr);
}

TEST_F(RegisterComponentsTest, AnInstalledProcedureTakesThePageAndTheClassesInstead) {
    EXPECT_EQ(SetRegisterComponentsProc(&Remember), nullptr);
    RegisterComponents("Probes", {&TRuntimeProbe::StaticClassInfo()});
    EXPECT_EQ(Seen.Calls, 1);
    EXPECT_EQ(Seen.Page, "Probes");
    ASSERT_EQ(Seen.Classes.size(), 1u);
    EXPECT_EQ(Seen.Classes[0], &TRuntimeProbe::StaticClassInfo());
    // The procedure decides what becomes creatable; this one keeps nothing.
    EXPECT_EQ(GetClass("TRuntimeProbe"), nullptr);
    EXPECT_EQ(SetRegisterComponentsProc(nullptr), &Remember);
}
