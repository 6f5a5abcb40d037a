#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace designer {

using folio::TRect;

// Which edges of the selected control a handle moves when dragged.
struct THandleEdges {
    bool Left = false;
    bool Top = false;
    bool Right = false;
    bool Bottom = false;
};

// The bounds a handle drag gives: Start moved by (DX, DY) on the handle's
// edges, never narrower or lower than one pixel.
TRect ResizedBounds(const TRect& Start, THandleEdges Edges, int DX, int DY);

// One of the eight small squares around the selected control. It is a
// control of the designer's, placed on the selected control's form above
// everything, and dragging it resizes the selection through OnResizeTo.
class TGrabHandle : public folio::TCustomControl {
public:
    TGrabHandle(THandleEdges Edges);
    THandleEdges GetEdges() const { return FEdges; }

    // Called while the handle is dragged with the bounds the drag gives,
    // and once more when the button is let go (Final true).
    std::function<void(const TRect& Bounds, bool Final)> OnResizeTo;
    // The bounds the drag starts from.
    std::function<TRect()> OnStart;

protected:
    void Paint() override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void MouseMove(folio::TShiftState Shift, int X, int Y) override;
    void MouseUp(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;

private:
    THandleEdges FEdges;
    bool FDragging = false;
    bool FMoved = false;
    folio::TPoint FStartScreen;
    TRect FStartBounds;
};

constexpr int HandleSize = 6;

// The eight handles of one selected control.
class TGrabHandles {
public:
    TGrabHandles();
    ~TGrabHandles();
    // Puts the handles around Control (on its form, so that no container
    // cuts them off), or hides them for null, a control without a parent
    // or one inside a container that is not shown.
    void Attach(folio::TControl* Control);
    folio::TControl* GetControl() const { return FControl; }
    // Follows the control's bounds.
    void Update();
    const std::array<std::unique_ptr<TGrabHandle>, 8>& Handles() const { return FHandles; }

    std::function<void(const TRect& Bounds, bool Final)> OnResizeTo;

private:
    std::array<std::unique_ptr<TGrabHandle>, 8> FHandles;
    folio::TControl* FControl = nullptr;
};

// The grey corner marks of each control of a selection of several: they
// show what is selected and take no input (sizing several controls is done
// with Shift and the arrows, or the size commands).
class TSelectionMark : public folio::TCustomControl {
public:
    TSelectionMark();

protected:
    void Paint() override;
};

class TSelectionMarks {
public:
    TSelectionMarks();
    ~TSelectionMarks();
    // Marks the corners of each of Controls (on their form), or none.
    void Show(const std::vector<folio::TControl*>& Controls);
    // Follows the controls' bounds.
    void Update();
    // How many marks show, four for each control marked.
    int Count() const;

private:
    std::vector<folio::TControl*> FControls;
    std::vector<std::unique_ptr<TSelectionMark>> FMarks;
};

// The band dragged over a form to select the controls it touches: four
// thin lines on the form.
class TRubberBand {
public:
    TRubberBand();
    ~TRubberBand();
    // Shows the band as R on Parent, or hides it for a null parent.
    void Show(folio::TWinControl* Parent, const TRect& R);
    bool IsShown() const;

private:
    std::array<std::unique_ptr<TSelectionMark>, 4> FEdges;
};

} // namespace designer
