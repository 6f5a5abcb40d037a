#include "framework/core/Component.h"
#include "framework/design/DesignRegistry.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {
class TPaletteProbe : public TComponent {
    FOLIO_CLASS(TPaletteProbe)
public:
    using TComponent::TComponent;
};
const TClassInfo& TPaletteProbe::StaticClassInfo() {
    static const TClassInfo Info{
        "TPaletteProbe", &TComponent::StaticClassInfo(), {}, [](TComponent* Owner) -> TComponent* {
            return new TPaletteProbe(Owner);
        }};
    return Info;
}
} // namespace

TEST(Palette, RegisteredClassesAreListedOnTheirPageAndCreatableByName) {
    RegisterComponents("Probes", {&TPaletteProbe::StaticClassInfo()});
    EXPECT_EQ(PalettePageOf(TPaletteProbe::StaticClassInfo()), "Probes");
    TComponent Owner(nullptr);
    TComponent* Made = CreateComponent("TPaletteProbe", &Owner);
    EXPECT_EQ(Made->ClassName(), "TPaletteProbe");
    EXPECT_EQ(Made->Owner(), &Owner);

    RegisterComponents("Moved", {&TPaletteProbe::StaticClassInfo()});
    int Count = 0;
    for (const TComponentPaletteEntry& E : PaletteEntries())
        if (E.Class == &TPaletteProbe::StaticClassInfo()) ++Count;
    EXPECT_EQ(Count, 1);
    EXPECT_EQ(PalettePageOf(TPaletteProbe::StaticClassInfo()), "Moved");
}
