// New files under names nobody can take first: what happens when a name the
// random bits give is already taken by a planted link or file, for the
// helper itself and for the two savers that use it.

#include "framework/core/UniqueFile.h"

#include "RegistryTestFolder.h"
#include "framework/core/AtomicFile.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Registry.h"
#include "framework/core/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace folio;
namespace fs = std::filesystem;

namespace {

// While a test fixes them, the random bits names are made from are known:
// NextBits, then one more for every later name (or always the same ones
// when Step is 0), so the test can plant something under the next name.
std::atomic<bool> BitsFixed{false};
std::atomic<std::uint64_t> NextBits{0};
std::atomic<std::uint64_t> Step{1};

class TFixedBits {
public:
    TFixedBits(std::uint64_t First, std::uint64_t Increment) {
        NextBits = First;
        Step = Increment;
        BitsFixed = true;
    }
    ~TFixedBits() { BitsFixed = false; }
};

std::string NameFor(const std::string& Base, std::uint64_t Bits) {
    return Base + Format(".saving-%016llx", static_cast<unsigned long long>(Bits));
}

} // namespace

// This program's getentropy comes before the C library's, so the helper's
// calls reach it; it passes on every call while no test fixes the bits.
extern "C" int getentropy(void* Buffer, size_t Length) noexcept {
    if (BitsFixed && Length == sizeof(std::uint64_t)) {
        const std::uint64_t Bits = NextBits.fetch_add(Step);
        std::memcpy(Buffer, &Bits, Length);
        return 0;
    }
    using TGetEntropy = int (*)(void*, size_t);
    static const auto Real = reinterpret_cast<TGetEntropy>(::dlsym(RTLD_NEXT, "getentropy"));
    return Real(Buffer, Length);
}

TEST(UniqueFile, NamesAreRecognisedOnlyExactly) {
    const fs::path Folder = fs::path(::testing::TempDir()) / Format("folio_unique_%d", ::getpid());
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    const std::string Base = (Folder / "data").string();
    const TUniqueFile Made = CreateUniqueFile(AT_FDCWD, Base, 0600);
    ASSERT_GE(Made.Handle, 0) << SysErrorMessage(Made.Error);
    ::close(Made.Handle);
    const std::string Name = fs::path(Made.Name).filename();
    EXPECT_TRUE(IsUniqueFileOf(Name, "data"));
    const TUniqueFile Other = CreateUniqueFile(AT_FDCWD, Base, 0600);
    ASSERT_GE(Other.Handle, 0);
    ::close(Other.Handle);
    EXPECT_NE(Other.Name, Made.Name);

    struct TCase {
        const char* Name;
        bool Matches;
    } Cases[] = {
        {"data.saving-0123456789abcdef", true},
        {"data.saving-0123456789abcdeF", false}, // the digits are lower case
        {"data.saving-0123456789abcde", false},
        {"data.saving-0123456789abcdef0", false},
        {"data.saving-0123456789abcdeg", false},
        {"datb.saving-0123456789abcdef", false},
        {"data.savin-g0123456789abcdef", false},
        {"data.new", false},
        {"xdata.saving-0123456789abcdef", false},
        {"data", false},
    };
    for (const TCase& Case : Cases)
        EXPECT_EQ(IsUniqueFileOf(Case.Name, "data"), Case.Matches) << Case.Name;
    fs::remove_all(Folder);
}

