#pragma once

#include "framework/core/Streams.h"

#include <memory>

namespace folio {

/// A stream that replaces a file as a whole or not at all.
///
/// The bytes go to a new file beside FileName; Commit flushes it to the disk
/// and only then renames it over FileName, in one step. Until Commit
/// succeeds, a file that was there keeps its content, whatever fails on the
/// way (a full disk, a size limit, a crash); a stream that is destroyed
/// without a successful Commit removes its new file. The new file takes the
/// old one's permissions; a symbolic link is followed, so the file it names
/// is replaced and the link stays.
class TAtomicFileStream final : public TStream {
    FOLIO_CLASS(TAtomicFileStream)
public:
    /// Raises EFCreateError, naming FileName, when the new file cannot be
    /// made (a missing folder, no write permission, FileName a folder).
    explicit TAtomicFileStream(const String& FileName);
    /// Without a successful Commit, removes the new file: FileName stays as
    /// it was.
    ~TAtomicFileStream() override;
    TAtomicFileStream(const TAtomicFileStream&) = delete;
    TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override;
    void SetSize(std::int64_t NewSize) override;

    /// Puts the written bytes in FileName's place. Raises EWriteError when
    /// they cannot be flushed or the file cannot be replaced; the old file
    /// then stays as it was. After a Commit, writing
    /// moves no bytes and a second Commit, a seek or a resize raises EStreamError.
    void Commit();

private:
    String FFileName; // the file to replace, links followed
    String FTempName;
    std::unique_ptr<TFileStream> FFile;
};

} // namespace folio
