#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace folio;

namespace {

// A byte pattern that differs at every position a buffer boundary could hide.
std::vector<char> Pattern(size_t Size, unsigned Seed = 1) {
    std::vector<char> Bytes(Size);
    std::uint32_t State = Seed;
    for (char& B : Bytes) {
        State = State * 1664525u + 1013904223u;
        B = static_cast<char>(State >> 24);
    }
    return Bytes;
}

template <class E, class F>
String MessageOf(F&& Action) {
    try {
        Action();
    } catch (const E& Error) {
        return Error.Message();
    }
    ADD_FAILURE() << "the expected exception was not raised";
    return String();
}

// --- TMemoryStream ------------------------------------------------------------

TEST(MemoryStream, WritesReadsSeeksAndSizes) {
    TMemoryStream S;
    EXPECT_EQ(S.GetSize(), 0);
    const std::int32_t Values[] = {1, -2, 300000, INT32_MIN};
    for (std::int32_t V : Values) S.WriteBuffer(&V, sizeof V);
    EXPECT_EQ(S.GetSize(), 16);
    EXPECT_EQ(S.GetPosition(), 16);

    EXPECT_EQ(S.Seek(-8, soEnd), 8);
    std::int32_t V = 0;
    S.ReadBuffer(&V, 4);
    EXPECT_EQ(V, 300000);
    EXPECT_EQ(S.Seek(-8, soCurrent), 4);
    S.ReadBuffer(&V, 4);
    EXPECT_EQ(V, -2);

    // Overwriting inside the stream keeps its size.
    S.SetPosition(0);
    const std::int32_t Seven = 7;
    S.WriteBuffer(&Seven, 4);
    EXPECT_EQ(S.GetSize(), 16);
    S.SetPosition(0);
    S.ReadBuffer(&V, 4);
    EXPECT_EQ(V, 7);
    EXPECT_EQ(S.Remaining(), 12);

    // Reading at the end transfers nothing; Read reports a short count.
    S.Seek(0, soEnd);
    EXPECT_EQ(S.Read(&V, 4), 0);
    S.SetPosition(14);
    EXPECT_EQ(S.Read(&V, 4), 2);
    EXPECT_EQ(S.GetPosition(), 16);
}

TEST(MemoryStream, SetSizeTruncatesAndExtendsWithZeros) {
    TMemoryStream S;
    const std::vector<char> Data = Pattern(1000);
    S.WriteBuffer(Data.data(), 1000);
    S.SetSize(10);
    EXPECT_EQ(S.GetSize(), 10);
    EXPECT_EQ(S.GetPosition(), 10) << "the position follows a shrinking end";
    S.SetSize(1000);
    std::vector<char> Back(1000);
    S.SetPosition(0);
    S.ReadBuffer(Back.data(), 1000);
    EXPECT_TRUE(std::equal(Back.begin(), Back.begin() + 10, Data.begin()));
    EXPECT_EQ(std::count(Back.begin() + 10, Back.end(), 0), 990) << "old bytes came back";
    EXPECT_THROW(S.SetSize(-1), EStreamError);
}

TEST(MemoryStream, WritePastTheEndLeavesAZeroGap) {
    TMemoryStream S;
    const std::vector<char> Data = Pattern(600);
    S.WriteBuffer(Data.data(), 600);
    S.SetSize(0); // the memory still holds the old bytes
    S.SetPosition(500);
    const char Mark = 'M';
    S.WriteBuffer(&Mark, 1);
    ASSERT_EQ(S.GetSize(), 501);
    EXPECT_EQ(std::count(S.Memory(), S.Memory() + 500, 0), 500);
    EXPECT_EQ(S.Memory()[500], 'M');
}

TEST(MemoryStream, ReadBufferPastTheEndRaisesAndSaysHowMuchWasLeft) {
    TMemoryStream S;
    S.WriteBuffer("abc", 3);
    S.SetPosition(0);
    char Buffer[8] = {};
    const String Message = MessageOf<EReadError>([&] { S.ReadBuffer(Buffer, 4); });
    EXPECT_NE(Message.find("4 bytes wanted"), String::npos) << Message;
    EXPECT_NE(Message.find("only 3 left"), String::npos) << Message;
    EXPECT_NE(Message.find("end of the stream"), String::npos) << Message;
    // An empty stream refuses any read, but a zero-byte read is no error.
    TMemoryStream Empty;
    EXPECT_THROW(Empty.ReadBuffer(Buffer, 1), EReadError);
    EXPECT_NO_THROW(Empty.ReadBuffer(Buffer, 0));
    EXPECT_EQ(Empty.Read(Buffer, -5), 0);
}

TEST(MemoryStream, SeekingOutsideTheRangeRaisesAndKeepsThePosition) {
    TMemoryStream S;
    S.WriteBuffer("abcd", 4);
    S.SetPosition(2);
    EXPECT_THROW(S.Seek(-1, soBeginning), EStreamError);
    EXPECT_THROW(S.Seek(-5, soEnd), EStreamError);
    EXPECT_THROW(S.Seek(-3, soCurrent), EStreamError);
    EXPECT_EQ(S.GetPosition(), 2);

    // Positions near the largest value must not wrap around.
    S.Seek(INT64_MAX, soBeginning);
    EXPECT_THROW(S.Seek(1, soCurrent), EStreamError);
    EXPECT_EQ(S.Write("x", 1), 0);
    EXPECT_THROW(S.WriteBuffer("x", 1), EWriteError);
    EXPECT_EQ(S.GetSize(), 4);
    char C;
    EXPECT_EQ(S.Read(&C, 1), 0);
}

TEST(MemoryStream, LargeStreamKeepsEveryByteWhileGrowing) {
    // Crosses from heap memory to a mapping of its own and grows that mapping
    // several times; every field must survive each move.
    TMemoryStream S;
    constexpr std::uint32_t Count = 6'000'000;
    for (std::uint32_t I = 0; I < Count; ++I) S.WriteBuffer(&I, 4);
    ASSERT_EQ(S.GetSize(), std::int64_t{Count} * 4);
    S.SetPosition(0);
    std::uint32_t Wrong = 0;
    for (std::uint32_t I = 0; I < Count; ++I) {
        std::uint32_t V;
        S.ReadBuffer(&V, 4);
        Wrong += V != I;
    }
    EXPECT_EQ(Wrong, 0u);
    S.Clear();
    EXPECT_EQ(S.GetSize(), 0);
    EXPECT_EQ(S.GetPosition(), 0);
    S.WriteBuffer("after", 5);
    EXPECT_EQ(String(S.Memory(), 5), "after");
}

TEST(MemoryStream, CopyFrom) {
    TMemoryStream Source;
    const std::vector<char> Data = Pattern(200'000);
    Source.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));

