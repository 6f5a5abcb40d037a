#pragma once

// The field tables of the bar's stored records. Each line is one stored
// field: the member that holds it, its value's name in the registry layout
// and what it takes part in (FolioFields.h). The order is the order of the
// stream and of the registry key.

#include "folio/Folio.h"
#include "folio/FolioFields.h"

#include <tuple>

namespace folio {

namespace fields {
constexpr unsigned Everywhere = fuCompare | fuCopy | fuStream | fuRegistry;
// Data is the application's own value: compared, copied and carried in the
// stream's 32-bit slot, but never written to the registry.
constexpr unsigned NotInRegistry = fuCompare | fuCopy | fuStream;
} // namespace fields

constexpr auto TFolioItem::Fields() {
    using namespace fields;
    return std::tuple{
        Field<Everywhere>(&TFolioItem::FImageIndex, "Image Index"),
        Field<Everywhere>(&TFolioItem::FOverImageIndex, "Over Image Index"),
        Field<Everywhere>(&TFolioItem::FCaption, "Caption"),
        Field<NotInRegistry>(&TFolioItem::FData),
        Field<Everywhere>(&TFolioItem::FTag, "Tag"),
        Field<Everywhere>(&TFolioItem::FHint, "Hint"),
        Field<Everywhere>(&TFolioItem::FShowHint, "Show Hint"),
    };
}

constexpr auto TFolioGroup::Fields() {
    using namespace fields;
    return std::tuple{
        Field<Everywhere>(&TFolioGroup::FCaption, "Caption"),
        Field<NotInRegistry>(&TFolioGroup::FData),
        Field<Everywhere>(&TFolioGroup::FEndColor, "End Color"),
        Field<Everywhere>(&TFolioGroup::FColor, "Color"),
        Field<Everywhere>(&TFolioGroup::FStartColor, "Start Color"),
        // The picture travels in the stream and with Assign; the group
        // equality leaves it out, so a form compares it besides.
        Field<fuCopy | fuStream | fuForm>(&TFolioGroup::FBitmap),
        Field<Everywhere>(&TFolioGroup::FStyle, "Style"),
        Field<Everywhere>(&TFolioGroup::FCaptionColor, "Caption Color"),
        Field<Everywhere>(&TFolioGroup::FFixedBitmap, "Fixed Bitmap"),
        Field<Everywhere>(&TFolioGroup::FTag, "Tag"),
        // Stored, but neither compared by the group equality nor copied by
        // Assign of one group to another; a form compares it besides.
        Field<fuStream | fuRegistry | fuForm>(&TFolioGroup::FImageSize, "Image Size"),
        Field<Everywhere>(&TFolioGroup::FHint, "Hint"),
        Field<Everywhere>(&TFolioGroup::FShowHint, "Show Hint"),
    };
}

// The fewest bytes of an item record and of a group record (its items'
// version and count included), against which a count is checked before
// anything is allocated for it.
constexpr std::int64_t MinItemRecord = fields::MinRecordSize(TFolioItem::Fields());
constexpr std::int64_t MinGroupRecord = fields::MinRecordSize(TFolioGroup::Fields()) + 8;
static_assert(MinItemRecord == 29 && MinGroupRecord == 49, "the record format changed");
static_assert(fields::RegistryNamesMatch(TFolioItem::Fields()) &&
                  fields::RegistryNamesMatch(TFolioGroup::Fields()),
              "a registry field without a name, or a name without the registry use");

} // namespace folio
