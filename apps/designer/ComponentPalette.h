#pragma once

#include "framework/design/DesignRegistry.h"
#include "framework/ui/controls/CustomControl.h"

#include <functional>
#include <vector>

namespace designer {

using folio::String;
using folio::TRect;

// The component palette: a tab for each page the design registry holds and,
// on the shown page, a button for each class registered there, after the
// arrow that chooses nothing (pressing on the form then selects). A button
// shows its class's icon, when its registration gave one, with the class's
// name as its tooltip, else the name. Choosing a class tells OnChoose; the
// next press on the form drops one. Icons are 24 pixels square at the
// standard resolution and 48 on a screen about twice as dense.
class TComponentPalette : public folio::TCustomControl {
    FOLIO_CLASS(TComponentPalette)
public:
    explicit TComponentPalette(folio::TComponent* AOwner);

    // Reads the registry again (a package came or went).
    void Reload();
    const std::vector<String>& Pages() const { return FPages; }
    const String& GetPage() const { return FPage; }
    void SetPage(const String& Page);
    // The classes of the shown page, in registration order.
    const std::vector<const folio::TClassInfo*>& Entries() const { return FEntries; }
    // A filter narrows the buttons to the classes of every page whose name
    // holds Text, whatever its case; an empty one shows the page again.
    const String& GetFilter() const { return FFilter; }
    void SetFilter(const String& Text);
    const folio::TClassInfo* GetChosen() const { return FChosen; }
    void SetChosen(const folio::TClassInfo* Class);

    // What screen readers know a button by: its class, or for the arrow
    // (null) a key of the palette's own.
    const void* ButtonKey(const folio::TClassInfo* Class) const;

    TRect PageTabRect(int Index) const;
    // Entry -1 is the arrow.
    TRect EntryRect(int Index) const;
    // Where entry Index draws its icon (empty when its class has none).
    TRect IconRect(int Index) const;
    // The entry at P: -1 for the arrow, -2 for none.
    int EntryAt(folio::TPoint P) const;
    // The tooltip of entry Index: its class's name without the T.
    String EntryHint(int Index) const;
    // When the buttons need more rows than show (a filter that finds many
    // classes), the wheel scrolls them by rows; TopRow is the first shown.
    int GetTopRow() const { return FTopRow; }
    void SetTopRow(int Value);
    int RowCount() const;
    int RowsShown() const;
    // The side of the icons at the palette's resolution: 24 or 48.
    int IconSize() const;

    std::function<void(const folio::TClassInfo* Class)> OnChoose;

    static constexpr int TabHeight = 20;
    static constexpr int ButtonHeight = 24;

    void Dispatch(folio::TMessage& Message) override;

protected:
    void Paint() override;
    bool DoMouseWheel(folio::TShiftState Shift, int WheelDelta, folio::TPoint MousePos) override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;

private:
    int EntryWidth(int Index) const;
    int EntryHeight() const;
    // Where the buttons begin: under the last row of tabs.
    int TabsBottom() const;

    std::vector<String> FPages;
    String FPage;
    std::vector<const folio::TClassInfo*> FEntries;
    const folio::TClassInfo* FChosen = nullptr;
    String FFilter;
    int FTopRow = 0;
};

} // namespace designer
