#include "fuzz/support/Scratch.h"

#include "framework/core/Streams.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace folio::fuzz {

namespace {

String Folder() {
    std::error_code Error;
    if (std::filesystem::is_directory("/dev/shm", Error) && access("/dev/shm", W_OK) == 0)
        return "/dev/shm";
    const char* Temp = std::getenv("TMPDIR");
    return Temp && *Temp ? Temp : "/tmp";
}

} // namespace

TScratchFiles::TScratchFiles(const char* Stem) {
    const String Base = Folder() + "/folio-fuzz-" + Stem + "-" + std::to_string(getpid());
    FInput = Base + ".in";
    FOutput = Base + ".out";
}

TScratchFiles::~TScratchFiles() {
    std::remove(FInput.c_str());
    std::remove(FOutput.c_str());
}

void TScratchFiles::WriteInput(const std::uint8_t* Data, std::size_t Size) const {
    TFileStream File(FInput, fmCreate);
    File.WriteBuffer(Data, static_cast<std::int64_t>(Size));
    File.Flush();
}

} // namespace folio::fuzz
