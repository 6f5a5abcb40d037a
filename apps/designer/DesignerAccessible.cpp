// What a screen reader finds in the designer's window. The palette, the
// inspector and the component tree paint their parts themselves, so each
// gives its parts nodes of their own: the palette a tool bar of page tabs
// and toggle buttons, the inspector its pages and a table of name and value
// cells, the tree a tree item per line. Every node reads the live control
// when asked and acts as a click on the part would.
#include "ComponentPalette.h"
#include "ComponentTree.h"
#include "ObjectInspector.h"

#include "framework/core/ClassRegistry.h"
#include "framework/design/PropertyEditor.h"
#include "framework/ui/controls/Accessible.h"

namespace designer {

FOLIO_DEFINE_CLASS(TComponentPalette, folio::TCustomControl)
FOLIO_DEFINE_CLASS(TObjectInspector, folio::TCustomControl)
FOLIO_DEFINE_CLASS(TComponentTree, folio::TCustomControl)

using namespace folio;

namespace {

// A part's rectangle, given in Control's client coordinates, on the screen.
TRect OnScreen(const TControl* Control, const TRect& R) {
    if (R.IsEmpty()) return TRect();
    const TPoint P = Control->ClientToScreen(Point(R.Left, R.Top));
    return Bounds(P.X, P.Y, R.Width(), R.Height());
}

// A part a click chooses: its one action is "press".
class TPressablePart : public TAccessible {
public:
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" || !Owner()->GetEnabled()) return false;
        Press();
        return true;
    }

protected:
    virtual const TControl* Owner() const = 0;
    virtual void Press() = 0;
};

// --- the palette ------------------------------------------------------------------------

class TPaletteTab : public TPressablePart {
public:
    TPaletteTab(TComponentPalette* Palette, int Index) : FPalette(Palette), FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::PageTab; }
    String GetName() const override { return FPalette->Pages()[FIndex]; }
    unsigned GetStates() const override {
        return asSelectable | (FPalette->GetPage() == GetName() ? asSelected : 0u);
    }
    TRect GetBounds() const override { return OnScreen(FPalette, FPalette->PageTabRect(FIndex)); }

protected:
    const TControl* Owner() const override { return FPalette; }
    void Press() override { FPalette->SetPage(GetName()); }

private:
    TComponentPalette* FPalette;
    int FIndex;
};

class TPaletteTabs : public TAccessible {
public:
    explicit TPaletteTabs(TComponentPalette* Palette) : FPalette(Palette) {}
    TAccRole GetRole() const override { return TAccRole::PageTabList; }
    String GetName() const override { return "Palette pages"; }
    TRect GetBounds() const override {
        const int Count = static_cast<int>(FPalette->Pages().size());
        if (Count == 0) return TRect();
        const TRect First = FPalette->PageTabRect(0);
        const TRect Last = FPalette->PageTabRect(Count - 1);
        return OnScreen(FPalette, Rect(First.Left, First.Top, Last.Right, Last.Bottom));
    }
    int GetChildCount() const override { return static_cast<int>(FPalette->Pages().size()); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        return std::make_unique<TPaletteTab>(FPalette, Index);
    }

private:
    TComponentPalette* FPalette;
};

// A button of the shown page; -1 is the arrow, which chooses no class.
class TPaletteButton : public TPressablePart {
public:
    TPaletteButton(TComponentPalette* Palette, int Index) : FPalette(Palette), FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::ToggleButton; }
    String GetName() const override {
        if (!Class()) return "Pointer";
        // As the button reads: the class's name without its leading T.
        const String& Name = Class()->Name;
        return Name.size() > 1 && Name[0] == 'T' ? Name.substr(1) : Name;
    }
    String GetDescription() const override {
        return Class() ? "Drops a " + Class()->Name + " where the form is clicked next"
                       : "Selects on the form";
    }
    unsigned GetStates() const override {
        const bool Down = FPalette->GetChosen() == Class();
        return asCheckable | (Down ? asChecked | asPressed : 0u);
    }
    TRect GetBounds() const override { return OnScreen(FPalette, FPalette->EntryRect(FIndex)); }
    const void* GetKey() const override { return FPalette->ButtonKey(Class()); }

protected:
    const TControl* Owner() const override { return FPalette; }
    void Press() override { FPalette->SetChosen(Class()); }

private:
    const TClassInfo* Class() const { return FIndex < 0 ? nullptr : FPalette->Entries()[FIndex]; }

    TComponentPalette* FPalette;
    int FIndex;
};

class TPaletteAccessible : public TControlAccessible {
public:
    explicit TPaletteAccessible(TControl* C) : TControlAccessible(C, TAccRole::ToolBar) {}
    String GetName() const override { return "Component palette"; }
    // The page tabs, the arrow and a button for each class of the page.
    int GetChildCount() const override { return 2 + static_cast<int>(Palette()->Entries().size()); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        if (Index == 0) return std::make_unique<TPaletteTabs>(Palette());
        return std::make_unique<TPaletteButton>(Palette(), Index - 2);
    }

private:
    TComponentPalette* Palette() const { return static_cast<TComponentPalette*>(FControl); }
};

