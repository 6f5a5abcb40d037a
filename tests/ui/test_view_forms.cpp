#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/ListView.h"
#include "framework/ui/comctrls/TreeView.h"
#include "framework/ui/grids/StringGrid.h"
#include "framework/ui/stdctrls/Memo.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace folio;

namespace {

// A control set up by Make, written into a form and read back in either
// encoding, must come back as Check expects; the same form written again is
// the same bytes.
struct TRoundTrip {
    const char* What;
    std::function<void(TForm&)> Make;
    std::function<void(TForm&)> Check;
};

template <class T>
T* Child(TForm& Form, const char* Name) {
    auto* C = dynamic_cast<T*>(Form.FindComponent(Name));
    EXPECT_NE(C, nullptr) << Name;
    return C;
}

template <class T>
T* AddNamed(TForm& Form, const char* Name) {
    auto* C = new T(&Form);
    C->SetName(Name);
    C->SetParent(&Form);
    return C;
}

std::vector<TRoundTrip> RoundTrips() {
    return {
        {"memo lines, scroll bars and wrapping",
         [](TForm& F) {
             auto* M = AddNamed<TMemo>(F, "Notes");
             M->GetLines()->SetText("first\n\n  third 'quoted'\n");
             M->SetScrollBars(ssVertical);
             M->SetWordWrap(false);
             M->SetReadOnly(true);
             M->SetWantTabs(true);
         },
         [](TForm& F) {
             auto* M = Child<TMemo>(F, "Notes");
             ASSERT_NE(M, nullptr);
             EXPECT_EQ(M->GetLines()->Items(),
                       (std::vector<String>{"first", "", "  third 'quoted'"}));
             EXPECT_EQ(M->GetText(), "first\n\n  third 'quoted'");
             EXPECT_EQ(M->GetScrollBars(), ssVertical);
             EXPECT_FALSE(M->GetWordWrap());
             EXPECT_TRUE(M->GetReadOnly());
             EXPECT_TRUE(M->GetWantTabs());
         }},
        {"tree nodes, levels, pictures and looks",
         [](TForm& F) {
             auto* T = AddNamed<TTreeView>(F, "Folders");
             TTreeNodes* N = T->GetItems();
             TTreeNode* Home = N->AddChild(nullptr, "Home");
             N->AddChild(N->AddChild(Home, "Mail"), "Inbox")->SetImageIndex(3);
             N->AddChild(Home, "Caf\xC3\xA9 'notes'");
             N->AddChild(nullptr, "Trash")->SetImageIndex(1);
             T->SetShowLines(false);
             T->SetIndent(24);
             T->SetReadOnly(true);
             T->SetDragMode(dmAutomatic);
         },
         [](TForm& F) {
             auto* T = Child<TTreeView>(F, "Folders");
             ASSERT_NE(T, nullptr);
             String Shape;
             T->GetItems()->ForEach([&](TTreeNode* Node) {
                 Shape += std::to_string(Node->GetLevel()) + Node->GetText() +
                          std::to_string(Node->GetImageIndex()) + ";";
             });
             EXPECT_EQ(Shape, "0Home-1;1Mail-1;2Inbox3;1Caf\xC3\xA9 'notes'-1;0Trash1;");
             EXPECT_FALSE(T->GetShowLines());
             EXPECT_EQ(T->GetIndent(), 24);
             EXPECT_TRUE(T->GetReadOnly());
             EXPECT_EQ(T->GetDragMode(), dmAutomatic);
         }},
        {"list view items, columns and styles",
         [](TForm& F) {
             auto* V = AddNamed<TListView>(F, "Files");
             V->SetViewStyle(vsReport);
             TListColumn* Name = V->GetColumns()->Add();
             Name->SetCaption("Name");
             Name->SetWidth(140);
             TListColumn* Size = V->GetColumns()->Add();
             Size->SetCaption("Size");
             Size->SetAlignment(taRightJustify);
             TListItem* A = V->GetItems()->Add();
             A->SetCaption("notes.txt");
             A->SetImageIndex(2);
             A->GetSubItems()->Add("12 KB");
             V->GetItems()->Add()->SetCaption("empty");
             V->SetSortType(stText);
             V->SetShowColumnHeaders(false);
         },
         [](TForm& F) {
             auto* V = Child<TListView>(F, "Files");
             ASSERT_NE(V, nullptr);
             EXPECT_EQ(V->GetViewStyle(), vsReport);
             ASSERT_EQ(V->GetColumns()->GetCount(), 2);
             EXPECT_EQ(V->GetColumns()->GetColumn(0)->GetCaption(), "Name");
             EXPECT_EQ(V->GetColumns()->GetColumn(0)->GetWidth(), 140);
             EXPECT_EQ(V->GetColumns()->GetColumn(1)->GetAlignment(), taRightJustify);
             ASSERT_EQ(V->GetItems()->GetCount(), 2);
             EXPECT_EQ(V->GetItems()->GetItem(0)->GetCaption(), "empty");
             EXPECT_EQ(V->GetItems()->GetItem(1)->GetCaption(), "notes.txt");
             EXPECT_EQ(V->GetItems()->GetItem(1)->GetImageIndex(), 2);
             EXPECT_EQ(V->GetItems()->GetItem(1)->ColumnText(1), "12 KB");
             EXPECT_EQ(V->GetSortType(), stText);
             EXPECT_FALSE(V->GetShowColumnHeaders());
         }},
        {"string grid cells, sizes and editing",
         [](TForm& F) {
             auto* G = AddNamed<TStringGrid>(F, "Sheet");
             G->SetColCount(7);
             G->SetRowCount(9);
             G->SetFixedCols(2);
             G->SetOptions(G->GetOptions() + goEditing);
             G->SetStoreCells(true);
             G->SetCells(0, 0, "corner");
             G->SetCells(6, 8, "last 'one'");
             auto* Plain = AddNamed<TStringGrid>(F, "Unstored");
             Plain->SetCells(1, 1, "not kept");
         },
         [](TForm& F) {
             auto* G = Child<TStringGrid>(F, "Sheet");
             ASSERT_NE(G, nullptr);
             EXPECT_EQ(G->GetColCount(), 7);
             EXPECT_EQ(G->GetRowCount(), 9);
             EXPECT_EQ(G->GetFixedCols(), 2);
             EXPECT_TRUE(G->GetOptions().Contains(goEditing));
             EXPECT_EQ(G->GetCells(0, 0), "corner");
             EXPECT_EQ(G->GetCells(6, 8), "last 'one'");
             EXPECT_EQ(G->GetFilledCount(), 2);
             auto* Plain = Child<TStringGrid>(F, "Unstored");
             ASSERT_NE(Plain, nullptr);
             EXPECT_EQ(Plain->GetFilledCount(), 0);
         }},
    };
}

TEST(ViewForms, EachControlComesBackFromAFormAsItWasWritten) {
    THeadlessHost Host;
    for (const TRoundTrip& Row : RoundTrips()) {
        for (TFormEncoding Encoding : {feText, feBinary}) {
            SCOPED_TRACE(Row.What);
            TForm Source(nullptr);
            Source.SetName("Form1");
            Row.Make(Source);
            TMemoryStream S;
            WriteComponent(S, &Source, nullptr, Encoding);
            S.SetPosition(0);
            TForm Read(nullptr);
            ReadComponent(S, &Read);
            Row.Check(Read);
            TMemoryStream Again;
            WriteComponent(Again, &Read, nullptr, Encoding);
            ASSERT_EQ(Again.GetSize(), S.GetSize());
            EXPECT_EQ(0, std::memcmp(Again.Memory(), S.Memory(), static_cast<size_t>(S.GetSize())));
        }
    }
}

} // namespace
