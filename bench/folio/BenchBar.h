#pragma once

#include "bench/folio/BenchIcons.h"

#include "folio/Folio.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/forms/Form.h"

namespace folio {

// A borderless, unanimated bar at (20, 20) on a form 40 pixels larger, with
// eight groups, the fourth holding Items items with the bench icons. The
// caller opens the group and shows the form.
inline void FillBenchBar(TForm& Form, TFolio& Bar, TImageList& Images, int Width, int Height,
                         int Items) {
    AddBenchIcons(Images);
    Form.SetBounds(0, 0, Width + 40, Height + 40);
    Bar.SetBorderStyle(bsNone);
    Bar.SetAnimationStyle(asNone);
    Bar.SetBounds(20, 20, Width, Height);
    Bar.SetLargeImages(&Images);
    Bar.SetParent(&Form);
    for (int G = 0; G < 8; ++G) Bar.GetGroups()->Add(Format("Group %d", G));
    TFolioItems* Open = Bar.GetGroups()->GetGroup(3)->GetItems();
    Open->BeginUpdate();
    for (int I = 0; I < Items; ++I) Open->Add(Format("Item %d", I % 100), I % 10);
    Open->EndUpdate();
}

} // namespace folio
