#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>

namespace folio {

/// The base a member of a TFolioList derives from publicly: it holds the
/// member's slot number in the list, for the list alone.
class TFolioListed {
    template <class>
    friend class TFolioList;
    std::int64_t FListPos = std::numeric_limits<std::int64_t>::min();
};

/// The ordered list behind the group and item collections. Each member keeps
/// its slot number in its TFolioListed base; a member's index is its slot
/// minus the list's base, so looking up an index by identity costs O(1).
/// Removing or inserting at either end only moves the base; in the middle,
/// the shorter side of the list is renumbered. The list does not own its
/// members, and a member is in at most one list at a time.
///
/// T must derive publicly from TFolioListed.
template <class T>
class TFolioList {
public:
    /// The slot number of a member that is in no list.
    static constexpr std::int64_t NotListed = std::numeric_limits<std::int64_t>::min();

    /// How many members the list holds.
    int Count() const { return static_cast<int>(FMembers.size()); }
    /// True when the list holds no member.
    bool Empty() const { return FMembers.empty(); }
    /// The member at Index, 0 to Count() - 1; the index is not checked.
    T* At(int Index) const { return FMembers[static_cast<std::size_t>(Index)]; }
    ///@{
    /// The first or last member; null for an empty list.
    T* First() const { return FMembers.empty() ? nullptr : FMembers.front(); }
    T* Last() const { return FMembers.empty() ? nullptr : FMembers.back(); }
    ///@}

    /// The member's position, or -1 once it has been removed.
    int IndexOf(const T* Member) const {
        return Pos(Member) == NotListed ? -1 : static_cast<int>(Pos(Member) - FBase);
    }

    /// Adds Member at the end.
    void Append(T* Member) {
        Pos(Member) = FBase + static_cast<std::int64_t>(FMembers.size());
        FMembers.push_back(Member);
    }

    /// Index runs from 0 to Count; Count appends.
    void Insert(int Index, T* Member) {
        const int N = Count();
        if (Index >= N) {
            Append(Member);
        } else if (Index < N / 2) {
            // Shift the front part down by one slot so the tail keeps its numbers.
            for (int I = 0; I < Index; ++I) --Pos(FMembers[static_cast<std::size_t>(I)]);
            --FBase;
            Pos(Member) = FBase + Index;
            FMembers.insert(FMembers.begin() + Index, Member);
        } else {
            FMembers.insert(FMembers.begin() + Index, Member);
            Renumber(Index);
        }
    }

    /// Takes Member out; the members after it move up one place. A member
    /// that is not listed is left alone.
    void Remove(T* Member) {
        const int Index = IndexOf(Member);
        if (Index < 0) return;
        const int N = Count();
        if (Index == 0) {
            FMembers.pop_front();
            ++FBase;
        } else if (Index == N - 1) {
            FMembers.pop_back();
        } else if (Index < N / 2) {
            for (int I = 0; I < Index; ++I) ++Pos(FMembers[static_cast<std::size_t>(I)]);
            ++FBase;
            FMembers.erase(FMembers.begin() + Index);
        } else {
            FMembers.erase(FMembers.begin() + Index);
            Renumber(Index);
        }
        Pos(Member) = NotListed;
    }

    /// Removes and returns the first member (Empty() must be false).
    T* TakeFirst() {
        T* Member = FMembers.front();
        Remove(Member);
        return Member;
    }

private:
    static std::int64_t& Pos(const T* Member) {
        return const_cast<TFolioListed*>(static_cast<const TFolioListed*>(Member))->FListPos;
    }

    void Renumber(int From) {
        for (int I = From; I < Count(); ++I) Pos(FMembers[static_cast<std::size_t>(I)]) = FBase + I;
    }

    std::deque<T*> FMembers;
    std::int64_t FBase = 0;
};

} // namespace folio
