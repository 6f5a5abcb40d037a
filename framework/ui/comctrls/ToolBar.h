#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/controls/PressTracker.h"

namespace folio {

class TImageList;
class TPopupMenu;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
using enum TToolButtonStyle;

// A button of a tool bar, showing the picture ImageIndex of the bar's
// Images (and its caption when the bar shows captions). tbsButton clicks;
// tbsCheck stays Down until clicked again, and Grouped check buttons next
// to each other keep one down (AllowAllUp lets the last one up too);
// tbsDropDown has an arrow beside it that opens DropdownMenu below the
// button; tbsSeparator and tbsDivider are gaps (the divider with a line).
class TToolButton : public TGraphicControl {
    FOLIO_CLASS(TToolButton)
public:
    explicit TToolButton(TComponent* AOwner);

    TToolButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool GetGrouped() const { return FGrouped; }
    void SetGrouped(bool Value) { FGrouped = Value; }
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    // A reference, dropped when the menu is freed.
    TPopupMenu* GetDropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* Value);

    TToolBar* GetToolBar() const;
    bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
    // The drop-down arrow's part, in client coordinates (empty unless
    // tbsDropDown).
    TRect ArrowRect() const;
    // The width the bar gives the button.
    int PreferredWidth() const;
    bool IsSunken() const { return FDown || FPress.IsPressed(); }

    void Click() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    // The grouped check buttons next to this one on its bar, itself too.
    std::vector<TToolButton*> Group() const;

    TToolButtonStyle FStyle = tbsButton;
    int FImageIndex = -1;
    bool FGrouped = false;
    bool FAllowAllUp = false;
    bool FDown = false;
    TPopupMenu* FDropdownMenu = nullptr;
    TPressTracker FPress;
    bool FHot = false;
};

// A tool bar along the top of a form: it lines up its tool buttons from
// the left in their order, each ButtonWidth x ButtonHeight (wider with
// captions or an arrow), separators narrow. Flat buttons show their edge
// only under the pointer or while down.
class TToolBar : public TCustomControl {
    FOLIO_CLASS(TToolBar)
public:
    explicit TToolBar(TComponent* AOwner);

    // A reference, dropped when the list is freed; its changes repaint.
    TImageList* GetImages() const { return FImages; }
    void SetImages(TImageList* Value);
    int GetButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    int GetButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    bool GetShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);

    int ButtonCount() const;
    // The tool buttons in the bar's order.
    TToolButton* GetButton(int Index) const;

    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;

private:
    void LayoutChanged();

    TImageList* FImages = nullptr;
    int FButtonWidth = 23;
    int FButtonHeight = 22;
    bool FFlat = true;
    bool FShowCaptions = false;
};

} // namespace folio
