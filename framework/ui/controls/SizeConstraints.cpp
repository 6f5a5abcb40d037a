#include "framework/ui/controls/SizeConstraints.h"

#include "framework/core/ClassBuilder.h"
#include "framework/ui/controls/Control.h"

namespace folio {

// Published so that form files keep the limits a designer gave a control or
// a form; 0, no limit, is not written.
const TClassInfo& TSizeConstraints::StaticClassInfo() {
    using C = TSizeConstraints;
    static const TClassInfo Info =
        TClassBuilder<C>("TSizeConstraints", &TPersistent::StaticClassInfo())
            .Int("MaxHeight", &C::GetMaxHeight, &C::SetMaxHeight, 0)
            .Int("MaxWidth", &C::GetMaxWidth, &C::SetMaxWidth, 0)
            .Int("MinHeight", &C::GetMinHeight, &C::SetMinHeight, 0)
            .Int("MinWidth", &C::GetMinWidth, &C::SetMinWidth, 0)
            .Build();
    return Info;
}

void TSizeConstraints::SetMaxHeight(int Value) {
    if (Value == FMaxHeight) return;
    FMaxHeight = Value;
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int Value) {
    if (Value == FMaxWidth) return;
    FMaxWidth = Value;
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
    Changed();
}
void TSizeConstraints::SetMinHeight(int Value) {
    if (Value == FMinHeight) return;
    FMinHeight = Value;
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
    Changed();
}
void TSizeConstraints::SetMinWidth(int Value) {
    if (Value == FMinWidth) return;
    FMinWidth = Value;
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* Source) {
    if (auto* S = dynamic_cast<const TSizeConstraints*>(Source)) {
        FMaxHeight = S->FMaxHeight;
        FMaxWidth = S->FMaxWidth;
        FMinHeight = S->FMinHeight;
        FMinWidth = S->FMinWidth;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TSizeConstraints::GetOwner() const {
    return FControl;
}

void TSizeConstraints::Changed() {
    // The control takes its current size again, now limited: a size that
    // passes a new limit changes, so that the control applies all of them.
    if (FControl) {
        auto Limit = [](int Size, int Least, int Most) {
            if (Most > 0 && Size > Most) Size = Most;
            return Least > 0 && Size < Least ? Least : Size;
        };
        FControl->SetBounds(FControl->GetLeft(), FControl->GetTop(),
                            Limit(FControl->GetWidth(), FMinWidth, FMaxWidth),
                            Limit(FControl->GetHeight(), FMinHeight, FMaxHeight));
    }
    if (OnChange) OnChange(this);
}

} // namespace folio
