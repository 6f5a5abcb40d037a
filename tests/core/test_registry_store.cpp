// The registry's file store: atomic replacement, crashes in the middle of a
// save, writers in several processes, damaged and oversized files, links
// planted in its folder and folders that others may write in.

#include "framework/core/Registry.h"

#include "RegistryTestFolder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

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

// False when the next rename is to fail; kills the process when asked to.
bool RenamePasses() {
    if (RenameMode == rmFail) {
        errno = EIO;
        return false;
    }
    if (RenameMode == rmKill) ::kill(::getpid(), SIGKILL);
    return true;
}

} // namespace

// This program's own rename and renameat come before the C library's, so
// the store's calls reach them.
extern "C" int rename(const char* Old, const char* New) noexcept {
    if (!RenamePasses()) return -1;
    using TRename = int (*)(const char*, const char*);
    static const auto Real = reinterpret_cast<TRename>(::dlsym(RTLD_NEXT, "rename"));
    return Real(Old, New);
}

extern "C" int renameat(int OldFolder, const char* Old, int NewFolder, const char* New) noexcept {
    if (!RenamePasses()) return -1;
    using TRenameAt = int (*)(int, const char*, int, const char*);
    static const auto Real = reinterpret_cast<TRenameAt>(::dlsym(RTLD_NEXT, "renameat"));
    return Real(OldFolder, Old, NewFolder, New);
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
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
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
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
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
    const std::vector<std::string> Left = Leftovers();
    ASSERT_EQ(Left.size(), 1u);
    EXPECT_TRUE(Left[0].starts_with("current_user.keys.saving-")) << Left[0];
    EXPECT_NE(ReadBytes(Folder + "/store/" + Left[0]).find("[New]"), std::string::npos);
    EXPECT_EQ(ReadBytes(StoreFile()), Before);
    EXPECT_EQ(ReadValue("\\Old", "v"), 1);
    EXPECT_EQ(ReadValue("\\New", "v"), -1);
    // The dead process's lock went with it, and the next save removes its
    // leftover, as well as one of the ".new" files that earlier versions
    // wrote; files that only look alike stay.
    const std::vector<std::string> Others = {"current_user.keys.saving-notours",
                                             "current_user.keys.saving-0123456789abcdeF",
                                             "users.keys.saving-0123456789abcdef", "notes.new"};
    for (const std::string& Name : Others) WriteBytes(Folder + "/store/" + Name, "other");
    WriteBytes(StoreFile() + ".new", "[Old]\n");
    SaveValue("\\Later", "v", 3);
    EXPECT_EQ(ReadValue("\\Later", "v"), 3);
    std::vector<std::string> Expected = Others;
    std::sort(Expected.begin(), Expected.end());
    EXPECT_EQ(Leftovers(), Expected);
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
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
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

namespace {

// Runs a save and gives the message it raised; empty when it succeeded.
std::string SaveMessage(const std::string& Key) {
    try {
        SaveValue(Key, "v", 1);
        return "";
    } catch (const ERegistryException& E) {
        return E.Message().empty() ? "(no message)" : E.Message();
    }
}

} // namespace

TEST_F(RegistryTest, PlantedLinksAreNeverFollowed) {
    const std::string Store = Folder + "/store";
    const std::string Victim = Folder + "/victim";
    const std::string Absent = Folder + "/absent";
    struct TCase {
        const char* Link;   // its name beside the registry file
        const char* Refuse; // what a refused save names; null when it succeeds
    } Cases[] = {
        // The fixed name earlier versions gave their new file: a leftover,
        // removed, never written through.
        {"current_user.keys.new", nullptr},
        {"current_user.keys.lock", "lock file"},
        {"current_user.keys", "registry file"},
    };
    for (const TCase& Case : Cases) {
        for (const std::string& Target : {Victim, Absent}) {
            SCOPED_TRACE(std::string(Case.Link) + " -> " + Target);
            std::filesystem::remove_all(Store);
            ASSERT_EQ(::mkdir(Store.c_str(), 0700), 0);
            WriteBytes(Victim, "the victim's own text");
            std::filesystem::remove(Absent);
            const std::string Link = Store + "/" + Case.Link;
            ASSERT_EQ(::symlink(Target.c_str(), Link.c_str()), 0);

            const std::string Message = SaveMessage("\\Planted");
            EXPECT_EQ(ReadBytes(Victim), "the victim's own text");
            EXPECT_FALSE(Exists(Absent));
            if (!Case.Refuse) {
                EXPECT_EQ(Message, "");
                EXPECT_EQ(ReadValue("\\Planted", "v"), 1);
                EXPECT_FALSE(std::filesystem::is_symlink(Link));
                continue;
            }
            EXPECT_NE(Message.find(Case.Refuse), std::string::npos) << Message;
            EXPECT_NE(Message.find("is a symbolic link"), std::string::npos) << Message;
            EXPECT_NE(Message.find(Link), std::string::npos) << Message;
            EXPECT_TRUE(std::filesystem::is_symlink(Link));
            EXPECT_EQ(Leftovers(), std::vector<std::string>{});
        }
    }
    // A reader refuses a linked registry file as well.
    EXPECT_THROW(TRegistry().KeyExists("\\Planted"), ERegistryException);
}

TEST_F(RegistryTest, AFolderOthersMayWriteInOrThatIsNotTheUsersIsRefused) {
    const std::string Store = Folder + "/store";
    struct TCase {
        mode_t Mode;
        bool OtherOwner;
        const char* Says; // what the refusal names; null when the folder is used
    } Cases[] = {
        {0700, false, nullptr},
        {0755, false, nullptr},
        {0750, false, nullptr},
        {0777, false, "has mode 0777"},
        {0775, false, "has mode 0775"},
        {0770, false, "has mode 0770"},
        {0702, false, "has mode 0702"},
        {01777, false, "has mode 1777"},
        {0700, true, "belongs to another user"},
        {0755, true, "belongs to another user"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(
            Format("mode %04o%s", unsigned(Case.Mode), Case.OtherOwner ? ", not ours" : ""));
        std::filesystem::remove_all(Store);
        ASSERT_EQ(::mkdir(Store.c_str(), 0700), 0);
        WriteBytes(StoreFile(), "[Kept]\n\"v\" = dword:00000007\n");
        const std::string Before = ReadBytes(StoreFile());
        ASSERT_EQ(::chmod(Store.c_str(), Case.Mode), 0);
        if (Case.OtherOwner) {
            if (::geteuid() != 0) continue; // only the superuser can give a folder away
            ASSERT_EQ(::chown(Store.c_str(), 65534, 65534), 0);
        }
        const std::string Message = SaveMessage("\\New");
        if (!Case.Says) {
            EXPECT_EQ(Message, "");
            EXPECT_EQ(ReadValue("\\Kept", "v"), 7);
            continue;
        }
        EXPECT_NE(Message.find("\"" + Store + "\""), std::string::npos) << Message;
        EXPECT_NE(Message.find(Case.Says), std::string::npos) << Message;
        EXPECT_NE(Message.find(Format("%04o", unsigned(Case.Mode))), std::string::npos) << Message;
        if (!Case.OtherOwner) {
            EXPECT_NE(Message.find("chmod go-w"), std::string::npos) << Message;
        }
        // Nothing was written: no lock, no new file, the old one unchanged.
        std::vector<std::string> Names;
        for (const auto& Entry : std::filesystem::directory_iterator(Store))
            Names.push_back(Entry.path().filename());
        EXPECT_EQ(Names, std::vector<std::string>{"current_user.keys"});
        EXPECT_EQ(ReadBytes(StoreFile()), Before);
        // Nor is anything read from it.
        EXPECT_THROW(ReadValue("\\Kept", "v"), ERegistryException);
    }
}
