#include "framework/core/Streams.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace folio {

FOLIO_DEFINE_CLASS(TStream, TObject)
FOLIO_DEFINE_CLASS(TMemoryStream, TStream)
FOLIO_DEFINE_CLASS(TFileStream, TStream)

void TStream::ReadError() { throw EReadError(SReadError); }
void TStream::WriteError() { throw EWriteError(SWriteError); }

std::int64_t TStream::GetSize() {
    const std::int64_t Pos = Seek(0, soCurrent);
    const std::int64_t Size = Seek(0, soEnd);
    Seek(Pos, soBeginning);
    return Size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError(ClassName() + " cannot change its size"); }

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

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::Grow(std::int64_t MinCapacity) {
    std::int64_t NewCapacity = std::max<std::int64_t>(MinCapacity, FCapacity + FCapacity / 2);
    NewCapacity = std::max<std::int64_t>(NewCapacity, 256);
    char* NewMemory = static_cast<char*>(std::realloc(FMemory, static_cast<size_t>(NewCapacity)));
    if (!NewMemory) throw EOutOfResources("Out of memory while expanding a memory stream");
    FMemory = NewMemory;
    FCapacity = NewCapacity;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    std::int64_t Base = Origin == soBeginning ? 0 : Origin == soCurrent ? FPosition : FSize;
    const std::int64_t NewPosition = Base + Offset;
    if (NewPosition < 0) throw EStreamError("Seek before the start of a memory stream");
    FPosition = NewPosition;
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) throw EStreamError("A memory stream's size cannot be negative");
    if (NewSize > FCapacity) Grow(NewSize);
    FSize = NewSize;
    if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
    std::free(FMemory);
    FMemory = nullptr;
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
    if (Mode == fmCreate) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError(Format(SFCreateError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    } else {
        const int Access = (Mode & 3) == fmOpenWrite       ? O_WRONLY
                           : (Mode & 3) == fmOpenReadWrite ? O_RDWR
                                                           : O_RDONLY;
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
            throw EFOpenError(Format(SFOpenError, FileName.c_str(), SysErrorMessage(Error).c_str()));
    }
    FBuffer = static_cast<char*>(std::malloc(FileBufferSize));
    if (!FBuffer) {
        ::close(FHandle);
        throw EOutOfResources("Out of memory while opening \"" + FileName + "\"");
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
            const ssize_t N = ::pread(FHandle, Out + Done, static_cast<size_t>(Count - Done), FPosition);
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
    if (Count <= 0) return 0;
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
    const std::int64_t NewPosition = Base + Offset;
    if (NewPosition < 0) throw EStreamError("Seek before the start of \"" + FFileName + "\"");
    FPosition = NewPosition;
    return FPosition;
}

std::int64_t TFileStream::GetSize() {
    struct stat Info;
    if (::fstat(FHandle, &Info) != 0)
        throw EStreamError("Cannot read the size of \"" + FFileName + "\": " + SysErrorMessage(errno));
    return std::max<std::int64_t>(Info.st_size, FWriteLen ? FBufStart + FWriteLen : 0);
}

void TFileStream::SetSize(std::int64_t NewSize) {
    Flush();
    FReadLen = 0;
    if (::ftruncate(FHandle, NewSize) != 0)
        throw EStreamError("Cannot change the size of \"" + FFileName + "\": " + SysErrorMessage(errno));
    if (FPosition > NewSize) FPosition = NewSize;
}

} // namespace folio
