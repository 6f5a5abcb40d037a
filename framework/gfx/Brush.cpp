#include "framework/gfx/Brush.h"

#include "framework/core/ClassBuilder.h"

namespace folio {

const TClassInfo& TBrush::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TBrush>("TBrush", &TPersistent::StaticClassInfo())
            .Color("Color", &TBrush::GetColor, &TBrush::SetColor, 0xFFFFFF)
            .Enum("Style", "TBrushStyle", {"bsSolid", "bsClear"}, &TBrush::GetStyle,
                  &TBrush::SetStyle, std::optional(bsSolid))
            .Build();
    return Info;
}

void TBrush::Changed() {
    if (OnChange) OnChange(this);
}

void TBrush::SetColor(TColor Value) {
    if (FColor == Value) return;
    FColor = Value;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (FStyle == Value) return;
    FStyle = Value;
    Changed();
}

void TBrush::Assign(const TPersistent* Source) {
    if (const auto* B = dynamic_cast<const TBrush*>(Source)) {
        FColor = B->FColor;
        FStyle = B->FStyle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

} // namespace folio
