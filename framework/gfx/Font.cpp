#include "framework/gfx/Font.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/FontEngine.h"

#include <atomic>
#include <cmath>

namespace folio {

namespace {

// The system colour of window text; the colour table itself lives with the
// canvas, the font only stores the value.
constexpr TColor DefaultFontColor = static_cast<TColor>(0x80000008u);
constexpr int DefaultFontHeight = -11;
const char* const DefaultFontName = "MS Sans Serif";

// Hosts set it before any form shows; fonts may be made on any thread.
std::atomic<int> ScreenPixelsPerInch{96};

} // namespace

int GetScreenPixelsPerInch() {
    return ScreenPixelsPerInch.load(std::memory_order_relaxed);
}

void SetScreenPixelsPerInch(int Value) {
    if (Value >= 1) ScreenPixelsPerInch.store(Value, std::memory_order_relaxed);
}

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TFont>("TFont", &TPersistent::StaticClassInfo())
            .Int("Charset", &TFont::GetCharset, &TFont::SetCharset, DEFAULT_CHARSET)
            .Color("Color", &TFont::GetColor, &TFont::SetColor, DefaultFontColor)
            .Int("Height", &TFont::GetHeight, &TFont::SetHeight)
            .Str("Name", &TFont::GetName, &TFont::SetName)
            .Enum("Pitch", "TFontPitch", {"fpDefault", "fpVariable", "fpFixed"}, &TFont::GetPitch,
                  &TFont::SetPitch, std::optional<TFontPitch>(fpDefault))
            .Enum("Quality", "TFontQuality", {"fqDefault", "fqNonAntialiased", "fqAntialiased"},
                  &TFont::GetQuality, &TFont::SetQuality, std::optional<TFontQuality>(fqDefault))
            .Int("Size", &TFont::GetSize, &TFont::SetSize)
            .NotStored()
            .Set("Style", "TFontStyles", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"},
                 &TFont::GetStyleBits, &TFont::SetStyleBits, 0)
            .Build();
    return Info;
}

TFont::TFont()
    : FName(DefaultFontName), FHeight(DefaultFontHeight), FColor(DefaultFontColor),
      FCharset(DEFAULT_CHARSET), FPixelsPerInch(GetScreenPixelsPerInch()) {}

void TFont::Assign(const TPersistent* Source) {
    if (const auto* Other = dynamic_cast<const TFont*>(Source)) {
        if (Other == this) return;
        FName = Other->FName;
        FHeight = Other->FHeight;
        FStyle = Other->FStyle;
        FColor = Other->FColor;
        FCharset = Other->FCharset;
        FPitch = Other->FPitch;
        FQuality = Other->FQuality;
        FEscapement = Other->FEscapement;
        FPixelsPerInch = Other->FPixelsPerInch;
        FHandle = Other->FHandle;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TFont::SetName(const String& Value) {
    if (Value == FName) return;
    FName = Value;
    FaceChanged();
}

void TFont::SetHeight(int Value) {
    if (Value == FHeight) return;
    FHeight = Value;
    FaceChanged();
}

int TFont::GetSize() const {
    // A positive height is a cell height; its point size is reported the same
    // way so that Size round-trips through Height for either sign.
    const double Points = std::abs(FHeight) * 72.0 / FPixelsPerInch;
    const int Size = static_cast<int>(std::lround(Points));
    return FHeight < 0 ? Size : -Size;
}

void TFont::SetSize(int Value) {
    SetHeight(-static_cast<int>(std::lround(Value * static_cast<double>(FPixelsPerInch) / 72.0)));
}

void TFont::SetPixelsPerInch(int Value) {
    if (Value >= 1) FPixelsPerInch = Value;
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    FaceChanged();
}

void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::SetCharset(int Value) {
    if (Value == FCharset) return;
    FCharset = Value;
    FaceChanged();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == FPitch) return;
    FPitch = Value;
    FaceChanged();
}

void TFont::SetQuality(TFontQuality Value) {
    if (Value == FQuality) return;
    FQuality = Value;
    FaceChanged();
}

TLogFont TFont::GetLogFont() const {
    TLogFont Log;
    Log.Height = FHeight;
    Log.Escapement = FEscapement;
    Log.Orientation = FEscapement;
    Log.Weight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    Log.Italic = FStyle.Contains(fsItalic);
    Log.Underline = FStyle.Contains(fsUnderline);
    Log.StrikeOut = FStyle.Contains(fsStrikeOut);
    Log.CharSet = FCharset;
    Log.PitchAndFamily = FPitch == fpFixed ? 1 : FPitch == fpVariable ? 2 : 0;
    Log.Quality = FQuality == fqNonAntialiased ? NONANTIALIASED_QUALITY
                  : FQuality == fqAntialiased  ? ANTIALIASED_QUALITY
                                               : DEFAULT_QUALITY;
    Log.FaceName = FName;
    return Log;
}

const HFONT& TFont::GetHandle() const {
    if (!FHandle) FHandle = CreateFontIndirect(GetLogFont());
    return FHandle;
}

void TFont::SetHandle(HFONT Handle) {
    if (!Handle || Handle == FHandle) return;
    const TLogFont& Log = Handle->LogFont();
    FName = Log.FaceName;
    FHeight = Log.Height;
    TFontStyles Style;
    if (Log.Weight >= 600) Style.Include(fsBold);
    if (Log.Italic) Style.Include(fsItalic);
    if (Log.Underline) Style.Include(fsUnderline);
    if (Log.StrikeOut) Style.Include(fsStrikeOut);
    FStyle = Style;
    FCharset = Log.CharSet;
    FQuality = Log.Quality == NONANTIALIASED_QUALITY ? fqNonAntialiased
               : Log.Quality == ANTIALIASED_QUALITY  ? fqAntialiased
                                                     : fqDefault;
    FEscapement = Log.Escapement;
    FHandle = std::move(Handle);
    Changed();
}

void TFont::FaceChanged() {
    FHandle.reset();
    Changed();
}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

} // namespace folio