// --- the inspector ----------------------------------------------------------------------

class TInspectorPage : public TPressablePart {
public:
    TInspectorPage(TObjectInspector* Inspector, TObjectInspector::TPage Page)
        : FInspector(Inspector), FPage(Page) {}
    TAccRole GetRole() const override { return TAccRole::PageTab; }
    String GetName() const override {
        return FPage == TObjectInspector::ipProperties ? "Properties" : "Events";
    }
    unsigned GetStates() const override {
        return asSelectable | (FInspector->GetPage() == FPage ? asSelected : 0u);
    }
    TRect GetBounds() const override { return OnScreen(FInspector, FInspector->TabRect(FPage)); }

protected:
    const TControl* Owner() const override { return FInspector; }
    void Press() override { FInspector->SetPage(FPage); }

private:
    TObjectInspector* FInspector;
    TObjectInspector::TPage FPage;
};

class TInspectorPages : public TAccessible {
public:
    explicit TInspectorPages(TObjectInspector* Inspector) : FInspector(Inspector) {}
    TAccRole GetRole() const override { return TAccRole::PageTabList; }
    String GetName() const override { return "Inspector pages"; }
    TRect GetBounds() const override {
        const TRect A = FInspector->TabRect(TObjectInspector::ipProperties);
        const TRect B = FInspector->TabRect(TObjectInspector::ipEvents);
        return OnScreen(FInspector, Rect(A.Left, A.Top, B.Right, B.Bottom));
    }
    int GetChildCount() const override { return 2; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index > 1) return nullptr;
        return std::make_unique<TInspectorPage>(
            FInspector, Index == 0 ? TObjectInspector::ipProperties : TObjectInspector::ipEvents);
    }

private:
    TObjectInspector* FInspector;
};

// One cell of a row: the property's name, or its value. A press makes the
// row the current one, whose value box takes typing.
class TInspectorCell : public TPressablePart {
public:
    TInspectorCell(TObjectInspector* Inspector, int Row, bool Value)
        : FInspector(Inspector), FRow(Row), FValue(Value) {}
    TAccRole GetRole() const override { return TAccRole::Cell; }
    String GetName() const override {
        return FValue ? FInspector->RowValue(FRow) : FInspector->RowPath(FRow);
    }
    // The value cell says whose value it is.
    String GetDescription() const override { return FValue ? FInspector->RowPath(FRow) : String(); }
    unsigned GetStates() const override {
        unsigned S = asSelectable;
        if (FInspector->GetCurrentRow() == FRow) S |= asSelected;
        const int Top = FInspector->GetTopRow();
        if (FRow < Top || FRow >= Top + FInspector->VisibleRows()) S |= asOffscreen;
        const TPropertyAttributes A = FInspector->RowEditor(FRow)->GetAttributes();
        if (FValue && A.Contains(paReadOnly)) S |= asReadOnly;
        if (!FValue && A.Contains(paSubProperties))
            S |= asExpandable | (FInspector->IsExpanded(FRow) ? asExpanded : 0u);
        return S;
    }
    TRect GetBounds() const override {
        if (GetStates() & asOffscreen) return TRect();
        return OnScreen(FInspector,
                        FValue ? FInspector->ValueRect(FRow) : FInspector->NameRect(FRow));
    }

protected:
    const TControl* Owner() const override { return FInspector; }
    void Press() override { FInspector->SetCurrentRow(FRow); }

private:
    TObjectInspector* FInspector;
    int FRow;
    bool FValue;
};

// The rows as a table of two columns, named by what they belong to.
class TInspectorTable : public TAccessible {
public:
    explicit TInspectorTable(TObjectInspector* Inspector) : FInspector(Inspector) {}
    TAccRole GetRole() const override { return TAccRole::Table; }
    String GetName() const override { return FInspector->HeaderText(); }
    TRect GetBounds() const override {
        const TRect Tabs = FInspector->TabRect(TObjectInspector::ipProperties);
        return OnScreen(FInspector, Rect(0, Tabs.Bottom, FInspector->GetClientWidth(),
                                         FInspector->GetClientHeight()));
    }
    int GetChildCount() const override { return 2 * FInspector->RowCount(); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        return std::make_unique<TInspectorCell>(FInspector, Index / 2, Index % 2 == 1);
    }
    bool GetTable(TAccTable& Table) const override {
        Table = {FInspector->RowCount(), 2, false};
        return true;
    }
    String GetColumnName(int Column) const override {
        return Column == 0 ? "Property" : Column == 1 ? "Value" : String();
    }
    // A row is known by the property it shows ("Font.Size").
    String GetRowName(int Row) const override {
        return Row >= 0 && Row < FInspector->RowCount() ? FInspector->RowPath(Row) : String();
    }

private:
    TObjectInspector* FInspector;
};

