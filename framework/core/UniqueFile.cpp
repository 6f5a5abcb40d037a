#include "framework/core/UniqueFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include <fcntl.h>
#include <unistd.h>

namespace folio {

namespace {

constexpr std::string_view Infix = ".saving-";
constexpr size_t Digits = 16;

// Sixty-four bits nobody else can guess. The kernel's entropy is the source;
// should it be missing, the process, a counter and the clock still make the
// name new within this machine, and O_EXCL keeps it safe either way.
std::uint64_t RandomBits() {
    std::uint64_t Bits = 0;
    if (::getentropy(&Bits, sizeof Bits) == 0) return Bits;
    static std::atomic<std::uint64_t> Counter{0};
    const auto Now = std::chrono::steady_clock::now().time_since_epoch().count();
    return (static_cast<std::uint64_t>(::getpid()) << 40) ^ (Counter.fetch_add(1) << 20) ^
           static_cast<std::uint64_t>(Now);
}

String HexDigits(std::uint64_t Bits) {
    String Text(Digits, '0');
    for (size_t I = Digits; I-- > 0; Bits >>= 4) Text[I] = "0123456789abcdef"[Bits & 15];
    return Text;
}

} // namespace

TUniqueFile CreateUniqueFile(int Folder, const String& Base, mode_t Mode) {
    TUniqueFile File;
    // A name is taken only by chance or by someone guessing at it; either
    // way a few more tries find a free one, and a folder that refuses all of
    // them is reported.
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        File.Name = Base;
        File.Name.append(Infix).append(HexDigits(RandomBits()));
        File.Handle = ::openat(Folder, File.Name.c_str(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, Mode);
        if (File.Handle >= 0) return File;
        File.Error = errno;
        if (File.Error != EEXIST && File.Error != EINTR) break;
    }
    File.Name.clear();
    return File;
}

bool IsUniqueFileOf(std::string_view Name, std::string_view Base) {
    if (Name.size() != Base.size() + Infix.size() + Digits || !Name.starts_with(Base)) return false;
    Name.remove_prefix(Base.size());
    if (!Name.starts_with(Infix)) return false;
    Name.remove_prefix(Infix.size());
    for (const char C : Name)
        if (!((C >= '0' && C <= '9') || (C >= 'a' && C <= 'f'))) return false;
    return true;
}

} // namespace folio
