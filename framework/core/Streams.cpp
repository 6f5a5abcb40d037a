#include "framework/core/Streams.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folio {

FOLIO_DEFINE_CLASS(TStream, TObject)
FOLIO_DEFINE_CLASS(TMemoryStream, TStream)
FOLIO_DEFINE_CLASS(TFileStream, TStream)

void TStream::ReadError() {
    throw EReadError(SReadError);
}
void TStream::WriteError() {
    throw EWriteError(SWriteError);
}

void TStream::ReadError(std::int64_t Wanted, std::int64_t Done) {
    throw EReadError(Format("%s: %lld bytes wanted, only %lld left before the end of the stream",
                            SReadError, static_cast<long long>(Wanted),
                            static_cast<long long>(Done)));
}

void TStream::WriteError(std::int64_t Wanted, std::int64_t Done) {
    throw EWriteError(Format("%s: %lld bytes to write, %lld written", SWriteError,
                             static_cast<long long>(Wanted), static_cast<long long>(Done)));
}

std::int64_t TStream::GetSize() {
    const std::int64_t Pos = Seek(0, soCurrent);
    const std::int64_t Size = Seek(0, soEnd);
    Seek(Pos, soBeginning);
    return Size;
}

void TStream::SetSize(std::int64_t) {
    throw EStreamError(ClassName() + " cannot change its size");
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count) {
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.GetSize();
    }
    char Buffer[65536];
    std::int64_t Left = Count;
    while (Left > 0) {
        const std::int64_t N = std::min<std::int64_t>(Left, sizeof Buffer);
        Source.ReadBuffer(Buffer, N);
        WriteBuffer(Buffer, N);
        Left -= N;
    }
    return Count;
}

// --- TMemoryStream -------------------------------------------------------

namespace {

// Filling a fresh buffer costs a page fault per 4 KiB page, which on a
// virtual machine can cost more than the writes themselves. A large stream
// therefore lives in its own mapping, aligned and advised for 2 MiB pages, and
// grows with mremap, which moves the pages instead of copying the bytes.
constexpr std::int64_t HugePage = std::int64_t{2} << 20;
constexpr std::int64_t MappedThreshold = 2 * HugePage;

char* MapAligned(std::int64_t Size) {
    const size_t Length = static_cast<size_t>(Size + HugePage);
    void* Raw = ::mmap(nullptr, Length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Raw == MAP_FAILED) return nullptr;
    char* Start = static_cast<char*>(Raw);
    const auto Address = reinterpret_cast<std::uintptr_t>(Start);
    const auto Mask = static_cast<std::uintptr_t>(HugePage - 1);
    char* Aligned = Start + (((Address + Mask) & ~Mask) - Address);
    if (Aligned > Start) ::munmap(Start, static_cast<size_t>(Aligned - Start));
    char* End = Aligned + Size;
    if (Start + Length > End) ::munmap(End, static_cast<size_t>(Start + Length - End));
    ::madvise(Aligned, static_cast<size_t>(Size), MADV_HUGEPAGE);
    return Aligned;
}

} // namespace

TMemoryStream::~TMemoryStream() {
    Release();
}

void TMemoryStream::Release() {
    if (FMapped)
        ::munmap(FMemory, static_cast<size_t>(FCapacity));
    else
        std::free(FMemory);
    FMemory = nullptr;
    FMapped = false;
}

void TMemoryStream::Grow(std::int64_t MinCapacity) {
    std::int64_t NewCapacity = std::max<std::int64_t>(MinCapacity, FCapacity + FCapacity / 2);
    NewCapacity = std::max<std::int64_t>(NewCapacity, 256);
    if (NewCapacity < MappedThreshold) {
        char* NewMemory =
            static_cast<char*>(std::realloc(FMemory, static_cast<size_t>(NewCapacity)));
        if (!NewMemory) OutOfMemory(NewCapacity);
        FMemory = NewMemory;
        FCapacity = NewCapacity;
        return;
    }
    if (NewCapacity > INT64_MAX - HugePage) OutOfMemory(NewCapacity);
    NewCapacity = (NewCapacity + HugePage - 1) / HugePage * HugePage;
    char* NewMemory = nullptr;
    if (FMapped) {
        void* Moved = ::mremap(FMemory, static_cast<size_t>(FCapacity),
                               static_cast<size_t>(NewCapacity), MREMAP_MAYMOVE);
        if (Moved == MAP_FAILED) OutOfMemory(NewCapacity);
        NewMemory = static_cast<char*>(Moved);
        ::madvise(NewMemory, static_cast<size_t>(NewCapacity), MADV_HUGEPAGE);
    } else {
        NewMemory = MapAligned(NewCapacity);
        if (!NewMemory) OutOfMemory(NewCapacity);
        if (FSize) std::memcpy(NewMemory, FMemory, static_cast<size_t>(FSize));
        std::free(FMemory);
    }
    FMemory = NewMemory;
    FCapacity = NewCapacity;
    FMapped = true;
}