TEST(UniqueFile, ANamePlantedAheadIsPassedOverAndNothingIsFollowed) {
    const fs::path Folder = fs::path(::testing::TempDir()) / Format("folio_planted_%d", ::getpid());
    const std::string Victim = (Folder / "victim").string();
    const std::string Absent = (Folder / "absent").string();
    const std::string Base = (Folder / "data").string();
    constexpr std::uint64_t Guessed = 0x0123456789abcdefULL;
    // The three ways to plant something under the name the helper will try.
    const auto PlantLinkToVictim = [&](const std::string& At) {
        return ::symlink(Victim.c_str(), At.c_str());
    };
    const auto PlantLinkToAbsent = [&](const std::string& At) {
        return ::symlink(Absent.c_str(), At.c_str());
    };
    const auto PlantFile = [&](const std::string& At) {
        const int Handle = ::open(At.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        return Handle < 0 ? -1 : ::close(Handle);
    };
    using TPlant = std::function<int(const std::string&)>;
    struct TCase {
        const char* What;
        TPlant Plant;
    } Cases[] = {
        {"a link to a file", PlantLinkToVictim},
        {"a link to nothing", PlantLinkToAbsent},
        {"a file", PlantFile},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.What);
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        { std::ofstream(Victim) << "the victim's own text"; }
        const std::string Planted = NameFor(Base, Guessed);
        ASSERT_EQ(Case.Plant(Planted), 0);

        {
            const TFixedBits Bits(Guessed, 1);
            const TUniqueFile Made = CreateUniqueFile(AT_FDCWD, Base, 0600);
            ASSERT_GE(Made.Handle, 0) << SysErrorMessage(Made.Error);
            EXPECT_EQ(Made.Name, NameFor(Base, Guessed + 1));
            ASSERT_EQ(::write(Made.Handle, "mine", 4), 4);
            ::close(Made.Handle);
            ::unlink(Made.Name.c_str());
        }
        {
            // A whole save through the stream that replaces files.
            const TFixedBits Bits(Guessed, 1);
            TAtomicFileStream Stream(Base);
            Stream.WriteBuffer("saved", 5);
            Stream.Commit();
        }
        std::ifstream In(Base);
        std::string Saved;
        In >> Saved;
        EXPECT_EQ(Saved, "saved");
        std::ifstream VictimIn(Victim);
        std::string VictimText;
        std::getline(VictimIn, VictimText);
        EXPECT_EQ(VictimText, "the victim's own text");
        EXPECT_FALSE(fs::exists(Absent));
        // What was planted is still there, untouched.
        EXPECT_TRUE(fs::exists(fs::symlink_status(Planted)));
    }
    fs::remove_all(Folder);
}

TEST(UniqueFile, AFolderWhereEveryNameIsTakenIsReportedNotLoopedOn) {
    const fs::path Folder = fs::path(::testing::TempDir()) / Format("folio_taken_%d", ::getpid());
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    const std::string Base = (Folder / "data").string();
    constexpr std::uint64_t Always = 42;
    ASSERT_EQ(::symlink("/nowhere", NameFor(Base, Always).c_str()), 0);
    const TFixedBits Bits(Always, 0);
    const TUniqueFile Made = CreateUniqueFile(AT_FDCWD, Base, 0600);
    EXPECT_EQ(Made.Handle, -1);
    EXPECT_EQ(Made.Error, EEXIST);
    try {
        TAtomicFileStream Stream(Base);
        ADD_FAILURE() << "a stream was made";
    } catch (const EFCreateError& E) {
        EXPECT_NE(E.Message().find(Base), std::string::npos) << E.Message();
    }
    EXPECT_FALSE(fs::exists(Base));
    fs::remove_all(Folder);
}

// The registry store removes a leftover under its pattern before it saves,
// so a link planted under the next name is gone before that name is tried.
TEST_F(RegistryTest, ALinkPlantedUnderTheNextNameOfASaveIsNotFollowed) {
    const std::string Victim = Folder + "/victim";
    WriteBytes(Victim, "the victim's own text");
    TRegistry().CreateKey("\\First"); // makes the folder
    ASSERT_TRUE(fs::is_directory(Folder + "/store"));
    constexpr std::uint64_t Guessed = 0xfeedface00000000ULL;
    const std::string Planted = NameFor(StoreFile(), Guessed);
    ASSERT_EQ(::symlink(Victim.c_str(), Planted.c_str()), 0);
    {
        const TFixedBits Bits(Guessed, 0);
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\Second", true));
        Reg.WriteInteger("v", 2);
        Reg.CloseKey();
    }
    EXPECT_EQ(ReadBytes(Victim), "the victim's own text");
    EXPECT_FALSE(fs::is_symlink(StoreFile()));
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\Second", false));
    EXPECT_EQ(Reg.ReadInteger("v"), 2);
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}
