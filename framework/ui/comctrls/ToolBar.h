#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/controls/PressTracker.h"

namespace folio {

class TImageList;
class TPopupMenu;
class TToolBar;

/// What a tool button is: a button, a check button, a button with a
/// drop-down arrow, or a gap (with a line for a divider).
/// What a tool button is: a button, a check button, a button with a
/// drop-down arrow, or a gap (with a line for a divider).
enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
using enum TToolButtonStyle;

/// A button of a tool bar, showing the picture ImageIndex of the bar's
/// Images (and its caption when the bar shows captions). tbsButton clicks;
/// tbsCheck stays Down until clicked again, and Grouped check buttons next
/// to each other keep one down (AllowAllUp lets the last one up too);
/// tbsDropDown has an arrow beside it that opens DropdownMenu below the
/// button; tbsSeparator and tbsDivider are gaps (the divider with a line).
class TToolButton : public TGraphicControl {
    FOLIO_CLASS(TToolButton)
public:
    /// A plain button (tbsButton) 23 by 22 pixels with no picture.
    explicit TToolButton(TComponent* AOwner);

    /// What the button is; tbsButton by default. Any style but tbsCheck lets
    /// the button up.
    ///@{
    TToolButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TToolButtonStyle Value);
    ///@}
    /// The picture in the bar's Images; -1 (the default) shows none.
    ///@{
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    ///@}
    /// Whether a check button belongs to the group of grouped check buttons
    /// next to it; false by default.
    ///@{
    bool GetGrouped() const { return FGrouped; }
    void SetGrouped(bool Value) { FGrouped = Value; }
    ///@}
    /// Whether a click may let the last button of a group up; false by default.
    ///@{
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
    ///@}
    /// Whether a check button is down; false by default, and always false for
    /// other styles. Setting it lets the rest of its group up; no click is
    /// fired.
    ///@{
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    ///@}
    /// The menu a tbsDropDown button's arrow opens; null by default. A
    /// reference, dropped when the menu is freed.
    ///@{
    TPopupMenu* GetDropdownMenu() const { return FDropdownMenu; }
    void SetDropdownMenu(TPopupMenu* Value);
    ///@}

    /// The tool bar the button lies on (its parent), or null.
    TToolBar* GetToolBar() const;
    /// True for tbsSeparator and tbsDivider.
    bool IsSeparator() const { return FStyle == tbsSeparator || FStyle == tbsDivider; }
    /// The drop-down arrow's part, in client coordinates (empty unless
    /// tbsDropDown).
    TRect ArrowRect() const;
    /// The width the bar gives the button.
    int PreferredWidth() const;
    /// Drawn sunken: down, or held with the pointer over it.
    bool IsSunken() const { return FDown || FPress.IsPressed(); }

    /// A check button goes down, or up when it was down and it is alone or
    /// AllowAllUp; then OnClick fires.
    void Click() override;
    /// A DropdownMenu being freed is dropped.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// A left press on the drop-down arrow opens DropdownMenu below the button
    /// at once, without holding or clicking it.
    void Dispatch(TMessage& Message) override;
    /// A button read as Down that is no check button is let up.
    void Loaded() override;

protected:
    /// Draws the button with its edge (a flat bar's only under the pointer or
    /// while sunken), its picture, its caption when the bar shows them, and its
    /// arrow; a separator draws only a divider's line.
    void Paint() override;
    /// A left press holds the button (drawn sunken); separators take no press.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// A held button looks sunken only while the pointer is over it.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Letting go ends the hold; over the button it is a click.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    /// The grouped check buttons next to this one on its bar, itself too.
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

/// A tool bar along the top of a form: it lines up its tool buttons from
/// the left in their order, each ButtonWidth x ButtonHeight (wider with
/// captions or an arrow), separators narrow. Flat buttons show their edge
/// only under the pointer or while down.
class TToolBar : public TCustomControl {
    FOLIO_CLASS(TToolBar)
public:
    /// An empty bar 150 by 29 pixels aligned to the top (alTop), with flat
    /// buttons 23 by 22 pixels.
    explicit TToolBar(TComponent* AOwner);

    /// The pictures of the buttons (ImageIndex); null by default. A
    /// reference, dropped when the list is freed; its changes repaint.
    ///@{
    TImageList* GetImages() const { return FImages; }
    void SetImages(TImageList* Value);
    ///@}
    /// A button's width in pixels at 96 dots per inch, 1 to 1024; 23 by
    /// default.
    ///@{
    int GetButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    ///@}
    /// A button's height in pixels at 96 dots per inch, 1 to 1024; 22 by
    /// default.
    ///@{
    int GetButtonHeight() const { return FButtonHeight; }
    void SetButtonHeight(int Value);
    ///@}
    /// Whether the buttons show their edge only under the pointer or while
    /// down; true by default.
    ///@{
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    ///@}
    /// Whether the buttons show their captions under their pictures; false by
    /// default.
    ///@{
    bool GetShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    ///@}

    /// How many tool buttons the bar holds.
    int ButtonCount() const;
    /// Tool button Index in the bar's order, from 0; null outside them.
    TToolButton* GetButton(int Index) const;

    /// An Images list being freed is dropped.
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    /// Lines the visible tool buttons up from the left, each as wide as it
    /// prefers and ButtonHeight high (more with captions).
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// Fills the bar with its colour.
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
