// Shaped text checked against the libraries' own reference tools: the glyphs
// and advances HarfBuzz's hb-shape gives for the same file and size, and the
// visual order FriBidi's reordering gives for the same paragraph.

#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include "TextTestSurface.h"

#include <fribidi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <thread>

using namespace folio;

namespace {

TLogFont Log(const String& Name, int Height) {
    TLogFont L;
    L.FaceName = Name;
    L.Height = Height;
    return L;
}

struct TPeerGlyph {
    unsigned Index = 0;
    int Advance = 0, XOffset = 0, YOffset = 0;
    friend bool operator==(const TPeerGlyph&, const TPeerGlyph&) = default;
};

std::ostream& operator<<(std::ostream& Out, const TPeerGlyph& G) {
    return Out << G.Index << "+" << G.Advance << "@" << G.XOffset << "," << G.YOffset;
}

String Quote(const String& S) {
    String Q = "'";
    for (char C : S) Q += C == '\'' ? String("'\\''") : String(1, C);
    return Q + "'";
}

// hb-shape's glyphs for Text in one direction, with FreeType's advances read
// as the engine reads them, at the same 26.6 scale. Empty when the tool
// cannot run.
std::vector<TPeerGlyph> PeerShape(const String& File, int FaceIndex, int Em, const String& Text,
                                  bool RightToLeft) {
    std::ostringstream Cmd;
    Cmd << "hb-shape --font-funcs=ft --ft-load-flags=8 --font-size=" << Em * 64
        << " --font-ppem=" << Em << " --face-index=" << FaceIndex
        << " --no-glyph-names --direction=" << (RightToLeft ? "rtl" : "ltr") << " " << Quote(File)
        << " " << Quote(Text) << " 2>/dev/null";
    std::vector<TPeerGlyph> Out;
    FILE* P = popen(Cmd.str().c_str(), "r");
    if (!P) return Out;
    String Line;
    char Buf[4096];
    while (std::fgets(Buf, sizeof Buf, P)) Line += Buf;
    pclose(P);
    // [gid=cluster@dx,dy+advance|...]
    size_t I = Line.find('[');
    while (I != String::npos && I + 1 < Line.size()) {
        const size_t End = Line.find_first_of("|]", I + 1);
        const String Item = Line.substr(I + 1, End - I - 1);
        TPeerGlyph G;
        G.Index = static_cast<unsigned>(std::stoul(Item));
        const size_t At = Item.find('@');
        if (At != String::npos) std::sscanf(Item.c_str() + At + 1, "%d,%d", &G.XOffset, &G.YOffset);
        G.Advance = std::stoi(Item.substr(Item.find('+') + 1));
        Out.push_back(G);
        if (End == String::npos || Line[End] == ']') break;
        I = End;
    }
    return Out;
}

bool PeerToolRuns() {
    static const bool Runs = std::system("hb-shape --version >/dev/null 2>&1") == 0;
    return Runs;
}

struct TScriptCase {
    const char* Name;
    const char* Face; // a face that has every character of the text
    const char* Text;
    bool RightToLeft;
};

// Strings of the scripts the engine is checked on; each face is one the
// README's packages install.
const TScriptCase ScriptCases[] = {
    {"English with kerning pairs", "Liberation Sans", "AVATAR To Way, Yes. LTA fi", false},
    {"Hebrew", "DejaVu Sans", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D",
     true},
    {"Arabic", "DejaVu Sans",
     "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7 \xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9\xD8\xA7\xD9\x84\xD9"
     "\x85",
     true},
    {"Hebrew and English with numbers", "DejaVu Sans",
     "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D World 123 \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D 45", true},
    {"Devanagari", "Lohit Devanagari",
     "\xE0\xA4\xA8\xE0\xA4\xAE\xE0\xA4\xB8\xE0\xA5\x8D\xE0\xA4\xA4\xE0\xA5\x87 "
     "\xE0\xA4\xA6\xE0\xA5\x81\xE0\xA4\xA8\xE0\xA4\xBF\xE0\xA4\xAF\xE0\xA4\xBE",
     false},
    {"Thai", "Loma",
     "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB8\x8A\xE0\xB8"
     "\xB2\xE0\xB8\xA7\xE0\xB9\x82\xE0\xB8\xA5\xE0\xB8\x81",
     false},
    {"Chinese", "WenQuanYi Micro Hei",
     "\xE4\xBD\xA0\xE5\xA5\xBD\xEF\xBC\x8C\xE4\xB8\x96\xE7\x95\x8C", false},
    {"Emoji", "Symbola", "\xF0\x9F\x98\x80\xF0\x9F\x93\x81\xE2\x9C\x89", false},
};

} // namespace

