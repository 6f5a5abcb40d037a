#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"

#include <functional>
#include <memory>

namespace folio {

/// OnChanging: AllowChange arrives true; false keeps the selected tab.
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

/// A row of tabs over a raised display area. A click on a tab, the arrows
/// (with the focus on the control) and Ctrl+Tab or Ctrl+Shift+Tab (with the
/// focus anywhere inside) select another tab, when OnChanging allows; the
/// change fires OnChange. The program's changes fire nothing. Aligned
/// children fill the display area.
class TCustomTabControl : public TCustomControl {
    FOLIO_CLASS(TCustomTabControl)
public:
    /// A control 289 by 193 pixels in clBtnFace with no tabs, taking the
    /// keyboard (TabStop).
    explicit TCustomTabControl(TComponent* AOwner);
    /// Frees the tab captions.
    ~TCustomTabControl() override;

    /// The selected tab, from 0; -1 for none. A value outside the tabs selects
    /// none; the setter fires no event. Adding the first tab selects it.
    ///@{
    int GetTabIndex() const { return FTabIndex; }
    void SetTabIndex(int Value);
    ///@}
    /// How many tabs there are.
    int TabCount() const { return FTabs->GetCount(); }
    ///@{
    /// A tab's height in pixels; 0 (the default) takes it from the font.
    /// Negative values count as 0.
    int GetTabHeight() const { return FTabHeight; }
    void SetTabHeight(int Value);
    ///@}
    ///@{
    /// Every tab's width in pixels; 0 (the default) makes each tab as wide
    /// as its caption. Negative values count as 0.
    int GetTabWidth() const { return FTabWidth; }
    void SetTabWidth(int Value);
    ///@}

    /// Geometry, in client coordinates: the tab row's height, a tab's
    /// rectangle (empty for no tab; the selected one stands larger) and the
    /// tab at a point (-1 for none).
    ///@{
    int TabRowHeight() const;
    TRect TabRect(int Index) const;
    int IndexOfTabAt(int X, int Y) const;
    ///@}
    /// Where the content goes, inside the display area's edges.
    TRect GetDisplayRect() const;
    /// Selects the next (or previous) tab as the user would, wrapping round.
    void SelectNextTab(bool GoForward);

    /// The arrows are the control's own keys; Ctrl+Tab and Ctrl+Shift+Tab turn
    /// the tabs while the focus is anywhere inside.
    void Dispatch(TMessage& Message) override;

    /// Asked before the user selects another tab; it may refuse.
    TTabChangingEvent OnChanging;
    /// Fired after the user selected another tab.
    TNotifyEvent OnChange;

protected:
    /// The captions of the tabs (a page control keeps them to its sheets).
    TStrings* Tabs() const { return FTabs.get(); }
    /// Asks OnChanging whether the user may leave the selected tab; true
    /// without a handler.
    virtual bool CanChange();
    /// Fires OnChange.
    virtual void Change();
    /// A change by the user: asks (CanChange), selects, tells (Change).
    /// False when refused, or for an index that is no other tab.
    bool ChangeByUser(int Index);
    /// Called when the captions change: keeps the selection within the tabs and
    /// repaints.
    void TabsChanged();

    /// Draws the tabs (the selected one standing out, with the focus cue) over
    /// the raised display area.
    void Paint() override;
    /// Aligned children fill the display area.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// A left press on a tab selects it as the user's choice.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Left and Right select the neighbouring tab.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// A new font resizes the tab row and realigns the children.
    void FontChanged() override;

private:
    std::unique_ptr<TStrings> FTabs;
    int FTabIndex = -1;
    int FTabHeight = 0;
    int FTabWidth = 0;
};

} // namespace folio
