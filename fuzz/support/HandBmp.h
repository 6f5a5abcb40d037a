#pragma once

// Small BMP file images written by hand, field by field, for every depth and
// encoding the reader accepts, so that the seeds do not depend on the
// project's own BMP writer (which writes only 24 and 32 bits).

#include "fuzz/FuzzTarget.h"

namespace folio::fuzz {

enum class TBmpKind {
    Bits1,
    Bits4,
    Bits8,
    Bits16,
    Bits24,
    Bits32,
    Fields16, // bit fields, 5-6-5
    Fields32, // bit fields in a different channel order
    Rle8,
    Rle4,
    Core24,    // the old 12-byte header
    Core8,     // the old header with a 3-byte colour table
    TopDown24, // rows stored top row first
    TopDown8,
};

struct THandBmp {
    const char* Name;
    TBmpKind Kind;
};

// Every kind, with a file name for the seed.
const std::vector<THandBmp>& HandBmpKinds();

// A 5 x 3 picture of the given kind, with a pattern that differs per pixel
// as far as the depth allows.
TBytes HandBmp(TBmpKind Kind);

} // namespace folio::fuzz
