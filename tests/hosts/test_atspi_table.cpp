#include "AtspiClient.h"

using namespace folio;
using namespace folio::testing;

namespace {

constexpr const char* TableIface = "org.a11y.atspi.Table";

// A table of three rows of two cells ("r0c0" ...), after a row of column
// headers ("Key", "Value") when Headers holds; the cells of row 1 are
// selected, and cell (2, 0) alone.
bool Headers = false;

class TCellNode : public TAccessible {
public:
    TCellNode(String Name, TAccRole Role, bool Selected)
        : FName(std::move(Name)), FRole(Role), FSelected(Selected) {}
    TAccRole GetRole() const override { return FRole; }
    String GetName() const override { return FName; }
    unsigned GetStates() const override { return asSelectable | (FSelected ? asSelected : 0u); }
    TRect GetBounds() const override { return TRect{}; }

private:
    String FName;
    TAccRole FRole;
    bool FSelected;
};

class TTableNode : public TControlAccessible {
public:
    explicit TTableNode(TControl* C) : TControlAccessible(C, TAccRole::Table) {}
    int GetChildCount() const override { return (Headers ? 2 : 0) + 6; }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= GetChildCount()) return nullptr;
        if (Headers && Index < 2)
            return std::make_unique<TCellNode>(Index == 0 ? "Key" : "Value", TAccRole::ColumnHeader,
                                               false);
        const int Cell = Index - (Headers ? 2 : 0);
        const int Row = Cell / 2, Column = Cell % 2;
        return std::make_unique<TCellNode>("r" + std::to_string(Row) + "c" + std::to_string(Column),
                                           TAccRole::Cell, Row == 1 || (Row == 2 && Column == 0));
    }
    bool GetTable(TAccTable& Table) const override {
        Table = {3, 2, Headers};
        return true;
    }
    String GetRowName(int Row) const override { return "Row " + std::to_string(Row); }
};

std::unique_ptr<TAccessible> MakeTable(TControl* C) {
    return std::make_unique<TTableNode>(C);
}

class AtspiTable : public AtspiBridge {
protected:
    void SetUp() override {
        AtspiBridge::SetUp();
        Headers = false;
    }
    // The object path a call answers with, "" for the null object.
    std::string RefOf(TReply& R) {
        const char* Name = nullptr;
        const char* Object = nullptr;
        if (!R.Ok() || sd_bus_message_read(R.Message, "(so)", &Name, &Object) < 0) return "<error>";
        return std::strcmp(Object, "/org/a11y/atspi/null") == 0 ? "" : Object;
    }
    std::string At(const std::string& Table, int Row, int Column) {
        TReply R;
        Client->Call(R, Table, TableIface, "GetAccessibleAt", "ii", Row, Column);
        return RefOf(R);
    }
    // A call's answer of one number ("i") or truth ("b"); Missing when the
    // call failed.
    template <typename... TArgs>
    int Answer(const char* Type, int Missing, const std::string& Path, const char* Method,
               const char* Signature, TArgs... Args) {
        TReply R;
        Client->Call(R, Path, TableIface, Method, Signature, Args...);
        int Value = Missing;
        if (R.Ok()) sd_bus_message_read(R.Message, Type, &Value);
        return Value;
    }
    template <typename... TArgs>
    int Int(const std::string& Path, TArgs... Args) {
        return Answer("i", -100, Path, Args...);
    }
    template <typename... TArgs>
    int Bool(const std::string& Path, TArgs... Args) {
        return Answer("b", -1, Path, Args...);
    }
    std::string Text(const std::string& Path, const char* Method, int Number) {
        TReply R;
        Client->Call(R, Path, TableIface, Method, "i", Number);
        const char* Value = nullptr;
        if (!R.Ok() || sd_bus_message_read(R.Message, "s", &Value) < 0) return "<error>";
        return Value;
    }
    int IntProperty(const std::string& Path, const char* Name) {
        TReply R;
        Client->Call(R, Path, "org.freedesktop.DBus.Properties", "Get", "ss", TableIface, Name);
        int Value = -100;
        if (R.Ok()) sd_bus_message_read(R.Message, "v", "i", &Value);
        return Value;
    }
    std::string NameOf(const std::string& Path) {
        return Client->Property(Path, AccessibleIface, "Name");
    }
};

} // namespace