void TMemoryStream::OutOfMemory(std::int64_t Capacity) {
    throw EOutOfResources(Format("Out of memory while expanding a memory stream to %lld bytes",
                                 static_cast<long long>(Capacity)));
}

std::int64_t TMemoryStream::ReadTail(void* Buffer, std::int64_t Count) {
    if (Count <= 0) return 0;
    const std::int64_t Available = FSize - FPosition;
    if (Available <= 0) return 0;
    if (Count > Available) Count = Available;
    std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(Count));
    FPosition += Count;
    return Count;
}

std::int64_t TMemoryStream::WriteSlow(const void* Buffer, std::int64_t Count) {
    if (Count <= 0 || Count > INT64_MAX - FPosition) return 0;
    const std::int64_t End = FPosition + Count;
    if (End > FCapacity) Grow(End);
    // A write after a seek past the end leaves a gap, which reads as zeros
    // rather than as whatever the allocator left there.
    if (FPosition > FSize) std::memset(FMemory + FSize, 0, static_cast<size_t>(FPosition - FSize));
    std::memcpy(FMemory + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = End;
    if (End > FSize) FSize = End;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
    std::int64_t NewPosition = 0;
    if (__builtin_add_overflow(Base, Offset, &NewPosition))
        throw EStreamError("Seek beyond the largest position of a memory stream");
    if (NewPosition < 0) throw EStreamError("Seek before the start of a memory stream");
    FPosition = NewPosition;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError("A memory stream's size cannot be negative");
    if (NewSize > FCapacity) Grow(NewSize);
    if (NewSize > FSize) std::memset(FMemory + FSize, 0, static_cast<size_t>(NewSize - FSize));
    FSize = NewSize;
    if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
    Release();
    FSize = FPosition = FCapacity = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
    Stream.SetPosition(0);
    const std::int64_t Count = Stream.GetSize();
    SetSize(Count);
    if (Count) Stream.ReadBuffer(FMemory, Count);
    FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& Stream) {
    if (FSize) Stream.WriteBuffer(FMemory, FSize);
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream File(FileName, fmOpenRead);
    LoadFromStream(File);
}

void TMemoryStream::SaveToFile(const String& FileName) {
    TFileStream File(FileName, fmCreate);
    SaveToStream(File);
    File.Flush();
}

// --- TFileStream ---------------------------------------------------------

namespace {
constexpr std::int64_t FileBufferSize = 65536;
}

TFileStream::TFileStream(const String& FileName, unsigned Mode) : FFileName(FileName) {
    if ((Mode & fmCreate) == fmCreate) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(
                Format(SFCreateError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    } else {
        const int Access = (Mode & 3) == fmOpenWrite       ? O_WRONLY
                           : (Mode & 3) == fmOpenReadWrite ? O_RDWR
                                                           : O_RDONLY;
        FWritable = Access != O_RDONLY;
        FHandle = ::open(FileName.c_str(), Access | O_CLOEXEC);
        int Error = errno;
        if (FHandle >= 0) {
            struct stat Info;
            if (::fstat(FHandle, &Info) == 0 && S_ISDIR(Info.st_mode)) {
                ::close(FHandle);
                FHandle = -1;
                Error = EISDIR;
            }
        }
        if (FHandle < 0)
            throw EFOpenError(
                Format(SFOpenError, FileName.c_str(), SysErrorMessage(Error).c_str()));
    }
    AllocateBuffer();
}

TFileStream::TFileStream(int Handle, const String& FileName)
    : FFileName(FileName), FHandle(Handle) {
    AllocateBuffer();
}

void TFileStream::AllocateBuffer() {
    FBuffer = static_cast<char*>(std::malloc(FileBufferSize));
    if (!FBuffer) {
        ::close(FHandle);
        throw EOutOfResources("Out of memory while opening \"" + FFileName + "\"");
    }
}

TFileStream::~TFileStream() {
    FlushWrites();
    ::close(FHandle);
    std::free(FBuffer);
}

bool TFileStream::FlushWrites() {
    std::int64_t Done = 0;
    while (Done < FWriteLen) {
        const ssize_t N = ::pwrite(FHandle, FBuffer + Done, static_cast<size_t>(FWriteLen - Done),
                                   FBufStart + Done);
        if (N < 0 && errno == EINTR) continue;
        if (N <= 0) {
            FWriteLen = 0;
            return false;
        }
        Done += N;
    }
    FWriteLen = 0;
    return true;
}

void TFileStream::Flush() {
    if (!FlushWrites()) WriteError();
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count) {
    if (Count <= 0) return 0;
    if (FWriteLen && !FlushWrites()) WriteError();
    char* Out = static_cast<char*>(Buffer);
    std::int64_t Done = 0;
    while (Done < Count) {
        if (FPosition >= FBufStart && FPosition < FBufStart + FReadLen) {
            const std::int64_t N = std::min(Count - Done, FBufStart + FReadLen - FPosition);
            std::memcpy(Out + Done, FBuffer + (FPosition - FBufStart), static_cast<size_t>(N));
            Done += N;
            FPosition += N;
            continue;
        }
        if (Count - Done >= FileBufferSize) {
            const ssize_t N =
                ::pread(FHandle, Out + Done, static_cast<size_t>(Count - Done), FPosition);
            if (N < 0 && errno == EINTR) continue;
            if (N <= 0) break;
            Done += N;
            FPosition += N;
            continue;
        }
        const ssize_t N = ::pread(FHandle, FBuffer, FileBufferSize, FPosition);
        if (N < 0 && errno == EINTR) continue;
        FBufStart = FPosition;
        FReadLen = N > 0 ? N : 0;
        if (N <= 0) break;
    }
    return Done;
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count) {
    // A stream opened for reading refuses at once: buffering the bytes would
    // report success and lose them at the flush.
    if (Count <= 0 || !FWritable || Count > INT64_MAX - FPosition) return 0;
    FReadLen = 0;
    if (FWriteLen && FPosition != FBufStart + FWriteLen && !FlushWrites()) return 0;
    if (FWriteLen == 0) FBufStart = FPosition;
    const char* In = static_cast<const char*>(Buffer);
    std::int64_t Done = 0;
    while (Done < Count) {
        const std::int64_t N = std::min(Count - Done, FileBufferSize - FWriteLen);
        std::memcpy(FBuffer + FWriteLen, In + Done, static_cast<size_t>(N));
        FWriteLen += N;
        Done += N;
        FPosition += N;
        if (FWriteLen == FileBufferSize) {
            if (!FlushWrites()) return Done - N;
            FBufStart = FPosition;
        }
    }
    return Done;
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t Base = FPosition;
    if (Origin == soBeginning) Base = 0;
    if (Origin == soEnd) Base = GetSize();
    std::int64_t NewPosition = 0;
    if (__builtin_add_overflow(Base, Offset, &NewPosition))
        throw EStreamError("Seek beyond the largest position of \"" + FFileName + "\"");
    if (NewPosition < 0) throw EStreamError("Seek before the start of \"" + FFileName + "\"");
    FPosition = NewPosition;
    return FPosition;
}

std::int64_t TFileStream::GetSize() {
    struct stat Info;
    if (::fstat(FHandle, &Info) != 0)
        throw EStreamError("Cannot read the size of \"" + FFileName +
                           "\": " + SysErrorMessage(errno));
    return std::max<std::int64_t>(Info.st_size, FWriteLen ? FBufStart + FWriteLen : 0);
}

void TFileStream::SetSize(std::int64_t NewSize) {
    Flush();
    FReadLen = 0;
    if (::ftruncate(FHandle, NewSize) != 0)
        throw EStreamError("Cannot change the size of \"" + FFileName +
                           "\": " + SysErrorMessage(errno));
    if (FPosition > NewSize) FPosition = NewSize;
}

} // namespace folio
