#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/stdctrls/GroupBox.h"

#include <memory>
#include <vector>

namespace folio {

class TRadioButton;

/// A group box of radio buttons made from a list of strings: one button per
/// item, laid out in Columns columns (filled top to bottom, then left to
/// right), ItemIndex the checked one (-1 for none). The buttons belong to
/// the group, not to the form: a form file stores Items and ItemIndex only.
/// A choice by the user fires OnClick.
class TRadioGroup : public TGroupBox {
    FOLIO_CLASS(TRadioGroup)
public:
    /// An empty radio group of 185 by 105 pixels; other controls cannot be put
    /// on it.
    explicit TRadioGroup(TComponent* AOwner);
    /// Destroys the group and its buttons.
    ~TRadioGroup() override;

    ///@{
    /// The buttons' captions, one button each; the group owns them and
    /// SetItems copies. A change makes the buttons again.
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    ///@}
    ///@{
    /// Kept within -1 .. Count - 1.
    /// The checked button; -1 (the default) for none. Setting it checks that
    /// button and fires nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    ///@{
    /// Kept within 1 .. 16.
    /// How many columns the buttons are laid out in; 1 by default.
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    ///@}

    /// How many buttons there are (one per item).
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    /// The button of item Index; null outside the items.
    TRadioButton* GetButton(int Index) const;

    /// After a form file is read: makes the buttons, ItemIndex held in range.
    void Loaded() override;

protected:
    /// Lays the buttons out in Columns columns inside the frame.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// Lays the buttons out again for the new font.
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
