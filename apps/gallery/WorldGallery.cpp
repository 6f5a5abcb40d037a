#include "WorldGallery.h"

#include "folio/Folio.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <filesystem>

namespace gallery {

using namespace folio;

namespace {

struct TWorldGroup {
    const char* Caption;
    const char* Items[3];
};

// Mail, sent items and a long folder name, in three scripts.
const TWorldGroup WorldGroups[] = {
    {"\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA", // Hebrew
     {"\xD7\x93\xD7\x95\xD7\x90\xD7\xA8 \xD7\xA0\xD7\x9B\xD7\xA0\xD7\xA1",
      "\xD7\xA0\xD7\xA9\xD7\x9C\xD7\x97\xD7\x95 (12)",
      "\xD7\xAA\xD7\x99\xD7\xA7\xD7\x99\xD7\x99\xD7\x94 \xD7\xA2\xD7\x9D \xD7\xA9\xD7\x9D "
      "\xD7\x90\xD7\xA8\xD7\x95\xD7\x9A \xD7\x9E\xD7\x90\xD7\x95\xD7\x93"}},
    {"\xD8\xA7\xD9\x84\xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A\xD8\xA9", // Arabic
     {"\xD8\xA7\xD9\x84\xD8\xA8\xD8\xB1\xD9\x8A\xD8\xAF "
      "\xD8\xA7\xD9\x84\xD9\x88\xD8\xA7\xD8\xB1\xD8"
      "\xAF",
      "\xD8\xA7\xD9\x84\xD9\x85\xD8\xB1\xD8\xB3\xD9\x84\xD8\xA9 2024",
      "\xD9\x85\xD8\xAC\xD9\x84\xD8\xAF \xD8\xA8\xD8\xA7\xD8\xB3\xD9\x85 \xD8\xB7\xD9\x88\xD9\x8A"
      "\xD9\x84 \xD8\xAC\xD8\xAF\xD8\xA7"}},
    {"\xE4\xB8\xAD\xE6\x96\x87", // Chinese
     {"\xE6\x94\xB6\xE4\xBB\xB6\xE7\xAE\xB1", "\xE5\xB7\xB2\xE5\x8F\x91\xE9\x80\x81 Mail",
      "\xE4\xB8\x80\xE4\xB8\xAA\xE5\x90\x8D\xE5\xAD\x97\xE5\xBE\x88\xE9\x95\xBF\xE7\x9A\x84\xE6\x96"
      "\x87\xE4\xBB\xB6\xE5\xA4\xB9"}},
};

constexpr int BarWidth = 150, BarHeight = 220, Gap = 8;

} // namespace

bool WriteWorldSnapshot(std::ostream& Out, const std::string& SnapshotDir) {
    THeadlessHost Host(1024, 768);
    TForm Form(nullptr);
    Form.SetCaption("Folio bars in three scripts");
    Form.SetBounds(0, 0, 3 * (BarWidth + Gap) + Gap, 2 * (BarHeight + Gap) + Gap);
    for (int Row = 0; Row < 2; ++Row) {
        for (int Open = 0; Open < 3; ++Open) {
            auto* Bar = new TFolio(&Form);
            Bar->SetParent(&Form);
            Bar->SetBounds(Gap + Open * (BarWidth + Gap), Gap + Row * (BarHeight + Gap), BarWidth,
                           BarHeight);
            Bar->SetAnimationStyle(asNone);
            // The lower row reads right to left.
            Bar->SetBiDiMode(Row == 0 ? bdLeftToRight : bdRightToLeft);
            for (const TWorldGroup& G : WorldGroups) {
                TFolioGroup* Group = Bar->GetGroups()->Add(G.Caption);
                Group->SetImageSize(Open == 2 ? isSmall : isLarge);
                for (const char* Item : G.Items) Group->GetItems()->Add(Item, -1);
            }
            Bar->SetVisibleGroup(Open);
        }
    }
    Form.Show();
    Host.RunUntilIdle();
    std::filesystem::create_directories(SnapshotDir);
    const std::string Path = SnapshotDir + "/world-bars.png";
    Host.Screenshot(&Form, Path);
    Out << "Bars in three scripts: " << std::filesystem::absolute(Path).string() << "\n";
    return true;
}

} // namespace gallery
