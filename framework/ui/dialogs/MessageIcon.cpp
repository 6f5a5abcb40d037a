#include "framework/ui/dialogs/MessageIcon.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/Canvas.h"

#include <algorithm>

namespace folio {

namespace {

constexpr TColor IconRed = 0x2020D0;
constexpr TColor IconYellow = 0x20D0F8;
constexpr TColor IconBlue = 0xC06020;
constexpr TColor IconWhite = 0xFFFFFF;
constexpr TColor IconBlack = 0x000000;

void Disc(TCanvas* C, const TRect& R, TColor Fill) {
    C->GetPen()->SetWidth(1);
    C->GetPen()->SetColor(Fill);
    C->GetBrush()->SetColor(Fill);
    C->Ellipse(R);
}

void Bar(TCanvas* C, int Left, int Top, int Right, int Bottom, TColor Color) {
    C->GetBrush()->SetColor(Color);
    C->FillRect(Rect(Left, Top, Right, Bottom));
}

} // namespace

void DrawMessageIcon(TCanvas* C, const TRect& R, TMsgDlgType Type) {
    const int S = std::min(R.Width(), R.Height());
    if (S <= 0 || Type == mtCustom) return;
    const TRect Box = Bounds(R.Left + (R.Width() - S) / 2, R.Top + (R.Height() - S) / 2, S, S);
    const int CX = (Box.Left + Box.Right) / 2;
    const int Unit = std::max(1, S / 10); // the strokes' width
    switch (Type) {
    case mtError: {
        Disc(C, Box, IconRed);
        // The cross's arms reach a fifth of the side from the centre.
        const int Arm = S / 5;
        const int CY = (Box.Top + Box.Bottom) / 2;
        C->GetPen()->SetColor(IconWhite);
        C->GetPen()->SetWidth(Unit + 1);
        C->MoveTo(CX - Arm, CY - Arm);
        C->LineTo(CX + Arm, CY + Arm);
        C->MoveTo(CX + Arm, CY - Arm);
        C->LineTo(CX - Arm, CY + Arm);
        C->GetPen()->SetWidth(1);
        break;
    }
    case mtWarning: {
        C->GetPen()->SetWidth(1);
        C->GetPen()->SetColor(IconBlack);
        C->GetBrush()->SetColor(IconYellow);
        C->Polygon({Point(CX, Box.Top + 1), Point(Box.Right - 1, Box.Bottom - 2),
                    Point(Box.Left, Box.Bottom - 2)});
        // The exclamation mark: a bar and, below it, a dot.
        Bar(C, CX - Unit / 2, Box.Top + S * 3 / 10, CX - Unit / 2 + Unit, Box.Top + S * 13 / 20,
            IconBlack);
        Bar(C, CX - Unit / 2, Box.Top + S * 23 / 32, CX - Unit / 2 + Unit,
            Box.Top + S * 23 / 32 + Unit, IconBlack);
        break;
    }
    case mtInformation: {
        Disc(C, Box, IconBlue);
        // The "i": a dot above a stem.
        Bar(C, CX - Unit / 2, Box.Top + S / 5, CX - Unit / 2 + Unit, Box.Top + S / 5 + Unit,
            IconWhite);
        Bar(C, CX - Unit / 2, Box.Top + S * 2 / 5, CX - Unit / 2 + Unit, Box.Bottom - S / 5,
            IconWhite);
        break;
    }
    case mtConfirmation: {
        Disc(C, Box, IconBlue);
        // The question mark in a bold face, centred on the disc.
        C->GetFont()->SetStyle({fsBold});
        C->GetFont()->SetHeight(-(S * 3 / 4));
        C->GetFont()->SetColor(IconWhite);
        C->GetBrush()->SetStyle(bsClear);
        const String Mark = "?";
        C->TextOut(CX - C->TextWidth(Mark) / 2, (Box.Top + Box.Bottom - C->TextHeight(Mark)) / 2,
                   Mark);
        C->GetBrush()->SetStyle(bsSolid);
        break;
    }
    case mtCustom:
        break;
    }
}

const TClassInfo& TMessageIcon::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TMessageIcon>("TMessageIcon", &TGraphicControl::StaticClassInfo()).Build();
    return Info;
}

TMessageIcon::TMessageIcon(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetBounds(GetLeft(), GetTop(), MessageIconSize, MessageIconSize);
}

void TMessageIcon::SetKind(TMsgDlgType Value) {
    if (Value == FKind) return;
    FKind = Value;
    Invalidate();
}

void TMessageIcon::Paint() {
    DrawMessageIcon(GetCanvas(), GetClientRect(), FKind);
}

} // namespace folio
