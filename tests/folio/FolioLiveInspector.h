#pragma once

// Reads the bar's switching, pressing and editing state for the interaction
// tests, which only the bar's own handlers write.

#include "folio/Folio.h"
#include "folio/FolioEditor.h"

namespace folio {

struct TFolioLiveInspector {
    static bool Switching(const TFolio& Bar) { return Bar.FSwitching; }
    static bool Animating(const TFolio& Bar) { return Bar.FAnimating; }
    static int TargetGroup(const TFolio& Bar) { return Bar.FTargetGroup; }
    static int AnimOffset(const TFolioGroup& Group) { return Group.FAnimOffset; }
    static bool HasPictures(const TFolio& Bar) { return Bar.FVisibleBitmap || Bar.FTargetBitmap; }
    static int HoverGroup(const TFolio& Bar) { return Bar.FHoverGroup; }
    static int HoverItem(const TFolio& Bar) { return Bar.FHoverItem; }
    static bool GroupPressed(const TFolio& Bar) { return Bar.FGroupPressed; }
    static bool GroupPressInside(const TFolio& Bar) { return Bar.FGroupPressInside; }
    static bool ItemPressed(const TFolio& Bar) { return Bar.FItemPressed; }
    static bool NextPressed(const TFolio& Bar) { return Bar.FNextPressed; }
    static bool NextPressInside(const TFolio& Bar) { return Bar.FNextPressInside; }
    static TFolEditor* Editor(const TFolio& Bar) { return Bar.FEditor; }
    static bool Editing(const TFolio& Bar) { return Bar.FEditing; }
};

} // namespace folio
