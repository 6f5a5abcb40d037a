// Shaping on demand with a cache: captions are drawn again on every repaint,
// and shaping them once keeps a repaint as cheap as drawing cached glyphs.

#include "framework/gfx/ShapeCache.h"

namespace folio {

namespace {

// What a shaped text holds, roughly, for the cache's byte budget.
size_t Footprint(const TShapedText& T) {
    return T.Glyphs.size() * sizeof(TShapedGlyph) + T.Runs.size() * sizeof(TShapedRun) +
           T.LogicalX.size() * sizeof(std::int64_t) + T.Breaks.size() + sizeof(TShapedText);
}

} // namespace

std::shared_ptr<const TShapedText> TGlyphSource::Shape(std::string_view Utf8,
                                                       bool RightToLeft) const {
    if (Utf8.size() > TShapeCache::MaxTextBytes) {
        auto Shaped = std::make_shared<TShapedText>();
        ShapeParagraph(*this, Utf8, RightToLeft, *Shaped);
        return Shaped;
    }
    TShapeCache& C = *FShapeCache;
    const int Dir = RightToLeft ? 1 : 0;
    {
        std::lock_guard Lock(C.Mutex);
        auto It = C.Young[Dir].find(Utf8);
        if (It != C.Young[Dir].end()) return It->second;
        auto Old = C.Old[Dir].find(Utf8);
        if (Old != C.Old[Dir].end()) {
            auto Shaped = Old->second;
            C.YoungBytes += Footprint(*Shaped) + Old->first.size();
            C.Young[Dir].emplace(std::string(Utf8), Shaped);
            C.Old[Dir].erase(Old);
            return Shaped;
        }
    }
    // Shaping runs outside the cache's lock; two threads shaping the same
    // text both get a correct result and one of them is kept.
    auto Shaped = std::make_shared<TShapedText>();
    ShapeParagraph(*this, Utf8, RightToLeft, *Shaped);
    std::lock_guard Lock(C.Mutex);
    if (C.Young[0].size() + C.Young[1].size() >= TShapeCache::MaxEntries ||
        C.YoungBytes >= TShapeCache::MaxBytes) {
        for (int D = 0; D < 2; ++D) {
            C.Old[D] = std::move(C.Young[D]);
            C.Young[D].clear();
        }
        C.YoungBytes = 0;
    }
    auto [It, Inserted] = C.Young[Dir].emplace(std::string(Utf8), Shaped);
    if (Inserted) C.YoungBytes += Footprint(*Shaped) + Utf8.size();
    return It->second;
}

} // namespace folio
