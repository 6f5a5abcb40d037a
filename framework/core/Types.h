#pragma once

#include <cstdint>
#include <string>

namespace folio {

static_assert(sizeof(int) == 4, "the framework assumes a 32-bit int");

/// Text is 8-bit: UTF-8 in memory, and every length counts bytes.
using String = std::string;

/// A colour: 0x00BBGGRR for plain colours; with the top bit set (0x80000000 + n)
/// it names the system colour n.
using TColor = std::int32_t;

/// A point in pixels; Y grows downwards.
struct TPoint {
    int X = 0; ///< pixels to the right of the origin
    int Y = 0; ///< pixels below the origin
    /// Equal coordinates.
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A width and a height in pixels.
struct TSize {
    int cx = 0; ///< the width
    int cy = 0; ///< the height
    /// Equal width and height.
    friend bool operator==(const TSize&, const TSize&) = default;
};

/// A rectangle in pixels. Right and Bottom are exclusive.
struct TRect {
    int Left = 0;   ///< the first column inside
    int Top = 0;    ///< the first row inside
    int Right = 0;  ///< the first column past the right edge
    int Bottom = 0; ///< the first row past the bottom edge

    /// Right - Left; negative for a rectangle turned inside out.
    int Width() const { return Right - Left; }
    /// Bottom - Top; negative for a rectangle turned inside out.
    int Height() const { return Bottom - Top; }
    /// True when the rectangle holds no pixel.
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    /// True when P is one of the rectangle's pixels.
    bool Contains(TPoint P) const {
        return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
    }
    /// Equal edges.
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// The point (X, Y).
inline TPoint Point(int X, int Y) {
    return TPoint{X, Y};
}
/// The rectangle of the four edges given.
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
    return TRect{Left, Top, Right, Bottom};
}
/// The rectangle of Width x Height pixels whose top-left pixel is (Left, Top).
inline TRect Bounds(int Left, int Top, int Width, int Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

} // namespace folio
