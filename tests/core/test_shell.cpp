#include "framework/core/Shell.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <unistd.h>

using namespace folio;
namespace fs = std::filesystem;

namespace {

// Runs with PATH pointing at a folder of our own, where a stand-in opener
// writes the arguments it was given to a file.
struct ShellTest : ::testing::Test {
    fs::path Dir;
    std::string OldPath;

    void SetUp() override {
        Dir = fs::temp_directory_path() / ("folio_shell_" + std::to_string(::getpid()));
        fs::remove_all(Dir);
        fs::create_directories(Dir);
        OldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", Dir.c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", OldPath.c_str(), 1);
        fs::remove_all(Dir);
    }

    void InstallOpener() {
        const fs::path Script = Dir / "xdg-open";
        std::ofstream(Script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                              << (Dir / "args").string() << ".tmp\"\n/bin/mv \""
                              << (Dir / "args").string() << ".tmp\" \"" << (Dir / "args").string()
                              << "\"\n";
        fs::permissions(Script, fs::perms::owner_all);
    }

    std::string WaitForArgs() {
        for (int I = 0; I < 500 && !fs::exists(Dir / "args"); ++I)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream In(Dir / "args");
        std::stringstream S;
        S << In.rdbuf();
        return S.str();
    }
};

TEST_F(ShellTest, TheAddressReachesTheOpenerAsOneUntouchedArgument) {
    InstallOpener();
    const String Address = "https://example.org/a b?x=1&y=$(touch pwned);`id`";
    ShellExecute("open", Address);
    EXPECT_EQ(WaitForArgs(), Address + "\n");
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned"));
}

TEST_F(ShellTest, AMissingOpenerOrAStrangeRequestRaisesInsteadOfFailingSilently) {
    try {
        ShellExecute("open", "https://example.org");
        FAIL() << "no opener on PATH, yet no error";
    } catch (const EShellError& E) {
        EXPECT_NE(String(E.what()).find("xdg-open"), String::npos) << E.what();
    }
    InstallOpener();
    EXPECT_THROW(ShellExecute("print", "file.txt"), EShellError);
    EXPECT_THROW(ShellExecute("open", ""), EShellError);
    EXPECT_NO_THROW(ShellExecute("", "file.txt"));
    EXPECT_EQ(WaitForArgs(), "file.txt\n");
}

} // namespace
