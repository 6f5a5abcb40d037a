#pragma once

#include "fuzz/FuzzTarget.h"

#include <random>

namespace folio::fuzz {

// Changes inputs the way a coverage-blind fuzzer would: bit flips, random
// and boundary bytes, boundary 32-bit values (counts and lengths are 32-bit
// in every format here), ranges erased, inserted, repeated or taken from
// another input, cuts, and words of the target's dictionary inserted or
// written over. The same seed gives the same inputs on every machine, so a
// smoke run is repeatable.
class TMutator {
public:
    explicit TMutator(std::uint64_t Seed) : FRandom(Seed) {}

    // Base after one to four edits, at most MaxSize bytes long; Other is the
    // input to splice from.
    TBytes Mutate(const TBytes& Base, const TBytes& Other, std::size_t MaxSize);
    // A number below Limit (0 for a Limit of 0).
    std::size_t Below(std::size_t Limit);
    // The words that the dictionary edits use (none: those edits do nothing).
    void SetDictionary(std::vector<TBytes> Words) { FWords = std::move(Words); }

private:
    void Edit(TBytes& Bytes, const TBytes& Other);
    std::uint8_t Byte() { return static_cast<std::uint8_t>(FRandom()); }

    std::mt19937_64 FRandom;
    std::vector<TBytes> FWords;
};

// The words of a dictionary file in libFuzzer's format: one "quoted" word
// a line (an optional name= before it), \\, \" and \xNN escapes; lines
// starting with # are comments. Raises std::runtime_error on a bad line.
std::vector<TBytes> ReadDictionary(const std::string& FileName);

} // namespace folio::fuzz
