// Faults from below: streams that fail after any number of bytes, files that
// cannot be created or opened, and writes that fail in the middle of a file.
// After each, the bar and any file that was there before are as they were.

#include "folio/Folio.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace folio;

namespace {

using TBytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

// A stream of given bytes that moves only Limit bytes in all, then fails:
// by transferring less than asked (as at the end of a device), or by
// raising from inside Read or Write (as a device error would).
class TFailingStream final : public TStream {
public:
    TFailingStream(const TBytes& Content, std::int64_t Limit, bool Raise)
        : FLeft(Limit), FRaise(Raise) {
        if (!Content.empty())
            FInner.WriteBuffer(Content.data(), static_cast<std::int64_t>(Content.size()));
        FInner.SetPosition(0);
    }
    std::int64_t Read(void* Buffer, std::int64_t Count) override {
        return FInner.Read(Buffer, Allow(Count, true));
    }
    std::int64_t Write(const void* Buffer, std::int64_t Count) override {
        return FInner.Write(Buffer, Allow(Count, false));
    }
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override {
        return FInner.Seek(Offset, Origin);
    }
    std::int64_t GetSize() override { return FInner.GetSize(); }
    TBytes Written() {
        const auto* P = reinterpret_cast<const unsigned char*>(FInner.Memory());
        return TBytes(P, P + FInner.GetSize());
    }

private:
    std::int64_t Allow(std::int64_t Count, bool Reading) {
        const std::int64_t Granted = std::min(Count, FLeft);
        if (Granted < Count && FRaise) {
            if (Reading) throw EReadError("The device failed while reading");
            throw EWriteError("The device failed while writing");
        }
        FLeft -= Granted;
        return Granted;
    }

