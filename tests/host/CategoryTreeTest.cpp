// The category tree of the main window: its tick rules and the tree walk.
#include <gtest/gtest.h>

#include <numeric>

#include "MainWindowFixture.h"

namespace quillet::testing {
namespace {

std::vector<int> AllCodes() {
  std::vector<int> codes(23);
  std::iota(codes.begin(), codes.end(), 1);
  return codes;
}

std::vector<int> AllBut(std::vector<int> gone) {
  std::vector<int> codes;
  for (int code : AllCodes()) {
    if (std::find(gone.begin(), gone.end(), code) == gone.end()) codes.push_back(code);
  }
  return codes;
}

class CategoryTreeTest : public ::testing::Test {
 protected:
  void SetUp() override { fixture.Open(); }
  MainWindowFixture fixture;
};

TEST_F(CategoryTreeTest, AFirstStartShowsTheWholeTreeExpandedAndTicked) {
  EXPECT_EQ(fixture.TickedCodes(), AllCodes());
  EXPECT_EQ(fixture.Window().tvRegistry->Nodes().size(), 23u);
  EXPECT_TRUE(fixture.Node(1).Expanded());
  EXPECT_TRUE(fixture.Node(2).Expanded());
}

TEST_F(CategoryTreeTest, RefusesEveryCollapse) {
  ui::TTreeView& tree = *fixture.Window().tvRegistry;
  EXPECT_FALSE(tree.AllowCollapse(fixture.Node(1)));
  EXPECT_FALSE(tree.AllowCollapse(fixture.Node(2)));
}

struct TickCase {
  const char* name;
  std::vector<int> clicks;    // state icons clicked in order, from the first-start tree
  std::vector<int> expected;  // ticked codes afterwards
};

void PrintTo(const TickCase& tickCase, std::ostream* out) { *out << tickCase.name; }

class TickRuleTest : public CategoryTreeTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(TickRuleTest, FollowsTheTickRules) {
  for (int code : GetParam().clicks) fixture.ClickStateIcon(code);
  EXPECT_EQ(fixture.TickedCodes(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TickRuleTest,
    ::testing::Values(
        TickCase{"UntickingOneChildKeepsItsParent", {3}, AllBut({3})},
        TickCase{"UntickingTheLastTickedChildUnticksFilesAndFolders", {3, 4, 5}, AllBut({2, 3, 4, 5})},
        TickCase{"UntickingFilesAndFoldersUnticksItsChildren", {2}, AllBut({2, 3, 4, 5})},
        TickCase{"UntickingEveryLevelOneNodeUnticksTheRoot",
                 {2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23},
                 {}},
        TickCase{"ALevelOneNodeLeftTickedKeepsTheRoot",
                 {2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
                 {1, 23}},
        TickCase{"UntickingTheRootUnticksAll", {1}, {}},
        TickCase{"TickingTheRootTicksAll23", {1, 1}, AllCodes()},
        TickCase{"TickingOneLevelTwoNodeTicksItsParentAndTheRoot", {1, 4}, {1, 2, 4}},
        TickCase{"TickingFilesAndFoldersTicksItsThreeChildren", {1, 2}, {1, 2, 3, 4, 5}},
        TickCase{"TickingALevelOneNodeTicksTheRoot", {1, 9}, {1, 9}},
        TickCase{"UntickingTheOnlyTickedChildUnticksParentAndRoot", {1, 4, 4}, {}}),
    [](const ::testing::TestParamInfo<TickCase>& info) { return std::string(info.param.name); });

TEST_F(CategoryTreeTest, OnlyPressesOnTheStateIconCount) {
  ui::TTreeView& tree = *fixture.Window().tvRegistry;
  fixture.ui.ClickCaption(tree, fixture.Node(2));
  fixture.ui.ClickCaption(tree, fixture.Node(1));
  fixture.ui.ClickAt(tree, 300, 8);        // right of the root's caption
  fixture.ui.ClickAt(tree, 5, 16 * 23 + 4);  // below the last node
  EXPECT_EQ(fixture.TickedCodes(), AllCodes());
}

TEST_F(CategoryTreeTest, WalkCollectsTheTickedCodesInTreeOrder) {
  TfrmQuillet& window = fixture.Window();
  fixture.TickOnly({4, 9, 23});
  window.SelectedCategoryCodes = std::make_unique<std::vector<std::string>>();
  window.WalkCategoryTree(window.tvRegistry->First(), TfrmQuillet::TreeWalk::Collect);
  EXPECT_EQ(*window.SelectedCategoryCodes, (std::vector<std::string>{"1", "2", "4", "9", "23"}));

  window.SelectedCategoryCodes.reset();
  window.WalkCategoryTree(window.tvRegistry->First(), TfrmQuillet::TreeWalk::Collect);
  EXPECT_EQ(window.SelectedCategoryCodes, nullptr) << "collecting makes no list of its own";
}

TEST_F(CategoryTreeTest, WalkTicksEveryNodeWithoutTheRules) {
  TfrmQuillet& window = fixture.Window();
  window.WalkCategoryTree(window.tvRegistry->First(), TfrmQuillet::TreeWalk::Tick1);
  EXPECT_EQ(fixture.TickedCodes(), std::vector<int>{});
  // From a later sibling the walk covers that sibling, the ones after it and their children.
  window.WalkCategoryTree(&fixture.Node(21), TfrmQuillet::TreeWalk::Tick2);
  EXPECT_EQ(fixture.TickedCodes(), (std::vector<int>{21, 22, 23}));
  window.WalkCategoryTree(&fixture.Node(2), TfrmQuillet::TreeWalk::Tick2);
  EXPECT_EQ(fixture.TickedCodes(), AllBut({1}));
}

TEST_F(CategoryTreeTest, WalkStoresAndRestoresTheTicksByImageNumber) {
  TfrmQuillet& window = fixture.Window();
  fixture.TickOnly({3, 10});
  OptionsSetting.TreeNodeChecks[24] = true;
  window.WalkCategoryTree(window.tvRegistry->First(), TfrmQuillet::TreeWalk::Store);
  for (int code = 1; code <= 23; ++code) {
    const bool ticked = code == 1 || code == 2 || code == 3 || code == 10;
    EXPECT_EQ(OptionsSetting.TreeNodeChecks[static_cast<size_t>(code)], ticked) << "code " << code;
  }
  EXPECT_TRUE(OptionsSetting.TreeNodeChecks[24]) << "no node has number 24";

  // Restore sets state image flag + 1, whatever the tick rules would say.
  OptionsSetting.TreeNodeChecks.fill(false);
  OptionsSetting.TreeNodeChecks[5] = true;
  OptionsSetting.TreeNodeChecks[17] = true;
  window.WalkCategoryTree(window.tvRegistry->First(), TfrmQuillet::TreeWalk::Restore);
  EXPECT_EQ(fixture.TickedCodes(), (std::vector<int>{5, 17}));
  EXPECT_EQ(fixture.Node(1).StateIndex(), 1);
}

TEST(CategoryTreeStart, ShowingTheWindowRestoresTheStoredTicks) {
  MainWindowFixture fixture;
  OptionsSetting.TreeNodeChecks.fill(true);
  OptionsSetting.TreeNodeChecks[6] = false;
  OptionsSetting.TreeNodeChecks[12] = false;
  fixture.Open();
  EXPECT_EQ(fixture.TickedCodes(), AllBut({6, 12}));
}

}  // namespace
}  // namespace quillet::testing
