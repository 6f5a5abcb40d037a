#include "framework/hosts/AtspiTranslate.h"

#include "framework/core/Utf8.h"

#include <algorithm>
#include <cstdint>

namespace folio {

namespace {

void Add(TAtspiStateSet& Set, unsigned State) {
    Set[State / 32] |= 1u << (State % 32);
}

} // namespace

bool AtspiHasState(const TAtspiStateSet& Set, unsigned State) {
    return State < 64 && (Set[State / 32] & (1u << (State % 32))) != 0;
}

unsigned AtspiRole(TAccRole Role) {
    switch (Role) {
    case TAccRole::Window:
        return atspi_role::Frame;
    case TAccRole::Client:
        return atspi_role::Panel;
    case TAccRole::Grouping:
        return atspi_role::Grouping;
    case TAccRole::PushButton:
        return atspi_role::PushButton;
    case TAccRole::StaticText:
        return atspi_role::Label;
    case TAccRole::Text:
        return atspi_role::Entry;
    case TAccRole::Graphic:
        return atspi_role::Image;
    case TAccRole::PageTabList:
        return atspi_role::PageTabList;
    case TAccRole::PageTab:
        return atspi_role::PageTab;
    case TAccRole::List:
        return atspi_role::List;
    case TAccRole::ListItem:
        return atspi_role::ListItem;
    case TAccRole::Table:
    case TAccRole::Grid:
        // A grid of cells is read like a table: row and column, cell by cell.
        return atspi_role::Table;
    case TAccRole::ColumnHeader:
        return atspi_role::ColumnHeader;
    case TAccRole::Cell:
        return atspi_role::TableCell;
    case TAccRole::ProgressBar:
        return atspi_role::ProgressBar;
    case TAccRole::Chart:
        return atspi_role::Chart;
    case TAccRole::ScrollBar:
        return atspi_role::ScrollBar;
    case TAccRole::CheckBox:
        return atspi_role::CheckBox;
    case TAccRole::RadioButton:
        return atspi_role::RadioButton;
    case TAccRole::ToggleButton:
        return atspi_role::ToggleButton;
    case TAccRole::Slider:
        return atspi_role::Slider;
    case TAccRole::SpinButton:
        return atspi_role::SpinButton;
    case TAccRole::StatusBar:
        return atspi_role::StatusBar;
    case TAccRole::ToolBar:
        return atspi_role::ToolBar;
    case TAccRole::Separator:
        return atspi_role::Separator;
    case TAccRole::ScrollPane:
        return atspi_role::ScrollPane;
    case TAccRole::Tree:
        return atspi_role::Tree;
    case TAccRole::TreeItem:
        return atspi_role::TreeItem;
    case TAccRole::MenuBar:
        return atspi_role::MenuBar;
    case TAccRole::MenuItem:
        return atspi_role::MenuItem;
    }
    return atspi_role::Invalid;
}

TAtspiStateSet AtspiStates(TAccRole Role, unsigned States, bool HasDescription) {
    TAtspiStateSet Set{0, 0};
    if (!(States & asDisabled)) {
        Add(Set, atspi_state::Enabled);
        Add(Set, atspi_state::Sensitive);
    }
    // A screen reader skips what is not showing: an invisible object is
    // neither visible nor showing, one scrolled away is visible but not
    // showing.
    if (!(States & asInvisible)) {
        Add(Set, atspi_state::Visible);
        if (!(States & asOffscreen)) Add(Set, atspi_state::Showing);
    }
    if (States & asFocusable) Add(Set, atspi_state::Focusable);
    if (States & asFocused) {
        Add(Set, atspi_state::Focused);
        Add(Set, atspi_state::Focusable);
    }
    if (States & asSelectable) Add(Set, atspi_state::Selectable);
    if (States & asSelected) Add(Set, atspi_state::Selected);
    if (States & asExpandable) {
        Add(Set, atspi_state::Expandable);
        Add(Set, (States & asExpanded) ? atspi_state::Expanded : atspi_state::Collapsed);
    }
    if (Role == TAccRole::Text) {
        Add(Set, (States & asMultiLine) ? atspi_state::MultiLine : atspi_state::SingleLine);
        Add(Set, (States & asReadOnly) ? atspi_state::ReadOnly : atspi_state::Editable);
    } else if (States & asReadOnly) {
        Add(Set, atspi_state::ReadOnly);
    }
    if (States & asCheckable) Add(Set, atspi_state::Checkable);
    if (States & asChecked) Add(Set, atspi_state::Checked);
    if (States & asIndeterminate) Add(Set, atspi_state::Indeterminate);
    if (States & asPressed) Add(Set, atspi_state::Pressed);
    if (HasDescription) Add(Set, atspi_state::HasTooltip);
    return Set;
}

TAtspiStateSet AtspiApplicationStates() {
    TAtspiStateSet Set{0, 0};
    for (const unsigned S :
         {atspi_state::Enabled, atspi_state::Sensitive, atspi_state::Visible, atspi_state::Showing})
        Add(Set, S);
    return Set;
}

bool AtspiHasText(TAccRole Role) {
    return Role == TAccRole::StaticText || Role == TAccRole::Text;
}

bool AtspiHasSelection(TAccRole Role) {
    return Role == TAccRole::PageTabList || Role == TAccRole::List || Role == TAccRole::Table ||
           Role == TAccRole::Grid || Role == TAccRole::Tree;
}

std::vector<const char*> AtspiInterfaces(TAccRole Role, int ActionCount, bool HasRange,
                                         bool Editable, bool IsTable) {
    std::vector<const char*> Names{atspi_interface::Accessible, atspi_interface::Component};
    if (ActionCount > 0) Names.push_back(atspi_interface::Action);
    if (HasRange) Names.push_back(atspi_interface::Value);
    if (AtspiHasText(Role)) Names.push_back(atspi_interface::Text);
    if (Editable) Names.push_back(atspi_interface::EditableText);
    if (AtspiHasSelection(Role)) Names.push_back(atspi_interface::Selection);
    if (IsTable) Names.push_back(atspi_interface::Table);
    return Names;
}

namespace {

int HeaderCells(const TAccTable& Table) {
    return Table.HeaderRow ? Table.Columns : 0;
}

bool ValidShape(const TAccTable& Table) {
    return Table.Rows >= 0 && Table.Columns > 0;
}

} // namespace

int AtspiTableIndex(const TAccTable& Table, int Row, int Column) {
    if (!ValidShape(Table) || Row < 0 || Row >= Table.Rows || Column < 0 || Column >= Table.Columns)
        return -1;
    // In 64 bits: a client may ask for any row of a table of any size.
    const long long Index =
        HeaderCells(Table) + static_cast<long long>(Row) * Table.Columns + Column;
    return Index <= INT32_MAX ? static_cast<int>(Index) : -1;
}

bool AtspiTableCell(const TAccTable& Table, int Index, int& Row, int& Column) {
    Row = Column = -1;
    if (!ValidShape(Table) || Index < 0) return false;
    const int Headers = HeaderCells(Table);
    if (Index < Headers) {
        Column = Index;
        return true;
    }
    const long long Cell = Index - Headers;
    if (Cell >= static_cast<long long>(Table.Rows) * Table.Columns) return false;
    Row = static_cast<int>(Cell / Table.Columns);
    Column = static_cast<int>(Cell % Table.Columns);
    return true;
}

namespace {

// The byte offset of each character of a well-formed text, and its size.
std::vector<std::size_t> CharStarts(const String& Text) {
    std::vector<std::size_t> Starts;
    for (std::size_t I = 0; I < Text.size();) {
        Starts.push_back(I);
        const std::size_t Length = Utf8CharLength(Text.data(), Text.size(), I);
        I += Length ? Length : 1;
    }
    Starts.push_back(Text.size());
    return Starts;
}

} // namespace

int AtspiCharCount(const String& Text) {
    return static_cast<int>(CharStarts(AtspiText(Text)).size()) - 1;
}

String AtspiSubText(const String& Text, int Start, int End) {
    const String Clean = AtspiText(Text);
    const auto Starts = CharStarts(Clean);
    const int Count = static_cast<int>(Starts.size()) - 1;
    if (End < 0 || End > Count) End = Count;
    Start = std::clamp(Start, 0, End);
    return Clean.substr(Starts[static_cast<size_t>(Start)],
                        Starts[static_cast<size_t>(End)] - Starts[static_cast<size_t>(Start)]);
}

char32_t AtspiCharAt(const String& Text, int Offset) {
    const String Clean = AtspiText(Text);
    const auto Starts = CharStarts(Clean);
    if (Offset < 0 || Offset >= static_cast<int>(Starts.size()) - 1) return 0;
    char32_t Code = 0;
    Utf8CharLength(Clean.data(), Clean.size(), Starts[static_cast<size_t>(Offset)], &Code);
    return Code;
}

String AtspiTextAt(const String& Text, int Offset, unsigned Kind, int& Start, int& End) {
    const String Clean = AtspiText(Text);
    const auto Starts = CharStarts(Clean);
    const int Count = static_cast<int>(Starts.size()) - 1;
    Start = End = 0;
    if (Offset < 0 || Offset >= Count) return String();
    const auto IsSpace = [&](int I) { return Clean[Starts[static_cast<size_t>(I)]] == ' '; };
    if (Kind == 0) {
        Start = Offset;
        End = Offset + 1;
    } else if (Kind == 1) {
        // From the start of the word at Offset (or before the spaces it is
        // in) to the start of the next word.
        Start = Offset;
        while (Start > 0 && IsSpace(Start)) --Start;
        while (Start > 0 && !IsSpace(Start - 1)) --Start;
        End = Offset;
        while (End < Count && !IsSpace(End)) ++End;
        while (End < Count && IsSpace(End)) ++End;
    } else {
        End = Count;
    }
    return AtspiSubText(Clean, Start, End);
}

int AtspiCharOffset(const String& Text, int Byte) {
    const std::size_t End = static_cast<std::size_t>(std::clamp(Byte, 0, int(Text.size())));
    int Chars = 0;
    for (std::size_t I = 0; I < End; ++Chars) {
        const std::size_t Length = Utf8CharLength(Text.data(), Text.size(), I);
        I += Length ? Length : 1;
    }
    return Chars;
}

int AtspiByteOffset(const String& Text, int Offset) {
    std::size_t I = 0;
    for (int Chars = 0; Chars < Offset && I < Text.size(); ++Chars) {
        const std::size_t Length = Utf8CharLength(Text.data(), Text.size(), I);
        I += Length ? Length : 1;
    }
    return static_cast<int>(I);
}

String AtspiText(const String& Text) {
    if (IsWellFormedUtf8(Text.data(), Text.size()) && Text.find('\0') == String::npos) return Text;
    String Out;
    Out.reserve(Text.size() + 8);
    for (std::size_t I = 0; I < Text.size();) {
        const std::size_t Length = Utf8CharLength(Text.data(), Text.size(), I);
        if (Length == 0 || Text[I] == '\0') {
            AppendUtf8(Out, U'\uFFFD');
            ++I;
        } else {
            Out.append(Text, I, Length);
            I += Length;
        }
    }
    return Out;
}

TRect AtspiExtents(const TRect& ScreenBounds, unsigned Kind, TPoint WindowOrigin,
                   TPoint ParentOrigin) {
    TPoint Origin{0, 0};
    if (Kind == static_cast<unsigned>(TAtspiCoords::Window))
        Origin = WindowOrigin;
    else if (Kind == static_cast<unsigned>(TAtspiCoords::Parent))
        Origin = ParentOrigin;
    return Bounds(ScreenBounds.Left - Origin.X, ScreenBounds.Top - Origin.Y, ScreenBounds.Width(),
                  ScreenBounds.Height());
}

} // namespace folio