// Cells by row and column, and back: every cell of the table, with and
// without a row of column headers before the cells.
TEST_F(AtspiTable, CellsAreFoundByRowAndColumnAndBack) {
    TAccessibleRegistration AsTable(TPanel::StaticClassInfo(), MakeTable);
    TSampleForm Sample;
    for (const bool WithHeaders : {false, true}) {
        Headers = WithHeaders;
        const int First = WithHeaders ? 2 : 0;
        const std::string Table = FormChild(3);
        EXPECT_EQ(IntProperty(Table, "NRows"), 3) << "headers are no row: " << WithHeaders;
        EXPECT_EQ(IntProperty(Table, "NColumns"), 2);
        for (int Row = 0; Row < 3; ++Row)
            for (int Column = 0; Column < 2; ++Column) {
                const std::string Cell = At(Table, Row, Column);
                const int Index = First + Row * 2 + Column;
                EXPECT_EQ(NameOf(Cell), "r" + std::to_string(Row) + "c" + std::to_string(Column));
                EXPECT_EQ(Cell, Client->Ref(Table, "GetChildAtIndex", Index)) << "the same object";
                EXPECT_EQ(Int(Table, "GetIndexAt", "ii", Row, Column), Index);
                EXPECT_EQ(Int(Table, "GetRowAtIndex", "i", Index), Row);
                EXPECT_EQ(Int(Table, "GetColumnAtIndex", "i", Index), Column);
                EXPECT_EQ(Int(Table, "GetRowExtentAt", "ii", Row, Column), 1);
            }
        // Outside the table: no object, index -1, no extent.
        for (const auto& [Row, Column] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
            EXPECT_EQ(At(Table, Row, Column), "") << Row << "," << Column;
            EXPECT_EQ(Int(Table, "GetIndexAt", "ii", Row, Column), -1);
            EXPECT_EQ(Int(Table, "GetColumnExtentAt", "ii", Row, Column), 0);
        }
        EXPECT_EQ(Int(Table, "GetRowAtIndex", "i", First + 6), -1);
        EXPECT_EQ(Int(Table, "GetRowAtIndex", "i", -1), -1);
        EXPECT_EQ(Text(Table, "GetRowDescription", 2), "Row 2");
        EXPECT_EQ(Text(Table, "GetRowDescription", 3), "");
    }
}

// A header row names the columns and is each column's header object; a
// table without one has none.
TEST_F(AtspiTable, AHeaderRowNamesTheColumns) {
    TAccessibleRegistration AsTable(TPanel::StaticClassInfo(), MakeTable);
    TSampleForm Sample;
    const std::string Table = FormChild(3);
    TReply None;
    Client->Call(None, Table, TableIface, "GetColumnHeader", "i", 0);
    EXPECT_EQ(RefOf(None), "");
    EXPECT_EQ(Text(Table, "GetColumnDescription", 1), "");
    Headers = true;
    const struct {
        int Column;
        const char* Name;
    } Columns[] = {{0, "Key"}, {1, "Value"}, {2, ""}, {-1, ""}};
    for (const auto& C : Columns) {
        EXPECT_EQ(Text(Table, "GetColumnDescription", C.Column), C.Name) << C.Column;
        TReply Header;
        Client->Call(Header, Table, TableIface, "GetColumnHeader", "i", C.Column);
        const std::string Path = RefOf(Header);
        if (*C.Name) {
            EXPECT_EQ(Path, Client->Ref(Table, "GetChildAtIndex", C.Column));
            EXPECT_EQ(Client->Role(Path), 10u) << "column header";
        } else {
            EXPECT_EQ(Path, "") << C.Column;
        }
    }
    // A header is in no row, in its own column.
    EXPECT_EQ(Int(Table, "GetRowAtIndex", "i", 1), -1);
    EXPECT_EQ(Int(Table, "GetColumnAtIndex", "i", 1), 1);
    TReply Extents;
    Client->Call(Extents, Table, TableIface, "GetRowColumnExtentsAtIndex", "i", 1);
    int IsCell = -1, Row = 0, Column = 0, Rows = 0, Cols = 0, Selected = 0;
    ASSERT_GE(sd_bus_message_read(Extents.Message, "biiiib", &IsCell, &Row, &Column, &Rows, &Cols,
                                  &Selected),
              0);
    EXPECT_FALSE(IsCell);
}

