#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "store.h"

namespace abguess {
namespace {

std::vector<Code> live_codes(const Store& store) {
  return {store.l.begin(), store.l.begin() + store.ln};
}

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override { reset(store); }
  Store store;
};

TEST_F(StoreTest, ResetHoldsEveryCodeOfFourDifferentDigitsAscending) {
  ASSERT_EQ(store.ln, CODE_COUNT);
  const std::vector<Code> first_ten(store.l.begin(), store.l.begin() + 10);
  EXPECT_EQ(first_ten, (std::vector<Code>{123, 124, 125, 126, 127, 128, 129, 132, 134, 135}));
  EXPECT_EQ(store.l[504], 1023);
  EXPECT_EQ(store.l[5039], 9876);
  for (int slot = 1; slot < store.ln; ++slot) EXPECT_LT(store.l[slot - 1], store.l[slot]);
  for (int slot = 0; slot < store.ln; ++slot) EXPECT_EQ(guess(store.l[slot], store.l[slot]), 40);
}

TEST_F(StoreTest, ResetRefillsAfterFiltering) {
  filter(store, 123, 0);
  reset(store);
  EXPECT_EQ(store.ln, CODE_COUNT);
  EXPECT_EQ(store.l[0], 123);
}

TEST_F(StoreTest, FilterByFirstGuessSplitsTheStoreByAnswer) {
  const std::map<Score, int> expected_sizes = {{0, 360}, {1, 1440}, {2, 1260}, {3, 264},
                                               {4, 9},   {10, 480}, {11, 720}, {12, 216},
                                               {13, 8},  {20, 180}, {21, 72},  {22, 6},
                                               {30, 24}, {40, 1}};
  int total = 0;
  for (const auto& [answer, size] : expected_sizes) {
    Store copy = store;
    filter(copy, 123, answer);
    EXPECT_EQ(copy.ln, size) << "answer " << answer;
    EXPECT_EQ(count_matching(store, 123, answer), size) << "answer " << answer;
    for (int slot = 1; slot < copy.ln; ++slot) EXPECT_LT(copy.l[slot - 1], copy.l[slot]);
    total += copy.ln;
  }
  EXPECT_EQ(total, CODE_COUNT);
}

TEST_F(StoreTest, FilterKeepsMatchingCodesInOrder) {
  filter(store, 123, 4);
  EXPECT_EQ(live_codes(store),
            (std::vector<Code>{1032, 1230, 1302, 2031, 2301, 2310, 3012, 3201, 3210}));
}

TEST_F(StoreTest, FilterWithExactAnswerKeepsOnlyTheGuess) {
  filter(store, 5678, 40);
  EXPECT_EQ(live_codes(store), std::vector<Code>{5678});
}

TEST_F(StoreTest, FilterWithUnreachableAnswerEmptiesWithoutWriting) {
  filter(store, 123, 4);
  filter(store, 1032, 57);
  EXPECT_EQ(store.ln, 0);
  EXPECT_EQ(store.l[0], 1032);
}

TEST_F(StoreTest, FilterIntoLeavesTheSourceAlone) {
  Store kept;
  filter_into(store, 123, 22, kept);
  EXPECT_EQ(live_codes(kept), (std::vector<Code>{132, 213, 321, 1023, 2103, 3120}));
  EXPECT_EQ(store.ln, CODE_COUNT);
}

}  // namespace
}  // namespace abguess
