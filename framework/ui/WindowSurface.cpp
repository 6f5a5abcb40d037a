#include "framework/ui/WindowSurface.h"

#include "framework/ui/RectOps.h"

#include <algorithm>

namespace folio {

void TWindowSurface::SetSize(int Width, int Height) {
    const int W = std::max(Width, 0), H = std::max(Height, 0);
    const size_t Count = static_cast<size_t>(W) * static_cast<size_t>(H);
    if (FView.Width == W && FView.Height == H && FPixels.size() == Count) return;
    FPixels.assign(Count, 0xFF000000u);
    FView.Pixels = Count ? FPixels.data() : nullptr;
    FView.Width = W;
    FView.Height = H;
    FView.Stride = W;
    FDamage = Rect(0, 0, W, H);
}

void TWindowSurface::Release() {
    FPixels.clear();
    FPixels.shrink_to_fit();
    FView = {};
    FDamage = {};
}

void TWindowSurface::AddDamage(const TRect& R) {
    if (R.IsEmpty()) return;
    ++FVersion;
    FDamage = rects::Union(FDamage, R);
}

TRect TWindowSurface::TakeDamage() {
    const TRect R = FDamage;
    FDamage = {};
    return R;
}

} // namespace folio
