#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Every allocation of this test program is counted, so that a test can see
// whether a piece of work allocated at all. The replacements pair malloc
// with free themselves; GCC, seeing them inlined into a new expression,
// would take free for a mismatch with new.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
namespace {
std::atomic<long> Allocations{0};
}

void* operator new(std::size_t Size) {
    ++Allocations;
    if (void* P = std::malloc(Size ? Size : 1)) return P;
    throw std::bad_alloc();
}

void operator delete(void* P) noexcept {
    std::free(P);
}

void operator delete(void* P, std::size_t) noexcept {
    std::free(P);
}

using namespace folio;

// Captions are drawn again on every repaint (a hover change repaints a whole
// bar): once the glyphs are cached, drawing text again allocates nothing,
// whatever the layout asks for.
TEST(TextAllocations, DrawingTheSameTextAgainAllocatesNothing) {
    struct TCase {
        const char* Name;
        const char* Text;
        TRect R;
        unsigned Format;
    };
    const TCase Cases[] = {
        {"one centred line", "Calendar", Rect(0, 0, 200, 20),
         DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS},
        {"a long caption shortened", "A caption far too long for the room it has",
         Rect(0, 0, 60, 20), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS},
        {"two wrapped lines", "An item caption that wraps onto two lines and more",
         Rect(0, 0, 80, 30),
         DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS},
        {"paragraphs and a prefix", "&File\r\nOpen a file\nand more", Rect(0, 0, 200, 60), DT_LEFT},
    };
    TBitmap B(220, 80);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        const String Text = K.Text;
        TRect R = K.R;
        DrawText(C, Text, R, K.Format); // fills the glyph cache
        const long Before = Allocations.load();
        for (int I = 0; I < 3; ++I) {
            R = K.R;
            DrawText(C, Text, R, K.Format);
        }
        EXPECT_EQ(Allocations.load() - Before, 0);
    }
}
