#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/stdctrls/GroupBox.h"

#include <memory>
#include <vector>

namespace folio {

class TRadioButton;

// A group box of radio buttons made from a list of strings: one button per
// item, laid out in Columns columns (filled top to bottom, then left to
// right), ItemIndex the checked one (-1 for none). The buttons belong to
// the group, not to the form: a form file stores Items and ItemIndex only.
// A choice by the user fires OnClick.
class TRadioGroup : public TGroupBox {
    FOLIO_CLASS(TRadioGroup)
public:
    explicit TRadioGroup(TComponent* AOwner);
    ~TRadioGroup() override;

    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // Kept within -1 .. Count - 1.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // Kept within 1 .. 16.
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);

    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TRadioButton* GetButton(int Index) const;

    void Loaded() override;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void FontChanged() override;

private:
    // Makes one button per item, checked as ItemIndex says.
    void UpdateButtons();
    void ButtonClicked(TObject* Sender);

    std::unique_ptr<TStringList> FItems;
    std::vector<std::unique_ptr<TRadioButton>> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
};

} // namespace folio
