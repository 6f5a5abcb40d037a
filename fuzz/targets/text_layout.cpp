// The text engine's input: any bytes as a caption, with any DrawText flags
// and width. Shaping, reading order, fallback faces, line breaking and
// shortening must keep their promises: glyphs inside the text, runs that
// tile it, clusters that tile each line, cursor steps that visit every
// place once, ink only inside the rectangle, and a shortened string that
// keeps the caption's start.

#include "fuzz/FuzzTarget.h"

#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include <set>
#include <vector>

using namespace folio;
using folio::fuzz::TBytes;

namespace {

constexpr unsigned FlagMask = DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK |
                              DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT |
                              DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_MODIFYSTRING |
                              DT_RTLREADING;

const char* const Faces[] = {"MS Sans Serif", "DejaVu Sans", "Liberation Serif",
                             "WenQuanYi Micro Hei"};

TBytes Input(unsigned Flags, int Width, int FaceAndSize, const std::string& Text) {
    TBytes B;
    fuzz::PutInt(B, static_cast<std::int32_t>(Flags));
    fuzz::PutU16(B, static_cast<std::uint16_t>(Width));
    fuzz::PutByte(B, static_cast<std::uint8_t>(FaceAndSize));
    B.insert(B.end(), Text.begin(), Text.end());
    return B;
}

void CheckShaped(const TShapedText& T, const std::string& Text) {
    FOLIO_FUZZ_CHECK(T.Size == Text.size(), "size");
    FOLIO_FUZZ_CHECK(T.LogicalX.size() == Text.size() + 1, "advances per byte");
    for (size_t I = 1; I < T.LogicalX.size(); ++I)
        FOLIO_FUZZ_CHECK(T.LogicalX[I] >= T.LogicalX[I - 1], "advances fall back");
    size_t Next = 0;
    for (const TShapedRun& R : T.Runs) {
        FOLIO_FUZZ_CHECK(R.ByteBegin == Next && R.ByteEnd > R.ByteBegin, "runs tile the text");
        FOLIO_FUZZ_CHECK(R.GlyphBegin <= R.GlyphEnd && R.GlyphEnd <= T.Glyphs.size(), "run glyphs");
        for (size_t G = R.GlyphBegin; G < R.GlyphEnd; ++G)
            FOLIO_FUZZ_CHECK(T.Glyphs[G].Cluster >= R.ByteBegin && T.Glyphs[G].Cluster < R.ByteEnd,
                             "a glyph outside its run");
        Next = R.ByteEnd;
    }
    FOLIO_FUZZ_CHECK(Next == Text.size(), "runs end with the text");

    std::vector<TVisualCluster> Clusters;
    T.VisualClusters(0, T.Size, Clusters);
    int X = 0;
    for (const TVisualCluster& C : Clusters) {
        FOLIO_FUZZ_CHECK(C.X == X && C.Width >= 0, "clusters tile the line");
        FOLIO_FUZZ_CHECK(C.ByteBegin < C.ByteEnd && C.ByteEnd <= T.Size, "cluster bytes");
        X = C.X + C.Width;
    }
    // Stepping right from the left end visits every place once and stops;
    // stepping left walks the same places back.
    if (!Clusters.empty() && Clusters.size() < 2000) {
        size_t Pos = T.PosFromX(0, T.Size, -1000);
        std::vector<size_t> Walk{Pos};
        for (size_t Step = 0; Step <= Clusters.size() + 1; ++Step) {
            const size_t Moved = T.MoveVisually(0, T.Size, Pos, true);
            if (Moved == Pos) break;
            FOLIO_FUZZ_CHECK(T.IsGraphemeStart(Moved), "the cursor stopped inside a character");
            Walk.push_back(Pos = Moved);
        }
        const std::set<size_t> Seen(Walk.begin(), Walk.end());
        FOLIO_FUZZ_CHECK(Seen.size() == Walk.size(), "a cursor step came back");
        size_t Places = 0;
        for (size_t B = 0; B <= T.Size; ++B) Places += T.IsGraphemeStart(B) ? 1 : 0;
        FOLIO_FUZZ_CHECK(Seen.size() == Places, "a place the arrows never reach");
        for (size_t I = Walk.size() - 1; I > 0; --I) {
            const size_t Back = T.MoveVisually(0, T.Size, Walk[I], false);
            FOLIO_FUZZ_CHECK(Back == Walk[I - 1], "stepping left took another way back");
        }
    }
}

} // namespace

