#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/tabs/Notebook.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct NotebookTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TNotebook* Book = nullptr;
    std::vector<TButton*> Buttons; // one per page, all at the same place
    std::vector<int> Clicks;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 300, 200);
        Book = new TNotebook(Form.get());
        Book->SetName("Book");
        Book->SetParent(Form.get());
        Book->SetBounds(10, 10, 200, 100);
        Book->GetPages()->SetText("Color\nPicture\nGradient\n");
        for (int I = 0; I < 3; ++I) {
            auto* B = new TButton(Form.get());
            B->SetName("Button" + std::to_string(I));
            B->SetParent(Book->GetPage(I));
            B->SetBounds(4, 4, 75, 25);
            B->OnClick = [this, I](TObject*) { Clicks.push_back(I); };
            Buttons.push_back(B);
        }
        Form->Show();
        Host.RunUntilIdle();
    }

    void ClickButtonPlace() {
        const TPoint P = Book->ClientToScreen(Point(20, 12));
        Host.Click(P.X, P.Y);
    }
};

TEST_F(NotebookTest, OnlyThePageAtPageIndexShowsAndTakesClicks) {
    ASSERT_EQ(Book->PageCount(), 3);
    EXPECT_EQ(Book->GetPageIndex(), 0);
    for (int Page = 0; Page < 3; ++Page) {
        Book->SetPageIndex(Page);
        for (int I = 0; I < 3; ++I) EXPECT_EQ(Buttons[I]->Showing(), I == Page) << Page << I;
        ClickButtonPlace();
        EXPECT_EQ(Clicks.back(), Page);
    }
    EXPECT_EQ(Clicks.size(), 3u);
    EXPECT_EQ(Book->GetActivePage(), "Gradient");
    Book->SetActivePage("Color");
    EXPECT_EQ(Book->GetPageIndex(), 0);
    // Out of range and unknown names change nothing.
    Book->SetPageIndex(7);
    Book->SetActivePage("Nothing");
    EXPECT_EQ(Book->GetPageIndex(), 0);
}

TEST_F(NotebookTest, EditingTheNamesInsertsDeletesAndRenamesPagesWithTheirControls) {
    Book->SetPageIndex(2);
    Book->GetPages()->Insert(0, "First");
    ASSERT_EQ(Book->PageCount(), 4);
    // The shown page stays the same page.
    EXPECT_EQ(Book->GetActivePage(), "Gradient");
    EXPECT_EQ(Book->GetPageIndex(), 3);
    EXPECT_EQ(Buttons[2]->GetParent(), Book->GetPage(3));
    Book->GetPages()->Delete(1);
    EXPECT_EQ(Book->GetPages()->GetText(), "First\nPicture\nGradient\n");
    Book->GetPages()->SetString(1, "Bitmap");
    EXPECT_EQ(Book->GetPage(1)->GetCaption(), "Bitmap");
    EXPECT_EQ(Buttons[1]->GetParent(), Book->GetPage(1));
    // Deleting the shown page shows a neighbour.
    Book->GetPages()->Delete(2);
    EXPECT_EQ(Book->PageCount(), 2);
    EXPECT_TRUE(Book->GetPage(Book->GetPageIndex())->GetVisible());
    EXPECT_THROW(Book->GetPages()->Delete(5), EListError);
}

TEST_F(NotebookTest, TheFocusLeavesAPageThatIsHidden) {
    Buttons[0]->SetFocus();
    ASSERT_TRUE(Buttons[0]->Focused());
    Book->SetPageIndex(1);
    EXPECT_FALSE(Buttons[0]->Focused());
    EXPECT_TRUE(Buttons[1]->Focused());
}

TEST_F(NotebookTest, AFormFileHoldsThePagesInOrderWithTheirControls) {
    Book->SetPageIndex(1);
    for (TFormEncoding Encoding : {feText, feBinary}) {
        TMemoryStream S;
        WriteComponent(S, Form.get(), nullptr, Encoding);
        S.SetPosition(0);
        TForm Read(nullptr);
        ReadComponent(S, &Read);
        auto* Copy = dynamic_cast<TNotebook*>(Read.FindComponent("Book"));
        ASSERT_NE(Copy, nullptr);
        // The page a new notebook has is gone: the file's pages replace it.
        EXPECT_EQ(Copy->GetPages()->GetText(), "Color\nPicture\nGradient\n");
        EXPECT_EQ(Copy->GetPageIndex(), 1);
        for (int I = 0; I < 3; ++I) {
            auto* B = dynamic_cast<TButton*>(Read.FindComponent("Button" + std::to_string(I)));
            ASSERT_NE(B, nullptr);
            EXPECT_EQ(B->GetParent(), Copy->GetPage(I)) << I;
            EXPECT_EQ(B->GetVisible(), true);
            EXPECT_EQ(Copy->GetPage(I)->GetVisible(), I == 1);
        }
        // Written again, the file is the same: no control is written twice.
        TMemoryStream Again;
        WriteComponent(Again, &Read, nullptr, Encoding);
        EXPECT_EQ(Again.GetSize(), S.GetSize());
    }
}

TEST(NotebookFile, ANotebookWithoutPagesInItsFileKeepsItsOwnPage) {
    THeadlessHost Host;
    const String Source = "object F: TForm\n"
                          "  object Book: TNotebook\n"
                          "    Left = 4\n"
                          "  end\n"
                          "end\n";
    TMemoryStream S;
    S.Write(Source.data(), static_cast<std::int64_t>(Source.size()));
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    auto* Book = dynamic_cast<TNotebook*>(Read.FindComponent("Book"));
    ASSERT_NE(Book, nullptr);
    EXPECT_EQ(Book->GetPages()->GetText(), "Default\n");
    EXPECT_EQ(Book->GetPageIndex(), 0);
}

} // namespace
