#include "framework/hosts/SdlHost.h"
#include "framework/hosts/SdlPresenter.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/input/Input.h"

#include <gtest/gtest.h>

#include <SDL_syswm.h>
// Xlib's macros (None, Bool, Status ...) stay below every header of ours.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <vector>

using namespace folio;

namespace {

// A surface whose every pixel differs from its neighbours, so that a copy
// from a wrong place shows.
struct TPattern {
    std::vector<TPixel> Pixels;
    TPixelSurface Surface;
    TPattern(int W, int H, int Stride) : Pixels(static_cast<size_t>(Stride) * H, 0xFF000000u) {
        Surface = TPixelSurface{Pixels.data(), W, H, Stride};
        for (int Y = 0; Y < H; ++Y)
            for (int X = 0; X < W; ++X)
                Surface.Row(Y)[X] = 0xFF000000u | static_cast<TPixel>(X * 7 + 13) << 16 |
                                    static_cast<TPixel>(Y * 5 + 3) << 8 |
                                    static_cast<TPixel>((X + Y) * 3);
    }
};

// A pixel of S as S stores it.
Uint32 ReadRaw(SDL_Surface* S, int X, int Y) {
    const auto* P =
        static_cast<const Uint8*>(S->pixels) + Y * S->pitch + X * S->format->BytesPerPixel;
    Uint32 V = 0;
    std::memcpy(&V, P, S->format->BytesPerPixel);
    return V;
}

// One of our pixels as S would store it.
Uint32 Encode(SDL_Surface* S, TPixel P) {
    return SDL_MapRGB(S->format, (P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
}

// The copy into a window's surface: exact where the layout is ours, through
// a conversion otherwise, and never outside the rectangles or the surfaces.
TEST(SdlPresenter, CopiesExactlyTheGivenRectanglesInAnyTargetFormat) {
    struct TCase {
        const char* Name;
        Uint32 Format;
    };
    const TCase Cases[] = {
        {"argb8888", SDL_PIXELFORMAT_ARGB8888}, {"xrgb8888", SDL_PIXELFORMAT_RGB888},
        {"xbgr8888", SDL_PIXELFORMAT_BGR888},   {"rgb24", SDL_PIXELFORMAT_RGB24},
        {"rgb565", SDL_PIXELFORMAT_RGB565},
    };
    // The source is wider (with a stride beyond its width) and shorter
    // than the target, so clipping works in both directions.
    TPattern Source(50, 30, 56);
    const std::vector<TRect> Rects = {
        Rect(2, 3, 12, 9),    // inside both
        Rect(40, 20, 60, 40), // beyond the target's right and the source's bottom
        Rect(-5, -5, 3, 2),   // before both
        Rect(20, 10, 20, 15), // empty
    };
    const long long Expected = 10 * 6 + 0 + 3 * 2; // the target is 40 wide
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        SDL_Surface* T = SDL_CreateRGBSurfaceWithFormat(0, 40, 36, 32, C.Format);
        ASSERT_NE(T, nullptr) << SDL_GetError();
        const Uint32 Marker = Encode(T, 0x123456);
        SDL_FillRect(T, nullptr, Marker);

        EXPECT_EQ(CopySurfaceRects(Source.Surface, T, Rects), Expected);
        // A padding or alpha byte is not shown.
        const Uint32 Shown = T->format->Rmask | T->format->Gmask | T->format->Bmask;
        int Wrong = 0;
        for (int Y = 0; Y < T->h; ++Y)
            for (int X = 0; X < T->w; ++X) {
                bool Inside = false;
                for (const TRect& R : Rects)
                    if (R.Contains(Point(X, Y)) && X < Source.Surface.Width &&
                        Y < Source.Surface.Height)
                        Inside = true;
                const Uint32 Want = Inside ? Encode(T, Source.Surface.Row(Y)[X]) : Marker;
                if ((ReadRaw(T, X, Y) & Shown) != (Want & Shown)) ++Wrong;
            }
        EXPECT_EQ(Wrong, 0);
        SDL_FreeSurface(T);
    }
}

// A square that shows whether the pointer is over it, repainting only
// itself when that changes: the smallest hover change there is.
class THoverPad : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool Hot = false;
    // A band of rows drawn across the pad in another colour (none when
    // Stripe is negative); the pad always repaints whole.
    int Stripe = -1;

protected:
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(Hot ? 0x2040E0 : 0xD0C0B0);
        GetCanvas()->FillRect(GetClientRect());
        if (Stripe < 0) return;
        GetCanvas()->GetBrush()->SetColor(0x000000);
        GetCanvas()->FillRect(Rect(0, Stripe, GetWidth(), Stripe + 3));
    }
    void Dispatch(TMessage& M) override {
        if (M.Msg == CM_MOUSEENTER || M.Msg == CM_MOUSELEAVE) {
            Hot = M.Msg == CM_MOUSEENTER;
            Invalidate();
        }
        TCustomControl::Dispatch(M);
    }
};

