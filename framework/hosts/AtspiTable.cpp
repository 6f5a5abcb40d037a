// The bus's Table interface for objects that tell their shape as a table:
// cells by row and column, the names of rows and columns, and which rows,
// columns and cells are selected.
#include "framework/hosts/AtspiHandlers.h"

namespace folio {

using namespace atspi_bus;

struct TAtspiBridge::THandlers::TTableCalls {
    static int Find(sd_bus*, const char* Path, const char*, void* Data, void** Found,
                    sd_bus_error*) {
        const TResolved R = Resolve(Bridge(Data), Path);
        TAccTable Table;
        if (!R || R.Id == RootId || !R.Node->GetTable(Table)) return 0;
        *Found = Data;
        return 1;
    }

    // The node the message names, with its shape as a table; an error when
    // the object is gone or no longer a table.
    static int TableOf(const char* Path, void* Data, sd_bus_error* Error, TResolved& R,
                       TAccTable& Table) {
        R = Resolve(Bridge(Data), Path);
        if (!R || !R.Node->GetTable(Table)) return Gone(Error);
        return 0;
    }

    static int TableOf(sd_bus_message* M, void* Data, sd_bus_error* Error, TResolved& R,
                       TAccTable& Table) {
        return TableOf(sd_bus_message_get_path(M), Data, Error, R, Table);
    }

    static int NRows(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                     void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        if (const int Failed = TableOf(Path, Data, Error, R, Table); Failed < 0) return Failed;
        return sd_bus_message_append(Reply, "i", Table.Rows);
    }

    static int NColumns(sd_bus*, const char* Path, const char*, const char*, sd_bus_message* Reply,
                        void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        if (const int Failed = TableOf(Path, Data, Error, R, Table); Failed < 0) return Failed;
        return sd_bus_message_append(Reply, "i", Table.Columns);
    }

    // The table's name is its caption; no object of its own stands for it.
    static int NoObjectProperty(sd_bus*, const char* Path, const char*, const char*,
                                sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        if (!Resolve(Bridge(Data), Path)) return Gone(Error);
        return sd_bus_message_append(Reply, "(so)", "", NullPath);
    }

    // Whether every cell of a row (or of a column) is selected: the row
    // the inspector is on, not a calendar's one chosen day.
    static bool LineSelected(const TAccessible& Node, const TAccTable& Table, int Line, bool Row) {
        const int Cells = Row ? Table.Columns : Table.Rows;
        if (Cells <= 0 || Cells > MaxChildrenListed) return false;
        for (int I = 0; I < Cells; ++I) {
            const int Index =
                Row ? AtspiTableIndex(Table, Line, I) : AtspiTableIndex(Table, I, Line);
            const auto Cell = Node.GetChild(Index);
            if (!Cell || !(Cell->GetStates() & asSelected)) return false;
        }
        return true;
    }

    // The selected rows (or columns), looked for among the first
    // MaxChildrenListed cells.
    static std::vector<int> SelectedLines(const TAccessible& Node, const TAccTable& Table,
                                          bool Row) {
        std::vector<int> Lines;
        const int Count = Row ? Table.Rows : Table.Columns;
        const int Across = Row ? Table.Columns : Table.Rows;
        if (Across <= 0) return Lines;
        const int Look = std::min(Count, std::max(1, MaxChildrenListed / Across));
        for (int I = 0; I < Look; ++I)
            if (LineSelected(Node, Table, I, Row)) Lines.push_back(I);
        return Lines;
    }

    static int NSelected(const char* Path, void* Data, sd_bus_message* Reply, sd_bus_error* Error,
                         bool Row) {
        TResolved R;
        TAccTable Table;
        if (const int Failed = TableOf(Path, Data, Error, R, Table); Failed < 0) return Failed;
        return sd_bus_message_append(Reply, "i",
                                     static_cast<int>(SelectedLines(*R.Node, Table, Row).size()));
    }

    static int NSelectedRows(sd_bus*, const char* Path, const char*, const char*,
                             sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return NSelected(Path, Data, Reply, Error, true);
    }

    static int NSelectedColumns(sd_bus*, const char* Path, const char*, const char*,
                                sd_bus_message* Reply, void* Data, sd_bus_error* Error) {
        return NSelected(Path, Data, Reply, Error, false);
    }

    // A call that names a cell by row and column: the table and the cell's
    // child index (-1 outside the table).
    static int CellAt(sd_bus_message* M, void* Data, sd_bus_error* Error, TResolved& R,
                      TAccTable& Table, int& Index) {
        if (const int Failed = TableOf(M, Data, Error, R, Table); Failed < 0) return Failed;
        int Row = 0, Column = 0;
        if (const int Read = sd_bus_message_read(M, "ii", &Row, &Column); Read < 0) return Read;
        Index = AtspiTableIndex(Table, Row, Column);
        return 0;
    }