TEST(TextShaping, GlyphsAndAdvancesEqualHarfBuzzsReferenceTool) {
    if (!PeerToolRuns()) GTEST_SKIP() << "hb-shape (libharfbuzz-bin) is not installed";
    for (const TScriptCase& K : ScriptCases) {
        for (int Em : {11, 16}) {
            SCOPED_TRACE(String(K.Name) + " at " + std::to_string(Em) + " pixels");
            const HFONT Face = CreateFontIndirect(Log(K.Face, -Em));
            const auto Shaped = Face->Shape(K.Text, K.RightToLeft);
            ASSERT_FALSE(Shaped->Runs.empty());
            // Each run goes to the tool alone, in its own direction; none of
            // these texts joins across the places where runs meet.
            for (const TShapedRun& Run : Shaped->Runs) {
                const TGlyphSource& Source = *Shaped->Glyphs[Run.GlyphBegin].Source;
                const String Piece =
                    String(K.Text).substr(Run.ByteBegin, Run.ByteEnd - Run.ByteBegin);
                std::vector<TPeerGlyph> Ours;
                for (size_t G = Run.GlyphBegin; G < Run.GlyphEnd; ++G) {
                    const TShapedGlyph& SG = Shaped->Glyphs[G];
                    EXPECT_EQ(SG.Source, &Source) << "one face per run";
                    Ours.push_back(TPeerGlyph{SG.Index, SG.Advance, SG.XOffset, SG.YOffset});
                }
                EXPECT_EQ(Ours, PeerShape(Source.FileName(), Source.Key().FaceIndex,
                                          Source.EmPixels(), Piece, Run.Level & 1))
                    << "run \"" << Piece << "\" in " << Source.FileName();
            }
        }
    }
}

TEST(TextShaping, VisualOrderEqualsFriBidisReordering) {
    struct TCase {
        const char* Name;
        const char* Text;
        bool RightToLeft;
    };
    const TCase Cases[] = {
        {"Hebrew read right to left",
         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D", true},
        {"Hebrew in a left-to-right paragraph", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95",
         false},
        {"Hebrew, English and numbers",
         "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D World 123 \xD7\xA2\xD7\x95 45", true},
        {"English with a Hebrew word", "Mail \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D (2) box", false},
        {"Arabic with digits", "\xD8\xA8\xD8\xA7\xD9\x84\xD8\xB9 12.5 \xD8\xB9\xD8\xA7\xD9\x84",
         true},
        {"brackets around Hebrew", "a (\xD7\xA9\xD7\x9C[\xD7\x95]) b", true},
        {"plain Latin", "Inbox and Outbox", false},
    };
    const HFONT Face = CreateFontIndirect(Log("DejaVu Sans", -13));
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        const String Text = K.Text;
        const auto Shaped = Face->Shape(Text, K.RightToLeft);
        std::vector<TVisualCluster> Ours;
        Shaped->VisualClusters(0, Text.size(), Ours);

        // FriBidi's reference: the logical character shown at each place.
        std::vector<FriBidiChar> Chars(Text.size());
        const FriBidiStrIndex N =
            fribidi_charset_to_unicode(FRIBIDI_CHAR_SET_UTF8, Text.c_str(),
                                       static_cast<FriBidiStrIndex>(Text.size()), Chars.data());
        std::vector<FriBidiStrIndex> VisualToLogical(static_cast<size_t>(N));
        FriBidiParType Dir = K.RightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
        ASSERT_NE(fribidi_log2vis(Chars.data(), N, &Dir, nullptr, nullptr, VisualToLogical.data(),
                                  nullptr),
                  0);
        // Byte offsets of the characters, to find each one's cluster.
        std::vector<size_t> ByteOf;
        for (size_t I = 0; I < Text.size();) {
            ByteOf.push_back(I);
            NextCodePoint(Text, I);
        }
        ASSERT_EQ(ByteOf.size(), static_cast<size_t>(N));
        std::vector<size_t> Order; // our clusters, in FriBidi's visual order
        for (FriBidiStrIndex V = 0; V < N; ++V) {
            const size_t Byte =
                ByteOf[static_cast<size_t>(VisualToLogical[static_cast<size_t>(V)])];
            for (size_t C = 0; C < Ours.size(); ++C)
                if (Ours[C].ByteBegin <= Byte && Byte < Ours[C].ByteEnd) {
                    if (Order.empty() || Order.back() != C) Order.push_back(C);
                    break;
                }
        }
        ASSERT_EQ(Order.size(), Ours.size());
        for (size_t C = 0; C < Order.size(); ++C) EXPECT_EQ(Order[C], C) << "place " << C;
        // And the clusters tile the line from its left edge.
        int X = 0;
        for (const TVisualCluster& C : Ours) {
            EXPECT_EQ(C.X, X);
            X = C.X + C.Width;
        }
        EXPECT_EQ(X, Shaped->Width());
    }
}

