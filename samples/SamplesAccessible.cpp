#include "samples/SamplesAccessible.h"

#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"

namespace folio {

namespace {

TRect OnScreen(const TControl* C, const TRect& R) {
    const TPoint TopLeft = C->ClientToScreen(Point(R.Left, R.Top));
    return Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
}

class TGaugeAccessible : public TControlAccessible {
public:
    explicit TGaugeAccessible(TControl* C) : TControlAccessible(C, TAccRole::ProgressBar) {}
    String GetValue() const override {
        return std::to_string(static_cast<const TCGauge*>(FControl)->GetPercentDone()) + "%";
    }
    bool GetRange(TAccRange& Range) const override {
        const auto* Gauge = static_cast<const TCGauge*>(FControl);
        Range = {double(Gauge->GetMinValue()), double(Gauge->GetMaxValue()),
                 double(Gauge->GetProgress()), 1};
        return true;
    }
};

// One cell of a grid-like control: its text, place and selection.
class TCellAccessible : public TAccessible {
public:
    TCellAccessible(const TControl* Owner, TAccRole Role, String Name, TRect Client, bool Selected)
        : FOwner(Owner), FRole(Role), FName(std::move(Name)), FClient(Client), FSelected(Selected) {
    }
    TAccRole GetRole() const override { return FRole; }
    String GetName() const override { return FName; }
    unsigned GetStates() const override {
        if (FRole != TAccRole::Cell) return 0;
        return asSelectable | (FSelected ? asSelected : 0u);
    }
    TRect GetBounds() const override { return OnScreen(FOwner, FClient); }

private:
    const TControl* FOwner;
    TAccRole FRole;
    String FName;
    TRect FClient;
    bool FSelected;
};

class TCalendarAccessible : public TControlAccessible {
public:
    explicit TCalendarAccessible(TControl* C) : TControlAccessible(C, TAccRole::Table) {}
    String GetName() const override {
        const auto* Cal = Calendar();
        return std::to_string(Cal->GetYear()) + "-" + (Cal->GetMonth() < 10 ? "0" : "") +
               std::to_string(Cal->GetMonth());
    }
    int GetChildCount() const override {
        return Calendar()->GetColCount() * Calendar()->GetRowCount();
    }
    // The first row names the days; the weeks are the table's rows.
    bool GetTable(TAccTable& Table) const override {
        Table = {Calendar()->GetRowCount() - 1, Calendar()->GetColCount(), true};
        return true;
    }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        const auto* Cal = Calendar();
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        const int Col = Index % Cal->GetColCount(), Row = Index / Cal->GetColCount();
        const bool Selected = Row > 0 && Col == Cal->GetCol() && Row == Cal->GetRow();
        return std::make_unique<TCellAccessible>(
            Cal, Row == 0 ? TAccRole::ColumnHeader : TAccRole::Cell, Cal->GetCellText(Col, Row),
            Cal->CellRect(Col, Row), Selected);
    }

private:
    const TCCalendar* Calendar() const { return static_cast<const TCCalendar*>(FControl); }
};

class TColorGridAccessible : public TControlAccessible {
public:
    explicit TColorGridAccessible(TControl* C) : TControlAccessible(C, TAccRole::Grid) {}
    int GetChildCount() const override { return 16; }
    // The squares lie row by row as the grid's ordering lays them out.
    bool GetTable(TAccTable& Table) const override {
        const auto* G = static_cast<const TCColorGrid*>(FControl);
        Table = {G->GetRows(), G->GetColumns(), false};
        return true;
    }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        const auto* G = static_cast<const TCColorGrid*>(FControl);
        if (Index < 0 || Index >= 16) return nullptr;
        String Name = "Colour " + std::to_string(Index);
        const bool Fg = G->GetForegroundEnabled() && G->GetForegroundIndex() == Index;
        const bool Bg = G->GetBackgroundEnabled() && G->GetBackgroundIndex() == Index;
        if (Fg) Name += " (foreground)";
        if (Bg) Name += " (background)";
        return std::make_unique<TCellAccessible>(G, TAccRole::Cell, Name, G->SquareRect(Index),
                                                 Fg || Bg);
    }
};

} // namespace

std::unique_ptr<TAccessible> CreateGaugeAccessible(TControl* Gauge) {
    return std::make_unique<TGaugeAccessible>(Gauge);
}

std::unique_ptr<TAccessible> CreateCalendarAccessible(TControl* Calendar) {
    return std::make_unique<TCalendarAccessible>(Calendar);
}

std::unique_ptr<TAccessible> CreateColorGridAccessible(TControl* Grid) {
    return std::make_unique<TColorGridAccessible>(Grid);
}

} // namespace folio
