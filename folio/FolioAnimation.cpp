#include "folio/Folio.h"

#include "framework/core/ScopeGuard.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/app/Application.h"

#include <atomic>
#include <cmath>

namespace folio {

// What a running switch and its worker share. Bar is read and written only on
// the user-interface thread (in the synchronised steps and by the bar), so the
// bar can let go of its worker without a lock: it clears Bar, and the worker's
// next step finds nothing to work on. Finished is set by the worker when it
// no longer touches anything of the bar.
struct TFolioAnimLink {
    TFolio* Bar = nullptr;
    std::atomic<bool> Finished{false};
    // How the bar painted before its slide began, restored at its end; only
    // the user-interface thread touches these.
    bool PaintingChanged = false;
    bool DoubleBuffered = false;
    bool Opaque = false;
};

namespace {

// Every frame repaints the whole bar, and the two pictures and the captions
// cover all of it. So while the slide runs the bar paints without erasing
// first (which a double-buffered control always does) unless the application
// draws the captions (its drawing may leave parts of them to the
// background): a frame then moves each pixel once instead of twice.
void PaintFramesDirectly(TFolio& Bar, TFolioAnimLink& Link) {
    Link.DoubleBuffered = Bar.GetDoubleBuffered();
    Link.Opaque = Bar.GetControlStyle().Contains(csOpaque);
    Link.PaintingChanged = true;
    Bar.SetDoubleBuffered(false);
    if (!Bar.GetCustomDrawGroupCaption() || !Bar.OnDrawGroupCaption)
        Bar.SetControlStyle(Bar.GetControlStyle().Include(csOpaque));
}

void RestorePainting(TFolio& Bar, TFolioAnimLink& Link) {
    if (!Link.PaintingChanged) return;
    Link.PaintingChanged = false;
    Bar.SetDoubleBuffered(Link.DoubleBuffered);
    TControlStyle Style = Bar.GetControlStyle();
    Bar.SetControlStyle(Link.Opaque ? Style.Include(csOpaque) : Style.Exclude(csOpaque));
}

// Where the groups First..Last (all sliding by one offset) lie: the union
// of their bounds, ended where the next group's caption begins, since that
// caption rests in its place and is painted over whatever reaches under it.
// Nothing before or after this span changes when they move.
TRect MovingSpan(const TFolio& Bar, int First, int Last) {
    const TFolioGroups& Groups = *Bar.GetGroups();
    TRect Span;
    for (int I = First; I <= Last; ++I) {
        TRect Both;
        UnionRect(Both, Span, Groups.GetGroup(I)->GetBoundsRect());
        Span = Both;
    }
    if (Span.IsEmpty() || Last + 1 >= Groups.GetCount()) return Span;
    const TRect Next = Groups.GetGroup(Last + 1)->GetCaptionRect();
    if (Bar.IsVertical())
        Span.Bottom = std::min(Span.Bottom, Next.Top);
    else
        Span.Right = std::min(Span.Right, Next.Left);
    return Span;
}

} // namespace

// The worker of an animated switch: it computes the slide positions and paces
// the frames; every step that reads or changes the bar runs on the
// user-interface thread through Synchronize.
class TFolioAnimThread : public TThread {
    FOLIO_CLASS(TFolioAnimThread)
public:
    explicit TFolioAnimThread(std::shared_ptr<TFolioAnimLink> Link)
        : TThread(true), FLink(std::move(Link)) {}

protected:
    void Execute() override;

private:
    // The user-interface side of the steps; each answers false once the bar
    // is gone.
    bool Prepare(float& Distance, int& Speed);
    bool Frame(TFolAnimationStyle& Style);
    void Finish();