// Rows and columns are selected when all their cells are; cells on their
// own. Whole rows and columns are not chosen from outside.
TEST_F(AtspiTable, SelectionReadsByRowColumnAndCell) {
    TAccessibleRegistration AsTable(TPanel::StaticClassInfo(), MakeTable);
    TSampleForm Sample;
    const std::string Table = FormChild(3);
    EXPECT_EQ(IntProperty(Table, "NSelectedRows"), 1);
    EXPECT_EQ(IntProperty(Table, "NSelectedColumns"), 0);
    TReply Rows;
    Client->Call(Rows, Table, TableIface, "GetSelectedRows");
    const void* Data = nullptr;
    size_t Size = 0;
    ASSERT_GE(sd_bus_message_read_array(Rows.Message, 'i', &Data, &Size), 0);
    ASSERT_EQ(Size, sizeof(int));
    EXPECT_EQ(*static_cast<const int*>(Data), 1);
    for (int Row = -1; Row <= 3; ++Row)
        EXPECT_EQ(Bool(Table, "IsRowSelected", "i", Row), Row == 1) << Row;
    EXPECT_EQ(Bool(Table, "IsColumnSelected", "i", 0), 0) << "row 0's cell is not";
    const struct {
        int Row, Column;
        bool Selected;
    } Cells[] = {{0, 0, false}, {1, 0, true},  {1, 1, true},
                 {2, 0, true},  {2, 1, false}, {3, 0, false}};
    for (const auto& C : Cells) {
        EXPECT_EQ(Bool(Table, "IsSelected", "ii", C.Row, C.Column), C.Selected)
            << C.Row << "," << C.Column;
        TReply Extents;
        const int Index = C.Row * 2 + C.Column;
        Client->Call(Extents, Table, TableIface, "GetRowColumnExtentsAtIndex", "i", Index);
        int IsCell = -1, Row = -5, Column = -5, RowSpan = 0, ColumnSpan = 0, Selected = -1;
        ASSERT_GE(sd_bus_message_read(Extents.Message, "biiiib", &IsCell, &Row, &Column, &RowSpan,
                                      &ColumnSpan, &Selected),
                  0);
        EXPECT_EQ(IsCell, C.Row < 3);
        if (C.Row < 3) {
            EXPECT_EQ(std::tuple(Row, Column, RowSpan, ColumnSpan),
                      std::tuple(C.Row, C.Column, 1, 1));
            EXPECT_EQ(Selected, C.Selected);
        }
    }
    for (const char* Method :
         {"AddRowSelection", "RemoveRowSelection", "AddColumnSelection", "RemoveColumnSelection"})
        EXPECT_EQ(Bool(Table, Method, "i", 0), 0) << Method;
}

// Only a table offers the interface, and a table that is gone answers
// that it is.
TEST_F(AtspiTable, OnlyATableOffersItAndAGoneOneAnswersAnError) {
    TAccessibleRegistration AsTable(TPanel::StaticClassInfo(), MakeTable);
    TSampleForm Sample;
    const std::string Table = FormChild(3);
    const std::string Button = FormChild(0);
    const std::string Cell = At(Table, 0, 0);
    const auto Offers = [&](const std::string& Path) {
        const auto Names = Client->Interfaces(Path);
        return std::find(Names.begin(), Names.end(), TableIface) != Names.end();
    };
    EXPECT_TRUE(Offers(Table));
    EXPECT_FALSE(Offers(Button));
    EXPECT_FALSE(Offers(Cell));
    TReply NotATable;
    Client->Call(NotATable, Button, TableIface, "GetIndexAt", "ii", 0, 0);
    EXPECT_FALSE(NotATable.Ok()) << "a button is no table";
    Sample.Form.reset();
    for (const char* Method : {"GetIndexAt", "GetAccessibleAt", "IsSelected"}) {
        TReply Gone;
        Client->Call(Gone, Table, TableIface, Method, "ii", 0, 0);
        EXPECT_FALSE(Gone.Ok()) << Method;
        EXPECT_EQ(Gone.ErrorName(), "org.freedesktop.DBus.Error.UnknownObject") << Method;
    }
}
