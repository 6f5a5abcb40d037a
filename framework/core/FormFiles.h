#pragma once

#include "framework/core/FormTree.h"

#include <vector>

namespace folio {

class TComponent;
class TStream;

/// The two encodings of a form file: a compact binary one and a text one for
/// people and diffs. They hold the same trees and convert both ways.
enum TFormEncoding { feBinary, feText };

/// True when the stream, at its position, holds a binary form (the position
/// is left as it was).
bool IsBinaryForm(TStream& Stream);
/// Reads one form's tree in whichever encoding the stream holds; damaged
/// input raises EFormError (or EReadError).
TFormObject ReadFormObject(TStream& Stream);
/// Writes a form's tree in Encoding at the stream's position.
void WriteFormObject(const TFormObject& Form, TStream& Stream, TFormEncoding Encoding);

/// Writes Instance (a form) and the components it owns. With an Ancestor
/// (the form as its ancestor form class makes it), only the differences.
void WriteComponent(TStream& Stream, TComponent* Instance, TComponent* Ancestor = nullptr,
                    TFormEncoding Encoding = feBinary);
/// Reads a form into Instance, or, when Instance is null, into a new
/// component of the form's class (unowned; the caller frees it). Either the
/// whole form is read or an exception leaves Instance and its components as
/// they were.
TComponent* ReadComponent(TStream& Stream, TComponent* Instance = nullptr);
/// Reads an inherited form: the ancestors' forms first (the oldest first),
/// then the descendant's, as one read.
void ReadInheritedComponent(const std::vector<TStream*>& Forms, TComponent* Instance);

/// WriteComponent into a file, in the text encoding unless told otherwise.
/// The whole form is made in memory first, so a component that cannot be
/// written leaves an existing file alone; a file that cannot be created
/// raises EFCreateError.
void WriteComponentFile(const String& FileName, TComponent* Instance,
                        TFormEncoding Encoding = feText, TComponent* Ancestor = nullptr);
/// ReadComponent from a file, in either encoding by the file's content; a
/// file that cannot be opened raises EFOpenError.
TComponent* ReadComponentFile(const String& FileName, TComponent* Instance = nullptr);

///@{
/// Converts one form from the input's position to the output.
void ObjectBinaryToText(TStream& Input, TStream& Output);
void ObjectTextToBinary(TStream& Input, TStream& Output);
///@}

} // namespace folio
