#pragma once

// Reads the bar's switching, pressing and editing state for the interaction
// tests, which only the bar's own handlers write.

#include "folio/Folio.h"
#include "folio/FolioEditor.h"

namespace folio {

struct TFolioLiveInspector {
    static bool Switching(const TFolio& Bar) { return Bar.GetSwitching(); }
    static bool Animating(const TFolio& Bar) { return Bar.GetAnimating(); }
    static int TargetGroup(const TFolio& Bar) { return Bar.GetTargetGroup(); }
    static int AnimOffset(const TFolioGroup& Group) { return Group.GetAnimOffset(); }
    static bool HasPictures(const TFolio& Bar) {
        return Bar.GetVisibleBitmap() || Bar.GetTargetBitmap();
    }
    static int HoverGroup(const TFolio& Bar) { return Bar.GetHoverGroup(); }
    static int HoverItem(const TFolio& Bar) { return Bar.GetHoverItem(); }
    static bool GroupPressed(const TFolio& Bar) { return Bar.GetGroupPressed(); }
    static bool GroupPressInside(const TFolio& Bar) { return Bar.GetGroupPressInside(); }
    static bool ItemPressed(const TFolio& Bar) { return Bar.GetItemPressed(); }
    static bool NextPressed(const TFolio& Bar) { return Bar.GetNextPressed(); }
    static bool NextPressInside(const TFolio& Bar) { return Bar.GetNextPressInside(); }
    static TFolEditor* Editor(const TFolio& Bar) { return Bar.GetEditor(); }
    static bool Editing(const TFolio& Bar) { return Bar.GetEditing(); }
};

} // namespace folio
