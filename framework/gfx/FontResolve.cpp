// Resolution of logical fonts to face files, and the face cache.

#include "framework/core/Exceptions.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

namespace folio {

namespace {

// The faces the framework's own defaults use are fixed here rather than left
// to fontconfig, whose answer depends on whatever fonts a machine happens to
// have: the classic sans-serif interface names all draw with Liberation Sans,
// and DejaVu Sans stands in when that package is missing.
const char* const UiSansNames[] = {
    "",           "ms sans serif",   "ms shell dlg", "ms shell dlg 2", "tahoma",
    "arial",      "helvetica",       "segoe ui",     "system",         "sans-serif",
    "sans serif", "liberation sans", "default",
};
const char* const LiberationSans[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Italic.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-BoldItalic.ttf",
};
const char* const DejaVuSans[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf",
};

struct TResolvedFile {
    String FileName;
    int FaceIndex = 0;
    bool SynthBold = false;
    bool SynthItalic = false;
};

String LowerCase(const String& S) {
    String R = S;
    for (char& C : R) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return R;
}

bool IsUiSansName(const String& Lower) {
    return std::any_of(std::begin(UiSansNames), std::end(UiSansNames),
                       [&](const char* N) { return Lower == N; });
}

bool Readable(const char* Path) {
    return ::access(Path, R_OK) == 0;
}

// A file from a family of four styles; a missing style file is replaced by the
// regular one with the style synthesised.
bool PickFromFamily(const char* const (&Family)[4], bool Bold, bool Italic, TResolvedFile& Out) {
    const int Wanted = (Bold ? 1 : 0) + (Italic ? 2 : 0);
    if (Readable(Family[Wanted])) {
        Out = TResolvedFile{Family[Wanted], 0, false, false};
        return true;
    }
    if (Readable(Family[0])) {
        Out = TResolvedFile{Family[0], 0, Bold, Italic};
        return true;
    }
    return false;
}

// Guards fontconfig and the resolved-name table.
std::mutex& ResolverMutex() {
    static std::mutex M;
    return M;
}

bool StartFontconfig() {
    if (FcInit() != FcTrue) return false;
    // Fontconfig keeps its configuration until it is finished explicitly;
    // finishing it at exit returns that memory, so leak checkers stay quiet.
    std::atexit([] {
        std::lock_guard Lock(ResolverMutex());
        FcFini();
    });
    return true;
}

bool MatchWithFontconfig(const String& Name, bool Bold, bool Italic, TResolvedFile& Out) {
    static const bool Ready = StartFontconfig();
    if (!Ready) return false;
    FcPattern* Pattern = FcPatternCreate();
    if (!Pattern) return false;
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Name.c_str()));
    FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
    FcDefaultSubstitute(Pattern);
    FcResult Result = FcResultNoMatch;
    FcPattern* Match = FcFontMatch(nullptr, Pattern, &Result);
    FcPatternDestroy(Pattern);
    if (!Match) return false;
    bool Found = false;
    FcChar8* File = nullptr;
    if (FcPatternGetString(Match, FC_FILE, 0, &File) == FcResultMatch && File) {
        int Index = 0, Weight = FC_WEIGHT_REGULAR, Slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(Match, FC_INDEX, 0, &Index);
        FcPatternGetInteger(Match, FC_WEIGHT, 0, &Weight);
        FcPatternGetInteger(Match, FC_SLANT, 0, &Slant);
        Out.FileName = reinterpret_cast<const char*>(File);
        Out.FaceIndex = Index;
        Out.SynthBold = Bold && Weight < FC_WEIGHT_DEMIBOLD;
        Out.SynthItalic = Italic && Slant == FC_SLANT_ROMAN;
        Found = true;
    }
    FcPatternDestroy(Match);
    return Found;
}

