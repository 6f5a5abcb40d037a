#pragma once

#include "framework/core/Object.h"
#include "framework/core/Set.h"
#include "framework/core/Types.h"

#include <functional>
#include <memory>

namespace folio {

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

// How glyph edges are drawn. Anti-aliased glyphs blend their edges into what
// lies beneath; non-anti-aliased ones are bi-level, every pixel either the
// text colour or untouched, which drawing with raster operations (an XOR
// that inverts what lies beneath) needs. The default is anti-aliased.
enum TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };

constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
// The logical font's Quality values.
constexpr int DEFAULT_QUALITY = 0;
constexpr int NONANTIALIASED_QUALITY = 3;
constexpr int ANTIALIASED_QUALITY = 4;

// A logical font: what a caller asks for. The engine resolves it to a face
// file and a pixel size once (CreateFontIndirect) and caches the result.
struct TLogFont {
    int Height = 0;      // negative: character (em) height in pixels; positive: cell height
    int Width = 0;       // accepted and ignored: glyphs keep their natural proportions
    int Escapement = 0;  // tenths of a degree, counter-clockwise
    int Orientation = 0; // accepted and ignored: glyphs follow the escapement
    int Weight = 0;      // 0 or FW_NORMAL: regular; 600 and more: bold
    bool Italic = false, Underline = false, StrikeOut = false;
    int CharSet = DEFAULT_CHARSET;
    int OutPrecision = 0, ClipPrecision = 0, PitchAndFamily = 0;
    int Quality = DEFAULT_QUALITY; // NONANTIALIASED_QUALITY draws bi-level glyphs
    String FaceName;

    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

class TFontFace;
using HFONT = std::shared_ptr<const TFontFace>;

// The screen's resolution in pixels per inch, as the host reads it from the
// display (96 unless a host says otherwise). New fonts take it for the
// conversion between points and pixels.
int GetScreenPixelsPerInch();
// Values below 1 are ignored.
void SetScreenPixelsPerInch(int Value);

// Resolves a logical font to a face. The same request returns the same face
// object while anyone holds it; resolution happens once per (name, height,
// style, escapement, quality), never per paint. Thread-safe.
HFONT CreateFontIndirect(const TLogFont& LogFont);

// The font of a canvas or a control: name, size, style and colour, with a
// change event so that the owner can repaint.
class TFont : public TPersistent {
    FOLIO_CLASS(TFont)
public:
    TFont();

    std::function<void(TObject*)> OnChange;

    void Assign(const TPersistent* Source) override;

    const String& GetName() const { return FName; }
    void SetName(const String& Value);
    // Negative: character height in pixels; positive: cell height in pixels.
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value);
    // Points at the font's PixelsPerInch; setting it stores
    // Height = -round(Size * PixelsPerInch / 72), so that a size in points
    // takes more pixels on a denser screen.
    int GetSize() const;
    void SetSize(int Value);
    TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetCharset() const { return FCharset; }
    void SetCharset(int Value);
    TFontPitch GetPitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TFontQuality GetQuality() const { return FQuality; }
    void SetQuality(TFontQuality Value);
    // The screen's resolution when the font was made; Height is kept when
    // it changes, Size follows. Values below 1 are ignored.
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);

    // The resolved face, built on first use and kept until a property that
    // shapes the glyphs changes.
    const HFONT& GetHandle() const;
    // Adopts a face made elsewhere (a rotated copy of this font, say): name,
    // height and style follow the face's logical font, and its escapement is
    // kept for later rebuilds until another handle is set.
    void SetHandle(HFONT Handle);

    // The logical font the handle is built from.
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
