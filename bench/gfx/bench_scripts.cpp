// Captions of other scripts drawn by the engine, beside the same string in
// the same face and size drawn by Pango (pango_cairo_show_layout into an
// image surface) when its development package is installed, and beside a
// memset of the caption's cell. Both sides draw warm: the engine from its
// shaped-text and glyph caches, Pango from a layout made once.

#include "framework/gfx/FontEngine.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#ifdef FOLIO_HAVE_PANGO
#include <pango/pangocairo.h>
#endif

using namespace folio;

namespace {

struct TScript {
    const char* Name;
    const char* Face;
    const char* Text;
    bool RightToLeft;
};

const TScript Scripts[] = {
    {"Arabic", "DejaVu Sans",
     "\xD8\xA7\xD9\x84\xD8\xA8\xD8\xB1\xD9\x8A\xD8\xAF \xD8\xA7\xD9\x84\xD9\x88\xD8\xA7\xD8\xB1\xD8"
     "\xAF \xD9\x88\xD8\xA7\xD9\x84\xD8\xB5\xD8\xA7\xD8\xAF\xD8\xB1",
     true},
    {"Hebrew", "DejaVu Sans",
     "\xD7\x93\xD7\x95\xD7\x90\xD7\xA8 \xD7\xA0\xD7\x9B\xD7\xA0\xD7\xA1 "
     "\xD7\x95\xD7\x99\xD7\x95\xD7"
     "\xA6\xD7\x90 \xD7\x97\xD7\x93\xD7\xA9",
     true},
    {"Devanagari", "Lohit Devanagari",
     "\xE0\xA4\x87\xE0\xA4\xA8\xE0\xA4\xAC\xE0\xA5\x89\xE0\xA4\x95\xE0\xA5\x8D\xE0\xA4\xB8 "
     "\xE0\xA4\xB8\xE0\xA4\x82\xE0\xA4\xA6\xE0\xA5\x87\xE0\xA4\xB6 \xE0\xA4\xAD\xE0\xA5\x87\xE0\xA4"
     "\x9C\xE0\xA5\x87",
     false},
    {"Chinese", "WenQuanYi Micro Hei",
     "\xE6\x94\xB6\xE4\xBB\xB6\xE7\xAE\xB1\xE5\x92\x8C\xE5\xB7\xB2\xE5\x8F\x91\xE9\x80\x81\xE7\x9A"
     "\x84\xE9\x82\xAE\xE4\xBB\xB6",
     false},
};

constexpr int Em = 15;
constexpr int Width = 240, Height = 40;

HFONT FaceOf(const TScript& S) {
    TLogFont L;
    L.FaceName = S.Face;
    L.Height = -Em;
    return CreateFontIndirect(L);
}

void BM_EngineCaption(benchmark::State& State) {
    const TScript& S = Scripts[State.range(0)];
    State.SetLabel(S.Name);
    const HFONT Face = FaceOf(S);
    std::vector<TPixel> Pixels(static_cast<size_t>(Width) * Height, 0xFFFFFFFFu);
    const TPixelSurface View{Pixels.data(), Width, Height, Width};
    const unsigned Format = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS |
                            (S.RightToLeft ? DT_RTLREADING : 0u);
    String Text = S.Text;
    for (auto _ : State) {
        TRect R{0, 0, Width, Height};
        DrawTextOn(View, R, *Face, 0xFF000000u, nullptr, Text, R, Format);
        benchmark::DoNotOptimize(Pixels.data());
    }
}
BENCHMARK(BM_EngineCaption)->DenseRange(0, 3);

void BM_EngineMeasure(benchmark::State& State) {
    const TScript& S = Scripts[State.range(0)];
    State.SetLabel(S.Name);
    const HFONT Face = FaceOf(S);
    for (auto _ : State) benchmark::DoNotOptimize(Face->TextWidth(S.Text));
}
BENCHMARK(BM_EngineMeasure)->DenseRange(0, 3);

#ifdef FOLIO_HAVE_PANGO
void BM_PangoCaption(benchmark::State& State) {
    const TScript& S = Scripts[State.range(0)];
    State.SetLabel(S.Name);
    cairo_surface_t* Surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    cairo_t* Cr = cairo_create(Surface);
    PangoLayout* Layout = pango_cairo_create_layout(Cr);
    PangoFontDescription* Desc = pango_font_description_from_string(S.Face);
    pango_font_description_set_absolute_size(Desc, Em * PANGO_SCALE);
    pango_layout_set_font_description(Layout, Desc);
    pango_layout_set_text(Layout, S.Text, -1);
    pango_layout_set_width(Layout, Width * PANGO_SCALE);
    pango_layout_set_alignment(Layout, PANGO_ALIGN_CENTER);
    pango_layout_set_ellipsize(Layout, PANGO_ELLIPSIZE_END);
    pango_layout_set_auto_dir(Layout, FALSE);
    cairo_set_source_rgb(Cr, 0, 0, 0);
    for (auto _ : State) {
        cairo_move_to(Cr, 0, 0);
        pango_cairo_show_layout(Cr, Layout);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(Surface));
    }
    pango_font_description_free(Desc);
    g_object_unref(Layout);
    cairo_destroy(Cr);
    cairo_surface_destroy(Surface);
}
BENCHMARK(BM_PangoCaption)->DenseRange(0, 3);
#endif

// The anchor: filling a caption's cell, 240 by 20 pixels.
void BM_MemsetCaptionCell(benchmark::State& State) {
    std::vector<TPixel> Pixels(static_cast<size_t>(Width) * Height);
    for (auto _ : State) {
        for (int Y = 0; Y < 20; ++Y)
            std::memset(Pixels.data() + static_cast<size_t>(Y) * Width, 0, Width * sizeof(TPixel));
        benchmark::DoNotOptimize(Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetCaptionCell);

} // namespace

BENCHMARK_MAIN();