// The X connection and window behind an SDL window; false when it is not
// an X window.
bool XWindowOf(SDL_Window* W, Display*& D, ::Window& X) {
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!W || !SDL_GetWindowWMInfo(W, &Info) || Info.subsystem != SDL_SYSWM_X11) return false;
    D = Info.info.x11.display;
    X = Info.info.x11.window;
    return true;
}

// Whether the window is on the screen, asked of the X server: its answer
// comes after every event the server sent before it (the expose of a newly
// shown window, say), so the host's next step sees those. Without X the
// host's own word is taken.
bool Viewable(SDL_Window* W) {
    Display* D = nullptr;
    ::Window X = 0;
    if (!XWindowOf(W, D, X)) return W && (SDL_GetWindowFlags(W) & SDL_WINDOW_SHOWN);
    XWindowAttributes A;
    return XGetWindowAttributes(D, X, &A) && A.map_state == IsViewable;
}

// Pixels where what the window system shows differs from the form's
// surface, read back from the X server; -1 where the window is not an X
// window (the caller skips then).
long long PixelsShownWrong(const TSdlHost& Host, const TWinControl& Form) {
    Display* D = nullptr;
    ::Window X = 0;
    const TPixelSurface* S = Form.GetSurface();
    if (!S || !XWindowOf(static_cast<SDL_Window*>(Host.WindowOf(&Form)), D, X)) return -1;
    XImage* Image = XGetImage(D, X, 0, 0, static_cast<unsigned>(S->Width),
                              static_cast<unsigned>(S->Height), AllPlanes, ZPixmap);
    if (!Image) return -1;
    long long Wrong = 0;
    for (int Y = 0; Y < S->Height; ++Y)
        for (int X = 0; X < S->Width; ++X)
            if ((XGetPixel(Image, X, Y) & 0xFFFFFF) != (S->Row(Y)[X] & 0xFFFFFF)) ++Wrong;
    XDestroyImage(Image);
    return Wrong;
}

struct SdlPresent : ::testing::Test {
    std::unique_ptr<TSdlHost> Host;
    std::unique_ptr<TForm> Form;
    THoverPad* A = nullptr;
    THoverPad* B = nullptr;

    void SetUp() override {
        if (!TSdlHost::DisplayAvailable())
            GTEST_SKIP() << "no display (DISPLAY unset or unreachable): window host not tested";
        Host = std::make_unique<TSdlHost>();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsSizeable);
        Form->SetBounds(40, 40, 300, 200);
        A = AddPad(Rect(10, 10, 70, 50));
        B = AddPad(Rect(10, 80, 70, 120));
        Form->Show();
        Host->Step(0);
        ASSERT_NE(Host->WindowOf(Form.get()), nullptr);
        ASSERT_TRUE(StepUntil([&] { return Viewable(FormWindow()); }));
        Settle();
    }
    void TearDown() override {
        Form.reset();
        Host.reset();
    }

    THoverPad* AddPad(const TRect& R) {
        auto* P = new THoverPad(Form.get());
        P->SetBounds(R.Left, R.Top, R.Width(), R.Height());
        P->SetParent(Form.get());
        return P;
    }
    SDL_Window* FormWindow() const { return static_cast<SDL_Window*>(Host->WindowOf(Form.get())); }
    // Steps until Done answers true; false when that took over five seconds
    // (the X server is a process of its own, slow on a busy machine).
    template <typename TDone>
    bool StepUntil(TDone Done) {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!Done()) {
            if (std::chrono::steady_clock::now() > Deadline) return false;
            Host->Step(10);
        }
        return true;
    }
    // Steps until the window system and the host have nothing left to do:
    // a round trip to the X server first, so that everything it sent is in.
    void Settle() {
        Viewable(FormWindow());
        unsigned Seen = ~0u;
        for (int Quiet = 0, I = 0; Quiet < 5 && I < 200; ++I) {
            Host->Step(10);
            const unsigned Now = Host->PresentCount();
            Quiet = Now == Seen ? Quiet + 1 : 0;
            Seen = Now;
        }
    }
    void ExpectWindowShowsTheSurface() {
        const long long Wrong = PixelsShownWrong(*Host, *Form);
        if (Wrong < 0) return; // not an X window: the counts above must do
        EXPECT_EQ(Wrong, 0) << "the window does not show the form's surface";
    }
};

