#pragma once

#include "framework/ui/controls/Accessible.h"

#include <array>
#include <cstdint>
#include <vector>

namespace folio {

// How a node of the program's accessibility tree reads on the desktop's
// accessibility bus (AT-SPI2): its role number, its state set and the
// interfaces it offers there. Pure translation: nothing here touches a bus,
// so the whole mapping is tested without one.

// Role numbers of the bus that the tree uses.
namespace atspi_role {
constexpr unsigned Invalid = 0;
constexpr unsigned ColumnHeader = 10;
constexpr unsigned Frame = 23;
constexpr unsigned Image = 27;
constexpr unsigned Label = 29;
constexpr unsigned List = 31;
constexpr unsigned MenuBar = 34;
constexpr unsigned MenuItem = 35;
constexpr unsigned ListItem = 32;
constexpr unsigned PageTab = 37;
constexpr unsigned PageTabList = 38;
constexpr unsigned Panel = 39;
constexpr unsigned ProgressBar = 42;
constexpr unsigned PushButton = 43;
constexpr unsigned Table = 55;
constexpr unsigned TableCell = 56;
constexpr unsigned Tree = 65;
constexpr unsigned Application = 75;
constexpr unsigned CheckBox = 7;
constexpr unsigned RadioButton = 44;
constexpr unsigned ScrollBar = 48;
constexpr unsigned ScrollPane = 49;
constexpr unsigned Separator = 50;
constexpr unsigned Slider = 51;
constexpr unsigned SpinButton = 52;
constexpr unsigned StatusBar = 54;
constexpr unsigned ToggleButton = 62;
constexpr unsigned ToolBar = 63;
constexpr unsigned Entry = 79;
constexpr unsigned Chart = 80;
constexpr unsigned TreeItem = 91;
constexpr unsigned Grouping = 99;
} // namespace atspi_role

// State numbers of the bus: each is a bit of a 64-bit set sent as two
// 32-bit words, low word first.
namespace atspi_state {
constexpr unsigned Active = 1;
constexpr unsigned Checked = 4;
constexpr unsigned Collapsed = 5;
constexpr unsigned Defunct = 6;
constexpr unsigned Editable = 7;
constexpr unsigned Enabled = 8;
constexpr unsigned Expandable = 9;
constexpr unsigned Expanded = 10;
constexpr unsigned Focusable = 11;
constexpr unsigned Focused = 12;
constexpr unsigned HasTooltip = 13;
constexpr unsigned MultiLine = 17;
constexpr unsigned Selectable = 22;
constexpr unsigned Pressed = 20;
constexpr unsigned Selected = 23;
constexpr unsigned Sensitive = 24;
constexpr unsigned Showing = 25;
constexpr unsigned SingleLine = 26;
constexpr unsigned Visible = 30;
constexpr unsigned Indeterminate = 32;
constexpr unsigned Checkable = 41;
constexpr unsigned ReadOnly = 43;
} // namespace atspi_state

/// The bus's state set: bit N (of the two 32-bit words, low word first) is
/// state number N.
using TAtspiStateSet = std::array<std::uint32_t, 2>;

/// Whether state number State is in Set.
bool AtspiHasState(const TAtspiStateSet& Set, unsigned State);

/// The bus's role number for a node of Role.
unsigned AtspiRole(TAccRole Role);

/// The bus's state set for a node of Role with the tree's States (TAccState
/// bits). HasDescription adds "has tooltip" (the description is the hint).
TAtspiStateSet AtspiStates(TAccRole Role, unsigned States, bool HasDescription = false);

/// The state set of the application's own root: always enabled and shown.
TAtspiStateSet AtspiApplicationStates();

// Interface names of the bus.
namespace atspi_interface {
constexpr const char* Accessible = "org.a11y.atspi.Accessible";
constexpr const char* Application = "org.a11y.atspi.Application";
constexpr const char* Component = "org.a11y.atspi.Component";
constexpr const char* Action = "org.a11y.atspi.Action";
constexpr const char* Text = "org.a11y.atspi.Text";
constexpr const char* Value = "org.a11y.atspi.Value";
constexpr const char* Selection = "org.a11y.atspi.Selection";
constexpr const char* EditableText = "org.a11y.atspi.EditableText";
constexpr const char* Table = "org.a11y.atspi.Table";
} // namespace atspi_interface

// Relation numbers of the bus.
namespace atspi_relation {
constexpr unsigned LabelFor = 1;
constexpr unsigned LabelledBy = 2;
} // namespace atspi_relation

/// Whether a node of Role offers its text (labels and edit boxes) and
/// whether its children are chosen among (a bar's groups, lists, tables).
///@{
bool AtspiHasText(TAccRole Role);
bool AtspiHasSelection(TAccRole Role);
///@}

/// The interfaces a node offers: every node is Accessible and a Component
/// (it has a place on the screen); a node with actions offers Action, one
/// with a range Value, and Text and Selection go by the role.
/// A node whose text the user edits (it has a caret) offers EditableText,
/// and one that tells its shape as a table offers Table.
std::vector<const char*> AtspiInterfaces(TAccRole Role, int ActionCount, bool HasRange = false,
                                         bool Editable = false, bool IsTable = false);

/// A table's cells by row and column (Table's calls) against the node's
/// children: the child index of a cell, -1 outside the table; and the row
/// and column of a child, false for one outside. A column header (before the
/// cells when the table has a header row) is in row -1 of its column.
///@{
int AtspiTableIndex(const TAccTable& Table, int Row, int Column);
bool AtspiTableCell(const TAccTable& Table, int Index, int& Row, int& Column);
///@}

/// The characters of Text as the bus counts them: offsets are characters
/// (code points) of the UTF-8 text, not bytes. The text is taken as
/// AtspiText makes it.
int AtspiCharCount(const String& Text);
/// Characters Start up to End (End -1: to the end), kept inside the text.
String AtspiSubText(const String& Text, int Start, int End);
/// The code point at Offset, 0 outside the text.
char32_t AtspiCharAt(const String& Text, int Offset);
/// The span around Offset of a kind: 0 a character, 1 a word with the
/// spaces after it, anything else the whole text (a label or a one-line
/// box is one sentence, line and paragraph). Start and End are offsets;
/// both 0 outside the text.
String AtspiTextAt(const String& Text, int Offset, unsigned Kind, int& Start, int& End);

/// Between the tree's byte offsets and the bus's character offsets of the
/// same text, counting each byte that is not part of a well-formed character
/// as one character, as AtspiText does. Offsets outside the text are kept at
/// its ends.
///@{
int AtspiCharOffset(const String& Text, int Byte);
int AtspiByteOffset(const String& Text, int Offset);
///@}

/// A text as the bus may carry it: the bus takes only well-formed UTF-8
/// without NUL, so each byte that is not part of a well-formed character, and
/// each NUL, becomes U+FFFD. A caption read from an old file may hold any
/// bytes, and one such caption must not make the whole answer fail.
String AtspiText(const String& Text);

/// Coordinate kinds of the bus's Component calls.
enum class TAtspiCoords : unsigned { Screen = 0, Window = 1, Parent = 2 };

/// Screen bounds moved into the coordinates Kind asks for: Window relative to
/// the top-level window's Origin, Parent relative to the parent's; anything
/// else is taken as screen coordinates.
TRect AtspiExtents(const TRect& ScreenBounds, unsigned Kind, TPoint WindowOrigin,
                   TPoint ParentOrigin);

} // namespace folio