    TMemoryStream FInner;
    std::int64_t FLeft;
    bool FRaise;
};

TBytes Save(TFolio& Bar) {
    TMemoryStream Stream;
    Bar.SaveToStream(Stream);
    const auto* P = reinterpret_cast<const unsigned char*>(Stream.Memory());
    return TBytes(P, P + Stream.GetSize());
}

TBytes ReadFile(const fs::path& Name) {
    std::ifstream In(Name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& Name, const TBytes& Bytes) {
    std::ofstream Out(Name, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
}

// A shown bar with pictures, items and an open, scrolled, hovered group, and
// what it looks like from outside.
struct FaultTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;
    int Deletions = 0;
    fs::path Folder;

    void SetUp() override {
        Folder = fs::path(::testing::TempDir()) / ("folio_faults_" + std::to_string(getpid()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 300);
        Bar = new TFolio(Form.get());
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(0, 0, 200, 260);
        Bar->SetParent(Form.get());
        Fill(*Bar, 6, 20);
        Bar->SetVisibleGroup(1);
        Bar->GetGroups()->GetGroup(1)->SetStartItem(2);
        Form->Show();
        Host.MoveTo(Bar->ClientToScreen(Point(50, 60)));
        Bar->OnGroupDeletion = [this](TObject*, TFolioGroup*) { ++Deletions; };
        Bar->OnItemDeletion = [this](TObject*, TFolioItem*) { ++Deletions; };
    }
    void TearDown() override { fs::remove_all(Folder); }

    static void Fill(TFolio& Target, int PictureSide, int Items) {
        TBitmap Picture(PictureSide, PictureSide);
        Picture.GetCanvas()->SetPixel(1, 1, clRed);
        for (int G = 0; G < 3; ++G) {
            TFolioGroup* Group = Target.GetGroups()->Add("Group " + IntToStr(G));
            if (G < 2) Group->SetBitmap(&Picture);
            for (int I = 0; I < Items; ++I) Group->GetItems()->Add("Item " + IntToStr(I), I % 3);
        }
    }

    struct TLook {
        TBytes Bytes;
        int Open;
        int Start;
        TFolioGroup* First;
        TFolioItem* Hover;
        bool operator==(const TLook&) const = default;
    };
    TLook Look() const {
        return {Save(*Bar), Bar->GetVisibleGroup(), Bar->GetGroups()->GetGroup(1)->GetStartItem(),
                Bar->GetGroups()->GetGroup(0), Bar->GetItemUnderCurosr()};
    }
    // The folder holds exactly these files, so no half-saved file is left.
    std::vector<std::string> Files() const {
        std::vector<std::string> Names;
        for (const auto& Entry : fs::directory_iterator(Folder))
            Names.push_back(Entry.path().filename());
        std::sort(Names.begin(), Names.end());
        return Names;
    }
};

// Lets writes to files reach only Limit bytes while it lives, as a full
// disk or a quota would stop them.
struct TFileSizeLimit {
    rlimit Saved{};
    void (*SavedHandler)(int) = nullptr;
    explicit TFileSizeLimit(rlim_t Limit) {
        getrlimit(RLIMIT_FSIZE, &Saved);
        SavedHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit Lower{Limit, Saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &Lower);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Saved);
        std::signal(SIGXFSZ, SavedHandler);
    }
};

} // namespace

TEST_F(FaultTest, AStreamFailingAfterAnyByteLeavesTheBarAsItWas) {
    const TLook Before = Look();
    const TBytes& Content = Before.Bytes;
    for (bool Raise : {false, true}) {
        for (std::int64_t Limit = 0; Limit < static_cast<std::int64_t>(Content.size()); ++Limit) {
            SCOPED_TRACE(
                Format("limit %lld%s", static_cast<long long>(Limit), Raise ? ", raising" : ""));
            TFailingStream Stream(Content, Limit, Raise);
            EXPECT_THROW(Bar->LoadFromStream(Stream), Exception);
            ASSERT_EQ(Deletions, 0);
            ASSERT_TRUE(Look() == Before);
        }
    }
    TFailingStream Whole(Content, static_cast<std::int64_t>(Content.size()), true);
    Bar->LoadFromStream(Whole);
    EXPECT_EQ(Save(*Bar), Content);
}

TEST_F(FaultTest, SavingToAStreamThatFailsKeepsWhatWasWrittenAndTheBar) {
    const TLook Before = Look();
    for (bool Raise : {false, true}) {
        for (std::int64_t Limit = 0; Limit < static_cast<std::int64_t>(Before.Bytes.size());
             ++Limit) {
            SCOPED_TRACE(
                Format("limit %lld%s", static_cast<long long>(Limit), Raise ? ", raising" : ""));
            TFailingStream Stream({}, Limit, Raise);
            EXPECT_THROW(Bar->SaveToStream(Stream), EWriteError);
            const TBytes Written = Stream.Written();
            ASSERT_LE(Written.size(), static_cast<size_t>(Limit));
            ASSERT_TRUE(std::equal(Written.begin(), Written.end(), Before.Bytes.begin()));
        }
    }
    EXPECT_TRUE(Look() == Before);
}

TEST_F(FaultTest, FilesThatCannotBeCreatedOrOpenedChangeNothing) {
    const TLook Before = Look();
    const fs::path Sub = Folder / "sub";
    fs::create_directories(Sub);
    WriteFile(Folder / "plain", {1, 2, 3});
    struct TCase {
        const char* What;
        fs::path Name;
        bool Save;
    };
    const TCase Cases[] = {
        {"a save into a missing folder", Folder / "missing" / "bar.fol", true},
        {"a save under a name that is a folder", Sub, true},
        {"a save into a folder that is a file", Folder / "plain" / "bar.fol", true},
        {"a load of a missing file", Folder / "missing.fol", false},
        {"a load of a folder", Sub, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.What);
        if (C.Save)
            EXPECT_THROW(Bar->SaveToFile(C.Name.string()), EFCreateError);
        else
            EXPECT_THROW(Bar->LoadFromFile(C.Name.string()), EFOpenError);
        EXPECT_TRUE(Look() == Before);
        EXPECT_EQ(Deletions, 0);
        EXPECT_EQ(Files(), (std::vector<std::string>{"plain", "sub"}));
        EXPECT_EQ(ReadFile(Folder / "plain"), (TBytes{1, 2, 3}));
    }
    if (geteuid() != 0) { // a privileged process may write anywhere
        const fs::path Locked = Folder / "locked.fol";
        WriteFile(Locked, {9});
        fs::permissions(Locked, fs::perms::owner_read);
        EXPECT_THROW(Bar->SaveToFile(Locked.string()), EFCreateError);
        EXPECT_EQ(ReadFile(Locked), TBytes{9});
    }
}

// A save over an earlier file used to empty that file first, so a write
// error left neither the old contents nor the new.
TEST_F(FaultTest, AWriteErrorMidFileKeepsTheEarlierFile) {
    // A picture large enough that the save outgrows the file buffer, so
    // writes fail both in the middle of the save and at its final flush.
    TFolio Big(nullptr);
    Fill(Big, 160, 30);
    const TBytes Content = Save(Big);
    ASSERT_GT(Content.size(), 70000u);
    const fs::path Name = Folder / "bar.fol";
    const TBytes Earlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};
    const TLook Before = Look();
    for (rlim_t Limit : {rlim_t(0), rlim_t(5), rlim_t(1000), rlim_t(65536), rlim_t(70000),
                         rlim_t(Content.size() - 1)}) {
        SCOPED_TRACE(Format("file size limit %llu", static_cast<unsigned long long>(Limit)));
        WriteFile(Name, Earlier);
        {
            TFileSizeLimit Guard(Limit);
            EXPECT_THROW(Big.SaveToFile(Name.string()), EWriteError);
        }
        EXPECT_EQ(ReadFile(Name), Earlier);
        EXPECT_EQ(Files(), std::vector<std::string>{"bar.fol"});
        EXPECT_EQ(Save(Big), Content);
    }
    {
        TFileSizeLimit Guard(Content.size());
        Big.SaveToFile(Name.string());
    }
    EXPECT_EQ(ReadFile(Name), Content);
    EXPECT_EQ(Files(), std::vector<std::string>{"bar.fol"});

    // A file cut short anywhere fails to load into the shown bar and leaves
    // it alone.
    for (size_t Cut : {size_t(0), size_t(7), size_t(60), Content.size() / 2, Content.size() - 1}) {
        SCOPED_TRACE(Format("file cut at %zu", Cut));
        WriteFile(Name,
                  TBytes(Content.begin(), Content.begin() + static_cast<std::ptrdiff_t>(Cut)));
        EXPECT_THROW(Bar->LoadFromFile(Name.string()), Exception);
        EXPECT_TRUE(Look() == Before);
        EXPECT_EQ(Deletions, 0);
    }
}

TEST_F(FaultTest, SavingKeepsTheFilesPermissionsAndTheLinkToIt) {
    const fs::path Name = Folder / "bar.fol";
    const fs::path Link = Folder / "link.fol";
    WriteFile(Name, {1});
    fs::permissions(Name, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(Name, Link);
    Bar->SaveToFile(Link.string());
    EXPECT_TRUE(fs::is_symlink(Link));
    EXPECT_EQ(ReadFile(Name), Save(*Bar));
    EXPECT_EQ(fs::status(Name).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Files(), (std::vector<std::string>{"bar.fol", "link.fol"}));
}
