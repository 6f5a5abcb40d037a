#pragma once

#include "folio/FolioList.h"
#include "framework/core/Object.h"

namespace folio {

class TFolio;

/// What the item and the group collections share: the ordered list of the
/// records they own, in which a record's index is found by identity at once,
/// and the bar they belong to (null for a collection outside any bar).
template <class TRecord>
class TFolioCollection : public TPersistent {
public:
    TFolioCollection(const TFolioCollection&) = delete;
    TFolioCollection& operator=(const TFolioCollection&) = delete;

    /// How many records the collection holds.
    int GetCount() const { return FList.Count(); }
    /// The bar the collection belongs to; null outside any bar.
    TFolio* GetBar() const { return FBar; }
    /// Where Record stands here, from 0, found at once however many records
    /// there are; -1 for a record of another collection or none. Record
    /// must be a live object.
    int IndexOf(const TRecord* Record) const;

    /// Deletes Record as its own Delete does (its deletion event fires).
    void Delete(TRecord* Record) { delete Record; }
    /// Deletes every record, always the first, so that deletion events
    /// arrive in index order.
    void Clear();
    /// Starts a batch of changes: the bar neither repaints nor lays out
    /// until the matching EndUpdate (see TFolio::BeginUpdate).
    void BeginUpdate();
    /// Ends a batch; the last EndUpdate repaints once.
    void EndUpdate();

    /// @cond internal
protected:
    explicit TFolioCollection(TFolio* ABar) : FBar(ABar) {}
    ~TFolioCollection() override = default;

    // Raises Exception("Index out of range") for an index outside 0..Count-1.
    TRecord* At(int Index) const;
    // Raises EListError for an insert position outside 0..Count.
    void CheckInsertPosition(int Index) const;

    TFolioList<TRecord> FList;
    TFolio* FBar = nullptr;
    /// @endcond
};

} // namespace folio
