#pragma once

#include "framework/core/Collection.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <memory>

namespace folio {

class TStatusBar;

// One panel of a status bar: its text, its width in pixels and where the
// text stands in it.
class TStatusPanel : public TCollectionItem {
    FOLIO_CLASS(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* Collection);

    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    // Kept at 0 or more.
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    String GetDisplayName() const override;

private:
    String FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TStatusPanels : public TCollection {
    FOLIO_CLASS(TStatusPanels)
public:
    explicit TStatusPanels(TStatusBar* Bar);
    TStatusPanel* GetPanel(int Index) const { return static_cast<TStatusPanel*>(GetItem(Index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TStatusBar* FBar;
};

// A status bar along the foot of a form: a row of sunken panels, the last
// one reaching to the bar's end, or with SimplePanel one panel across the
// whole bar showing SimpleText. A size grip sits in the right corner.
class TStatusBar : public TCustomControl {
    FOLIO_CLASS(TStatusBar)
public:
    explicit TStatusBar(TComponent* AOwner);
    ~TStatusBar() override;

    TStatusPanels* GetPanels() const { return FPanels.get(); }
    void SetPanels(TStatusPanels* Value) { FPanels->Assign(Value); }
    bool GetSimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool Value);
    const String& GetSimpleText() const { return FSimpleText; }
    void SetSimpleText(const String& Value);
    bool GetSizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);

    // Where panel Index lies, in client coordinates (the last reaches the
    // end; with SimplePanel the one panel is the whole bar).
    TRect PanelRect(int Index) const;
    // The panel under a client point, or -1.
    int PanelAt(TPoint P) const;

protected:
    void Paint() override;

private:
    // Calls Visit(Index, Rect) for each panel that shows, left to right,
    // while it answers true.
    template <class TVisit>
    void ForEachPanel(TVisit&& Visit) const;

    std::unique_ptr<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    String FSimpleText;
    bool FSizeGrip = true;
};

} // namespace folio
