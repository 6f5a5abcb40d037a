#pragma once

// A shown bar full of groups, items and pictures on the headless host, and
// the promises every load into a bar keeps. The bar-reading targets (the
// stream, the file, and any other way of loading a bar's contents) drive
// their reader through CheckLoad.

#include "fuzz/FuzzTarget.h"

#include "folio/Folio.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <functional>
#include <memory>

namespace folio::fuzz {

class TBarHarness {
public:
    TBarHarness();
    ~TBarHarness();
    TBarHarness(const TBarHarness&) = delete;
    TBarHarness& operator=(const TBarHarness&) = delete;

    TFolio& Bar() { return *FBar; }
    THeadlessHost& Host() { return FHost; }

    // Runs Load against the bar and checks what a load promises. When it
    // raises an Exception, the bar is as it was: the same saved bytes, the
    // same group and item objects with the same Data, the same open group,
    // scroll positions and hover, and no deletion event fired. When it
    // succeeds, every old group and item was deleted with its event, the
    // first group is open, the bar saves to bytes that load into another bar
    // and save again unchanged, a deep copy (Assign) saves the same bytes and
    // keeps every Data value, and the bar paints and hit-tests. The bar is
    // filled again afterwards. Returns whether the load succeeded.
    bool CheckLoad(const std::function<void(TFolio&)>& Load);

    // The bytes of a bar's contents, as SaveToStream writes them.
    static TBytes Save(TFolio& Bar);
    // Seeds for a target that reads a bar's contents: bars written by the
    // bar itself (empty, one group, the harness's full bar, pictures of
    // several depths and encodings) and a few records written by hand.
    static void AddSeeds(TSeeds& Seeds);

private:
    struct TState;
    // Bytes: whether to save the bar, or to take the bytes it was filled with.
    TState Capture(bool Bytes = true);
    void Fill();

    THeadlessHost FHost;
    std::unique_ptr<TForm> FForm;
    std::unique_ptr<TImageList> FSmallImages;
    std::unique_ptr<TImageList> FLargeImages;
    TFolio* FBar = nullptr;
    // The contents Fill copies into the bar, built once, and their bytes.
    std::unique_ptr<TFolioGroups> FSource;
    TBytes FFilled;
    // The bar as Fill leaves it; a failed load must leave it so too, so it
    // is captured once per fill rather than before every load.
    std::unique_ptr<TState> FFull;
    int FGroupDeletions = 0;
    int FItemDeletions = 0;
    int FPaints = 0;
};

} // namespace folio::fuzz
