#include "framework/ui/stdctrls/RowScrolling.h"

#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/input/MouseFlags.h"

#include <algorithm>

namespace folio {

std::unique_ptr<TScrollBar> MakeRowScrollBar(TWinControl* Host, TScrollBarKind Kind,
                                             std::function<void(int)> Scrolled) {
    auto Bar = std::make_unique<TScrollBar>(nullptr);
    Bar->SetKind(Kind);
    Bar->SetVisible(false);
    Bar->SetTabStop(false);
    Bar->SetParent(Host);
    TScrollBar* Raw = Bar.get();
    Bar->OnChange = [Raw, Scrolled = std::move(Scrolled)](TObject*) {
        Scrolled(Raw->GetPosition());
    };
    return Bar;
}

void SetRowRange(TScrollBar& Bar, int Position, int Count, int Page) {
    Bar.SetParams(Position, 0, std::max(Count - 1, 0));
    Bar.SetPageSize(Page);
    Bar.SetLargeChange(Page);
}

void PlaceRowScrollBar(TScrollBar& Bar, const TWinControl& Host, int Top, int Position, int Count,
                       int Page) {
    const int W = GetSystemMetrics(SM_CXVSCROLL);
    Bar.SetBounds(Host.GetClientWidth() - W, Top, W, std::max(Host.GetClientHeight() - Top, 0));
    SetRowRange(Bar, Position, Count, Page);
    Bar.SetVisible(Count > Page);
}

TRect RowArea(const TWinControl& Host, const TScrollBar& Bar, int Top) {
    TRect R = Host.GetClientRect();
    R.Top = Top;
    if (Bar.GetVisible()) {
        if (Bar.GetKind() == sbVertical)
            R.Right = std::max(R.Left, R.Right - Bar.GetWidth());
        else
            R.Bottom = std::max(R.Top, R.Bottom - Bar.GetHeight());
    }
    return R;
}

int TopRowShowing(int Row, int TopRow, int Page) {
    if (Row < TopRow) return Row;
    if (Row >= TopRow + Page) return Row - Page + 1;
    return TopRow;
}

int TopRowAfterWheel(int TopRow, int WheelDelta, int Rows) {
    return TopRow - WheelDelta / WHEEL_DELTA * Rows;
}

} // namespace folio
