#pragma once

#include "framework/core/Types.h"

#include <vector>

namespace folio {

/// One entry of a file dialog's filter: what the user reads and the masks
/// it stands for ("Bitmaps (*.bmp)" and {"*.bmp"}).
struct TFileFilterEntry {
    /// What the user reads in the filter list ("Bitmaps (*.bmp)").
    String Description;
    /// The masks the entry stands for ("*.bmp"); a name matches the entry when
    /// it matches any of them.
    std::vector<String> Masks;
};

/// Splits a filter such as "Bitmaps (*.bmp)|*.bmp|All files|*.*" into its
/// entries; masks within an entry are separated by ';'. A trailing
/// description without masks stands for every file.
std::vector<TFileFilterEntry> ParseFileFilter(const String& Filter);

/// True when Name matches Mask, where '*' is any run of characters and '?'
/// any one character, letters compared without case. "*.*" matches every
/// name, with or without a dot, as the platform's dialogs have it.
/// MatchesAnyMask: true when Name matches one of Masks (false for none).
///@{
bool MatchesMask(const String& Name, const String& Mask);
bool MatchesAnyMask(const String& Name, const std::vector<String>& Masks);
///@}

/// FileName with "." + DefaultExt added when its last path part has no
/// extension (and DefaultExt is not empty).
String AddDefaultExt(const String& FileName, const String& DefaultExt);

} // namespace folio