    // A count of 0 copies all of the source from its start.
    TMemoryStream All;
    EXPECT_EQ(All.CopyFrom(Source, 0), 200'000);
    EXPECT_EQ(std::vector<char>(All.Memory(), All.Memory() + All.GetSize()), Data);

    // A count copies from the source's position, across the copy buffer.
    Source.SetPosition(1000);
    TMemoryStream Part;
    EXPECT_EQ(Part.CopyFrom(Source, 70'000), 70'000);
    EXPECT_EQ(std::vector<char>(Part.Memory(), Part.Memory() + 70'000),
              std::vector<char>(Data.begin() + 1000, Data.begin() + 71'000));

    // Asking for more than is there raises rather than copying short.
    Source.SetPosition(199'000);
    TMemoryStream Short;
    EXPECT_THROW(Short.CopyFrom(Source, 2000), EReadError);
}

// --- TFileStream ----------------------------------------------------------------

class FileStream : public ::testing::Test {
protected:
    void SetUp() override {
        String Template =
            (std::filesystem::temp_directory_path() / "folio-streams-XXXXXX").string();
        ASSERT_NE(::mkdtemp(Template.data()), nullptr) << Template;
        Dir = Template;
    }
    void TearDown() override {
        std::error_code Ignored;
        std::filesystem::remove_all(Dir, Ignored);
    }
    String PathOf(const char* Name) const { return Dir + "/" + Name; }
    void WriteFile(const String& Path, const std::vector<char>& Bytes) {
        TFileStream F(Path, fmCreate);
        F.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    }
    std::vector<char> ReadFile(const String& Path) {
        TFileStream F(Path, fmOpenRead);
        std::vector<char> Bytes(static_cast<size_t>(F.GetSize()));
        F.ReadBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        return Bytes;
    }

    String Dir;
};

TEST_F(FileStream, CreateMakesANewFileOrEmptiesAnExistingOne) {
    const String Path = PathOf("a.bin");
    {
        TFileStream F(Path, fmCreate);
        EXPECT_EQ(F.GetSize(), 0);
        F.WriteBuffer("hello", 5);
    }
    EXPECT_EQ(std::filesystem::file_size(Path), 5u);
    {
        TFileStream F(Path, fmCreate);
        EXPECT_EQ(F.GetSize(), 0);
    }
    EXPECT_EQ(std::filesystem::file_size(Path), 0u);
    // Create combined with an access mode still creates.
    const String Other = PathOf("b.bin");
    { TFileStream F(Other, fmCreate | fmOpenReadWrite); }
    EXPECT_TRUE(std::filesystem::exists(Other));
}

TEST_F(FileStream, OpenFailuresNameTheFileAndTheReason) {
    const String Missing = PathOf("missing.bin");
    String Message = MessageOf<EFOpenError>([&] { TFileStream F(Missing, fmOpenRead); });
    EXPECT_NE(Message.find(Missing), String::npos) << Message;
    EXPECT_NE(Message.find(SysErrorMessage(ENOENT)), String::npos) << Message;
    EXPECT_FALSE(std::filesystem::exists(Missing)) << "opening for reading created the file";
    EXPECT_THROW(TFileStream(Missing, fmOpenReadWrite), EFOpenError);

    const String InMissingDir = PathOf("no-such-dir/file.bin");
    Message = MessageOf<EFCreateError>([&] { TFileStream F(InMissingDir, fmCreate); });
    EXPECT_NE(Message.find(InMissingDir), String::npos) << Message;
    EXPECT_NE(Message.find(SysErrorMessage(ENOENT)), String::npos) << Message;

    // A directory is neither a file to read nor one to create.
    Message = MessageOf<EFOpenError>([&] { TFileStream F(Dir, fmOpenRead); });
    EXPECT_NE(Message.find(SysErrorMessage(EISDIR)), String::npos) << Message;
    Message = MessageOf<EFCreateError>([&] { TFileStream F(Dir, fmCreate); });
    EXPECT_NE(Message.find(Dir), String::npos) << Message;
}

TEST_F(FileStream, ReadsBackWhatWasWrittenAcrossTheBufferBoundary) {
    const String Path = PathOf("big.bin");
    const std::vector<char> Data = Pattern(300'000, 7);
    {
        // Small writes that straddle the 64 KiB buffer, then one larger than it.
        TFileStream F(Path, fmCreate);
        size_t Done = 0;
        for (size_t Step = 1; Done + Step <= 100'000; Done += Step, Step = Step % 997 + 13)
            F.WriteBuffer(Data.data() + Done, static_cast<std::int64_t>(Step));
        F.WriteBuffer(Data.data() + Done, static_cast<std::int64_t>(Data.size() - Done));
        EXPECT_EQ(F.GetSize(), 300'000);
    }
    EXPECT_EQ(ReadFile(Path), Data);

    TFileStream F(Path, fmOpenRead);
    std::vector<char> Back(Data.size());
    size_t Done = 0;
    for (size_t Step = 3; Done < Back.size(); Step = Step * 7 % 90'001 + 1) {
        const size_t N = std::min(Step, Back.size() - Done);
        F.ReadBuffer(Back.data() + Done, static_cast<std::int64_t>(N));
        Done += N;
    }
    EXPECT_EQ(Back, Data);
    char C;
    EXPECT_EQ(F.Read(&C, 1), 0);
    EXPECT_THROW(F.ReadBuffer(&C, 1), EReadError);
}

TEST_F(FileStream, MixedWritesSeeksAndReadsSeeEachOther) {
    const String Path = PathOf("mixed.bin");
    TFileStream F(Path, fmCreate);
    const std::vector<char> Data = Pattern(100'000, 3);
    F.WriteBuffer(Data.data(), 100'000);

    // A read after pending writes sees them.
    F.SetPosition(10);
    char Small[5];
    F.ReadBuffer(Small, 5);
    EXPECT_TRUE(std::equal(Small, Small + 5, Data.begin() + 10));

    // A write inside the read-ahead replaces what a later read returns.
    F.SetPosition(50);
    F.WriteBuffer("XYZ", 3);
    F.SetPosition(48);
    char Around[7];
    F.ReadBuffer(Around, 7);
    EXPECT_EQ(String(Around + 2, 3), "XYZ");
    EXPECT_EQ(Around[0], Data[48]);
    EXPECT_EQ(Around[5], Data[53]);

    // Writing after a seek past the end leaves a hole that reads as zeros.
    F.Seek(10, soEnd);
    F.WriteBuffer("E", 1);
    EXPECT_EQ(F.GetSize(), 100'011);
    F.Seek(-11, soEnd);
    char Hole[11];
    F.ReadBuffer(Hole, 11);
    EXPECT_EQ(std::count(Hole, Hole + 10, 0), 10);
    EXPECT_EQ(Hole[10], 'E');

    EXPECT_THROW(F.Seek(-1, soBeginning), EStreamError);
    EXPECT_EQ(F.GetPosition(), 100'011);
}

TEST_F(FileStream, SizeCountsPendingWritesAndFlushMakesThemVisible) {
    const String Path = PathOf("pending.bin");
    TFileStream F(Path, fmCreate);
    F.WriteBuffer("0123456789", 10);
    EXPECT_EQ(F.GetSize(), 10);
    EXPECT_EQ(F.Seek(0, soEnd), 10);
    F.SetPosition(2);
    F.WriteBuffer("ab", 2);
    EXPECT_EQ(F.GetSize(), 10) << "an overwrite inside the file does not grow it";

    F.Flush();
    EXPECT_EQ(ReadFile(Path),
              std::vector<char>({'0', '1', 'a', 'b', '4', '5', '6', '7', '8', '9'}));
    F.SetSize(4);
    EXPECT_EQ(F.GetSize(), 4);
    EXPECT_EQ(F.GetPosition(), 4);
}

TEST_F(FileStream, WritingToAReadOnlyStreamFailsAndLeavesTheFile) {
    const String Path = PathOf("ro.bin");
    WriteFile(Path, {'a', 'b', 'c'});
    {
        TFileStream F(Path, fmOpenRead);
        EXPECT_EQ(F.Write("xyz", 3), 0);
        EXPECT_THROW(F.WriteBuffer("xyz", 3), EWriteError);
        EXPECT_NO_THROW(F.Flush());
    }
    EXPECT_EQ(ReadFile(Path), std::vector<char>({'a', 'b', 'c'}));

    // A stream opened for writing only cannot be read.
    TFileStream W(Path, fmOpenWrite);
    char C;
    EXPECT_THROW(W.ReadBuffer(&C, 1), EReadError);
    W.WriteBuffer("Z", 1);
    W.Flush();
    EXPECT_EQ(ReadFile(Path), std::vector<char>({'Z', 'b', 'c'}));
}

TEST_F(FileStream, MemoryStreamSavesToAndLoadsFromFiles) {
    const String Path = PathOf("memory.bin");
    const std::vector<char> Data = Pattern(70'000, 11);
    TMemoryStream Out;
    Out.WriteBuffer(Data.data(), 70'000);
    Out.SaveToFile(Path);

    TMemoryStream In;
    In.WriteBuffer("stale", 5);
    In.LoadFromFile(Path);
    EXPECT_EQ(In.GetSize(), 70'000);
    EXPECT_EQ(In.GetPosition(), 0);
    EXPECT_EQ(std::vector<char>(In.Memory(), In.Memory() + 70'000), Data);
    EXPECT_THROW(In.LoadFromFile(PathOf("none.bin")), EFOpenError);

    // CopyFrom works between the two kinds of stream.
    TFileStream File(Path, fmOpenRead);
    TMemoryStream Copy;
    Copy.CopyFrom(File, 0);
    EXPECT_EQ(std::vector<char>(Copy.Memory(), Copy.Memory() + Copy.GetSize()), Data);
}

} // namespace
