#pragma once

#include "framework/core/FormTree.h"

namespace folio {

class TStream;

/// The binary encoding of a form file. Every binary form begins with these
/// four bytes; a text form never does.
constexpr char BinaryFormSignature[4] = {'F', 'F', 'B', '1'};

/// Writes Root as one binary form at the stream's position.
void WriteBinaryForm(const TFormObject& Root, TStream& Stream);

/// Reads one binary form from the stream's position and leaves the stream
/// directly after it. Damaged input raises EFormError naming the byte offset
/// (counted from the signature) and what was expected there.
TFormObject ReadBinaryForm(TStream& Stream);

/// The same over bytes in memory; Used receives the length of the form.
TFormObject ParseBinaryForm(const char* Data, std::size_t Size, std::size_t* Used = nullptr);

} // namespace folio
