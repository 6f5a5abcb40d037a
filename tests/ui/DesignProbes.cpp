#include "DesignProbes.h"

namespace folio::test {

const TClassInfo& TEditProbe::StaticClassInfo() {
    using C = TEditProbe;
    static const TClassInfo Info =
        TClassBuilder<C>("TEditProbe", &TComponent::StaticClassInfo())
            .Int("Count", &C::GetCount, &C::SetCount)
            .Int("Small", &C::GetSmall, &C::SetSmall)
            .Bool("Flag", &C::GetFlag, &C::SetFlag)
            .Enum("Mode", "TProbeMode", {"pmFirst", "pmSecond", "pmThird"}, &C::GetMode,
                  &C::SetMode)
            .Set("Styles", "TProbeStyles", {"psBold", "psWide", "psTall"}, &C::GetStyles,
                 &C::SetStyles)
            .Color("Tint", &C::GetTint, &C::SetTint)
            .Str("Title", &C::GetTitle, &C::SetTitle)
            .Object("Font", &C::GetFont, &C::SetFont)
            .Component("Buddy", &C::GetBuddy, &C::SetBuddy)
            .Event("OnPing", &C::OnPing)
            .Creatable()
            .Build();
    return Info;
}

const TClassInfo& TOtherProbe::StaticClassInfo() {
    using C = TOtherProbe;
    static const TClassInfo Info = TClassBuilder<C>("TOtherProbe", &TComponent::StaticClassInfo())
                                       .Str("Title", &C::GetTitle, &C::SetTitle)
                                       .Build();
    return Info;
}

FOLIO_DEFINE_CLASS(TSpecialProbe, TEditProbe)

const TClassInfo& TProbeForm::StaticClassInfo() {
    using C = TProbeForm;
    static const TClassInfo Info = TClassBuilder<C>("TProbeForm", &TComponent::StaticClassInfo())
                                       .Method("PingHandler", &C::PingHandler)
                                       .Method("OtherPing", &C::OtherPing)
                                       .Method("KeyHandler", &C::KeyHandler)
                                       .Build();
    return Info;
}

} // namespace folio::test
