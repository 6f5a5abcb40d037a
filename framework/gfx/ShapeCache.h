#pragma once

// The shaped-text cache of a glyph source. Only the engine's .cpp files
// include this header.

#include "framework/gfx/GlyphCache.h"

#include <functional>
#include <string>
#include <unordered_map>

namespace folio {

/// Texts shaped with one source, by direction and text. Two generations keep
/// it bounded and keep what is used: when the young one is full it becomes
/// the old one, and a text found in the old one moves back to the young.
struct TGlyphSource::TShapeCache {
    /// Longer texts are shaped every time they are drawn: a few of them
    /// would crowd out every caption.
    static constexpr size_t MaxTextBytes = 4096;
    /// Texts the young generation holds before it becomes the old one.
    static constexpr size_t MaxEntries = 2048;
    /// Bytes of shaped text the young generation holds before it becomes the
    /// old one (4 MB).
    static constexpr size_t MaxBytes = 4u << 20;

    /// Hashes a text as a string view, so that lookups need no string.
    struct THash {
        /// Lets the maps look texts up by std::string_view.
        using is_transparent = void;
        /// The text's hash.
        size_t operator()(std::string_view S) const { return std::hash<std::string_view>{}(S); }
    };
    /// One generation of one direction: shaped texts by their UTF-8.
    using TMap =
        std::unordered_map<std::string, std::shared_ptr<const TShapedText>, THash, std::equal_to<>>;

    /// Guards both generations.
    std::mutex Mutex;
    /// The generations, by direction: left to right, right to left.
    ///@{
    TMap Young[2], Old[2];
    ///@}
    /// Bytes of shaped text in the young generation.
    size_t YoungBytes = 0;
};

} // namespace folio
