#pragma once

// Files of one process for targets whose reader takes a file name, removed
// when the process ends. They live in memory (/dev/shm) where it exists:
// rewriting a file on disk for every input waits for the disk.

#include "framework/core/Types.h"

#include <cstddef>
#include <cstdint>

namespace folio::fuzz {

class TScratchFiles {
public:
    explicit TScratchFiles(const char* Stem);
    ~TScratchFiles();
    TScratchFiles(const TScratchFiles&) = delete;
    TScratchFiles& operator=(const TScratchFiles&) = delete;

    // Where the target writes its input, and a second file for its output.
    const String& Input() const { return FInput; }
    const String& Output() const { return FOutput; }
    void WriteInput(const std::uint8_t* Data, std::size_t Size) const;

private:
    String FInput;
    String FOutput;
};

} // namespace folio::fuzz
