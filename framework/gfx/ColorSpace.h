#pragma once

#include "framework/core/Types.h"

namespace folio {

// Hue, luminance and saturation on the platform's scale: each 0 .. HLSMAX,
// hue going round from red (0) through green (80) and blue (160).
constexpr int HLSMAX = 240;
struct THLS {
    int H = 0;
    int L = 0;
    int S = 0;
    bool operator==(const THLS&) const = default;
};

inline int GetRValue(TColor C) {
    return static_cast<int>(C & 0xFF);
}
inline int GetGValue(TColor C) {
    return static_cast<int>((C >> 8) & 0xFF);
}
inline int GetBValue(TColor C) {
    return static_cast<int>((C >> 16) & 0xFF);
}
inline TColor RGB(int R, int G, int B) {
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}

// A plain colour (0x00BBGGRR) in hue, luminance and saturation; a grey has
// hue 0 and saturation 0.
THLS ColorRGBToHLS(TColor Color);
// The plain colour of a hue, luminance and saturation (each clamped to
// 0 .. HLSMAX, the hue taken round).
TColor ColorHLSToRGB(int Hue, int Luminance, int Saturation);

} // namespace folio
