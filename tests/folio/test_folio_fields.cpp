// Every field of the item and group tables, one at a time: a value other
// than the default survives exactly the uses its table line names (the
// stream, the registry, Assign) and makes a difference exactly where the
// line says it is compared. A use that forgot a field, or took one it should
// not, shows up as the field's name and the use.

#include "folio/FolioRecords.h"

#include "framework/core/Registry.h"
#include "framework/gfx/Canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace folio;

namespace {

using TPicture = std::unique_ptr<TBitmap>;

// Gives Value something other than what a new record holds, different for
// each field number N.
template <class V>
void SetOther(V& Value, int N) {
    if constexpr (std::is_same_v<V, TPicture>) {
        Value = std::make_unique<TBitmap>();
        Value->SetSize(2 + N, 3);
        Value->GetCanvas()->GetBrush()->SetColor(clRed);
        Value->GetCanvas()->FillRect(Rect(0, 0, 2 + N, 3));
    } else if constexpr (std::is_same_v<V, String>) {
        Value = "field " + std::to_string(N);
    } else if constexpr (std::is_same_v<V, void*>) {
        Value = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1000 + N));
    } else if constexpr (std::is_same_v<V, bool>) {
        Value = !Value;
    } else if constexpr (std::is_enum_v<V>) {
        Value = static_cast<V>(static_cast<std::uint8_t>(Value) ^ 1);
    } else {
        Value += 1000 + N;
    }
}

// Stream and registry round trips of one record, each into a new record.
template <class TRecord>
std::unique_ptr<TRecord> ThroughStream(const TRecord& Source) {
    TMemoryStream Stream;
    Source.WriteData(Stream);
    Stream.SetPosition(0);
    auto Read = std::make_unique<TRecord>(nullptr);
    Read->ReadData(Stream);
    EXPECT_EQ(Stream.GetPosition(), Stream.GetSize()) << "the record was not read to its end";
    return Read;
}

class FolioFields : public ::testing::Test {
protected:
    void SetUp() override {
        char Name[] = "/tmp/folio_fields_XXXXXX";
        ASSERT_NE(mkdtemp(Name), nullptr);
        Folder = Name;
        SetRegistryFolder(Folder);
    }
    void TearDown() override {
        SetRegistryFolder("");
        std::filesystem::remove_all(Folder);
    }

    template <class TRecord>
    std::unique_ptr<TRecord> ThroughRegistry(const TRecord& Source) {
        const String Path = "\\Software\\Folio Fields";
        {
            TRegistry Registry;
            Registry.OpenKey(Path, true);
            Source.SaveToRegistry(Registry, Path);
            Registry.CloseKey();
        }
        auto Read = std::make_unique<TRecord>(nullptr);
        TRegistry Registry;
        Read->LoadFromRegistry(Registry, Path);
        return Read;
    }

    // Checks every field of Table on records of type TRecord.
    template <class TRecord, class TTable>
    void CheckEveryField(const TTable& Table) {
        int N = 0;
        fields::ForEach(Table, [&](const auto& F) {
            ++N;
            SCOPED_TRACE(F.RegistryName ? F.RegistryName : "field " + std::to_string(N));
            TRecord Plain(nullptr);
            TRecord Changed(nullptr);
            SetOther(Changed.*F.Member, N);
            ASSERT_FALSE(fields::SameValue(Plain.*F.Member, Changed.*F.Member));

            EXPECT_EQ(Plain.IsEqual(&Changed), !F.Has(fuCompare)) << "IsEqual";

            TRecord Copy(nullptr);
            Copy.Assign(&Changed);
            EXPECT_EQ(fields::SameValue(Copy.*F.Member, Changed.*F.Member), F.Has(fuCopy))
                << "Assign";

            const auto Streamed = ThroughStream(Changed);
            EXPECT_EQ(fields::SameValue((*Streamed).*F.Member, Changed.*F.Member), F.Has(fuStream))
                << "the stream";

            const auto Stored = ThroughRegistry(Changed);
            EXPECT_EQ(fields::SameValue((*Stored).*F.Member, Changed.*F.Member), F.Has(fuRegistry))
                << "the registry";
            EXPECT_EQ(F.RegistryName != nullptr, F.Has(fuRegistry)) << "the registry name";
        });
    }

    std::string Folder;
};

} // namespace

TEST_F(FolioFields, EveryItemFieldTakesPartInWhatItsTableLineSays) {
    CheckEveryField<TFolioItem>(TFolioItem::Fields());
}

TEST_F(FolioFields, EveryGroupFieldTakesPartInWhatItsTableLineSays) {
    CheckEveryField<TFolioGroup>(TFolioGroup::Fields());
}

TEST_F(FolioFields, AnInheritedFormStoresTheGroupsWhenAnyStoredGroupFieldDiffers) {
    // Every field the stream keeps either is compared or is one the form
    // compares besides: a change to it is never lost from a form.
    int N = 0;
    fields::ForEach(TFolioGroup::Fields(), [&N](const auto& F) {
        ++N;
        if (!F.Has(fuStream)) return;
        SCOPED_TRACE(F.RegistryName ? F.RegistryName : "field " + std::to_string(N));
        EXPECT_TRUE(F.Has(fuCompare) || F.Has(fuForm));
    });
}
