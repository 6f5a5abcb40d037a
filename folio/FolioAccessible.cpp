#include "folio/FolioAccessible.h"

#include <algorithm>

#include "framework/ui/app/Hints.h"

namespace folio {

// The bar is a list of page tabs, one per group caption; the open group's
// tab is expanded and selected and holds the group's items as list items.
// Items scrolled out of the group are there too, marked off the screen.

namespace {

TRect OnScreen(const TFolio* Bar, const TRect& R) {
    const TPoint TopLeft = Bar->ClientToScreen(Point(R.Left, R.Top));
    return Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
}

bool StillThere(const TFolioGroups* Groups, const TFolioGroup* Group) {
    for (int I = 0; I < Groups->GetCount(); ++I)
        if (Groups->GetGroup(I) == Group) return true;
    return false;
}

class TItemAccessible : public TAccessible {
public:
    explicit TItemAccessible(TFolioItem* Item) : FItem(Item) {}
    TAccRole GetRole() const override { return TAccRole::ListItem; }
    String GetName() const override { return FItem->GetCaption(); }
    String GetDescription() const override { return GetShortHint(FItem->GetHint()); }
    unsigned GetStates() const override {
        unsigned S = asSelectable;
        const TFolio* Bar = FItem->GetBar();
        if (Bar->GetFocusedItem() == FItem && Bar->Focused()) S |= asFocused;
        if (!Shown()) S |= asOffscreen;
        return S;
    }
    TRect GetBounds() const override {
        return Shown() ? OnScreen(FItem->GetBar(), FItem->GetClientRect()) : TRect{};
    }
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        return Action == "press" && FItem->GetBar()->PressItem(FItem);
    }
    const void* GetKey() const override { return FItem; }

private:
    // Whether the item's slot lies in the open group's shown slots.
    bool Shown() const {
        const TFolioGroup* G = FItem->GetGroup();
        if (G->GetIndex() != G->GetBar()->GetVisibleGroup()) return false;
        const int Slot = FItem->GetIndex() - G->GetStartItem();
        return Slot >= 0 && Slot < std::max(G->GetVisibleItems(), 1);
    }
    TFolioItem* FItem;
};

class TGroupAccessible : public TAccessible {
public:
    explicit TGroupAccessible(TFolioGroup* Group) : FGroup(Group) {}
    TAccRole GetRole() const override { return TAccRole::PageTab; }
    String GetName() const override { return FGroup->GetCaption(); }
    String GetDescription() const override { return GetShortHint(FGroup->GetHint()); }
    unsigned GetStates() const override {
        unsigned S = asSelectable | asExpandable;
        const TFolio* Bar = FGroup->GetBar();
        if (Open()) S |= asExpanded | asSelected;
        if (Bar->GetFocusedGroup() == FGroup && Bar->Focused()) S |= asFocused;
        return S;
    }
    TRect GetBounds() const override {
        return OnScreen(FGroup->GetBar(), FGroup->GetCaptionRect());
    }
    int GetChildCount() const override { return Open() ? FGroup->GetItems()->GetCount() : 0; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        return std::make_unique<TItemAccessible>(FGroup->GetItems()->GetItem(Index));
    }
    std::vector<String> GetActions() const override { return {"press", "expand"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" && Action != "expand") return false;
        return FGroup->GetBar()->PressGroup(FGroup);
    }
    const void* GetKey() const override { return FGroup; }

private:
    bool Open() const { return FGroup->GetIndex() == FGroup->GetBar()->GetVisibleGroup(); }
    TFolioGroup* FGroup;
};

class TBarAccessible : public TControlAccessible {
public:
    explicit TBarAccessible(TFolio* Bar) : TControlAccessible(Bar, TAccRole::PageTabList) {}
    // A bar has no caption: the program's name for it tells it apart.
    String GetName() const override { return FControl->GetName(); }
    int GetChildCount() const override { return Bar()->GetGroups()->GetCount(); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        return std::make_unique<TGroupAccessible>(Bar()->GetGroups()->GetGroup(Index));
    }

private:
    TFolio* Bar() const { return static_cast<TFolio*>(FControl); }
};

} // namespace

std::unique_ptr<TAccessible> CreateFolioAccessible(TControl* Bar) {
    return std::make_unique<TBarAccessible>(static_cast<TFolio*>(Bar));
}

bool TFolio::PressGroup(TFolioGroup* Group) {
    if (!Group || Group->GetBar() != this || !GetEnabled()) return false;
    if (!AllowGroupClick(Group)) return false;
    GroupClicked(Group);
    return StillThere(FGroups.get(), Group);
}

bool TFolio::PressItem(TFolioItem* Item) {
    if (!Item || Item->GetBar() != this || !GetEnabled()) return false;
    if (OnItemClick) OnItemClick(this, Item);
    return true;
}

} // namespace folio
