#pragma once

#include "framework/core/Object.h"

#include <cstdint>
#include <cstring>

namespace folio {

/// What a stream's Seek offset counts from: the start, the position, the end.
enum TSeekOrigin { soBeginning, soCurrent, soEnd };

/// A sequence of bytes with a position. Read and Write transfer what they can
/// and return the count; ReadBuffer and WriteBuffer transfer exactly Count
/// bytes or raise EReadError / EWriteError.
class TStream : public TObject {
    FOLIO_CLASS(TStream)
public:
    /// Reads up to Count bytes at the position into Buffer and moves past
    /// them; answers how many were read (0 at the end).
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    /// Writes up to Count bytes from Buffer at the position and moves past
    /// them; answers how many were written.
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    /// Moves the position to Offset bytes from Origin and answers the new
    /// position; a position before the start raises EStreamError.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    ///@{
    /// The position, in bytes from the start, where the next read or write
    /// happens.
    std::int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, soBeginning); }
    ///@}
    /// The stream's length in bytes. The base seeks to the end and back.
    virtual std::int64_t GetSize();
    /// Makes the stream NewSize bytes long; the base raises EStreamError,
    /// for streams whose size cannot change.
    virtual void SetSize(std::int64_t NewSize);
    /// Bytes between the position and the end.
    std::int64_t Remaining() { return GetSize() - GetPosition(); }

    /// Reads exactly Count bytes into Buffer, or raises EReadError saying how
    /// many were wanted and how many were left.
    void ReadBuffer(void* Buffer, std::int64_t Count) {
        if (Count == 0) return;
        const std::int64_t Done = Read(Buffer, Count);
        if (Done != Count) ReadError(Count, Done);
    }
    /// Writes exactly Count bytes from Buffer, or raises EWriteError saying
    /// how many were written.
    void WriteBuffer(const void* Buffer, std::int64_t Count) {
        if (Count == 0) return;
        const std::int64_t Done = Write(Buffer, Count);
        if (Done != Count) WriteError(Count, Done);
    }
    /// Copies Count bytes from Source's position (all of Source, from its
    /// start, when Count is 0) and answers the count; a short Source raises
    /// EReadError.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);

    ///@{
    /// Raise EReadError or EWriteError with the stream's standard message.
    [[noreturn]] static void ReadError();
    [[noreturn]] static void WriteError();
    ///@}
    ///@{
    /// The same, saying how many bytes were wanted and how many moved.
    [[noreturn]] static void ReadError(std::int64_t Wanted, std::int64_t Done);
    [[noreturn]] static void WriteError(std::int64_t Wanted, std::int64_t Done);
    ///@}
};

/// A stream in memory, growing as it is written. A write past the end after
/// a seek fills the gap with zeros; running out of memory raises
/// EOutOfResources.
class TMemoryStream final : public TStream {
    FOLIO_CLASS(TMemoryStream)
public:
    /// An empty stream.
    TMemoryStream() = default;
    /// Frees the memory.
    ~TMemoryStream() override;
    TMemoryStream(const TMemoryStream&) = delete;
    TMemoryStream& operator=(const TMemoryStream&) = delete;

    // The common case, a whole field inside the stream, is one copy of
    // exactly Count bytes: inlined with a constant count it becomes a single
    // move, where a clamped count would become a byte loop.
    /// Reads up to Count bytes, fewer near the end; answers the count.
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        if (Count > 0 && Count <= FSize - FPosition) {
            std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(Count));
            FPosition += Count;
            return Count;
        }
        return ReadTail(Buffer, Count);
    }
    /// Writes Count bytes, growing the stream as needed; answers Count (0 when
    /// Count is not positive).
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
        if (Count > 0 && FPosition <= FSize && Count <= FCapacity - FPosition) {
            std::memcpy(FMemory + FPosition, Buffer, static_cast<size_t>(Count));
            FPosition += Count;
            if (FPosition > FSize) FSize = FPosition;
            return Count;
        }
        return WriteSlow(Buffer, Count);
    }
    /// Moves the position; past the end is allowed (a later write fills the
    /// gap with zeros), before the start or an overflow raises EStreamError.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    /// The number of bytes held.
    std::int64_t GetSize() override { return FSize; }
    /// Grows the stream with zeros or cuts it, pulling the position back to
    /// the new end; a negative size raises EStreamError.
    void SetSize(std::int64_t NewSize) override;

    /// Frees the memory: size, position and capacity become 0.
    void Clear();
    ///@{
    /// The stream's bytes (GetSize of them), valid until the next write or
    /// resize; null while the stream has never held any.
    const char* Memory() const { return FMemory; }
    char* Memory() { return FMemory; }
    ///@}
    /// Replaces the contents with all of Stream, from its start, and puts the
    /// position at 0.
    void LoadFromStream(TStream& Stream);
    /// Writes all the bytes to Stream at its position (this stream's position
    /// does not matter or move).
    void SaveToStream(TStream& Stream);
    /// Replaces the contents with the file's; raises EFOpenError when it
    /// cannot be opened.
    void LoadFromFile(const String& FileName);
    /// Writes the bytes to the file, made or emptied first; raises
    /// EFCreateError or EWriteError.
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

/// File open modes of TFileStream.
enum : unsigned {
    fmOpenRead = 0x0000,      ///< an existing file, for reading only
    fmOpenWrite = 0x0001,     ///< an existing file, for writing only
    fmOpenReadWrite = 0x0002, ///< an existing file, for reading and writing
    fmCreate = 0xFF00,        ///< create, or empty an existing file, for reading and writing
};

/// A stream on a file. Creating (fmCreate) makes a new file or empties an
/// existing one; opening needs an existing file. A failure raises EFCreateError
/// or EFOpenError naming the file and the system's reason. Reads and writes go
/// through a buffer; Flush reports a failed write, the destructor cannot.
class TFileStream final : public TStream {
    FOLIO_CLASS(TFileStream)
public:
    /// Opens or creates FileName in Mode (one of the fm* modes); a
    /// directory cannot be opened.
    TFileStream(const String& FileName, unsigned Mode);
    /// Takes over Handle, a file already open for reading and writing under
    /// FileName (a file made with O_EXCL, say); the stream closes it.
    TFileStream(int Handle, const String& FileName);
    /// Writes what is buffered (a failure is lost: call Flush first to see
    /// it) and closes the file.
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    /// Reads up to Count bytes, fewer at the end of the file; writes still
    /// buffered are flushed first (a failure raises EWriteError).
    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    /// Buffers Count bytes, writing the buffer out as it fills; answers 0 for
    /// a stream opened for reading only, and fewer than Count when the file
    /// refuses a write.
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    /// Moves the position; past the end is allowed, before the start or an
    /// overflow raises EStreamError naming the file.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    /// The file's length, counting bytes still buffered; raises EStreamError
    /// when the system cannot tell it.
    std::int64_t GetSize() override;
    /// Flushes, then cuts or extends the file (with zeros); raises
    /// EWriteError or EStreamError naming the file.
    void SetSize(std::int64_t NewSize) override;
    /// Writes buffered bytes to the file; raises EWriteError when it fails.
    void Flush();

    /// The name the stream was opened with.
    const String& FileName() const { return FFileName; }
    /// The open file, for calls a stream does not offer (fsync, fchmod).
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
