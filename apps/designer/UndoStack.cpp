#include "UndoStack.h"

#include <algorithm>
#include <utility>

namespace designer {

TTextPatch TTextPatch::Between(const String& From, const String& To) {
    const std::size_t Shorter = std::min(From.size(), To.size());
    std::size_t Prefix = 0;
    while (Prefix < Shorter && From[Prefix] == To[Prefix]) ++Prefix;
    // The suffix may not reach back into the prefix of either text.
    std::size_t Suffix = 0;
    while (Suffix < Shorter - Prefix &&
           From[From.size() - 1 - Suffix] == To[To.size() - 1 - Suffix])
        ++Suffix;
    return {Prefix, Suffix, To.substr(Prefix, To.size() - Prefix - Suffix)};
}

String TTextPatch::ApplyTo(const String& From) const {
    String To;
    To.reserve(Prefix + Middle.size() + Suffix);
    To.append(From, 0, Prefix);
    To += Middle;
    To.append(From, From.size() - Suffix, Suffix);
    return To;
}

void TUndoStack::Record(const String& Before, const TSelectionNames& BeforeSelection,
                        const String& After, const TSelectionNames& AfterSelection) {
    FUndo.push_back({TTextPatch::Between(After, Before), BeforeSelection, AfterSelection});
    FUndo.back().Patch.Middle.shrink_to_fit();
    FRedo.clear();
}

String TUndoStack::Step(std::vector<TUndoStep>& From, std::vector<TUndoStep>& To,
                        const String& Current, TSelectionNames& Selection, bool Undoing) {
    if (From.empty()) return Current;
    TUndoStep Taken = std::move(From.back());
    From.pop_back();
    String Other = Taken.Patch.ApplyTo(Current);
    Selection = Undoing ? Taken.Before : Taken.After;
    To.push_back(
        {TTextPatch::Between(Other, Current), std::move(Taken.Before), std::move(Taken.After)});
    To.back().Patch.Middle.shrink_to_fit();
    return Other;
}

String TUndoStack::Undo(const String& Current, TSelectionNames& Selection) {
    return Step(FUndo, FRedo, Current, Selection, true);
}

String TUndoStack::Redo(const String& Current, TSelectionNames& Selection) {
    return Step(FRedo, FUndo, Current, Selection, false);
}

void TUndoStack::Rebase(const String& Was, const String& Now) {
    // Only the newest step of each side starts from the form shown; the
    // older ones start from the forms those lead to.
    for (auto* Steps : {&FUndo, &FRedo})
        if (!Steps->empty()) {
            TTextPatch& P = Steps->back().Patch;
            P = TTextPatch::Between(Now, P.ApplyTo(Was));
            P.Middle.shrink_to_fit();
        }
}

void TUndoStack::Clear() {
    FUndo.clear();
    FRedo.clear();
}

std::size_t TUndoStack::ByteSize() const {
    std::size_t Bytes = (FUndo.capacity() + FRedo.capacity()) * sizeof(TUndoStep);
    for (const auto* Steps : {&FUndo, &FRedo})
        for (const TUndoStep& S : *Steps) {
            Bytes += S.Patch.Middle.capacity();
            for (const auto* Names : {&S.Before, &S.After})
                for (const String& Name : *Names) Bytes += sizeof(String) + Name.capacity();
        }
    return Bytes;
}

} // namespace designer