// Moving from one pad to the other changes two small squares: one frame
// goes out with their pixels and nothing between or around them, and the
// window then shows the surface.
TEST_F(SdlPresent, AHoverChangeSendsOnlyTheDamagedPixels) {
    Host->PushMouseMove(Form.get(), 30, 30);
    Settle();
    ASSERT_TRUE(A->Hot);
    const auto Before = Host->PresentCounts();
    Host->PushMouseMove(Form.get(), 30, 100);
    Settle();
    ASSERT_TRUE(B->Hot);
    const auto After = Host->PresentCounts();

    EXPECT_EQ(After.Frames, Before.Frames + 1) << "two changes, one present";
    EXPECT_EQ(After.WholeFrames, Before.WholeFrames);
    EXPECT_EQ(After.Pixels - Before.Pixels, 2u * 60u * 40u) << "more than the two pads went out";
    EXPECT_EQ(After.LastArea, Rect(10, 10, 70, 120));
    ExpectWindowShowsTheSurface();
}

// A control that repaints whole for a small change sends the rows that
// changed, not the whole control; a repaint that changed nothing sends
// nothing at all.
TEST_F(SdlPresent, OnlyTheRowsARepaintChangedGoOut) {
    struct TCase {
        const char* Name;
        int Stripe;
        unsigned Frames;
        unsigned long long Pixels;
        TRect Area;
    };
    // The pad lies at (10, 10), 60 x 40; each case follows the one before.
    const TCase Cases[] = {
        {"a stripe appears", 5, 1, 60 * 3, Rect(10, 15, 70, 18)},
        {"the same picture again", 5, 0, 0, Rect(10, 15, 70, 18)},
        // Rows 5 to 7 go back, rows 20 to 22 change: far apart, two bands.
        {"the stripe moves down", 20, 1, 2 * 60 * 3, Rect(10, 15, 70, 33)},
        {"the stripe goes", -1, 1, 60 * 3, Rect(10, 30, 70, 33)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const auto Before = Host->PresentCounts();
        A->Stripe = C.Stripe;
        A->Invalidate();
        Settle();
        const auto After = Host->PresentCounts();
        EXPECT_EQ(After.Frames - Before.Frames, C.Frames);
        EXPECT_EQ(After.WholeFrames, Before.WholeFrames);
        EXPECT_EQ(After.Pixels - Before.Pixels, C.Pixels);
        EXPECT_EQ(After.LastArea, C.Area);
        ExpectWindowShowsTheSurface();
    }
}

// A window laid over ours and taken away again leaves ours to be redrawn
// by us: the whole surface goes out once.
TEST_F(SdlPresent, AnExposeSendsTheWholeSurface) {
    SDL_Window* Cover =
        SDL_CreateWindow("cover", 40, 40, 300, 200, SDL_WINDOW_SHOWN | SDL_WINDOW_BORDERLESS);
    ASSERT_NE(Cover, nullptr) << SDL_GetError();
    SDL_Surface* CoverSurface = SDL_GetWindowSurface(Cover);
    ASSERT_NE(CoverSurface, nullptr);
    SDL_FillRect(CoverSurface, nullptr, SDL_MapRGB(CoverSurface->format, 0, 0xFF, 0));
    SDL_UpdateWindowSurface(Cover);
    ASSERT_TRUE(StepUntil([&] { return Viewable(Cover); }));
    Settle();
    const auto Before = Host->PresentCounts();
    SDL_DestroyWindow(Cover);
    ASSERT_TRUE(StepUntil([&] { return Host->PresentCounts().WholeFrames > Before.WholeFrames; }))
        << "the expose was not answered";
    Settle();
    const auto After = Host->PresentCounts();

    EXPECT_EQ(After.WholeFrames, Before.WholeFrames + 1);
    EXPECT_EQ(After.Frames, Before.Frames + 1) << "nothing but the expose needed presenting";
    EXPECT_EQ(After.LastArea, Rect(0, 0, 300, 200));
    ExpectWindowShowsTheSurface();
}

// A resize repaints the form at its new size and sends that once.
TEST_F(SdlPresent, AResizeSendsTheNewSizeOnce) {
    const auto Before = Host->PresentCounts();
    Host->ResizeWindow(Form.get(), 260, 150);
    ASSERT_TRUE(StepUntil([&] { return Form->GetWidth() == 260; }));
    Settle();
    const auto After = Host->PresentCounts();

    EXPECT_EQ(After.Frames, Before.Frames + 1);
    EXPECT_EQ(After.WholeFrames, Before.WholeFrames + 1);
    EXPECT_EQ(After.Pixels - Before.Pixels, 260u * 150u);
    EXPECT_EQ(After.LastArea, Rect(0, 0, 260, 150));
    ExpectWindowShowsTheSurface();
}

} // namespace
