#pragma once

// Scripted, seeded input against a shown bar on the headless host: pointer
// moves, clicks on captions (animated switches on the worker thread), items
// and held scroll buttons, keys, in-place edits, item drags, scrolling, model
// changes, resizing and the passing of time, each followed by checks of the
// bar's invariants. Bounded by a number of steps and a time; the same seed
// gives the same script.

#include "folio/Folio.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace folio {

struct TStressOptions {
    std::uint64_t Seed = 1;
    long Steps = 400;
    double Seconds = 60; // wall-clock bound, whichever comes first
    int Items = 100000;  // in the first group
};

class TBarStress {
public:
    using TAction = std::function<void()>;

    TBarStress(THeadlessHost& Host, const TStressOptions& Options);
    ~TBarStress();
    TBarStress(const TBarStress&) = delete;
    TBarStress& operator=(const TBarStress&) = delete;

    // Adds a kind of input, picked with the given weight among all. Dropping
    // items on targets and the mouse wheel join here once the bar handles
    // them.
    void AddAction(const std::string& Name, int Weight, TAction Run);

    // Runs the script. Answers an empty string, or what went wrong and at
    // which step (enough to replay it with the same seed).
    std::string Run();
    // How often each action ran, and the switches and edits that completed.
    std::string Summary() const;

    TFolio& Bar() { return *FBar; }
    THeadlessHost& Host() { return FHost; }
    // A number below Limit (0 for none), from the script's seed.
    int Random(int Limit);
    TPoint RandomPointIn(const TRect& R);
    // A client point of the bar in screen coordinates.
    void MoveTo(TPoint Client);

private:
    struct TEntry {
        std::string Name;
        int Weight;
        TAction Run;
        long Count = 0;
    };
    void AddStandardActions();
    void Settle();
    TFolioGroup* OpenGroup() const;
    TFolioItem* RandomVisibleItem();
    // Empty when every invariant holds.
    std::string Check();

    THeadlessHost& FHost;
    TStressOptions FOptions;
    std::mt19937_64 FRandom;
    std::unique_ptr<TForm> FForm;
    TFolio* FBar = nullptr;
    std::vector<TEntry> FActions;
    int FTotalWeight = 0;
    // What the script did, to hold the bar's counts and events against.
    long FExpectedItemDeletions = 0;
    long FExpectedGroupDeletions = 0;
    long FItemDeletions = 0;
    long FGroupDeletions = 0;
    long FSwitchesDone = 0;
    long FEditsApplied = 0;
    long FDragsStarted = 0;
    std::vector<std::string> FEventFaults;
};

} // namespace folio
