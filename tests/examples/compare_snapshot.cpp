// Compares an example's snapshot with the reference picture committed
// beside the example. Pixels whose channels all lie within ChannelTolerance
// of the reference are equal; the pictures match when no more than
// PixelAllowance pixels differ by more. On a mismatch the differing pixels
// are written, red on the reference dimmed, to NAME_err.png beside the
// snapshot, so that a failed run shows where.
//
// Why these two numbers: everything but text is drawn by the framework's
// own raster rules and comes out identical on any machine, while glyph
// edges are coverage values from FreeType and HarfBuzz, which another
// release of either may shade a few levels differently. A level difference
// up to 24 of 255 is such shading and passes everywhere; a handful of
// pixels beyond it is a stray edge pixel. A wrong or missing letter, a
// picture, a frame out of place or a group that did not open changes more
// than 8 pixels by more than 24 levels, and fails.
//
// Usage: compare_snapshot SNAPSHOT.png REFERENCE.png

#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Png.h"

#include <cstdlib>
#include <iostream>
#include <string>

using namespace folio;

namespace {

constexpr int ChannelTolerance = 24;
constexpr int PixelAllowance = 8;

int Channel(TColor C, int Shift) {
    return static_cast<int>((C >> Shift) & 0xFF);
}

bool Near(TColor A, TColor B) {
    for (const int Shift : {0, 8, 16})
        if (std::abs(Channel(A, Shift) - Channel(B, Shift)) > ChannelTolerance) return false;
    return true;
}

TColor Dimmed(TColor C) {
    const int Grey = (Channel(C, 0) + Channel(C, 8) + Channel(C, 16)) / 6 + 128;
    return static_cast<TColor>(Grey | Grey << 8 | Grey << 16);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: compare_snapshot SNAPSHOT.png REFERENCE.png\n";
        return 2;
    }
    const std::string Snapshot = argv[1];
    try {
        TBitmap Actual, Expected;
        LoadPng(Snapshot, Actual);
        LoadPng(argv[2], Expected);
        const int W = Expected.GetWidth(), H = Expected.GetHeight();
        if (Actual.GetWidth() != W || Actual.GetHeight() != H) {
            std::cerr << Snapshot << " is " << Actual.GetWidth() << "x" << Actual.GetHeight()
                      << ", the reference " << argv[2] << " is " << W << "x" << H << "\n";
            return 1;
        }
        TBitmap Differences(W, H);
        TCanvas* Out = Differences.GetCanvas();
        int Differing = 0;
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X) {
                const TColor A = Actual.GetCanvas()->GetPixel(X, Y);
                const TColor E = Expected.GetCanvas()->GetPixel(X, Y);
                const bool Same = Near(A, E);
                Differing += !Same;
                Out->SetPixel(X, Y, Same ? Dimmed(E) : TColor(0x0000FF));
            }
        std::cout << Snapshot << ": " << Differing << " of " << W * H
                  << " pixels differ from the reference by more than " << ChannelTolerance
                  << " levels (allowed: " << PixelAllowance << ")\n";
        if (Differing <= PixelAllowance) return 0;
        const std::string Stem = Snapshot.substr(0, Snapshot.size() - 4);
        SavePng(Differences, Stem + "_err.png");
        std::cerr << "the differing pixels are red in " << Stem << "_err.png\n";
        return 1;
    } catch (const Exception& E) {
        std::cerr << E.what() << "\n";
        return 1;
    }
}