TEST(TextShaping, EveryScriptDrawsRealGlyphsThroughTheInterfaceFace) {
    // Asked for the classic interface face, every script finds a face that
    // has its characters: no glyph is a missing-glyph box.
    const HFONT Ui = CreateFontIndirect(Log("MS Sans Serif", -11));
    const char* const Texts[] = {
        "Latin caf\xC3\xA9",
        "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC", // Greek
        "\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9",         // Cyrillic
    };
    std::vector<String> All(std::begin(Texts), std::end(Texts));
    for (const TScriptCase& K : ScriptCases) All.push_back(K.Text);
    for (const String& Text : All) {
        SCOPED_TRACE(Text);
        const auto Shaped = Ui->Shape(Text, false);
        ASSERT_FALSE(Shaped->Glyphs.empty());
        for (const TShapedGlyph& G : Shaped->Glyphs) EXPECT_NE(G.Index, 0u);
        test::TTextSurface S(400, 30);
        Ui->DrawString(S.View, S.Whole(), 2, 2, Text, test::Black);
        EXPECT_FALSE(S.Ink().IsEmpty());
    }
    // Latin stays with the interface's own face.
    const auto Latin = Ui->Shape("Inbox", false);
    for (const TShapedGlyph& G : Latin->Glyphs) EXPECT_EQ(G.Source->FileName(), Ui->FileName());
}

TEST(TextShaping, KerningAndJoiningChangeWhatIsDrawn) {
    const HFONT Face = CreateFontIndirect(Log("Liberation Sans", -20));
    // A kerned pair is narrower than its letters apart.
    EXPECT_LT(Face->TextWidth("AV"), Face->TextWidth("A") + Face->TextWidth("V"));
    // Arabic letters take their joined forms: the word's glyphs differ from
    // the letters shaped alone.
    const HFONT Arabic = CreateFontIndirect(Log("DejaVu Sans", -20));
    const String Word = "\xD8\xA8\xD8\xA8\xD8\xA8"; // three beh
    const auto Joined = Arabic->Shape(Word, true);
    const auto Alone = Arabic->Shape("\xD8\xA8", true);
    ASSERT_EQ(Joined->Glyphs.size(), 3u);
    for (const TShapedGlyph& G : Joined->Glyphs) EXPECT_NE(G.Index, Alone->Glyphs[0].Index);
}

