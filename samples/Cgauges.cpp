#include "samples/Cgauges.h"

#include "samples/SamplesAccessible.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Font.h"
#include "framework/ui/forms/Palette.h"
#include "samples/SampleStrings.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>

namespace folio {

namespace {
// The control's accessible object, found by its class.
const TAccessibleRegistration AccessibleRegistration(TCGauge::StaticClassInfo(),
                                                     CreateGaugeAccessible);
} // namespace

namespace {

constexpr double Pi = 3.141592653589793;

// A bound for the out-of-range message, kept inside the integer range so
// that the message of a range at the very edge of it cannot overflow.
int SaturatedBound(std::int64_t Value) {
    if (Value < INT_MIN) return INT_MIN;
    if (Value > INT_MAX) return INT_MAX;
    return static_cast<int>(Value);
}

} // namespace

const TClassInfo& TBltBitmap::StaticClassInfo() {
    static const TClassInfo Info{"TBltBitmap", &TBitmap::StaticClassInfo(), {}, {}};
    return Info;
}

void TBltBitmap::MatchSize(const TBitmap* Template) {
    SetSize(Template->GetWidth(), Template->GetHeight());
    TCanvas* C = GetCanvas();
    C->GetBrush()->SetColor(clWindowFrame);
    C->GetBrush()->SetStyle(bsSolid);
    C->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
}

const TClassInfo& TCGauge::StaticClassInfo() {
    using C = TCGauge;
    static const TClassInfo Info =
        TClassBuilder<C>("TCGauge", &TGraphicControl::StaticClassInfo())
            .Publish("Align")
            .Publish("Anchors")
            .Publish("Color", clWindow)
            .Publish("Constraints")
            .Publish("Enabled")
            .Publish("Font")
            .Publish("ParentColor", 1)
            .Publish("ParentFont")
            .Publish("ParentShowHint")
            .Publish("PopupMenu")
            .Publish("ShowHint")
            .Publish("Visible")
            .Int("MinValue", &C::GetMinValue, &C::SetMinValue, 0)
            .Int("MaxValue", &C::GetMaxValue, &C::SetMaxValue, 100)
            .Int("Progress", &C::GetProgress, &C::SetProgress, 0)
            .Enum<TCGaugeKind>("Kind", "TCGaugeKind",
                               {"gkText", "gkHorizontalBar", "gkVerticalBar", "gkPie", "gkNeedle"},
                               &C::GetKind, &C::SeTCGaugeKind, gkHorizontalBar)
            .Bool("ShowText", &C::GetShowText, &C::SetShowText, true)
            .Enum<TBorderStyle>(
                "BorderStyle", "TFormBorderStyle",
                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"},
                &C::GetBorderStyle, &C::SetBorderStyle, bsSingle)
            .Color("ForeColor", &C::GetForeColor, &C::SetForeColor, clBlack)
            .Color("BackColor", &C::GetBackColor, &C::SetBackColor, clWhite)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TCGauge)

TCGauge::TCGauge(TComponent* AOwner)
    : TGraphicControl(AOwner), FForeColor(clBlack), FBackColor(clWhite) {
    SetControlStyle(GetControlStyle() + csFramed + csOpaque);
    // The published default of ParentColor is true, so the control must start
    // that way or a form file would lose an explicit false.
    SetParentColor(true);
    SetBounds(GetLeft(), GetTop(), 100, 100);
}

TCGauge::~TCGauge() = default;

// --- properties ----------------------------------------------------------------

void TCGauge::SetMinValue(int Value) {
    if (Value == FMinValue) return;
    if (Value > FMaxValue) {
        // A form stores the minimum before the maximum, so a range wholly
        // above the current one arrives while the old maximum still stands:
        // while loading, the maximum rises with the minimum instead.
        if (!IsLoading())
            throw Exception(Format(SOutOfRange, -INT_MAX,
                                   SaturatedBound(static_cast<std::int64_t>(FMaxValue) - 1)));
        FMaxValue = Value;
    }
    FMinValue = Value;
    if (FCurValue < Value) FCurValue = Value;
    Refresh();
}

void TCGauge::SetMaxValue(int Value) {
    if (Value == FMaxValue) return;
    if (Value < FMinValue)
        throw Exception(
            Format(SOutOfRange, SaturatedBound(static_cast<std::int64_t>(FMinValue) + 1), INT_MAX));
    FMaxValue = Value;
    if (FCurValue > Value) FCurValue = Value;
    Refresh();
}

void TCGauge::SetProgress(int Value) {
    const int OldPercent = GetPercentDone();
    if (Value < FMinValue)
        Value = FMinValue;
    else if (Value > FMaxValue)
        Value = FMaxValue;
    if (Value == FCurValue) return;
    FCurValue = Value;
    if (GetPercentDone() != OldPercent) Refresh();
}

void TCGauge::SeTCGaugeKind(TCGaugeKind Value) {
    if (Value == FKind) return;
    FKind = Value;
    Refresh();
}

void TCGauge::SetShowText(bool Value) {
    if (Value == FShowText) return;
    FShowText = Value;
    Refresh();
}

void TCGauge::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    Refresh();
}