TResolvedFile ResolveFile(const String& Name, bool Bold, bool Italic) {
    static auto* Cache = new std::map<std::tuple<String, bool, bool>, TResolvedFile>;
    const String Lower = LowerCase(Name);
    std::lock_guard Lock(ResolverMutex());
    const auto Key = std::make_tuple(Lower, Bold, Italic);
    auto It = Cache->find(Key);
    if (It != Cache->end()) return It->second;

    TResolvedFile File;
    const bool Found = IsUiSansName(Lower)
                           ? PickFromFamily(LiberationSans, Bold, Italic, File) ||
                                 PickFromFamily(DejaVuSans, Bold, Italic, File) ||
                                 MatchWithFontconfig("sans-serif", Bold, Italic, File)
                           : MatchWithFontconfig(Name, Bold, Italic, File) ||
                                 PickFromFamily(LiberationSans, Bold, Italic, File) ||
                                 PickFromFamily(DejaVuSans, Bold, Italic, File);
    if (!Found)
        throw EInvalidGraphic("No font file was found for \"" + Name +
                              "\"; install fonts-liberation2 or fonts-dejavu-core");
    // Names come from callers; a program that makes up names endlessly must
    // not grow the table endlessly.
    if (Cache->size() >= 256) Cache->clear();
    Cache->emplace(Key, File);
    return File;
}

} // namespace

namespace {

// A file's character set is copied once and kept for good: every source of
// the file shares it. It is a copy of its own, since fontconfig's cached
// sets must all be let go before fontconfig is finished at exit.
const FcCharSet* KeepCharSet(FcPattern* Font) {
    FcCharSet* Chars = nullptr;
    if (FcPatternGetCharSet(Font, FC_CHARSET, 0, &Chars) != FcResultMatch || !Chars) return nullptr;
    FcCharSet* Own = FcCharSetCreate();
    if (Own && !FcCharSetMerge(Own, Chars, nullptr)) {
        FcCharSetDestroy(Own);
        return nullptr;
    }
    return Own;
}

} // namespace

const FcCharSet* FileCharSet(const String& FileName, int FaceIndex) {
    static auto* Cache = new std::map<std::pair<String, int>, const FcCharSet*>;
    static const bool Ready = StartFontconfig();
    if (!Ready) return nullptr;
    std::lock_guard Lock(ResolverMutex());
    const auto Key = std::make_pair(FileName, FaceIndex);
    auto It = Cache->find(Key);
    if (It != Cache->end()) return It->second;
    const FcCharSet* Found = nullptr;
    // Fontconfig knows the files it lists from its cache, without opening them.
    if (FcPattern* Pattern = FcPatternCreate()) {
        FcPatternAddString(Pattern, FC_FILE, reinterpret_cast<const FcChar8*>(FileName.c_str()));
        FcPatternAddInteger(Pattern, FC_INDEX, FaceIndex);
        if (FcObjectSet* Objects = FcObjectSetBuild(FC_CHARSET, nullptr)) {
            if (FcFontSet* Set = FcFontList(nullptr, Pattern, Objects)) {
                if (Set->nfont > 0) Found = KeepCharSet(Set->fonts[0]);
                FcFontSetDestroy(Set);
            }
            FcObjectSetDestroy(Objects);
        }
        FcPatternDestroy(Pattern);
    }
    if (!Found) {
        int Count = 0;
        if (FcPattern* Query = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(FileName.c_str()),
                                               FaceIndex, nullptr, &Count)) {
            Found = KeepCharSet(Query);
            FcPatternDestroy(Query);
        }
    }
    Cache->emplace(Key, Found);
    return Found;
}