TEST(TextShaping, InvalidUtf8ReadsAsOneReplacementPerBadSequence) {
    struct TCase {
        const char* Name;
        String Bytes;
        std::u32string Expected;
    };
    const TCase Cases[] = {
        {"a cut-off three-byte character", "a\xE2\x82", U"a\uFFFD"},
        {"a stray continuation byte", "a\x80z", U"a\uFFFDz"},
        {"an overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
        {"a surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
        {"past the last code point", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"an overlong four-byte start", "\xF0\x80\x80", U"\uFFFD\uFFFD\uFFFD"},
        {"a good and a cut-off character", "\xC3\xA9\xF0\x9F\x98", U"\u00E9\uFFFD"},
        {"bytes that never start anything", "\xFF\xFEx", U"\uFFFD\uFFFDx"},
        {"a lone lead byte at the end", "ok\xC3", U"ok\uFFFD"},
    };
    for (const TCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        std::u32string Got;
        for (size_t I = 0; I < K.Bytes.size();) Got += NextCodePoint(K.Bytes, I);
        EXPECT_EQ(Got, K.Expected);
        // The shaper sees the same characters: one glyph each here.
        const HFONT Face = CreateFontIndirect(Log("DejaVu Sans", -12));
        EXPECT_EQ(Face->Shape(K.Bytes)->Glyphs.size(), K.Expected.size());
    }
}

TEST(TextShaping, TheCacheGivesTheSameShapeBackByTextAndDirection) {
    const HFONT Face = CreateFontIndirect(Log("DejaVu Sans", -12));
    const auto A = Face->Shape("Cached caption");
    EXPECT_EQ(A, Face->Shape("Cached caption"));
    EXPECT_NE(A, Face->Shape("Cached caption", true));
    EXPECT_NE(A, Face->Shape("Cached captio"));
    // Many texts later the cache has let old ones go and still answers right.
    for (int I = 0; I < 5000; ++I) Face->Shape("Caption number " + std::to_string(I));
    const auto Again = Face->Shape("Cached caption");
    EXPECT_EQ(Again->Width(), A->Width());
    EXPECT_EQ(Again->Glyphs.size(), A->Glyphs.size());
}

TEST(TextShaping, LigaturesLetTheCursorStandBetweenTheirLetters) {
    const HFONT Face = CreateFontIndirect(Log("DejaVu Sans", -20));
    const String Text = "office";
    const auto Shaped = Face->Shape(Text);
    // "ffi" is one glyph in this face, yet each of its letters is a place
    // for the cursor, in order, inside the ligature's advance.
    ASSERT_LT(Shaped->Glyphs.size(), Text.size());
    int Last = -1;
    for (size_t Pos = 0; Pos <= Text.size(); ++Pos) {
        const int X = Shaped->CaretX(0, Text.size(), Pos);
        EXPECT_GT(X, Last) << Pos;
        Last = X;
    }
}

TEST(TextShaping, ConcurrentShapingOfEveryScriptAgrees) {
    const HFONT Face = CreateFontIndirect(Log("Helvetica", -15));
    auto Render = [&](std::vector<TPixel>& Out) {
        test::TTextSurface S(400, 300);
        int Y = 0;
        for (const TScriptCase& K : ScriptCases) {
            String Text = K.Text;
            TRect R{0, Y, 400, Y + 30};
            DrawTextOn(S.View, S.Whole(), *Face, test::Black, nullptr, Text, R,
                       K.RightToLeft ? DT_RTLREADING | DT_RIGHT : DT_LEFT);
            Y += 30;
        }
        Out = S.Pixels;
    };
    std::vector<std::vector<TPixel>> Results(4);
    std::vector<std::thread> Threads;
    for (auto& R : Results) Threads.emplace_back([&Render, &R] { Render(R); });
    for (auto& T : Threads) T.join();
    for (const auto& R : Results) EXPECT_EQ(R, Results[0]);
}

TEST(TextShaping, HugeCaptionsAreDrawnAndMeasured) {
    // A megabyte caption and a letter carrying 100,000 accents are drawn,
    // measured and shortened like any caption: the engine shapes them in
    // pieces and keeps none of them in its cache.
    String Megabyte;
    while (Megabyte.size() < (1u << 20))
        Megabyte += "Wide caption \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D ";
    String Marks = "e";
    for (int I = 0; I < 100000; ++I) Marks += "\xCC\x81";
    const HFONT Face = CreateFontIndirect(Log("MS Sans Serif", -11));
    for (const String* Text : {&Megabyte, &Marks}) {
        SCOPED_TRACE(Text->size());
        EXPECT_GT(Face->TextWidth(*Text), 0);
        test::TTextSurface S(200, 40);
        String Caption = *Text;
        TRect R{0, 0, 200, 40};
        DrawTextOn(S.View, S.Whole(), *Face, test::Black, nullptr, Caption, R,
                   DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
        EXPECT_FALSE(S.Ink().IsEmpty());
        // The long caption is cut between whole characters; the accented
        // letter is narrow and stays whole.
        if (Text == &Megabyte) {
            EXPECT_LT(Caption.size(), 100u);
            EXPECT_EQ(Caption.substr(Caption.size() - 3), "...");
        } else {
            EXPECT_EQ(Caption, Marks);
        }
    }
    // Wrapped into a box, the accents stay on their letter's one line.
    String Wrapped = Marks;
    TRect R{0, 0, 200, 40};
    test::TTextSurface S(200, 40);
    EXPECT_EQ(DrawTextOn(S.View, S.Whole(), *Face, test::Black, nullptr, Wrapped, R,
                         DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT),
              Face->Metrics().tmHeight);
}
