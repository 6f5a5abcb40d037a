#include "framework/ui/paint/WindowSurface.h"

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
    FDamage = TDamageRegion(Rect(0, 0, W, H));
}

void TWindowSurface::Release() {
    FPixels.clear();
    FPixels.shrink_to_fit();
    FView = {};
    FDamage.Clear();
}

void TWindowSurface::AddDamage(const TDamageRegion& R) {
    if (R.IsEmpty()) return;
    ++FVersion;
    FDamage.Add(R);
}

TDamageRegion TWindowSurface::TakeDamage() {
    const TDamageRegion R = FDamage;
    FDamage.Clear();
    return R;
}

} // namespace folio
