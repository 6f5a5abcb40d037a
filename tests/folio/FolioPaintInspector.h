#pragma once

#include "folio/Folio.h"

namespace folio {

// Seeds the bar's fields that switching, scrolling, pointer, drag and editing
// handling own, so that geometry and painting can be tried in every state.
struct TFolioPaintInspector {
    static bool& PaintAtOrigin(TFolioGroup& G) { return G.FPaintAtOrigin; }
    static int& AnimOffset(TFolioGroup& G) { return G.FAnimOffset; }
    static int& StartItem(TFolioGroup& G) { return G.FStartItem; }
    static int& HoverGroup(TFolio& Bar) { return Bar.FHoverGroup; }
    static bool& GroupPressed(TFolio& Bar) { return Bar.FGroupPressed; }
    static int& PressedGroup(TFolio& Bar) { return Bar.FPressedGroup; }
    static bool& GroupPressInside(TFolio& Bar) { return Bar.FGroupPressInside; }
    static int& HoverItem(TFolio& Bar) { return Bar.FHoverItem; }
    static bool& ItemPressed(TFolio& Bar) { return Bar.FItemPressed; }
    static TFolioItem*& EditedItem(TFolio& Bar) { return Bar.FEditedItem; }
    static int& InsertIndex(TFolio& Bar) { return Bar.FInsertIndex; }
    static bool& Animating(TFolio& Bar) { return Bar.FAnimating; }
    static std::unique_ptr<TBitmap>& VisibleBitmap(TFolio& Bar) { return Bar.FVisibleBitmap; }
    static bool& NextPressed(TFolio& Bar) { return Bar.FNextPressed; }
    static bool& NextPressInside(TFolio& Bar) { return Bar.FNextPressInside; }
};

} // namespace folio