    // A call that names a child by index, a row or a column: the number.
    static int NumberOf(sd_bus_message* M, void* Data, sd_bus_error* Error, TResolved& R,
                        TAccTable& Table, int& Number) {
        if (const int Failed = TableOf(M, Data, Error, R, Table); Failed < 0) return Failed;
        return sd_bus_message_read(M, "i", &Number);
    }

    static int ReplyChild(sd_bus_message* M, TAtspiBridge* B, const TResolved& R, int Index) {
        const auto Child = Index < 0 ? nullptr : R.Node->GetChild(Index);
        if (!Child) return ReplyNullRef(M);
        return ReplyRef(M, B, ChildId(B, R.Id, Index, *Child));
    }

    static int GetAccessibleAt(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = CellAt(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        return ReplyChild(M, Bridge(Data), R, Index);
    }

    static int GetIndexAt(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = CellAt(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        return sd_bus_reply_method_return(M, "i", Index);
    }

    static int RowOrColumnAtIndex(sd_bus_message* M, void* Data, sd_bus_error* Error, bool Row) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        int AtRow = -1, AtColumn = -1;
        AtspiTableCell(Table, Index, AtRow, AtColumn);
        return sd_bus_reply_method_return(M, "i", Row ? AtRow : AtColumn);
    }

    static int GetRowAtIndex(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return RowOrColumnAtIndex(M, Data, Error, true);
    }

    static int GetColumnAtIndex(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return RowOrColumnAtIndex(M, Data, Error, false);
    }

    static int GetRowDescription(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Row = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Row); Failed < 0) return Failed;
        const bool Inside = Row >= 0 && Row < Table.Rows;
        return sd_bus_reply_method_return(M, "s",
                                          Inside ? AtspiText(R.Node->GetRowName(Row)).c_str() : "");
    }

    static int GetColumnDescription(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Column = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Column); Failed < 0)
            return Failed;
        const bool Inside = Column >= 0 && Column < Table.Columns;
        return sd_bus_reply_method_return(
            M, "s", Inside ? AtspiText(R.Node->GetColumnName(Column)).c_str() : "");
    }

    // Every cell spans one row and one column; none outside the table.
    static int GetExtentAt(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = CellAt(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        return sd_bus_reply_method_return(M, "i", Index < 0 ? 0 : 1);
    }

    // Rows have no header objects; a column's header is its cell of the
    // header row, where the table has one.
    static int GetRowHeader(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Row = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Row); Failed < 0) return Failed;
        return ReplyNullRef(M);
    }

    static int GetColumnHeader(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Column = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Column); Failed < 0)
            return Failed;
        const bool Header = Table.HeaderRow && Column >= 0 && Column < Table.Columns;
        return ReplyChild(M, Bridge(Data), R, Header ? Column : -1);
    }

    static int ReplyLines(sd_bus_message* M, void* Data, sd_bus_error* Error, bool Row) {
        TResolved R;
        TAccTable Table;
        if (const int Failed = TableOf(M, Data, Error, R, Table); Failed < 0) return Failed;
        const std::vector<int> Lines = SelectedLines(*R.Node, Table, Row);
        sd_bus_message* Reply = nullptr;
        int Result = sd_bus_message_new_method_return(M, &Reply);
        if (Result >= 0)
            Result =
                sd_bus_message_append_array(Reply, 'i', Lines.data(), Lines.size() * sizeof(int));
        if (Result >= 0) Result = sd_bus_send(nullptr, Reply, nullptr);
        sd_bus_message_unref(Reply);
        return Result;
    }

    static int GetSelectedRows(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return ReplyLines(M, Data, Error, true);
    }

    static int GetSelectedColumns(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return ReplyLines(M, Data, Error, false);
    }

    static int IsLineSelected(sd_bus_message* M, void* Data, sd_bus_error* Error, bool Row) {
        TResolved R;
        TAccTable Table;
        int Line = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Line); Failed < 0) return Failed;
        const bool Inside = Line >= 0 && Line < (Row ? Table.Rows : Table.Columns);
        return sd_bus_reply_method_return(M, "b",
                                          Inside && LineSelected(*R.Node, Table, Line, Row));
    }

    static int IsRowSelected(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return IsLineSelected(M, Data, Error, true);
    }

    static int IsColumnSelected(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        return IsLineSelected(M, Data, Error, false);
    }

    static bool CellSelected(const TAccessible& Node, int Index) {
        const auto Cell = Index < 0 ? nullptr : Node.GetChild(Index);
        return Cell && (Cell->GetStates() & asSelected);
    }

    static int IsSelected(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = CellAt(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        return sd_bus_reply_method_return(M, "b", CellSelected(*R.Node, Index));
    }

    // A cell is chosen through the Selection interface or its press, as the
    // user chooses one; whole rows and columns are not chosen or dropped.
    static int RefuseLine(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Line = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Line); Failed < 0) return Failed;
        return sd_bus_reply_method_return(M, "b", 0);
    }

    static int GetRowColumnExtentsAtIndex(sd_bus_message* M, void* Data, sd_bus_error* Error) {
        TResolved R;
        TAccTable Table;
        int Index = -1;
        if (const int Failed = NumberOf(M, Data, Error, R, Table, Index); Failed < 0) return Failed;
        int Row = -1, Column = -1;
        const bool Cell = AtspiTableCell(Table, Index, Row, Column) && Row >= 0;
        if (!Cell) return sd_bus_reply_method_return(M, "biiiib", 0, -1, -1, 0, 0, 0);
        return sd_bus_reply_method_return(M, "biiiib", 1, Row, Column, 1, 1,
                                          CellSelected(*R.Node, Index));
    }
};

