#include "DesignerFixture.h"

#include "Recovery.h"

#include <cstdlib>

namespace designer::test {
namespace {

// Tab and Shift+Tab walk the selection through the form's components in
// their order, round from the last to the first.
TEST_F(DesignerTest, TabAndShiftTabCycleTheSelectionThroughTheComponents) {
    Run("drop TButton 16 16\n"
        "drop TPanel 16 80\n"
        "drop TCGauge 200 16\n"
        "select Form1\n");
    const size_t Changes = UndoSteps();
    const struct {
        const char* Key;
        const char* Selected;
    } Steps[] = {{"Tab", "Button1"},       {"Tab", "Panel1"},        {"Tab", "CGauge1"},
                 {"Tab", "Button1"},       {"shift+Tab", "CGauge1"}, {"shift+Tab", "Panel1"},
                 {"shift+Tab", "Button1"}, {"shift+Tab", "CGauge1"}};
    for (const auto& S : Steps) {
        Run(String("key ") + S.Key);
        EXPECT_EQ(Designer().GetSelection(), Designer().GetComponent(S.Selected)) << S.Key;
    }
    EXPECT_EQ(UndoSteps(), Changes) << "Tab changed the form";
}

// The unsaved changes of a form with a file go beside it; the next start
// offers them, and taking them shows the form as changed, under its own
// file's name.
TEST_F(DesignerTest, ARecoveryCopyKeepsUnsavedChangesForTheNextStart) {
    Run("drop TButton 16 16\n"
        "saveas kept.form\n"
        "select Button1\n"
        "key Right\n");
    const int Left = Find<TButton>("Button1")->GetLeft();
    const String Copy = WriteRecoveryCopy(Designer());
    EXPECT_EQ(Copy, File("kept.form") + "~");
    EXPECT_TRUE(Designer().GetModified()) << "writing the copy is no save";
    // The next start: the file as saved, then the offer.
    SaveAnswer = mrNo;
    Run("new\nopen kept.form\n");
    EXPECT_EQ(Find<TButton>("Button1")->GetLeft(), Left - 1);
    std::vector<String> Asked;
    auto No = [&](const String& Q) {
        Asked.push_back(Q);
        return false;
    };
    EXPECT_FALSE(OfferRecoveryCopy(Designer(), No));
    ASSERT_EQ(Asked.size(), 1u);
    EXPECT_NE(Asked[0].find("kept.form"), String::npos) << Asked[0];
    EXPECT_TRUE(std::filesystem::exists(Copy)) << "No keeps the copy for later";
    EXPECT_TRUE(OfferRecoveryCopy(Designer(), [](const String&) { return true; }));
    EXPECT_EQ(Find<TButton>("Button1")->GetLeft(), Left);
    EXPECT_EQ(Designer().GetFileName(), File("kept.form"));
    EXPECT_TRUE(Designer().GetModified());
    EXPECT_FALSE(std::filesystem::exists(Copy));
    // Nothing left to offer.
    EXPECT_FALSE(OfferRecoveryCopy(Designer(), [](const String&) { return true; }));
}

// A new form without a file keeps its copy in the user's state folder.
TEST_F(DesignerTest, ANewFormsRecoveryCopyGoesToTheStateFolder) {
    const char* Was = std::getenv("XDG_STATE_HOME");
    const String Saved = Was ? Was : "";
    ::setenv("XDG_STATE_HOME", Dir.c_str(), 1);
    Run("drop TButton 16 16");
    const String Copy = WriteRecoveryCopy(Designer());
    EXPECT_EQ(Copy, (Dir / "folio" / "Form1.form~").string());
    EXPECT_TRUE(std::filesystem::exists(Copy));
    SaveAnswer = mrNo;
    Run("new");
    EXPECT_TRUE(OfferRecoveryCopy(Designer(), [](const String&) { return true; }));
    EXPECT_NE(Find<TButton>("Button1"), nullptr);
    EXPECT_EQ(Designer().GetFileName(), "");
    if (Was)
        ::setenv("XDG_STATE_HOME", Saved.c_str(), 1);
    else
        ::unsetenv("XDG_STATE_HOME");
}

} // namespace
} // namespace designer::test
