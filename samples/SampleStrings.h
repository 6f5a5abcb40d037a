#pragma once

#include "framework/core/Resources.h"

namespace folio {

// The strings of the sample controls. The numbered ones are registered with
// the framework's string resources when a program that uses any of them
// starts: LoadStr(SSamplesPage) names the palette page the four controls
// share, LoadStr(SGraphPointsFull) is the performance graph's range error.
// They are variables rather than constants so that every unit naming one
// links the registration in with it.
extern const int SSamplesPage;     // 101
extern const int SGraphPointsFull; // 102

// The colour grid's marks on the foreground, background and shared square.
extern const char* const SFG;
extern const char* const SBG;
extern const char* const SFB;

} // namespace folio
