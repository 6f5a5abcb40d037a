#pragma once

#include "framework/core/Types.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/ShapedText.h"
#include "framework/gfx/Surface.h"

#include <memory>
#include <string_view>

namespace folio {

/// The measures of a font face in whole pixels, as its file gives them at
/// the face's size.
struct TTextMetric {
    int tmHeight = 0;          ///< ascent + descent: the cell height and the line height
    int tmAscent = 0;          ///< rows above the baseline
    int tmDescent = 0;         ///< rows below the baseline
    int tmInternalLeading = 0; ///< tmHeight minus the em height
    int tmExternalLeading = 0; ///< the font's recommended gap between lines
    int tmAveCharWidth = 0;    ///< the average character width (at least 1)
    int tmMaxCharWidth = 0;    ///< the widest advance of any glyph
};

// A scaled font file with its glyph cache, shared by every face that uses the
// same file at the same pixel size. Defined in FontEngine.cpp.
class TGlyphSource;

/// A resolved logical font: a face file at a pixel size, with a style and an
/// escapement. Faces are immutable and may be used from any thread. Text is
/// shaped (kerning, ligatures, joining, marks), ordered for reading in either
/// direction and drawn with stand-in faces for characters the file lacks;
/// shaped text and glyphs are cached, so drawing text again allocates nothing.
class TFontFace {
public:
    /// A face of LogFont drawn with Source. Programs get faces from
    /// CreateFontIndirect, which shares one face per logical font.
    TFontFace(const TLogFont& LogFont, std::shared_ptr<TGlyphSource> Source);
    ~TFontFace();
    TFontFace(const TFontFace&) = delete;
    TFontFace& operator=(const TFontFace&) = delete;

    /// The logical font this face was resolved from.
    const TLogFont& LogFont() const { return FLogFont; }
    /// The face file actually loaded.
    const String& FileName() const;
    /// The face's measures in pixels.
    const TTextMetric& Metrics() const;
    /// Tenths of a degree as asked for. Text is drawn at the nearest multiple
    /// of 90 degrees.
    int Escapement() const { return FLogFont.Escapement; }
    /// The quarter turns the text is drawn with (0..3, counter-clockwise).
    int QuarterTurns() const { return FQuarterTurns; }

    /// Advance width by cell height (tmHeight) of a line of UTF-8, unrotated.
    TSize TextExtent(std::string_view Utf8) const;
    /// The advance width in pixels of a line of UTF-8, unrotated; 0 for empty
    /// text, at most 2^28.
    int TextWidth(std::string_view Utf8) const;

    /// The text shaped as one paragraph read left to right or right to left,
    /// from the cache when it was shaped before.
    std::shared_ptr<const TShapedText> Shape(std::string_view Utf8, bool RightToLeft = false) const;

    /// Draws anti-aliased text, blending Color over the pixels by coverage,
    /// clipped to Clip and to the surface. (X, Y) is the top-left corner of the
    /// text cell; with a quarter turn the cell turns counter-clockwise about
    /// (X, Y), so at 900 the text reads bottom to top from (X, Y) and covers
    /// columns X .. X+tmHeight-1 and rows Y-width .. Y-1. Underline and
    /// strike-out are drawn when the logical font asks for them.
    void DrawString(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                    std::string_view Utf8, TPixel Color) const;
    /// Draws the bytes [Begin, End) of shaped text as one line in visual
    /// order, its left edge at X; returns its width. Underline and
    /// strike-out are drawn when the logical font asks for them.
    int DrawShaped(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                   const TShapedText& Text, size_t Begin, size_t End, TPixel Color) const;

    /// Fills CellRect, given in the text's own frame relative to the cell
    /// origin (X, Y), turned like the text. Used for underlines and opaque
    /// backgrounds so that they follow rotated text.
    void FillCellRect(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                      const TRect& CellRect, TPixel Color) const;

    /// The underline's first row below the cell top (inside the cell).
    int UnderlineTop() const { return FUnderlineTop; }
    /// The thickness in rows of the underline and the strike-out line.
    int LineThickness() const { return FLineThickness; }
    /// The strike-out line's first row below the cell top.
    int StrikeOutTop() const { return FStrikeOutTop; }

private:
    TLogFont FLogFont;
    std::shared_ptr<TGlyphSource> FSource;
    int FQuarterTurns = 0;
    int FUnderlineTop = 0;
    int FStrikeOutTop = 0;
    int FLineThickness = 1;
};

/// DrawTextOn format flags, with the platform's values; DrawTextOn says
/// what each does. DT_TOP and DT_LEFT are the defaults (no bit).
///@{
constexpr unsigned DT_TOP = 0x0;
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_BOTTOM = 0x8;
constexpr unsigned DT_WORDBREAK = 0x10;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_EXPANDTABS = 0x40;
constexpr unsigned DT_NOCLIP = 0x100;
constexpr unsigned DT_CALCRECT = 0x400;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_EDITCONTROL = 0x2000;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
constexpr unsigned DT_MODIFYSTRING = 0x10000;
constexpr unsigned DT_RTLREADING = 0x20000;
///@}

/// The platform's DrawText on a surface, R in device pixels; returns the text
/// height (with DT_VCENTER or DT_BOTTOM: from R.Top to the bottom of the text).
/// DT_CALCRECT draws nothing and sets R.Right and R.Bottom to the text's
/// extent. DT_END_ELLIPSIS shortens a line that does not fit R's width with
/// "...", and DT_MODIFYSTRING writes the shortened text back into Text.
/// Without DT_NOPREFIX "&x" underlines x and "&&" draws "&". Without DT_NOCLIP
/// drawing is clipped to R, and always to Clip. A non-null Background fills
/// each line's extent before its text is drawn (opaque mode). Each paragraph
/// reads right to left with DT_RTLREADING (left to right without), its
/// mixed-direction stretches ordered per line; DT_WORDBREAK breaks lines where
/// the Unicode line-breaking rules allow, and shortening cuts between whole
/// characters. DT_SINGLELINE keeps the text on one line, DT_CENTER and
/// DT_RIGHT place lines across R, DT_VCENTER and DT_BOTTOM the block down it.
/// DT_EXPANDTABS sets tab stops every eight average character widths;
/// DT_EDITCONTROL shows only the lines that fit R whole.
int DrawTextOn(const TPixelSurface& Target, const TRect& Clip, const TFontFace& Face, TPixel Color,
               const TPixel* Background, String& Text, TRect& R, unsigned Format);

} // namespace folio
