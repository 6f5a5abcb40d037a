#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"

namespace folio {

// Ten distinct 32 x 32 round icons, so item pictures cost what real ones do.
inline void AddBenchIcons(TImageList& Images) {
    Images.SetWidth(32);
    Images.SetHeight(32);
    for (int I = 0; I < 10; ++I) {
        TBitmap Icon(32, 32);
        Icon.GetCanvas()->GetBrush()->SetColor(0x102030 * (I + 1));
        Icon.GetCanvas()->Ellipse(2, 2, 30, 30);
        Images.Add(&Icon, nullptr);
    }
}

} // namespace folio
