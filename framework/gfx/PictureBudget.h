#pragma once

// How many pixels pictures read from outside bytes may take.
//
// A BMP image or PNG file names its size in its header, and a small file can
// name a huge one (a run-length image repeats a pixel up to 255 times per
// two bytes; a compressed PNG holds up to about a thousand bytes per byte).
// So every picture loader asks the budget before it allocates: a picture of
// more pixels than the per-picture budget is refused with EInvalidGraphic
// naming the limit. While a TPictureLoadScope is open on a thread (a bar's
// contents being read, with a picture per group), the pictures read in it
// also share the per-load budget.
//
// With the budgets, loading a picture from N bytes takes at most about
// 2 N bytes for the input plus 4 bytes per pixel of the budget; the pixels a
// header may claim are further bounded by what N bytes can describe.

namespace folio {

/// The per-picture budget at start: 16 million pixels (64 MB).
constexpr long long DefaultPicturePixelBudget = 16LL * 1024 * 1024;
/// The per-load budget at start: 32 million pixels (128 MB).
constexpr long long DefaultLoadPixelBudget = 32LL * 1024 * 1024;

/// The most pixels one picture read from outside bytes may have. The
/// application may change it at any time, from any thread; a value below 1
/// raises ERangeError and keeps the budget.
///@{
long long GetPicturePixelBudget();
void SetPicturePixelBudget(long long Pixels);
///@}
/// The most pixels the pictures of one TPictureLoadScope may have together.
/// The application may change it at any time, from any thread; a value below
/// 1 raises ERangeError and keeps the budget.
///@{
long long GetLoadPixelBudget();
void SetLoadPixelBudget(long long Pixels);
///@}

/// One load of several pictures that share the per-load budget. Scopes nest:
/// an inner scope joins the outermost one on its thread.
class TPictureLoadScope {
public:
    /// Opens a load on this thread, or joins the one already open.
    TPictureLoadScope();
    /// Closes the load when this scope opened it.
    ~TPictureLoadScope();
    TPictureLoadScope(const TPictureLoadScope&) = delete;
    TPictureLoadScope& operator=(const TPictureLoadScope&) = delete;

private:
    friend void ChargePictureBudget(const char* What, long long Width, long long Height);

    TPictureLoadScope* FOuter;
    long long FSpent = 0;
};

/// While one is open on a thread, pictures read on it come from bytes the
/// program itself just wrote (a deep copy through a memory stream) and are
/// held to no budget: a picture the program holds can always be copied.
class TTrustedPictureScope {
public:
    /// Lifts the budgets on this thread until the scope goes (scopes nest).
    TTrustedPictureScope();
    /// Puts the budgets back once the outermost trusted scope goes.
    ~TTrustedPictureScope();
    TTrustedPictureScope(const TTrustedPictureScope&) = delete;
    TTrustedPictureScope& operator=(const TTrustedPictureScope&) = delete;
};

/// Called by a loader once it knows a picture's size and before it allocates
/// for it. Raises EInvalidGraphic naming the limit when Width x Height pixels
/// are over the per-picture budget or over what is left of the open load's;
/// otherwise counts them against the load. What names the picture ("BMP
/// image") in the message. Inside a TTrustedPictureScope nothing is checked
/// or counted.
void ChargePictureBudget(const char* What, long long Width, long long Height);

} // namespace folio