FOLIO_FUZZ_SEEDS {
    const unsigned Caption = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    const unsigned Wrapped =
        DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_MODIFYSTRING;
    Seeds.Add("latin", Input(Caption, 80, 0, "Deleted items"));
    Seeds.Add("hebrew-rtl",
              Input(Caption | DT_RTLREADING | DT_RIGHT, 60, 1,
                    "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D World 123 \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D"));
    Seeds.Add("arabic-wrapped",
              Input(Wrapped | DT_RTLREADING, 50, 1,
                    "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9"));
    Seeds.Add("chinese-wrapped", Input(Wrapped, 30, 3,
                                       "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95"
                                       "\x8C\xE4\xBD\xA0\xE5\xA5\xBD"));
    Seeds.Add("devanagari", Input(Wrapped, 40, 0,
                                  "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4"
                                  "\xE0\xA5\x87 \xE0\xA4\xA6\xE0\xA5\x81\xE0\xA4\xA8"));
    Seeds.Add("marks", Input(Caption, 20, 0, "e" + std::string(60, '\xCC') + "\x81"));
    std::string Stacked = "a";
    for (int I = 0; I < 200; ++I) Stacked += "\xCC\x81";
    Seeds.Add("stacked-marks", Input(Caption, 20, 1, Stacked));
    Seeds.Add("invalid",
              Input(DT_LEFT | DT_EXPANDTABS, 100, 2, "ok\xE2\x82 \xF0\x80\x80\tx\xFF&y"));
    Seeds.Add("prefix", Input(DT_LEFT, 100, 0, "&File\r\nOpen && close\n\xD7\xA9&\xD7\x9C"));
    Seeds.Add("embeddings", Input(DT_LEFT | DT_RTLREADING, 100, 1,
                                  "a\xE2\x80\xAB b \xE2\x80\xAE c\xE2\x80\xAC\xE2\x81\xA6 d"));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size < 7) return 0;
    const unsigned Flags =
        (Data[0] | (Data[1] << 8) | (Data[2] << 16) | (static_cast<unsigned>(Data[3]) << 24)) &
        FlagMask;
    const int Width = (Data[4] | (Data[5] << 8)) % 400;
    const HFONT Face = CreateFontIndirect([&] {
        TLogFont L;
        L.FaceName = Faces[Data[6] % 4];
        L.Height = -(8 + (Data[6] >> 2) % 24);
        return L;
    }());
    const std::string Text(reinterpret_cast<const char*>(Data) + 7, Size - 7);

    CheckShaped(*Face->Shape(Text, (Flags & DT_RTLREADING) != 0), Text);

    constexpr int W = 420, H = 120;
    std::vector<TPixel> Pixels(static_cast<size_t>(W) * H, 0xFFFFFFFFu);
    const TPixelSurface Surface{Pixels.data(), W, H, W};
    const TRect Box{10, 10, 10 + Width, 100};
    String Caption = Text;
    TRect R = Box;
    const int Height =
        DrawTextOn(Surface, TRect{0, 0, W, H}, *Face, 0xFF000000u, nullptr, Caption, R, Flags);
    FOLIO_FUZZ_CHECK(Height >= 0, "a negative height");
    if (Flags & DT_CALCRECT) {
        FOLIO_FUZZ_CHECK(R.Left == Box.Left && R.Top == Box.Top, "measuring moved the corner");
        FOLIO_FUZZ_CHECK(R.Right >= R.Left && R.Bottom >= R.Top, "a negative extent");
        for (TPixel P : Pixels) FOLIO_FUZZ_CHECK(P == 0xFFFFFFFFu, "measuring drew");
    } else if (!(Flags & DT_NOCLIP)) {
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                if (X < Box.Left || X >= Box.Right || Y < Box.Top || Y >= Box.Bottom)
                    FOLIO_FUZZ_CHECK(Pixels[static_cast<size_t>(Y) * W + X] == 0xFFFFFFFFu,
                                     "ink outside the rectangle");
    }
    if (Caption != Text) {
        // Shortening writes back the caption's start and the dots.
        FOLIO_FUZZ_CHECK((Flags & DT_MODIFYSTRING) && (Flags & DT_END_ELLIPSIS),
                         "the text changed without being asked to");
        FOLIO_FUZZ_CHECK(Caption.find("...") != String::npos, "shortened without dots");
        const size_t Dots = Caption.find("...");
        FOLIO_FUZZ_CHECK(Text.compare(0, Dots, Caption, 0, Dots) == 0, "the start changed");
    }
    return 0;
}
