#pragma once

#include "framework/core/Types.h"

namespace folio {

/// The top of the hue, luminance and saturation scale.
constexpr int HLSMAX = 240;
/// Hue, luminance and saturation on the platform's scale: each 0 .. HLSMAX,
/// hue going round from red (0) through green (80) and blue (160).
struct THLS {
    int H = 0; ///< hue
    int L = 0; ///< luminance: 0 black, HLSMAX white
    int S = 0; ///< saturation: 0 grey
    /// Equal when all three values are.
    bool operator==(const THLS&) const = default;
};

/// The red, green or blue component (0-255) of a plain colour (0x00BBGGRR).
///@{
inline int GetRValue(TColor C) {
    return static_cast<int>(C & 0xFF);
}
inline int GetGValue(TColor C) {
    return static_cast<int>((C >> 8) & 0xFF);
}
inline int GetBValue(TColor C) {
    return static_cast<int>((C >> 16) & 0xFF);
}
///@}
/// The plain colour of red, green and blue components; each keeps only its
/// low byte (0-255).
inline TColor RGB(int R, int G, int B) {
    return static_cast<TColor>((R & 0xFF) | ((G & 0xFF) << 8) | ((B & 0xFF) << 16));
}

/// A plain colour (0x00BBGGRR) in hue, luminance and saturation; a grey has
/// hue 0 and saturation 0.
THLS ColorRGBToHLS(TColor Color);
/// The plain colour of a hue, luminance and saturation (luminance and
/// saturation clamped to 0 .. HLSMAX, the hue taken round).
TColor ColorHLSToRGB(int Hue, int Luminance, int Saturation);

} // namespace folio
