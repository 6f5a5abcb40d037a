#include "framework/core/AtomicFile.h"
#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace folio;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& Name) {
    std::ifstream In(Name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

std::vector<std::string> Names(const fs::path& Folder) {
    std::vector<std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Folder))
        Result.push_back(Entry.path().filename());
    std::sort(Result.begin(), Result.end());
    return Result;
}

} // namespace

TEST(AtomicFile, TheFileChangesOnlyAtCommitAndAnAbandonedSaveLeavesNothing) {
    const fs::path Folder =
        fs::path(::testing::TempDir()) / ("folio_atomic_" + std::to_string(getpid()));
    fs::remove_all(Folder);
    fs::create_directories(Folder);
    const fs::path Name = Folder / "data";
    { std::ofstream(Name) << "old"; }
    {
        TAtomicFileStream Stream(Name.string());
        Stream.WriteBuffer("new content", 11);
        EXPECT_EQ(ReadAll(Name), "old"); // nothing shows before the commit
        EXPECT_EQ(Names(Folder).size(), 2u);
    }
    EXPECT_EQ(ReadAll(Name), "old");
    EXPECT_EQ(Names(Folder), std::vector<std::string>{"data"});

    TAtomicFileStream Stream(Name.string());
    Stream.WriteBuffer("new content", 11);
    Stream.SetPosition(4);
    char Word[7];
    Stream.ReadBuffer(Word, 7); // it reads back what it holds, like any file stream
    EXPECT_EQ(std::string(Word, 7), "content");
    Stream.Commit();
    EXPECT_EQ(ReadAll(Name), "new content");
    EXPECT_EQ(Names(Folder), std::vector<std::string>{"data"});
    EXPECT_THROW(Stream.Commit(), EStreamError);
    EXPECT_THROW(Stream.WriteBuffer("x", 1), EWriteError);

    // A new file is created the same way.
    TAtomicFileStream Fresh((Folder / "fresh").string());
    Fresh.Commit();
    EXPECT_TRUE(fs::is_regular_file(Folder / "fresh"));
    EXPECT_EQ(fs::file_size(Folder / "fresh"), 0u);
    fs::remove_all(Folder);
}
