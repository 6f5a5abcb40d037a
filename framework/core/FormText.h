#pragma once

#include "framework/core/FormTree.h"

namespace folio {

class TStream;

/// Writes Root as a text form at the stream's position.
///
/// The text encoding of a form file, for people to read and to diff:
///
/// \code
///   object Form1: TBarForm
///     Caption = 'Bars'
///     Font.Name = 'Liberation Sans'
///     object Bar1: TFolio
///       Anchors = [akLeft, akTop]
///       Color = clBtnShadow
///       LargeImages = Images1
///       Ratio = 0.75
///       OnItemClick = Bar1ItemClick
///       Groups.Data = {
///         64000000010000006400000003000000...
///       }
///       Items.Strings = (
///         'One'
///         'Two')
///       Columns = <
///         item
///           Caption = 'Name'
///           Width = 120
///         end>
///     end
///   end
/// \endcode
///
/// Strings are quoted with '' for a quote inside; control characters are
/// written as \#n, and long strings are split into parts joined by +. A wide
/// string (one a form gave with character codes above 255) keeps its codes:
/// \#1053\#1072. Floats have a fraction or an exponent, a single's an "s"
/// after it. Binary properties are hex, 32 bytes to a line; lists are values
/// in ( ); collections are items of properties in < >, an item's order index
/// in [ ] after "item". "inherited" opens a block that changes a component
/// of the ancestor form, "inline" one that makes a frame; "[n]" after a
/// class places the component among its parent's children. A reference
/// to a component of another form names the form first: MainForm.Images.
void WriteTextForm(const TFormObject& Root, TStream& Stream);
/// Root as a text form, in a string.
String FormToText(const TFormObject& Root);

/// Reads a text form from the stream's position to its end. Damaged input
/// raises EFormError naming the line and what was expected there.
TFormObject ReadTextForm(TStream& Stream);
/// The same over Size bytes of text in memory.
TFormObject ParseTextForm(const char* Data, std::size_t Size);

} // namespace folio
