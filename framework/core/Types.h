#pragma once

#include <cstdint>
#include <string>

namespace folio {

static_assert(sizeof(int) == 4, "the framework assumes a 32-bit int");

// Text is 8-bit: UTF-8 in memory, and every length counts bytes.
using String = std::string;

// A colour: 0x00BBGGRR for plain colours; with the top bit set (0x80000000 + n)
// it names the system colour n.
using TColor = std::int32_t;

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// Right and Bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint P) const {
        return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

inline TPoint Point(int X, int Y) {
    return TPoint{X, Y};
}
inline TRect Rect(int Left, int Top, int Right, int Bottom) {
    return TRect{Left, Top, Right, Bottom};
}
inline TRect Bounds(int Left, int Top, int Width, int Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

} // namespace folio