namespace {

using C = TAtspiBridge::THandlers::TTableCalls;

const sd_bus_vtable Vtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("NRows", "i", C::NRows, 0, 0),
    SD_BUS_PROPERTY("NColumns", "i", C::NColumns, 0, 0),
    SD_BUS_PROPERTY("Caption", "(so)", C::NoObjectProperty, 0, 0),
    SD_BUS_PROPERTY("Summary", "(so)", C::NoObjectProperty, 0, 0),
    SD_BUS_PROPERTY("NSelectedRows", "i", C::NSelectedRows, 0, 0),
    SD_BUS_PROPERTY("NSelectedColumns", "i", C::NSelectedColumns, 0, 0),
    SD_BUS_METHOD("GetAccessibleAt", "ii", "(so)", C::GetAccessibleAt, 0),
    SD_BUS_METHOD("GetIndexAt", "ii", "i", C::GetIndexAt, 0),
    SD_BUS_METHOD("GetRowAtIndex", "i", "i", C::GetRowAtIndex, 0),
    SD_BUS_METHOD("GetColumnAtIndex", "i", "i", C::GetColumnAtIndex, 0),
    SD_BUS_METHOD("GetRowDescription", "i", "s", C::GetRowDescription, 0),
    SD_BUS_METHOD("GetColumnDescription", "i", "s", C::GetColumnDescription, 0),
    SD_BUS_METHOD("GetRowExtentAt", "ii", "i", C::GetExtentAt, 0),
    SD_BUS_METHOD("GetColumnExtentAt", "ii", "i", C::GetExtentAt, 0),
    SD_BUS_METHOD("GetRowHeader", "i", "(so)", C::GetRowHeader, 0),
    SD_BUS_METHOD("GetColumnHeader", "i", "(so)", C::GetColumnHeader, 0),
    SD_BUS_METHOD("GetSelectedRows", "", "ai", C::GetSelectedRows, 0),
    SD_BUS_METHOD("GetSelectedColumns", "", "ai", C::GetSelectedColumns, 0),
    SD_BUS_METHOD("IsRowSelected", "i", "b", C::IsRowSelected, 0),
    SD_BUS_METHOD("IsColumnSelected", "i", "b", C::IsColumnSelected, 0),
    SD_BUS_METHOD("IsSelected", "ii", "b", C::IsSelected, 0),
    SD_BUS_METHOD("AddRowSelection", "i", "b", C::RefuseLine, 0),
    SD_BUS_METHOD("AddColumnSelection", "i", "b", C::RefuseLine, 0),
    SD_BUS_METHOD("RemoveRowSelection", "i", "b", C::RefuseLine, 0),
    SD_BUS_METHOD("RemoveColumnSelection", "i", "b", C::RefuseLine, 0),
    SD_BUS_METHOD("GetRowColumnExtentsAtIndex", "i", "biiiib", C::GetRowColumnExtentsAtIndex, 0),
    SD_BUS_VTABLE_END};

} // namespace

void TAtspiBridge::THandlers::AddTable(TAtspiBridge* B) {
    sd_bus_add_fallback_vtable(B->FBus->Bus(), nullptr, ObjectPrefix, atspi_interface::Table,
                               Vtable, C::Find, B);
}

} // namespace folio
