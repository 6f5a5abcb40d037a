#include "fuzz/support/PeakMemory.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#if defined(__SANITIZE_ADDRESS__)
#define FOLIO_FUZZ_HOOKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FOLIO_FUZZ_HOOKS 1
#endif
#endif

#ifdef FOLIO_FUZZ_HOOKS
// The allocator's hooks, declared here since GCC's sanitizer headers do not
// carry them (its runtime has them all the same).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*Malloc)(const volatile void*, std::size_t),
                                              void (*Free)(const volatile void*));
std::size_t __sanitizer_get_allocated_size(const volatile void* Pointer);
}
#endif

namespace folio::fuzz {

namespace {

std::atomic<std::int64_t> Current{0};
std::atomic<std::int64_t> Base{0};
std::atomic<std::int64_t> Highest{0};

#ifdef FOLIO_FUZZ_HOOKS
// Called by the allocator on every thread; they only count.
void OnMalloc(const volatile void*, std::size_t Size) {
    const std::int64_t Now =
        Current.fetch_add(static_cast<std::int64_t>(Size)) + static_cast<std::int64_t>(Size);
    std::int64_t Seen = Highest.load(std::memory_order_relaxed);
    while (Now > Seen && !Highest.compare_exchange_weak(Seen, Now)) {
    }
}

void OnFree(const volatile void* Pointer) {
    if (Pointer)
        Current.fetch_sub(static_cast<std::int64_t>(__sanitizer_get_allocated_size(Pointer)));
}

bool Install() {
    return __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
}
#else
bool Install() {
    return false;
}
#endif

bool Installed() {
    static const bool Done = Install();
    return Done;
}

constexpr std::size_t MinRatioInput = 256;

// The input with the largest ratio, and the one with the largest peak.
struct TWorst {
    std::mutex Lock;
    const char* Target = nullptr;
    double Ratio = 0;
    std::size_t RatioSize = 0;
    std::int64_t RatioPeak = 0;
    std::size_t LargestSize = 0;
    std::int64_t LargestPeak = 0;
    bool Registered = false;
};

TWorst& Worst() {
    static TWorst* W = new TWorst; // outlives every atexit handler
    return *W;
}

void PrintWorst() {
    TWorst& W = Worst();
    std::lock_guard<std::mutex> Guard(W.Lock);
    std::fprintf(
        stderr,
        "%s: largest peak memory per input byte %.1f (%lld bytes for an input of %zu, among "
        "inputs of %zu bytes or more); "
        "largest peak memory %lld bytes (for an input of %zu)\n",
        W.Target, W.Ratio, static_cast<long long>(W.RatioPeak), W.RatioSize, MinRatioInput,
        static_cast<long long>(W.LargestPeak), W.LargestSize);
}

} // namespace

bool TPeakMemory::Available() {
    return Installed();
}

void TPeakMemory::Begin() {
    if (!Installed()) return;
    const std::int64_t Now = Current.load();
    Base.store(Now);
    Highest.store(Now);
}

std::int64_t TPeakMemory::Peak() {
    if (!Installed()) return 0;
    return Highest.load() - Base.load();
}

void NoteMemoryRatio(const char* Target, std::size_t InputSize, std::int64_t PeakBytes) {
    if (!Installed()) return;
    TWorst& W = Worst();
    std::lock_guard<std::mutex> Guard(W.Lock);
    if (!W.Registered) {
        W.Registered = true;
        W.Target = Target;
        std::atexit(PrintWorst);
    }
    // Below a few hundred bytes the loaders' fixed working memory (a
    // decoder's state, an exception's message) says nothing about growth.
    const double Ratio = static_cast<double>(PeakBytes) / static_cast<double>(InputSize);
    if (InputSize >= MinRatioInput && Ratio > W.Ratio) {
        W.Ratio = Ratio;
        W.RatioSize = InputSize;
        W.RatioPeak = PeakBytes;
    }
    if (PeakBytes > W.LargestPeak) {
        W.LargestPeak = PeakBytes;
        W.LargestSize = InputSize;
    }
}

} // namespace folio::fuzz
