// The registry's file store: atomic replacement, crashes in the middle of a
// save, writers in several processes, damaged and oversized files.

#include "framework/core/Registry.h"

#include "RegistryTestFolder.h"
#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace folio;

namespace {

// What the next rename does. The store replaces its file by a rename, so a
// save can be stopped here, after the new text is written and flushed and
// before it takes the old file's place.
enum TRenameMode { rmPass, rmFail, rmKill };
volatile std::sig_atomic_t RenameMode = rmPass;

} // namespace

// This program's own rename comes before the C library's, so the store's
// calls reach it.
extern "C" int rename(const char* Old, const char* New) noexcept {
    if (RenameMode == rmFail) {
        errno = EIO;
        return -1;
    }
    if (RenameMode == rmKill) ::kill(::getpid(), SIGKILL);
    using TRename = int (*)(const char*, const char*);
    static const auto Real = reinterpret_cast<TRename>(::dlsym(RTLD_NEXT, "rename"));
    return Real(Old, New);
}

namespace {

void SaveValue(const std::string& Key, const std::string& Name, int Value) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(Key, true));
    Reg.WriteInteger(Name, Value);
    Reg.CloseKey();
}

int ReadValue(const std::string& Key, const std::string& Name) {
    TRegistry Reg;
    if (!Reg.OpenKey(Key, false)) return -1;
    return Reg.ReadInteger(Name);
}

bool Exists(const std::string& Path) {
    return std::filesystem::exists(Path);
}

// Runs Body in a child process and returns its wait status. The child never
// returns into the test framework.
template <class F>
pid_t StartChild(F Body) {
    const pid_t Child = ::fork();
    if (Child == 0) {
        int Code = 0;
        try {
            Body();
        } catch (...) {
            Code = 2;
        }
        ::_exit(Code);
    }
    return Child;
}

int WaitChild(pid_t Child) {
    int Status = 0;
    EXPECT_EQ(::waitpid(Child, &Status, 0), Child);
    return Status;
}

} // namespace

TEST_F(RegistryTest, FilesArePrivateAndReplacedWhole) {
    SaveValue("\\Old", "v", 1);
    struct stat Info;
    ASSERT_EQ(::stat(StoreFile().c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((Folder + "/store").c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0700u);
    const ino_t OldFile = [&] {
        ::stat(StoreFile().c_str(), &Info);
        return Info.st_ino;
    }();
    std::filesystem::create_hard_link(StoreFile(), Folder + "/old-link");
    SaveValue("\\Old", "v", 2);
    // The old file was never written into: a new one took its name.
    EXPECT_EQ(ReadValue("\\Old", "v"), 2);
    ASSERT_EQ(::stat((Folder + "/old-link").c_str(), &Info), 0);
    EXPECT_EQ(Info.st_ino, OldFile);
    EXPECT_NE(ReadBytes(Folder + "/old-link").find("dword:00000001"), std::string::npos);
    EXPECT_FALSE(Exists(StoreFile() + ".new"));
}

TEST_F(RegistryTest, AFailedRenameLeavesTheOldFileAndKeepsTheChanges) {
    SaveValue("\\Old", "v", 1);
    const std::string Before = ReadBytes(StoreFile());
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\New", true));
    Reg.WriteInteger("v", 2);
    RenameMode = rmFail;
    try {
        Reg.CloseKey();
        ADD_FAILURE() << "the failed rename was not reported";
    } catch (const ERegistryException& E) {
        EXPECT_NE(E.Message().find(StoreFile()), std::string::npos) << E.Message();
    }
    RenameMode = rmPass;
    EXPECT_EQ(ReadBytes(StoreFile()), Before);
    EXPECT_FALSE(Exists(StoreFile() + ".new"));
    EXPECT_EQ(ReadValue("\\New", "v"), -1);
    // The object still holds its change; closing again writes it.
    Reg.CloseKey();
    EXPECT_EQ(ReadValue("\\New", "v"), 2);
    EXPECT_EQ(ReadValue("\\Old", "v"), 1);
}

TEST_F(RegistryTest, AProcessKilledBetweenWriteAndRenameLeavesTheOldFile) {
    SaveValue("\\Old", "v", 1);
    const std::string Before = ReadBytes(StoreFile());
    const pid_t Child = StartChild([] {
        RenameMode = rmKill;
        TRegistry Reg;
        Reg.OpenKey("\\New", true);
        Reg.WriteInteger("v", 2);
        Reg.CloseKey();
    });
    const int Status = WaitChild(Child);
    ASSERT_TRUE(WIFSIGNALED(Status));
    EXPECT_EQ(WTERMSIG(Status), SIGKILL);
    // The child got as far as a complete new file beside the old one.
    EXPECT_NE(ReadBytes(StoreFile() + ".new").find("[New]"), std::string::npos);
    EXPECT_EQ(ReadBytes(StoreFile()), Before);
    EXPECT_EQ(ReadValue("\\Old", "v"), 1);
    EXPECT_EQ(ReadValue("\\New", "v"), -1);
    // The dead process's lock went with it, and its leftover is replaced.
    SaveValue("\\Later", "v", 3);
    EXPECT_EQ(ReadValue("\\Later", "v"), 3);
    EXPECT_FALSE(Exists(StoreFile() + ".new"));
}

TEST_F(RegistryTest, KillingAWriterAtAnyMomentLeavesOneWholeSave) {
    // The writer sets all its values to the number of the save; a file with
    // two different numbers would be a mix of two saves.
    constexpr int Values = 40;
    std::mt19937 Random(1234);
    int Highest = 0;
    for (int Round = 0; Round < 8; ++Round) {
        SCOPED_TRACE(Round);
        const pid_t Child = StartChild([&] {
            for (int Save = Highest + 1;; ++Save) {
                TRegistry Reg;
                Reg.OpenKey("\\Counter", true);
                for (int V = 0; V < Values; ++V) Reg.WriteInteger("v" + std::to_string(V), Save);
                Reg.CloseKey();
            }
        });
        // The first writer lives until its first save is whole: a child
        // under a sanitizer on a busy machine may take longer than any of
        // the short lives below to get there. Later ones die at any moment.
        const auto GiveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!Exists(StoreFile()) && std::chrono::steady_clock::now() < GiveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + Random() % 40));
        ::kill(Child, SIGKILL);
        const int Status = WaitChild(Child);
        ASSERT_TRUE(WIFSIGNALED(Status)) << "the writer stopped by itself: " << Status;
        if (!Exists(StoreFile())) continue;
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\Counter", false));
        const int First = Reg.ReadInteger("v0");
        for (int V = 1; V < Values; ++V) EXPECT_EQ(Reg.ReadInteger("v" + std::to_string(V)), First);
        EXPECT_GE(First, Highest);
        Highest = First;
    }
    EXPECT_GT(Highest, 0) << "no save ever completed";
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceKeepBothTheirKeys) {
    constexpr int Saves = 40;
    int Start[2];
    ASSERT_EQ(::pipe(Start), 0);
    const auto Writer = [&](const std::string& Name) {
        return StartChild([&] {
            ::close(Start[1]);
            char Byte;
            // Both start when the parent closes its end of the pipe.
            while (::read(Start[0], &Byte, 1) > 0) {
            }
            for (int I = 0; I < Saves; ++I) {
                TRegistry Reg;
                Reg.OpenKey("\\Race\\" + Name + "\\" + std::to_string(I), true);
                Reg.WriteInteger("I", I);
                Reg.CloseKey();
            }
        });
    };
    const pid_t A = Writer("A");
    const pid_t B = Writer("B");
    ::close(Start[0]);
    ::close(Start[1]);
    EXPECT_EQ(WaitChild(A), 0);
    EXPECT_EQ(WaitChild(B), 0);
    for (const char* Name : {"A", "B"}) {
        SCOPED_TRACE(Name);
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey(std::string("\\Race\\") + Name, false));
        EXPECT_EQ(Reg.GetKeyNames().size(), static_cast<size_t>(Saves));
        for (int I = 0; I < Saves; ++I)
            EXPECT_EQ(ReadValue(std::string("\\Race\\") + Name + "\\" + std::to_string(I), "I"), I);
    }
}

