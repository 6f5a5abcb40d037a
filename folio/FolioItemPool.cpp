#include "folio/Folio.h"
#include "framework/core/ScopeGuard.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <vector>

#include <sys/mman.h>

namespace folio {

namespace {

// Items are small and come in large numbers; allocating each on its own pays
// the allocator's per-block overhead and, worse, a page fault every few dozen
// items. The pool carves them from 2 MB chunks that may be backed by huge
// pages, reuses freed slots, and returns every chunk once the last item is
// gone. Sanitizer builds use the ordinary allocator so that they still see
// each item's lifetime.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool UsePool = false;
#else
constexpr bool UsePool = true;
#endif

class TItemPool {
public:
    void* Allocate() {
        TGuard Guard(FLock);
        ++FLive;
        if (FFree) {
            TSlot* Slot = FFree;
            FFree = Slot->Next;
            return Slot;
        }
        if (FNext == FEnd) NewChunk();
        void* Slot = FNext;
        FNext += SlotSize;
        return Slot;
    }

    void Release(void* Item) {
        TGuard Guard(FLock);
        auto* Slot = static_cast<TSlot*>(Item);
        Slot->Next = FFree;
        FFree = Slot;
        if (--FLive == 0) ReleaseAll();
    }

private:
    struct TSlot {
        TSlot* Next;
    };
    // Items are created and destroyed on the user-interface thread; the lock
    // is only there so that a stray thread cannot corrupt the free list.
    struct TGuard {
        explicit TGuard(std::atomic_flag& Flag) : FFlag(Flag) {
            while (FFlag.test_and_set(std::memory_order_acquire))
                FFlag.wait(true, std::memory_order_relaxed);
        }
        ~TGuard() {
            FFlag.clear(std::memory_order_release);
            FFlag.notify_one();
        }
        std::atomic_flag& FFlag;
    };

    static constexpr size_t ChunkSize = size_t(2) << 20;
    static constexpr size_t SlotSize =
        (sizeof(TFolioItem) + alignof(TFolioItem) - 1) & ~(alignof(TFolioItem) - 1);

    // Maps twice the chunk size and unmaps the ends, which leaves one chunk
    // aligned to a huge page.
    static void* MapChunk() {
        void* Raw = ::mmap(nullptr, 2 * ChunkSize, PROT_READ | PROT_WRITE,
                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (Raw == MAP_FAILED) return nullptr;
        const auto Start = reinterpret_cast<std::uintptr_t>(Raw);
        const std::uintptr_t Aligned = (Start + ChunkSize - 1) & ~(ChunkSize - 1);
        if (Aligned > Start) ::munmap(Raw, Aligned - Start);
        const std::uintptr_t Tail = Aligned + ChunkSize;
        const std::uintptr_t End = Start + 2 * ChunkSize;
        if (End > Tail) ::munmap(reinterpret_cast<void*>(Tail), End - Tail);
        void* Chunk = reinterpret_cast<void*>(Aligned);
        ::madvise(Chunk, ChunkSize, MADV_HUGEPAGE);
        return Chunk;
    }

    void NewChunk() {
        void* Chunk = MapChunk();
        if (!Chunk) {
            --FLive;
            throw std::bad_alloc();
        }
        TScopeGuard Unmap([this, Chunk] {
            ::munmap(Chunk, ChunkSize);
            --FLive;
        });
        FChunks.push_back(Chunk);
        Unmap.Dismiss();
        FNext = static_cast<char*>(Chunk);
        FEnd = FNext + (ChunkSize / SlotSize) * SlotSize;
    }

    void ReleaseAll() {
        for (void* Chunk : FChunks) ::munmap(Chunk, ChunkSize);
        FChunks.clear();
        FChunks.shrink_to_fit();
        FFree = nullptr;
        FNext = FEnd = nullptr;
    }

    std::atomic_flag FLock;
    TSlot* FFree = nullptr;
    char* FNext = nullptr;
    char* FEnd = nullptr;
    size_t FLive = 0;
    std::vector<void*> FChunks;
};

// Never destroyed: items of static objects may outlive any static pool.
TItemPool& Pool() {
    static TItemPool* Instance = new TItemPool;
    return *Instance;
}

} // namespace

void* TFolioItem::operator new(std::size_t Size) {
    if (!UsePool || Size != sizeof(TFolioItem)) return ::operator new(Size);
    return Pool().Allocate();
}

void TFolioItem::operator delete(void* Item, std::size_t Size) noexcept {
    if (!Item) return;
    if (!UsePool || Size != sizeof(TFolioItem)) {
        ::operator delete(Item);
        return;
    }
    Pool().Release(Item);
}

} // namespace folio
