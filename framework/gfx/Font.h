#pragma once

#include "framework/core/Object.h"
#include "framework/core/Set.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>

namespace folio {

/// One style a font's text may take.
enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
/// A font's styles; empty is regular.
using TFontStyles = TSet<TFontStyle>;

/// Whether the font asked for has glyphs of one width (fpFixed), of their
/// own widths (fpVariable), or either (fpDefault).
enum TFontPitch { fpDefault, fpVariable, fpFixed };

/// How glyph edges are drawn. Anti-aliased glyphs blend their edges into what
/// lies beneath; non-anti-aliased ones are bi-level, every pixel either the
/// text colour or untouched, which drawing with raster operations (an XOR
/// that inverts what lies beneath) needs. The default is anti-aliased.
enum TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };

///@{
/// Character sets a logical font may ask for (TLogFont::CharSet).
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
///@}
///@{
/// Weights of a logical font (TLogFont::Weight): regular and bold.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
///@}
///@{
/// The logical font's Quality values.
constexpr int DEFAULT_QUALITY = 0;
constexpr int NONANTIALIASED_QUALITY = 3;
constexpr int ANTIALIASED_QUALITY = 4;
///@}

/// A logical font: what a caller asks for. The engine resolves it to a face
/// file and a pixel size once (CreateFontIndirect) and caches the result.
struct TLogFont {
    int Height = 0;      ///< negative: character (em) height in pixels; positive: cell height
    int Width = 0;       ///< accepted and ignored: glyphs keep their natural proportions
    int Escapement = 0;  ///< tenths of a degree, counter-clockwise
    int Orientation = 0; ///< accepted and ignored: glyphs follow the escapement
    int Weight = 0;      ///< 0 or FW_NORMAL: regular; 600 and more: bold
    ///@{
    /// The styles asked for; false by default.
    bool Italic = false, Underline = false, StrikeOut = false;
    ///@}
    int CharSet = DEFAULT_CHARSET; ///< the character set asked for
    ///@{
    /// Accepted and kept; PitchAndFamily 1 asks for a fixed pitch, 2 a
    /// variable one.
    int OutPrecision = 0, ClipPrecision = 0, PitchAndFamily = 0;
    ///@}
    int Quality = DEFAULT_QUALITY; ///< NONANTIALIASED_QUALITY draws bi-level glyphs
    String FaceName;               ///< the family asked for; the system's closest match is used

    /// Two requests are equal when every field is.
    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

class TFontFace;
/// A resolved font face, shared by everyone who asked for the same font.
using HFONT = std::shared_ptr<const TFontFace>;

///@{
/// The screen's resolution in pixels per inch, as the host reads it from the
/// display (96 unless a host says otherwise). New fonts take it for the
/// conversion between points and pixels. Values below 1 are ignored.
int GetScreenPixelsPerInch();
void SetScreenPixelsPerInch(int Value);
///@}

/// Resolves a logical font to a face. The same request returns the same face
/// object while anyone holds it; resolution happens once per (name, height,
/// style, escapement, quality), never per paint. Thread-safe.
HFONT CreateFontIndirect(const TLogFont& LogFont);

/// The font of a canvas or a control: name, size, style and colour, with a
/// change event so that the owner can repaint. Every setter that changes a
/// value fires OnChange.
class TFont : public TPersistent {
    FOLIO_CLASS(TFont)
public:
    /// The default font: the standard face, Height -11 (8 points at 96
    /// pixels per inch), regular, in clWindowText, DEFAULT_CHARSET, at the
    /// screen's present resolution.
    TFont();

    /// Fired after any property changes, with the font as Sender.
    std::function<void(TObject*)> OnChange;

    /// Copies every property of another font (and shares its face), firing
    /// OnChange; other sources go to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;

    ///@{
    /// The face's family name; a family not installed takes the system's
    /// closest match.
    const String& GetName() const { return FName; }
    void SetName(const String& Value);
    ///@}
    ///@{
    /// Negative: character height in pixels; positive: cell height in pixels.
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    ///@}
    ///@{
    /// Points at the font's PixelsPerInch; setting it stores
    /// Height = -round(Size * PixelsPerInch / 72), so that a size in points
    /// takes more pixels on a denser screen. Not stored in forms (Height is).
    int GetSize() const;
    void SetSize(int Value);
    ///@}
    ///@{
    /// Bold, italic, underline, strike-out; empty by default.
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    ///@}
    ///@{
    /// The text colour; clWindowText by default (a system colour follows the
    /// colour scheme).
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    ///@}
    ///@{
    /// The character set asked for; DEFAULT_CHARSET by default.
    int GetCharset() const { return FCharset; }
    void SetCharset(int Value);
    ///@}
    ///@{
    /// The pitch asked for; fpDefault by default.
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    ///@}
    ///@{
    /// How glyph edges are drawn; fqDefault (anti-aliased) by default.
    TFontQuality GetQuality() const { return FQuality; }
    void SetQuality(TFontQuality Value);
    ///@}
    ///@{
    /// The screen's resolution when the font was made; Height is kept when
    /// it changes, Size follows. Values below 1 are ignored; no event fires.
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);
    ///@}

    /// The resolved face, built on first use and kept until a property that
    /// shapes the glyphs changes.
    const HFONT& GetHandle() const;
    /// Adopts a face made elsewhere (a rotated copy of this font, say): name,
    /// height and style follow the face's logical font, and its escapement is
    /// kept for later rebuilds until another handle is set. Null is ignored.
    void SetHandle(HFONT Handle);

    /// The logical font the handle is built from.
    TLogFont GetLogFont() const;

private:
    // The form filer streams the style as the set's bits.
    long long GetStyleBits() const { return static_cast<long long>(FStyle.Bits()); }
    void SetStyleBits(long long Bits) {
        SetStyle(TFontStyles::FromBits(static_cast<std::uint64_t>(Bits)));
    }

    // A property that shapes the glyphs changed: drop the face and notify.
    void FaceChanged();
    void Changed();

    String FName;
    int FHeight;
    TFontStyles FStyle;
    TColor FColor;
    int FCharset;
    TFontPitch FPitch = fpDefault;
    TFontQuality FQuality = fqDefault;
    int FEscapement = 0;
    int FPixelsPerInch;
    mutable HFONT FHandle;
};

} // namespace folio