void TCGauge::SetForeColor(TColor Value) {
    if (Value == FForeColor) return;
    FForeColor = Value;
    Refresh();
}

void TCGauge::SetBackColor(TColor Value) {
    if (Value == FBackColor) return;
    FBackColor = Value;
    Refresh();
}

int TCGauge::GetPercentDone() const {
    // The differences need 33 bits when the range spans more than half the
    // integer range (a minimum of -2147483648 with a positive maximum).
    const std::int64_t Span = static_cast<std::int64_t>(FMaxValue) - FMinValue;
    const std::int64_t Done = static_cast<std::int64_t>(FCurValue) - FMinValue;
    if (Span <= 0) return 0;
    return static_cast<int>(Done * 100 / Span);
}

void TCGauge::AddProgress(int Value) {
    // Progress saturates instead of wrapping past the integer range.
    const std::int64_t Sum = static_cast<std::int64_t>(FCurValue) + Value;
    SetProgress(SaturatedBound(Sum));
    Refresh();
}

// --- painting --------------------------------------------------------------------

void TCGauge::Paint() {
    const auto Image = std::make_unique<TBitmap>();
    PaintImage(Image.get());
    TCanvas* C = GetCanvas();
    C->SetCopyMode(cmSrcCopy);
    C->Draw(0, 0, Image.get());
}

void TCGauge::PaintImage(TBitmap* Image) {
    const auto Overlay = std::make_unique<TBltBitmap>();
    Image->SetSize(GetWidth(), GetHeight());
    PaintBackground(Image);

    TRect PaintRect = Rect(0, 0, GetWidth(), GetHeight());
    if (FBorderStyle == bsSingle)
        PaintRect =
            Rect(PaintRect.Left + 1, PaintRect.Top + 1, PaintRect.Right - 1, PaintRect.Bottom - 1);

    Overlay->MatchSize(Image);
    PaintBackground(Overlay.get());
    switch (FKind) {
    case gkText:
        PaintAsNothing(Overlay.get(), PaintRect);
        break;
    case gkHorizontalBar:
    case gkVerticalBar:
        PaintAsBar(Overlay.get(), PaintRect);
        break;
    case gkPie:
        PaintAsPie(Overlay.get(), PaintRect);
        break;
    case gkNeedle:
        PaintAsNeedle(Overlay.get(), PaintRect);
        break;
    }

    // The image is black, so XOR leaves exactly the overlay; the text that
    // follows is XORed the same way and so inverts whatever lies beneath it.
    TCanvas* C = Image->GetCanvas();
    C->SetCopyMode(cmSrcInvert);
    C->Draw(0, 0, Overlay.get());
    C->SetCopyMode(cmSrcCopy);
    if (FShowText) PaintAsText(Image, PaintRect);
}

void TCGauge::PaintBackground(TBitmap* Image) {
    TCanvas* C = Image->GetCanvas();
    C->SetCopyMode(cmBlackness);
    const TRect R = Rect(0, 0, GetWidth(), GetHeight());
    C->CopyRect(R, C, R);
    C->SetCopyMode(cmSrcCopy);
}

void TCGauge::PaintAsText(TBitmap* Image, const TRect& PaintRect) {
    const auto Overlay = std::make_unique<TBltBitmap>();
    Overlay->MatchSize(Image);
    PaintBackground(Overlay.get());

    const String S = IntToStr(GetPercentDone()) + "%";
    TCanvas* C = Overlay->GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    C->SetFont(GetFont());
    C->GetFont()->SetColor(clWhite);
    // The overlay is XORed onto the picture, so each of its pixels must be
    // black or white: a grey glyph edge would XOR into an unrelated colour
    // instead of the inverse of what lies beneath.
    C->GetFont()->SetQuality(fqNonAntialiased);
    // Canvas coordinates: the rectangle's own offset is not added, so the
    // text centres on the whole control even inside a frame.
    const int X = (PaintRect.Right - PaintRect.Left + 1 - C->TextWidth(S)) / 2;
    const int Y = (PaintRect.Bottom - PaintRect.Top + 1 - C->TextHeight(S)) / 2;
    C->TextRect(PaintRect, X, Y, S);

    TCanvas* Target = Image->GetCanvas();
    Target->SetCopyMode(cmSrcInvert);
    Target->Draw(0, 0, Overlay.get());
}

