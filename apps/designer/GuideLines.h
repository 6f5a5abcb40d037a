#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>
#include <optional>

namespace designer {

// A thin line across a parent, in the colour guides are drawn in.
class TGuideLine : public folio::TCustomControl {
public:
    TGuideLine();

protected:
    void Paint() override;
};

// The guides a moving or sizing control snapped to: a vertical line at x
// and a horizontal one at y across the parent, each shown only while the
// control lines up on that axis.
class TGuideLines {
public:
    TGuideLines();
    ~TGuideLines();
    void Show(folio::TWinControl* Parent, std::optional<int> X, std::optional<int> Y);
    void Hide() { Show(nullptr, std::nullopt, std::nullopt); }
    bool VerticalShown() const;
    bool HorizontalShown() const;

private:
    std::unique_ptr<TGuideLine> FVertical;
    std::unique_ptr<TGuideLine> FHorizontal;
};

// The position or size of what is being dragged, in a small box beside the
// pointer ("112, 40" while moving, "75 x 25" while sizing).
class TPositionHint : public folio::TCustomControl {
public:
    TPositionHint();
    // Shows Text on Parent with its top left corner at Pos (kept inside
    // the parent), or hides the box for a null parent.
    void ShowAt(folio::TWinControl* Parent, folio::TPoint Pos, const folio::String& Text);
    const folio::String& GetHintText() const { return FText; }

protected:
    void Paint() override;

private:
    folio::String FText;
};

} // namespace designer
