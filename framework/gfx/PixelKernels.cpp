#include "framework/gfx/PixelKernels.h"

#include <algorithm>

namespace folio::raster {

// Each kernel is compiled three times and the loader picks the widest the
// processor runs: the baseline x86-64 target only has 16-byte vectors,
// which fill and copy at well under memory speed. Sanitizer builds and other
// compilers keep the one plain version.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define FOLIO_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define FOLIO_VECTOR_CLONES
#endif

namespace {
constexpr TPixel AlphaMask = 0xFF000000u;
}

FOLIO_VECTOR_CLONES void FillPixels(TPixel* P, std::int64_t N, TPixel Value) {
    std::fill_n(P, N, Value);
}

FOLIO_VECTOR_CLONES void AndXorPixels(TPixel* P, std::int64_t N, TPixel A, TPixel X) {
    for (std::int64_t I = 0; I < N; ++I) P[I] = (P[I] & A) ^ X;
}

FOLIO_VECTOR_CLONES void XorPixels(TPixel* __restrict D, const TPixel* __restrict S,
                                   std::int64_t N) {
    for (std::int64_t I = 0; I < N; ++I) D[I] = (D[I] ^ S[I]) | AlphaMask;
}

FOLIO_VECTOR_CLONES void AndPixels(TPixel* __restrict D, const TPixel* __restrict S,
                                   std::int64_t N) {
    for (std::int64_t I = 0; I < N; ++I) D[I] = (D[I] & S[I]) | AlphaMask;
}

FOLIO_VECTOR_CLONES void OrPixels(TPixel* __restrict D, const TPixel* __restrict S,
                                  std::int64_t N) {
    for (std::int64_t I = 0; I < N; ++I) D[I] = D[I] | S[I] | AlphaMask;
}

} // namespace folio::raster
