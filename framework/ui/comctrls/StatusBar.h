#pragma once

#include "framework/core/Collection.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <memory>

namespace folio {

class TStatusBar;

/// One panel of a status bar: its text, its width in pixels and where the
/// text stands in it.
class TStatusPanel : public TCollectionItem {
    FOLIO_CLASS(TStatusPanel)
public:
    /// A panel 50 pixels wide with no text, left-justified, at the end of
    /// Collection.
    explicit TStatusPanel(TCollection* Collection);

    /// The text shown in the panel; empty by default.
    ///@{
    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    ///@}
    /// The panel's width in pixels, kept at 0 or more; 50 by default. The
    /// last panel reaches to the bar's end whatever its width.
    ///@{
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    ///@}
    /// Where the text stands in the panel; taLeftJustify by default.
    ///@{
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    ///@}

    /// The panel's text, or the collection item's default name while it has
    /// none.
    String GetDisplayName() const override;

private:
    String FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

/// A status bar's panels, left to right; a change to a panel repaints it.
class TStatusPanels : public TCollection {
    FOLIO_CLASS(TStatusPanels)
public:
    /// No panels yet, for Bar.
    explicit TStatusPanels(TStatusBar* Bar);
    /// Panel Index, from 0; raises EListError outside the panels.
    TStatusPanel* GetPanel(int Index) const { return static_cast<TStatusPanel*>(GetItem(Index)); }
    /// Adds a panel at the end.
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }

protected:
    /// Repaints the changed panel (the whole bar for a change of several).
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FBar;
};

/// A status bar along the foot of a form: a row of sunken panels, the last
/// one reaching to the bar's end, or with SimplePanel one panel across the
/// whole bar showing SimpleText. A size grip sits in the right corner.
class TStatusBar : public TCustomControl {
    FOLIO_CLASS(TStatusBar)
public:
    /// A bar 200 by 19 pixels aligned to the bottom (alBottom), with no panels
    /// and a size grip.
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    /// The panels, which the bar owns; SetPanels copies the given ones.
    ///@{
    TStatusPanels* GetPanels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
    ///@}
    /// One panel across the whole bar showing SimpleText instead of the panels;
    /// false by default.
    ///@{
    bool GetSimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    ///@}
    /// The text of the simple panel; empty by default.
    ///@{
    const String& GetSimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& Value);
    ///@}
    /// Whether the size grip shows in the right corner; true by default.
    ///@{
    bool GetSizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    ///@}

    /// Where panel Index lies, in client coordinates (the last reaches the
    /// end; with SimplePanel the one panel is the whole bar).
    TRect PanelRect(int Index) const;
    /// The panel under a client point, or -1.
    int PanelAt(TPoint P) const;

protected:
    /// Draws the sunken panels with their texts, and the size grip.
    void Paint() override;

private:
    /// Calls Visit(Index, Rect) for each panel that shows, left to right,
    /// while it answers true.
    template <class TVisit>
    void ForEachPanel(TVisit&& Visit) const;

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    String FSimpleText;
    bool FSizeGrip = true;
};

} // namespace folio
