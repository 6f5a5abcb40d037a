// The record readers of the bar's model: TFolioItem, TFolioItems,
// TFolioGroup and TFolioGroups ReadData, each on an object inside a bar and
// on one outside any. The first input byte picks the reader, the rest is the
// record.

#include "fuzz/FuzzTarget.h"

#include "folio/Folio.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <memory>

using namespace folio;
using namespace folio::fuzz;

namespace {

template <class T>
TBytes Written(const T& Object) {
    TMemoryStream Stream;
    Object.WriteData(Stream);
    return StreamBytes(Stream);
}

struct TModel {
    TFolio Bar{nullptr};
    TFolioGroups Pristine{nullptr};
    int Deletions = 0;

    TModel() {
        Bar.OnGroupDeletion = [this](TObject*, TFolioGroup*) { ++Deletions; };
        Bar.OnItemDeletion = [this](TObject*, TFolioItem*) { ++Deletions; };
    }
};

// Reads a record into Target and checks: a failure changes nothing in Whole
// (the bar, or the collection outside any bar) and deletes nothing; a
// success deletes what Target held, with events, and leaves a record that a
// fresh object reads back to the same bytes, having consumed exactly as
// many bytes as it writes when no picture is involved.
template <class T, class TWhole>
bool CheckRecord(T& Target, const TWhole& Whole, int& Deletions, const std::uint8_t* Data,
                 std::size_t Size, bool SameLength, int DeletionsOnSuccess) {
    const TBytes Before = Written(Whole);
    TMemoryStream Stream;
    FillStream(Stream, Data, Size);
    Deletions = 0;
    try {
        Target.ReadData(Stream);
    } catch (const Exception&) {
        FOLIO_FUZZ_CHECK(Deletions == 0, "a failed read deleted objects");
        FOLIO_FUZZ_CHECK(Written(Whole) == Before, "a failed read changed what held the record");
        return false;
    }
    FOLIO_FUZZ_CHECK(
        Deletions == DeletionsOnSuccess,
        Format("a read deleted %d objects instead of %d", Deletions, DeletionsOnSuccess));
    const TBytes Again = Written(Target);
    if (SameLength)
        FOLIO_FUZZ_CHECK(static_cast<std::size_t>(Stream.GetPosition()) == Again.size(),
                         Format("read %lld bytes, writes %zu",
                                static_cast<long long>(Stream.GetPosition()), Again.size()));
    auto Fresh = std::make_unique<T>(nullptr);
    FillStream(Stream, Again.data(), Again.size());
    Fresh->ReadData(Stream);
    FOLIO_FUZZ_CHECK(Written(*Fresh) == Again, "a written record reads back differently");
    return true;
}

TModel& Model() {
    static TModel* M = [] {
        auto* Made = new TModel;
        TFolioGroups& Groups = *Made->Bar.GetGroups();
        TFolioGroup* A = Groups.AddObject("A", &Groups);
        TBitmap Picture(4, 3);
        A->SetBitmap(&Picture);
        for (int I = 0; I < 5; ++I) A->GetItems()->Add("a" + IntToStr(I), I);
        Groups.Add("B")->GetItems()->Add("b", -1);
        Made->Pristine.Assign(&Groups);
        return Made;
    }();
    return *M;
}

int CountItems(const TFolioGroups& Groups) {
    int N = 0;
    for (int G = 0; G < Groups.GetCount(); ++G) N += Groups.GetGroup(G)->GetItems()->GetCount();
    return N;
}

} // namespace

FOLIO_FUZZ_SEEDS {
    TModel& M = Model();
    TFolioGroups& Groups = *M.Bar.GetGroups();
    auto Add = [&](const char* Name, std::uint8_t Reader, const TBytes& Record) {
        TBytes B{Reader};
        B.insert(B.end(), Record.begin(), Record.end());
        Seeds.Add(Name, B);
    };
    Add("item.rec", 0, Written(*Groups.GetGroup(0)->GetItems()->GetItem(1)));
    Add("items.rec", 1, Written(*Groups.GetGroup(0)->GetItems()));
    Add("group.rec", 2, Written(*Groups.GetGroup(0)));
    Add("groups.rec", 3, Written(Groups));
    Add("lone-item.rec", 4, Written(*Groups.GetGroup(1)->GetItems()->GetItem(0)));
    Add("lone-group.rec", 6, Written(*Groups.GetGroup(1)));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    if (Size == 0) return 0;
    TModel& M = Model();
    TFolioGroups& Groups = *M.Bar.GetGroups();
    const std::uint8_t Reader = Data[0] % 8;
    ++Data;
    --Size;
    TFolioGroup* Group = Groups.GetGroup(0);
    TFolioItems* Items = Group->GetItems();
    bool Read = false;
    switch (Reader) {
    case 0:
        Read = CheckRecord(*Items->GetItem(1), Groups, M.Deletions, Data, Size, true, 0);
        break;
    case 1:
        Read = CheckRecord(*Items, Groups, M.Deletions, Data, Size, true, Items->GetCount());
        break;
    case 2:
        Read = CheckRecord(*Group, Groups, M.Deletions, Data, Size, false, Items->GetCount());
        break;
    case 3:
        Read = CheckRecord(Groups, Groups, M.Deletions, Data, Size, false,
                           Groups.GetCount() + CountItems(Groups));
        break;
    default: {
        // The same readers on objects outside any bar, where nothing reports
        // deletions.
        TFolioGroups Lone(nullptr);
        Lone.Assign(&M.Pristine);
        TFolioGroup* LoneGroup = Lone.GetGroup(0);
        int None = 0;
        if (Reader == 4)
            CheckRecord(*LoneGroup->GetItems()->GetItem(0), Lone, None, Data, Size, true, 0);
        else if (Reader == 5)
            CheckRecord(*LoneGroup->GetItems(), Lone, None, Data, Size, true, 0);
        else if (Reader == 6)
            CheckRecord(*LoneGroup, Lone, None, Data, Size, false, 0);
        else
            CheckRecord(Lone, Lone, None, Data, Size, false, 0);
        break;
    }
    }
    if (Read) Groups.Assign(&M.Pristine);
    return 0;
}