TEST_F(RegistryTest, ADamagedFileRaisesWithItsLineAndIsNeverOverwritten) {
    SaveValue("\\Good", "v", 1);
    TRegistry Writer; // reads the file while it is still whole
    ASSERT_TRUE(Writer.OpenKey("\\Good", false));
    Writer.WriteInteger("w", 2);

    const std::string Damaged = "# edited by hand\n[Good]\n\"v\" = dword:1\n\"w\" = dword:\n";
    WriteBytes(StoreFile(), Damaged);
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        try {
            Attempt == 0 ? Writer.CloseKey() : (void)TRegistry().KeyExists("\\Good");
            ADD_FAILURE() << "the damage was not reported";
        } catch (const ERegistryException& E) {
            EXPECT_NE(E.Message().find(StoreFile()), std::string::npos) << E.Message();
            EXPECT_NE(E.Message().find("line 4"), std::string::npos) << E.Message();
        }
    }
    EXPECT_EQ(ReadBytes(StoreFile()), Damaged);
    EXPECT_FALSE(Exists(StoreFile() + ".new"));
}

TEST_F(RegistryTest, OversizedFilesAreRefusedUnreadAndNeverWritten) {
    // A sparse file: its size is refused before a byte of it is read.
    WriteBytes(StoreFile(), "");
    std::filesystem::resize_file(StoreFile(), RegistryMaxFileSize + 1);
    try {
        TRegistry().KeyExists("\\A");
        ADD_FAILURE() << "an oversized file was read";
    } catch (const ERegistryException& E) {
        EXPECT_NE(E.Message().find("64 MiB"), std::string::npos) << E.Message();
    }
    EXPECT_THROW(SaveValue("\\A", "v", 1), ERegistryException);
    EXPECT_EQ(std::filesystem::file_size(StoreFile()), std::uintmax_t(RegistryMaxFileSize + 1));

    // Keys whose text would pass the bound are not written: control bytes
    // take four bytes each in the file.
    std::filesystem::remove(StoreFile());
    SaveValue("\\Small", "v", 1);
    const std::string Before = ReadBytes(StoreFile());
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\Big", true));
    Reg.WriteString("Control bytes", std::string(RegistryMaxFileSize / 4 + 1, '\x01'));
    EXPECT_THROW(Reg.CloseKey(), ERegistryException);
    EXPECT_EQ(ReadBytes(StoreFile()), Before);
    // Taken back, the change leaves nothing for the destructor to try again.
    EXPECT_TRUE(Reg.DeleteKey("\\Big"));
}
