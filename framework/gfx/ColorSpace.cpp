#include "framework/gfx/ColorSpace.h"

#include <algorithm>
#include <cmath>

namespace folio {

THLS ColorRGBToHLS(TColor Color) {
    const double R = GetRValue(Color) / 255.0, G = GetGValue(Color) / 255.0,
                 B = GetBValue(Color) / 255.0;
    const double Max = std::max({R, G, B}), Min = std::min({R, G, B});
    const double L = (Max + Min) / 2;
    THLS Result;
    Result.L = static_cast<int>(std::lround(L * HLSMAX));
    if (Max == Min) return Result;
    const double D = Max - Min;
    const double S = L <= 0.5 ? D / (Max + Min) : D / (2 - Max - Min);
    double H;
    if (Max == R)
        H = (G - B) / D;
    else if (Max == G)
        H = 2 + (B - R) / D;
    else
        H = 4 + (R - G) / D;
    H /= 6;
    if (H < 0) H += 1;
    Result.H = static_cast<int>(std::lround(H * HLSMAX)) % HLSMAX;
    Result.S = static_cast<int>(std::lround(S * HLSMAX));
    return Result;
}

namespace {
double HueToValue(double M1, double M2, double H) {
    if (H < 0) H += 1;
    if (H > 1) H -= 1;
    if (H * 6 < 1) return M1 + (M2 - M1) * H * 6;
    if (H * 2 < 1) return M2;
    if (H * 3 < 2) return M1 + (M2 - M1) * (2.0 / 3 - H) * 6;
    return M1;
}

int ToByte(double V) {
    return static_cast<int>(std::lround(std::clamp(V, 0.0, 1.0) * 255));
}
} // namespace

TColor ColorHLSToRGB(int Hue, int Luminance, int Saturation) {
    const double H = ((Hue % HLSMAX) + HLSMAX) % HLSMAX / static_cast<double>(HLSMAX);
    const double L = std::clamp(Luminance, 0, HLSMAX) / static_cast<double>(HLSMAX);
    const double S = std::clamp(Saturation, 0, HLSMAX) / static_cast<double>(HLSMAX);
    if (S == 0) return RGB(ToByte(L), ToByte(L), ToByte(L));
    const double M2 = L <= 0.5 ? L * (1 + S) : L + S - L * S;
    const double M1 = 2 * L - M2;
    return RGB(ToByte(HueToValue(M1, M2, H + 1.0 / 3)), ToByte(HueToValue(M1, M2, H)),
               ToByte(HueToValue(M1, M2, H - 1.0 / 3)));
}

} // namespace folio