const std::vector<TFallbackFile>& FallbackFiles(const String& Family, bool Bold, bool Italic) {
    static auto* Cache = new std::map<std::tuple<String, bool, bool>, std::vector<TFallbackFile>>;
    static const bool Ready = StartFontconfig();
    {
        std::lock_guard Lock(ResolverMutex());
        auto It = Cache->find(std::make_tuple(Family, Bold, Italic));
        if (It != Cache->end()) return It->second;
    }
    std::vector<TFallbackFile> Files;
    // The interface face's old stand-in comes first, so characters it has
    // draw as they always did.
    const char* Classic = DejaVuSans[Bold ? 1 : 0];
    if (Readable(Classic)) Files.push_back(TFallbackFile{Classic, 0, FileCharSet(Classic, 0)});
    std::lock_guard Lock(ResolverMutex());
    FcPattern* Pattern = Ready ? FcPatternCreate() : nullptr;
    if (Pattern) {
        const String Name = Family.empty() ? String("sans-serif") : Family;
        FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Name.c_str()));
        FcPatternAddInteger(Pattern, FC_WEIGHT, Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(Pattern, FC_SLANT, Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(Pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
        FcDefaultSubstitute(Pattern);
        FcResult Result = FcResultNoMatch;
        // Trimmed: a face that adds no characters to those before it is left out.
        if (FcFontSet* Set = FcFontSort(nullptr, Pattern, FcTrue, nullptr, &Result)) {
            for (int I = 0; I < Set->nfont && Files.size() < 64; ++I) {
                FcPattern* Font = Set->fonts[I];
                FcChar8* File = nullptr;
                FcBool Scalable = FcTrue, Color = FcFalse;
                int Index = 0;
                if (FcPatternGetString(Font, FC_FILE, 0, &File) != FcResultMatch || !File) continue;
                FcPatternGetBool(Font, FC_SCALABLE, 0, &Scalable);
                FcPatternGetBool(Font, FC_COLOR, 0, &Color);
                FcPatternGetInteger(Font, FC_INDEX, 0, &Index);
                // Glyphs are drawn from outlines in the text colour: colour
                // bitmaps and bitmap-only faces cannot stand in.
                if (!Scalable || Color) continue;
                const String Path = reinterpret_cast<const char*>(File);
                if (std::any_of(Files.begin(), Files.end(), [&](const TFallbackFile& F) {
                        return F.FileName == Path && F.FaceIndex == Index;
                    }))
                    continue;
                Files.push_back(TFallbackFile{Path, Index, KeepCharSet(Font)});
            }
            FcFontSetDestroy(Set);
        }
        FcPatternDestroy(Pattern);
    }
    auto [It, Inserted] = Cache->emplace(std::make_tuple(Family, Bold, Italic), std::move(Files));
    return It->second;
}

namespace {

struct TFaceKey {
    String FaceName;
    int Height;
    bool Bold, Italic, Underline, StrikeOut;
    int Escapement;
    bool Mono;
    friend auto operator<=>(const TFaceKey&, const TFaceKey&) = default;
};

} // namespace

HFONT CreateFontIndirect(const TLogFont& LogFont) {
    const bool Bold = LogFont.Weight >= 600;
    // Only a request for bi-level glyphs changes them; the default and the
    // anti-aliased quality draw alike.
    const bool Mono = LogFont.Quality == NONANTIALIASED_QUALITY;
    const TFaceKey Key{
        LogFont.FaceName,  LogFont.Height,     Bold, LogFont.Italic, LogFont.Underline,
        LogFont.StrikeOut, LogFont.Escapement, Mono};
    static std::mutex M;
    static auto* Cache = new std::map<TFaceKey, HFONT>;
    {
        std::lock_guard Lock(M);
        auto It = Cache->find(Key);
        if (It != Cache->end()) return It->second;
    }
    // Resolution runs outside the cache lock: opening a file may be slow, and
    // two threads racing for the same font both get a working face.
    const auto Open = [&](const String& Name) {
        const TResolvedFile File = ResolveFile(Name, Bold, LogFont.Italic);
        TGlyphSourceKey Key{File.FileName,  File.FaceIndex,   LogFont.Height,
                            File.SynthBold, File.SynthItalic, Mono};
        // The family orders the stand-ins for characters the file lacks.
        if (!IsUiSansName(LowerCase(Name))) Key.Family = Name;
        return AcquireGlyphSource(Key);
    };
    std::shared_ptr<TGlyphSource> Source;
    try {
        Source = Open(LogFont.FaceName);
    } catch (const EInvalidGraphic&) {
        // A matched file FreeType cannot scale (a damaged file, bitmap-only
        // strikes) must not stop painting: draw with the interface face.
        if (IsUiSansName(LowerCase(LogFont.FaceName))) throw;
        Source = Open(String());
    }
    auto Face = std::make_shared<const TFontFace>(LogFont, std::move(Source));

    std::lock_guard Lock(M);
    auto [It, Inserted] = Cache->emplace(Key, Face);
    if (!Inserted) return It->second;
    // Faces nobody holds any more are dropped once the cache is large, so a
    // program that keeps changing sizes does not grow it without bound.
    if (Cache->size() > 256) {
        for (auto I = Cache->begin(); I != Cache->end();) {
            if (I->second.use_count() == 1 && I != It)
                I = Cache->erase(I);
            else
                ++I;
        }
    }
    return Face;
}

} // namespace folio
