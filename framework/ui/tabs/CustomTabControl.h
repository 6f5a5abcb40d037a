#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"

#include <functional>
#include <memory>

namespace folio {

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// A row of tabs over a raised display area. A click on a tab, the arrows
// (with the focus on the control) and Ctrl+Tab or Ctrl+Shift+Tab (with the
// focus anywhere inside) select another tab, when OnChanging allows; the
// change fires OnChange. The program's changes fire nothing. Aligned
// children fill the display area.
class TCustomTabControl : public TCustomControl {
    FOLIO_CLASS(TCustomTabControl)
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    int GetTabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    int TabCount() const { return FTabs->GetCount(); }
    // 0: from the font.
    int GetTabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    // 0: each tab as wide as its caption.
    int GetTabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);

    // Geometry, in client coordinates.
    int TabRowHeight() const;
    TRect TabRect(int Index) const;
    int IndexOfTabAt(int X, int Y) const;
    // Where the content goes, inside the display area's edges.
    TRect GetDisplayRect() const;
    // Selects the next (or previous) tab as the user would, wrapping round.
    void SelectNextTab(bool GoForward);

    void Dispatch(TMessage& Message) override;

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    // The captions of the tabs (a page control keeps them to its sheets).
    TStrings* Tabs() const { return FTabs.get(); }
    virtual bool CanChange();
    virtual void Change();
    // A change by the user: asks, selects, tells. False when refused.
    bool ChangeByUser(int Index);
    void TabsChanged();

    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void FontChanged() override;

private:
    std::unique_ptr<TStrings> FTabs;
    int FTabIndex = -1;
    int FTabHeight = 0;
    int FTabWidth = 0;
};

} // namespace folio
