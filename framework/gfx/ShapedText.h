#pragma once

#include "framework/core/Types.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace folio {

class TGlyphSource;

/// One positioned glyph of shaped text. Positions are 26.6 fixed-point
/// pixels (64 to a pixel); Cluster is the byte offset of the first character
/// the glyph shows.
struct TShapedGlyph {
    const TGlyphSource* Source = nullptr; ///< the face file the glyph comes from
    std::uint32_t Index = 0;              ///< glyph index in Source's file
    std::uint32_t Cluster = 0;            ///< byte offset of its first character
    std::int32_t Advance = 0;             ///< how far the pen moves on, 26.6
    std::int32_t XOffset = 0;             ///< shift from the pen position, 26.6
    std::int32_t YOffset = 0;             ///< upwards, as fonts count, 26.6
    bool Ink = true; ///< false for control characters: they take no room and show nothing
};

/// A stretch of text shaped with one face in one direction. Its glyphs stand
/// in visual order (right to left runs have their last character first).
struct TShapedRun {
    /// The run's glyphs in TShapedText::Glyphs, [GlyphBegin, GlyphEnd).
    ///@{
    size_t GlyphBegin = 0, GlyphEnd = 0;
    ///@}
    /// The run's bytes of the text, [ByteBegin, ByteEnd).
    ///@{
    size_t ByteBegin = 0, ByteEnd = 0;
    ///@}
    std::uint8_t Level = 0; ///< the bidirectional embedding level: odd reads right to left
};

/// Where one cluster of a laid-out line stands: its bytes and its left edge
/// and width in pixels from the line's start.
struct TVisualCluster {
    /// The cluster's bytes of the text, [ByteBegin, ByteEnd).
    ///@{
    size_t ByteBegin = 0, ByteEnd = 0;
    ///@}
    int X = 0;                ///< left edge in pixels from the line's start
    int Width = 0;            ///< in pixels
    bool RightToLeft = false; ///< the cluster's run reads right to left
};

/// Per byte of the text: where a cursor may stop and where a line may break.
enum : std::uint8_t {
    tbGraphemeStart = 1,  ///< a user-perceived character starts here
    tbBreakAllowed = 2,   ///< a line may break before this byte
    tbBreakMandatory = 4, ///< a line must break before this byte
    tbClusterStart = 8,   ///< a shaping cluster starts here
};

/// One paragraph of UTF-8 shaped: glyphs of every run in logical run order,
/// the bidirectional levels of its runs, and per byte the break classes and
/// the advance of the text before it. Immutable once made; shared by the
/// engine's cache and its users.
class TShapedText {
public:
    std::vector<TShapedGlyph> Glyphs; ///< every run's glyphs, run after run
    std::vector<TShapedRun> Runs;     ///< the runs in logical order
    /// Size + 1 entries: the sum of the advances of every cluster that starts
    /// before byte I, in 26.6 pixels (logical order).
    std::vector<std::int64_t> LogicalX;
    std::vector<std::uint8_t> Breaks; ///< Size + 1 entries, tb* flags
    bool RightToLeft = false;         ///< the paragraph's direction
    size_t Size = 0;                  ///< bytes of the text

    /// The whole paragraph's advance in pixels.
    int Width() const { return Pixels(LogicalX.empty() ? 0 : LogicalX.back()); }
    /// The advance of bytes [Begin, End) in pixels; both at cluster starts
    /// (offsets past the end count as the end).
    int Width(size_t Begin, size_t End) const {
        return Pixels(LogicalX[std::min(End, Size)] - LogicalX[std::min(Begin, Size)]);
    }
    /// True when a character starts at Byte, or Byte is at or past the end.
    bool IsGraphemeStart(size_t Byte) const {
        return Byte >= Size || (Breaks[Byte] & tbGraphemeStart) != 0;
    }
    /// The start of the character (grapheme cluster) that holds a byte.
    size_t CharacterStart(size_t Byte) const;
    /// The next and previous place a cursor may stop; they stay at the end
    /// and at 0.
    ///@{
    size_t NextGrapheme(size_t Byte) const;
    size_t PrevGrapheme(size_t Byte) const;
    ///@}

    /// A range [Begin, End) of Glyphs.
    struct TGlyphRange {
        /// Indexes into Glyphs, End excluded.
        ///@{
        size_t Begin, End;
        ///@}
    };
    /// The glyphs of the line of bytes [Begin, End), as ranges of Glyphs in
    /// the order they stand from left to right; Out is cleared first.
    void VisualGlyphRanges(size_t Begin, size_t End, std::vector<TGlyphRange>& Out) const;

    /// The line of bytes [Begin, End) in visual order: the runs' pieces,
    /// ordered by their levels, as clusters from left to right; Out is
    /// cleared first.
    void VisualClusters(size_t Begin, size_t End, std::vector<TVisualCluster>& Out) const;

    /// The pixel offset of the cursor standing before byte Pos of the line
    /// [Begin, End): the leading edge of the character at Pos (its right
    /// edge when it reads right to left), or the line's end.
    int CaretX(size_t Begin, size_t End, size_t Pos) const;
    /// The cursor position of the line [Begin, End) nearest an x offset.
    size_t PosFromX(size_t Begin, size_t End, int X) const;
    /// The cursor position one step to the left or right on screen; Pos
    /// itself at the line's visual edge.
    size_t MoveVisually(size_t Begin, size_t End, size_t Pos, bool Right) const;

    /// A 26.6 fixed-point value rounded to whole pixels.
    static int Pixels(std::int64_t Value26) { return static_cast<int>((Value26 + 32) >> 6); }
};

/// Shapes Text as one paragraph (runs by direction, script and the face that
/// has each character), fills its break classes and advances. Invalid UTF-8
/// reads as U+FFFD for every malformed sequence.
void ShapeParagraph(const TGlyphSource& Primary, std::string_view Text, bool RightToLeft,
                    TShapedText& Out);

/// Fills Breaks (Text.size() + 1 entries) with grapheme and line-break classes.
void FindTextBreaks(std::string_view Text, std::vector<std::uint8_t>& Breaks);

} // namespace folio
