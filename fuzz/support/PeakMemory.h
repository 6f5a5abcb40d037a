#pragma once

// Peak heap use of one fuzz input, for the loaders' memory bounds.
//
// Measured through the sanitizer runtime's allocation hooks, so it works in
// the libFuzzer build and in sanitizer builds of the smoke driver; in a
// plain build Available() is false and nothing is measured.

#include <cstddef>
#include <cstdint>

namespace folio::fuzz {

class TPeakMemory {
public:
    static bool Available();
    // Starts measuring: the peak restarts at the bytes allocated now.
    static void Begin();
    // The most bytes allocated above the level at Begin since then.
    static std::int64_t Peak();
};

// Keeps the largest ratio of peak bytes to input bytes that Target met
// (among inputs of a few hundred bytes or more) and the largest peak, and
// prints them with the input sizes that gave them when the program ends.
void NoteMemoryRatio(const char* Target, std::size_t InputSize, std::int64_t PeakBytes);

} // namespace folio::fuzz