void TCGauge::PaintAsNothing(TBitmap* Image, const TRect& PaintRect) {
    TCanvas* C = Image->GetCanvas();
    C->GetBrush()->SetColor(FBackColor);
    C->FillRect(PaintRect);
}

void TCGauge::PaintAsBar(TBitmap* Image, const TRect& PaintRect) {
    const int W = PaintRect.Right - PaintRect.Left + 1;
    const int H = PaintRect.Bottom - PaintRect.Top + 1;
    TCanvas* C = Image->GetCanvas();
    C->GetBrush()->SetColor(FBackColor);
    C->FillRect(PaintRect);
    C->GetPen()->SetColor(FForeColor);
    C->GetPen()->SetWidth(1);
    C->GetBrush()->SetColor(FForeColor);
    const double Fraction = GetPercentDone() * 0.01;
    // The right and bottom edges are the lengths themselves, not offsets from
    // the rectangle's corner, which is what places the bars on a framed gauge.
    if (FKind == gkHorizontalBar) {
        int F = static_cast<int>(std::floor(Fraction * W));
        if (F > W) F = W;
        if (F > 0) C->FillRect(Rect(PaintRect.Left, PaintRect.Top, F, H));
    } else {
        int F = static_cast<int>(std::floor(Fraction * H));
        if (F >= H) F = H - 1;
        C->FillRect(Rect(PaintRect.Left, H - F, W, H));
    }
}

TCanvas* TCGauge::PrepareDial(TBitmap* Image, const TRect& PaintRect, int& W, int& H) {
    // A framed gauge's dial reaches one pixel further, onto the frame's inner edge.
    W = PaintRect.Right - PaintRect.Left;
    H = PaintRect.Bottom - PaintRect.Top;
    if (FBorderStyle == bsSingle) {
        ++W;
        ++H;
    }
    TCanvas* C = Image->GetCanvas();
    C->GetBrush()->SetColor(GetColor());
    C->FillRect(PaintRect);
    C->GetBrush()->SetColor(FBackColor);
    C->GetPen()->SetColor(FForeColor);
    C->GetPen()->SetWidth(1);
    return C;
}

void TCGauge::PaintAsPie(TBitmap* Image, const TRect& PaintRect) {
    int W, H;
    TCanvas* C = PrepareDial(Image, PaintRect, W, H);
    C->Ellipse(PaintRect.Left, PaintRect.Top, W, H);
    const int Percent = GetPercentDone();
    if (Percent <= 0) return;

    C->GetBrush()->SetColor(FForeColor);
    const int MX = W / 2;
    const int MY = H / 2;
    // The wedge starts at twelve o'clock and grows clockwise, so its free
    // edge walks clockwise from the top as the percentage rises.
    const double A = (Percent * 0.02 + 0.5) * Pi;
    C->Pie(PaintRect.Left, PaintRect.Top, W, H,
           static_cast<int>(std::floor(MX * (1 - std::cos(A)))),
           static_cast<int>(std::floor(MY * (1 - std::sin(A)))), MX, 0);
}

void TCGauge::PaintAsNeedle(TBitmap* Image, const TRect& PaintRect) {
    const int X = PaintRect.Left;
    const int Y = PaintRect.Top;
    int W, H;
    TCanvas* C = PrepareDial(Image, PaintRect, W, H);
    // The dial is the upper half of an ellipse whose flat side lies on the
    // last row inside the frame.
    const int Base = PaintRect.Bottom - 1;
    C->Pie(X, Y, W, 2 * H - 1, X + W, Base, X, Base);
    C->MoveTo(X, PaintRect.Bottom);
    C->LineTo(X + W, PaintRect.Bottom);
    const int Percent = GetPercentDone();
    if (Percent <= 0) return;

    C->GetPen()->SetColor(FForeColor);
    const int MX = GetWidth() / 2;
    C->MoveTo(MX, Base);
    const double A = Percent * 0.01 * Pi;
    C->LineTo(static_cast<int>(std::floor(MX * (1 - std::cos(A)))),
              static_cast<int>(std::floor(Base * (1 - std::sin(A)))));
}

namespace Cgauges {

void Register() {
    RegisterComponents(LoadStr(SSamplesPage), {&TCGauge::StaticClassInfo()});
}

} // namespace Cgauges

} // namespace folio