    int FOffset = 0;
    float FStep = 0;
    float FPosition = 0;
    float FLimit = 0;
    std::shared_ptr<TFolioAnimLink> FLink;
    // Which way the slide runs, fixed by the preparation: the new group lies
    // above (or left of) the open one.
    bool FDownward = false;
    // Frames shown so far: the first one repaints the whole bar, since
    // painting then turns from the groups to their pictures.
    int FFramesShown = 0;
};

FOLIO_DEFINE_CLASS(TFolioAnimThread, TThread)

void TFolioAnimThread::Execute() {
    try {
        float Distance = 0;
        int Speed = 0;
        bool Alive = false;
        Synchronize([&] { Alive = Prepare(Distance, Speed); });
        if (Alive && Distance > 0) {
            const float Sign = FDownward ? 1.0f : -1.0f;
            FLimit = Sign * Distance;
            FStep = Sign * static_cast<float>(Speed);
            FPosition = 0;
            while (FDownward ? FPosition < FLimit : FPosition > FLimit) {
                FOffset = static_cast<int>(std::nearbyint(FPosition));
                TFolAnimationStyle Style = asLinear;
                Synchronize([&] { Alive = Frame(Style); });
                if (!Alive) break;
                if (Style == asAccelerate) FStep += Sign * 0.2f;
                FPosition += FStep;
                Sleep(10);
            }
        }
        if (Alive) Synchronize([&] { Finish(); });
    } catch (const EThread&) {
        // The application is shutting down; the bar is no longer served.
    }
    FLink->Finished.store(true);
}

bool TFolioAnimThread::Prepare(float& Distance, int& Speed) {
    TFolio* Bar = FLink->Bar;
    if (!Bar) return false;
    TFolioGroups* Groups = Bar->FGroups.get();
    const int V = Bar->FVisibleGroup;
    const int T = Bar->FTargetGroup;
    const int N = Groups->GetCount();
    // Groups deleted since the request leave nothing to slide; the finishing
    // step still ends the switch.
    if (V < 0 || V >= N || T < 0 || T >= N || V == T) return true;
    const bool Vertical = Bar->IsVertical();
    const int Extent = Vertical ? Bar->GetClientHeight() : Bar->GetClientWidth();

    TFolioGroup* Open = Groups->GetGroup(V);
    TFolioGroup* Target = Groups->GetGroup(T);
    Open->SetPaintAtOrigin(true);
    Target->SetPaintAtOrigin(true);
    const TRect OpenBounds = Open->GetBoundsRect();
    const TRect TargetBounds = Target->GetBoundsRect();
    Bar->FVisibleBitmap = std::make_unique<TBitmap>();
    Bar->FTargetBitmap = std::make_unique<TBitmap>();
    {
        TScopeGuard InPlace([Open, Target] {
            Open->SetPaintAtOrigin(false);
            Target->SetPaintAtOrigin(false);
        });
        Bar->FVisibleBitmap->SetSize(std::max(0, OpenBounds.Width()),
                                     std::max(0, OpenBounds.Height()));
        Bar->FTargetBitmap->SetSize(std::max(0, TargetBounds.Width()),
                                    std::max(0, TargetBounds.Height()));
        if (!Bar->FVisibleBitmap->GetEmpty()) Open->Paint(Bar->FVisibleBitmap->GetCanvas());
        if (!Bar->FTargetBitmap->GetEmpty()) Target->Paint(Bar->FTargetBitmap->GetCanvas());
    }
    Bar->FAnimating = true;
    PaintFramesDirectly(*Bar, *FLink);

    FDownward = V > T;
    Distance = static_cast<float>(Extent - N * Bar->FGroupCaptionHeight);
    Speed = Bar->FAnimationSpeed;
    return true;
}

bool TFolioAnimThread::Frame(TFolAnimationStyle& Style) {
    TFolio* Bar = FLink->Bar;
    if (!Bar) return false;
    TFolioGroups* Groups = Bar->FGroups.get();
    const int V = Bar->FVisibleGroup;
    const int T = Bar->FTargetGroup;
    const int First = std::min(V, T) + 1;
    const int Last = std::min(std::max(V, T), Groups->GetCount() - 1);
    const TRect Before = MovingSpan(*Bar, First, Last);
    for (int I = First; I <= Last; ++I) Groups->GetGroup(I)->SetAnimOffset(FOffset);
    // Captions the application draws are drawn over an erased background
    // and may show anything: with those the whole bar is repainted.
    const bool Narrow =
        FFramesShown++ > 0 && !(Bar->GetCustomDrawGroupCaption() && Bar->OnDrawGroupCaption);
    if (Narrow) {
        TRect Changed;
        UnionRect(Changed, Before, MovingSpan(*Bar, First, Last));
        Bar->FFrameDamage = Changed;
    }
    Bar->Invalidate();
    // A descendant's Invalidate that did not reach the bar's own leaves the
    // span unused; it must not narrow a later, unrelated repaint.
    Bar->FFrameDamage = TRect{};
    // The style is read here, on the user-interface thread, so a change
    // while the slide runs takes effect at the next frame without a race.
    Style = Bar->FAnimationStyle;
    return true;
}

void TFolioAnimThread::Finish() {
    if (TFolio* Bar = FLink->Bar) Bar->FinishSwitch();
}

// ---------------------------------------------------------------------------
// The bar's side

void TFolio::SetVisibleGroup(int Value) {
    if (Value < 0 || Value > FGroups->GetCount() - 1) return;
    if (FSwitching) {
        // One switch runs at a time. A request that arrives meanwhile waits
        // for its end, and only the last one counts; asking for the group
        // being opened withdraws a waiting request.
        FPendingGroup = Value == FTargetGroup ? -1 : Value;
        return;
    }
    if (Value == FVisibleGroup || Value == FTargetGroup) return;
    // A switch moves the captions and replaces the items an open editor
    // lies over: the edit ends first, keeping what was typed, as a press
    // on the bar would end it.
    HideEditor(true);
    // Reduced motion switches as a bar without animation does.
    if (FAnimationStyle == asNone || IsLoading() || FGroups->GetCount() == 1 ||
        Application->GetReducedMotion()) {
        FTargetGroup = -1;
        InternalSetVisibleGroup(Value);
        HoverFromPointer();
        return;
    }
    StartSwitch(Value);
}

void TFolio::StartSwitch(int Index) {
    auto Link = std::make_shared<TFolioAnimLink>();
    Link->Bar = this;
    auto* Thread = new TFolioAnimThread(Link);
    Thread->SetFreeOnTerminate(true);
    FAnimLink = std::move(Link);
    FSwitching = true;
    FTargetGroup = Index;
    Thread->Resume();
}

void TFolio::FinishSwitch() {
    const int Target = FTargetGroup;
    if (Target >= 0 && Target < FGroups->GetCount()) {
        InternalSetVisibleGroup(Target);
    } else {
        for (int I = 0; I < FGroups->GetCount(); ++I) FGroups->GetGroup(I)->SetAnimOffset(0);
        FTargetGroup = -1;
        Invalidate();
    }
    FAnimating = false;
    FSwitching = false;
    if (FAnimLink) RestorePainting(*this, *FAnimLink);
    // Painting has stopped drawing from the pictures now that FAnimating is
    // clear, so they can go.
    FVisibleBitmap.reset();
    FTargetBitmap.reset();
    FAnimLink.reset();
    // The captions moved under a pointer that may not have moved: what it
    // rests on now is hot, not what it was clicked on.
    HoverFromPointer();
    const int Pending = FPendingGroup;
    FPendingGroup = -1;
    if (Pending >= 0) SetVisibleGroup(Pending);
}

void TFolio::StopSwitch() {
    if (!FAnimLink) return;
    std::shared_ptr<TFolioAnimLink> Link = std::move(FAnimLink);
    Link->Bar = nullptr;
    // The worker may be waiting for a step right now; run the waiting steps
    // (they find no bar and return) until it has let go.
    while (!Link->Finished.load()) {
        const unsigned Seen = SynchronizeSignalCount();
        if (Link->Finished.load()) break;
        if (!CheckSynchronize()) WaitForSynchronize(Seen, 2);
    }
    RestorePainting(*this, *Link);
    FAnimating = false;
    FSwitching = false;
    FTargetGroup = -1;
    FPendingGroup = -1;
    FVisibleBitmap.reset();
    FTargetBitmap.reset();
}

} // namespace folio
