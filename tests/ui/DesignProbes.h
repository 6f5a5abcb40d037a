#pragma once

// Components and a designer for the tests of the designer interfaces: a
// probe with one published property of every kind, a form offering event
// handlers by name, and a designer that counts what it is told.

#include "framework/core/ClassBuilder.h"
#include "framework/core/Component.h"
#include "framework/gfx/Font.h"
#include "framework/ui/controls/ControlEvents.h"
#include "framework/ui/forms/Designer.h"

#include <memory>
#include <vector>

namespace folio::test {

enum TProbeMode { pmFirst, pmSecond, pmThird };

class TEditProbe : public TComponent {
    FOLIO_CLASS(TEditProbe)
public:
    explicit TEditProbe(TComponent* AOwner) : TComponent(AOwner), FFont(new TFont) {}

    int GetCount() const { return FCount; }
    void SetCount(int Value) { FCount = Value; }
    short GetSmall() const { return FSmall; }
    void SetSmall(short Value) { FSmall = Value; }
    bool GetFlag() const { return FFlag; }
    void SetFlag(bool Value) { FFlag = Value; }
    TProbeMode GetMode() const { return FMode; }
    void SetMode(TProbeMode Value) { FMode = Value; }
    long long GetStyles() const { return FStyles; }
    void SetStyles(long long Value) { FStyles = Value; }
    TColor GetTint() const { return FTint; }
    void SetTint(TColor Value) { FTint = Value; }
    String GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TEditProbe* GetBuddy() const { return FBuddy; }
    void SetBuddy(TEditProbe* Value) { FBuddy = Value; }

    TNotifyEvent OnPing;

private:
    int FCount = 0;
    short FSmall = 0;
    bool FFlag = false;
    TProbeMode FMode = pmFirst;
    long long FStyles = 0;
    TColor FTint = 0;
    String FTitle;
    std::unique_ptr<TFont> FFont;
    TEditProbe* FBuddy = nullptr;
};

// A probe of another branch: it shares the Title property by name only.
class TOtherProbe : public TComponent {
    FOLIO_CLASS(TOtherProbe)
public:
    using TComponent::TComponent;
    String GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

private:
    String FTitle;
};

class TSpecialProbe : public TEditProbe {
    FOLIO_CLASS(TSpecialProbe)
public:
    using TEditProbe::TEditProbe;
};

class TProbeForm : public TComponent {
    FOLIO_CLASS(TProbeForm)
public:
    using TComponent::TComponent;
    void PingHandler(TObject*) { ++Pings; }
    void OtherPing(TObject*) {}
    void KeyHandler(TObject*, unsigned short&, TShiftState) {}
    int Pings = 0;
};

struct TRecordingDesigner : IDesigner {
    explicit TRecordingDesigner(TComponent* ARoot = nullptr) : Root(ARoot) {}
    void Modified() override { ++ModifiedCount; }
    void SelectComponent(TPersistent* Instance) override { Selected.push_back(Instance); }
    TComponent* GetRoot() const override { return Root; }

    TComponent* Root;
    int ModifiedCount = 0;
    std::vector<TPersistent*> Selected;
};

} // namespace folio::test
