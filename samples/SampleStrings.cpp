#include "samples/SampleStrings.h"

namespace folio {

const int SSamplesPage = 101;
const int SGraphPointsFull = 102;

const char* const SFG = "FG";
const char* const SBG = "BG";
const char* const SFB = "FB";

namespace {

const TResourceStrings SampleStrings{
    {SSamplesPage, "Samples"},
    {SGraphPointsFull, "A step of the performance graph holds at most 16 data points"},
};

} // namespace

} // namespace folio
