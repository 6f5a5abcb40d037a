#pragma once

// The item layout of one group, computed once and shared by the item
// geometry, the item hit test and item painting, so that a paint or a hit
// test over many items measures the line height and reads the bar's settings
// only once.

#include "folio/Folio.h"

namespace folio {

struct TFolioItemLayout {
    // Reads the group's and the bar's settings. Canvas measures text; when
    // null, the bar's canvas (or a private measuring canvas) takes the bar's
    // Font. Valid stays false without a bar.
    TFolioItemLayout(const TFolioGroup& Group, TCanvas* Canvas);

    bool Valid = false;
    bool Vertical = true;
    bool Large = true;
    bool RightToLeft = false;
    TRect CR;  // the group's client rectangle
    int S = 0; // item spacing
    int W = 0; // picture width
    int H = 0; // picture height
    int T = 0; // two text lines
    int L = 0; // one measured text line
    // The gaps of two and three pixels between a picture, its caption and
    // its frame, at the bar's resolution.
    int Gap2 = 2;
    int Gap3 = 3;
    int StartItem = 0;
    int Count = 0;
    TCanvas* Measure = nullptr;

    // The distance between the starts of two neighbouring slots along the
    // stacking axis, and the range, relative to a slot's picture start along
    // that axis, that the picture and the widened caption of any item in
    // the slot can cover.
    int Pitch = 0;
    int ReachLo = 0;
    int ReachHi = 0;

    TRect ImageRect(int K) const;
    // Caption width is only needed for large pictures in a vertical bar.
    TRect TextRect(const TRect& IR, const String& Caption) const;
    // The caption rectangle as the hit test widens it.
    TRect HitTextRect(const TRect& IR, const String& Caption) const;
    // Where slot K's picture starts along the stacking axis.
    int SlotStart(int K) const;
    // The slot range [First, Last] whose items may reach coordinate P along
    // the stacking axis; false when slots are not spaced apart (a zero or
    // negative pitch), so that no arithmetic shortcut is safe.
    bool SlotsReaching(int P, long long& First, long long& Last) const;
};

} // namespace folio
