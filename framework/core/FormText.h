#pragma once

#include "framework/core/FormTree.h"

namespace folio {

class TStream;

// The text encoding of a form file, for people to read and to diff:
//
//   object Form1: TBarForm
//     Caption = 'Bars'
//     Font.Name = 'Liberation Sans'
//     object Bar1: TFolio
//       Anchors = [akLeft, akTop]
//       Color = clBtnShadow
//       LargeImages = Images1
//       OnItemClick = Bar1ItemClick
//       Groups.Data = {
//         64000000010000006400000003000000...
//       }
//     end
//   end
//
// Strings are quoted with '' for a quote inside; bytes that are not
// printable (and are not part of a UTF-8 character) are written as #n, and
// long strings are split into parts joined by +. Binary properties are hex,
// 32 bytes to a line. "inherited" opens a block that changes a component
// of the ancestor form.

// Writes Root as a text form at the stream's position.
void WriteTextForm(const TFormObject& Root, TStream& Stream);
String FormToText(const TFormObject& Root);

// Reads a text form from the stream's position to its end. Damaged input
// raises EFormError naming the line and what was expected there.
TFormObject ReadTextForm(TStream& Stream);
TFormObject ParseTextForm(const char* Data, std::size_t Size);

} // namespace folio
