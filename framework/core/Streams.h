#pragma once

#include "framework/core/Object.h"

#include <cstdint>
#include <cstring>

namespace folio {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write transfer what they can
// and return the count; ReadBuffer and WriteBuffer transfer exactly Count
// bytes or raise EReadError / EWriteError.
class TStream : public TObject {
    FOLIO_CLASS(TStream)
public:
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, soBeginning); }
    virtual std::int64_t GetSize();
    virtual void SetSize(std::int64_t NewSize);
    // Bytes between the position and the end.
    std::int64_t Remaining() { return GetSize() - GetPosition(); }

    void ReadBuffer(void* Buffer, std::int64_t Count) {
        if (Count == 0) return;
        const std::int64_t Done = Read(Buffer, Count);
        if (Done != Count) ReadError(Count, Done);
    }
    void WriteBuffer(const void* Buffer, std::int64_t Count) {
        if (Count == 0) return;
        const std::int64_t Done = Write(Buffer, Count);
        if (Done != Count) WriteError(Count, Done);
    }
    // Copies Count bytes from Source (all of it from the start when Count is 0).
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);

    [[noreturn]] static void ReadError();
    [[noreturn]] static void WriteError();
    // The same, saying how many bytes were wanted and how many moved.
    [[noreturn]] static void ReadError(std::int64_t Wanted, std::int64_t Done);
    [[noreturn]] static void WriteError(std::int64_t Wanted, std::int64_t Done);
};

// A stream in memory, growing as it is written.
class TMemoryStream final : public TStream {
    FOLIO_CLASS(TMemoryStream)
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    // The common case, a whole field inside the stream, is one copy of
    // exactly Count bytes: inlined with a constant count it becomes a single
    // move, where a clamped count would become a byte loop.
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        if (Count > 0 && Count <= FSize - FPosition) {
            std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(Count));
            FPosition += Count;
            return Count;
        }
        return ReadTail(Buffer, Count);
    }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
        if (Count > 0 && FPosition <= FSize && Count <= FCapacity - FPosition) {
            std::memcpy(FMemory + FPosition, Buffer, static_cast<size_t>(Count));
            FPosition += Count;
            if (FPosition > FSize) FSize = FPosition;
            return Count;
        }
        return WriteSlow(Buffer, Count);
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override { return FSize; }
    void SetSize(std::int64_t NewSize) override;

    void Clear();
    const char* Memory() const { return FMemory; }
    char* Memory() { return FMemory; }
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream);
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName);

private:
    std::int64_t ReadTail(void* Buffer, std::int64_t Count);
    std::int64_t WriteSlow(const void* Buffer, std::int64_t Count);
    void Grow(std::int64_t MinCapacity);
    void Release();
    [[noreturn]] static void OutOfMemory(std::int64_t Capacity);

    char* FMemory = nullptr;
    bool FMapped = false; // FMemory is a mapping of its own rather than heap memory
    std::int64_t FSize = 0;
    std::int64_t FPosition = 0;
    std::int64_t FCapacity = 0;
};

// File open modes.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmCreate = 0xFF00, // create, or empty an existing file, for reading and writing
};

// A stream on a file. Creating (fmCreate) makes a new file or empties an
// existing one; opening needs an existing file. A failure raises EFCreateError
// or EFOpenError naming the file and the system's reason. Reads and writes go
// through a buffer; Flush reports a failed write, the destructor cannot.
class TFileStream final : public TStream {
    FOLIO_CLASS(TFileStream)
public:
    TFileStream(const String& FileName, unsigned Mode);
    // Takes over Handle, a file already open for reading and writing under
    // FileName (a file made with O_EXCL, say); the stream closes it.
    TFileStream(int Handle, const String& FileName);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override;
    void SetSize(std::int64_t NewSize) override;
    // Writes buffered bytes to the file; raises EWriteError when it fails.
    void Flush();

    const String& FileName() const { return FFileName; }
    // The open file, for calls a stream does not offer (fsync, fchmod).
    int Handle() const { return FHandle; }

private:
    void AllocateBuffer();
    bool FlushWrites();

    String FFileName;
    int FHandle = -1;
    bool FWritable = true;
    std::int64_t FPosition = 0;
    // One buffer, used either as read-ahead (FReadLen bytes of the file from
    // FBufStart) or for pending writes (FWriteLen bytes due at FBufStart).
    char* FBuffer = nullptr;
    std::int64_t FBufStart = 0;
    std::int64_t FReadLen = 0;
    std::int64_t FWriteLen = 0;
};

} // namespace folio
