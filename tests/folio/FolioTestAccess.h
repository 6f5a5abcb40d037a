#pragma once

// The one way tests reach the bar's interaction state and a group's scroll
// position and slide directly: to seed them, so that geometry and painting
// can be tried in states that pointer, drag and editing handling would take
// many steps to reach. Reading goes through the bar's public getters.

#include "folio/Folio.h"

#include <memory>

namespace folio {

struct TFolioTestAccess {
    static bool& PaintAtOrigin(TFolioGroup& G) { return G.FPaintAtOrigin; }
    static int& AnimOffset(TFolioGroup& G) { return G.FAnimOffset; }
    static int& StartItem(TFolioGroup& G) { return G.FStartItem; }
    static int& HoverGroup(TFolio& Bar) { return Bar.FHoverGroup; }
    static int& HoverItem(TFolio& Bar) { return Bar.FHoverItem; }
    static bool& GroupPressed(TFolio& Bar) { return Bar.FGroupPressed; }
    static int& PressedGroup(TFolio& Bar) { return Bar.FPressedGroup; }
    static bool& GroupPressInside(TFolio& Bar) { return Bar.FGroupPressInside; }
    static bool& ItemPressed(TFolio& Bar) { return Bar.FItemPressed; }
    static TFolioItem*& PressedItem(TFolio& Bar) { return Bar.FPressedItem; }
    static TFolioItem*& EditedItem(TFolio& Bar) { return Bar.FEditedItem; }
    static TFolioGroup*& EditedGroup(TFolio& Bar) { return Bar.FEditedGroup; }
    static int& InsertIndex(TFolio& Bar) { return Bar.FInsertIndex; }
    static bool& Animating(TFolio& Bar) { return Bar.FAnimating; }
    static std::unique_ptr<TBitmap>& VisibleBitmap(TFolio& Bar) { return Bar.FVisibleBitmap; }
    static bool& NextPressed(TFolio& Bar) { return Bar.FNextPressed; }
    static bool& NextPressInside(TFolio& Bar) { return Bar.FNextPressInside; }
};

} // namespace folio
