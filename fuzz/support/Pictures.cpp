#include "fuzz/support/Pictures.h"

#include <algorithm>

namespace folio::fuzz {

void Paint(TBitmap& Picture, int Width, int Height) {
    std::vector<TPixel> Pixels(static_cast<std::size_t>(Width) * Height);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X)
            Pixels[static_cast<std::size_t>(Y) * Width + X] =
                0xFF000000u | static_cast<TPixel>((X * 40 & 0xFF) << 16 | (Y * 30 & 0xFF) << 8 |
                                                  ((X ^ Y) * 19 & 0xFF));
    Picture.SetPixels(Width, Height, std::move(Pixels));
}

bool SamePixels(const TBitmap& A, const TBitmap& B) {
    if (A.GetWidth() != B.GetWidth() || A.GetHeight() != B.GetHeight()) return false;
    for (int Y = 0; Y < A.GetHeight(); ++Y)
        if (!std::equal(A.ScanLine(Y), A.ScanLine(Y) + A.GetWidth(), B.ScanLine(Y))) return false;
    return true;
}

} // namespace folio::fuzz