// The value box, as its own node says everything but its name: it has no
// caption or label of its own, so it is named after the property it edits
// ("Caption"), as a labelled field reads.
class TValueBox : public TAccessible {
public:
    TValueBox(TObjectInspector* Inspector, std::unique_ptr<TAccessible> Box)
        : FInspector(Inspector), FBox(std::move(Box)) {}
    TAccRole GetRole() const override { return FBox->GetRole(); }
    String GetName() const override {
        const int Row = FInspector->GetCurrentRow();
        return Row >= 0 && Row < FInspector->RowCount() ? FInspector->RowPath(Row) : String();
    }
    String GetDescription() const override { return FBox->GetDescription(); }
    String GetValue() const override { return FBox->GetValue(); }
    unsigned GetStates() const override { return FBox->GetStates(); }
    TRect GetBounds() const override { return FBox->GetBounds(); }
    bool GrabFocus() override { return FBox->GrabFocus(); }
    bool GetCaret(TAccCaret& Caret) const override { return FBox->GetCaret(Caret); }
    bool SetTextSelection(int Start, int End) override {
        return FBox->SetTextSelection(Start, End);
    }
    bool ReplaceText(int Start, int End, const String& Text) override {
        return FBox->ReplaceText(Start, End, Text);
    }
    const void* GetKey() const override { return FBox->GetKey(); }

private:
    TObjectInspector* FInspector;
    std::unique_ptr<TAccessible> FBox;
};

class TInspectorAccessible : public TControlAccessible {
public:
    explicit TInspectorAccessible(TControl* C) : TControlAccessible(C, TAccRole::Grouping) {}
    String GetName() const override { return "Object inspector"; }
    // The pages, the table, then the inspector's own controls while they
    // show (the value box, the scroll bar, a dropped value list).
    int GetChildCount() const override { return 2 + TControlAccessible::GetChildCount(); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index == 0) return std::make_unique<TInspectorPages>(Inspector());
        if (Index == 1) return std::make_unique<TInspectorTable>(Inspector());
        auto Child = TControlAccessible::GetChild(Index - 2);
        if (Child && Child->GetKey() == Inspector()->GetValueEdit())
            return std::make_unique<TValueBox>(Inspector(), std::move(Child));
        return Child;
    }

private:
    TObjectInspector* Inspector() const { return static_cast<TObjectInspector*>(FControl); }
};

// --- the component tree -----------------------------------------------------------------

class TTreeLine : public TPressablePart {
public:
    TTreeLine(TComponentTree* Tree, int Index) : FTree(Tree), FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::TreeItem; }
    String GetName() const override { return FTree->LineText(FIndex); }
    unsigned GetStates() const override {
        unsigned S = asSelectable;
        if (FTree->IsHighlighted(FIndex)) S |= asSelected;
        const int Top = FTree->GetTopLine();
        if (FIndex < Top || FIndex >= Top + FTree->VisibleLines()) S |= asOffscreen;
        return S;
    }
    TRect GetBounds() const override {
        if (GetStates() & asOffscreen) return TRect();
        return OnScreen(FTree, FTree->LineRect(FIndex));
    }
    const void* GetKey() const override { return FTree->Lines()[FIndex].Component; }

protected:
    const TControl* Owner() const override { return FTree; }
    void Press() override { FTree->SelectLine(FIndex); }

private:
    TComponentTree* FTree;
    int FIndex;
};

class TTreeAccessible : public TControlAccessible {
public:
    explicit TTreeAccessible(TControl* C) : TControlAccessible(C, TAccRole::Tree) {}
    String GetName() const override { return "Components of the form"; }
    // The lines, then the rename box while it shows.
    int GetChildCount() const override { return Lines() + TControlAccessible::GetChildCount(); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index >= 0 && Index < Lines()) return std::make_unique<TTreeLine>(Tree(), Index);
        return TControlAccessible::GetChild(Index - Lines());
    }

private:
    TComponentTree* Tree() const { return static_cast<TComponentTree*>(FControl); }
    int Lines() const { return static_cast<int>(Tree()->Lines().size()); }
};

template <class T>
std::unique_ptr<TAccessible> Make(TControl* C) {
    return std::make_unique<T>(C);
}

const TAccessibleRegistration PaletteAccessible(TComponentPalette::StaticClassInfo(),
                                                Make<TPaletteAccessible>);
const TAccessibleRegistration InspectorAccessible(TObjectInspector::StaticClassInfo(),
                                                  Make<TInspectorAccessible>);
const TAccessibleRegistration TreeAccessible(TComponentTree::StaticClassInfo(),
                                             Make<TTreeAccessible>);

} // namespace

} // namespace designer
