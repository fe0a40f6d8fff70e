#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "chooser.h"
#include "reference_chooser.h"
#include "store.h"

namespace abguess {
namespace {

using testing::reference_choose;

Store store_of(const std::vector<Code>& codes) {
  Store store;
  for (const Code c : codes) store.l[store.ln++] = c;
  return store;
}

Store full_store_filtered(Code g, Score answer) {
  Store store;
  reset(store);
  filter(store, g, answer);
  return store;
}

class ChooserTest : public ::testing::Test {
 protected:
  // Too large for a test's stack.
  std::unique_ptr<GuessChooser> chooser = std::make_unique<GuessChooser>();
};

TEST(SamplingTest, StrideKeepsTheSampleAtFiveHundredOrLess) {
  struct Case {
    int ln, stride, samples;
  };
  for (const Case c : {Case{2, 1, 2}, Case{499, 1, 499}, Case{500, 2, 250}, Case{999, 2, 500},
                       Case{1000, 3, 334}, Case{1440, 3, 480}, Case{5040, 11, 459}}) {
    EXPECT_EQ(sampling_stride(c.ln), c.stride) << c.ln;
    EXPECT_EQ(sample_count(c.ln), c.samples) << c.ln;
  }
  for (int ln = 1; ln <= CODE_COUNT; ++ln) EXPECT_LE(sample_count(ln), MAXIMUM) << ln;
}

TEST_F(ChooserTest, TwoLiveCodesTieAndTheFirstWins) {
  EXPECT_EQ(chooser->choose(store_of({1234, 5678})), 0);
  EXPECT_EQ(chooser->choose(store_of({5678, 1234})), 0);
}

// The nine codes left after 0123 is answered 0A 4B total 21, 31, 31, 31, 21,
// 31, 31, 31, 21: three tie at 21 and the lowest slot wins.  Comparing each
// candidate's own score against k (instead of j's) would pick 1230.
TEST_F(ChooserTest, WorkedExampleTiesGoToTheLowestSlot) {
  const Store store = full_store_filtered(123, 4);
  EXPECT_EQ(chooser->choose(store), 0);
  EXPECT_EQ(reference_choose(store), 0);
}

struct FirstAnswerCase {
  Score answer;
  int live;
  int stride;
  int slot;
  Code code;
};

void PrintTo(const FirstAnswerCase& c, std::ostream* os) { *os << "answer " << c.answer; }

class FirstAnswerChoiceTest : public ::testing::TestWithParam<FirstAnswerCase> {
 protected:
  std::unique_ptr<GuessChooser> chooser = std::make_unique<GuessChooser>();
};

TEST_P(FirstAnswerChoiceTest, PicksTheKnownGuessAndAgreesWithTheReference) {
  const FirstAnswerCase c = GetParam();
  const Store store = full_store_filtered(123, c.answer);
  ASSERT_EQ(store.ln, c.live);
  EXPECT_EQ(sampling_stride(store.ln), c.stride);
  const int slot = chooser->choose(store);
  EXPECT_EQ(slot, c.slot);
  EXPECT_EQ(store.l[slot], c.code);
  EXPECT_EQ(reference_choose(store), c.slot);
}

INSTANTIATE_TEST_SUITE_P(
    AfterGuess0123, FirstAnswerChoiceTest,
    ::testing::Values(FirstAnswerCase{0, 360, 1, 0, 4567}, FirstAnswerCase{1, 1440, 3, 465, 4690},
                      FirstAnswerCase{2, 1260, 3, 105, 1472}, FirstAnswerCase{3, 264, 1, 18, 1234},
                      FirstAnswerCase{4, 9, 1, 0, 1032}, FirstAnswerCase{10, 480, 1, 0, 456},
                      FirstAnswerCase{11, 720, 2, 278, 2583}, FirstAnswerCase{12, 216, 1, 6, 234},
                      FirstAnswerCase{13, 8, 1, 0, 231}, FirstAnswerCase{20, 180, 1, 0, 145},
                      FirstAnswerCase{21, 72, 1, 0, 134}, FirstAnswerCase{22, 6, 1, 0, 132},
                      FirstAnswerCase{30, 24, 1, 0, 124}),
    [](const auto& info) { return "Answer" + std::to_string(info.param.answer); });

TEST_F(ChooserTest, ChoosesFromTheFullStoreLikeTheReference) {
  Store store;
  reset(store);
  EXPECT_EQ(chooser->choose(store), reference_choose(store));
}

// Stores met in random games: random secrets, first guesses and answers,
// with each next guess either the chooser's or a random live or dead code,
// so that sizes and shapes vary well beyond what the solver itself meets.
// The reference is cubic, so only a few of the large stores (more than
// LARGE_SAMPLE codes sampled) are kept: they cost a second each.
constexpr int LARGE_SAMPLE = 120;

std::vector<Store> random_game_stores(int wanted, int large_wanted, std::uint32_t seed) {
  std::mt19937 random(seed);
  Store full;
  reset(full);
  auto chooser = std::make_unique<GuessChooser>();
  std::vector<Store> stores;
  int large = 0;
  while (static_cast<int>(stores.size()) < wanted) {
    Store store = full;
    const Code secret = full.l[random() % CODE_COUNT];
    Code g = full.l[random() % CODE_COUNT];
    for (;;) {
      filter(store, g, guess(secret, g));
      if (store.ln < 2) break;
      if (sample_count(store.ln) <= LARGE_SAMPLE || large < large_wanted) {
        large += sample_count(store.ln) > LARGE_SAMPLE ? 1 : 0;
        stores.push_back(store);
      }
      switch (random() % 3) {
        case 0: g = store.l[chooser->choose(store)]; break;
        case 1: g = store.l[random() % store.ln]; break;
        default: g = full.l[random() % CODE_COUNT]; break;
      }
    }
  }
  return stores;
}

TEST_F(ChooserTest, AgreesWithTheReferenceOnStoresOfRandomGames) {
  const std::vector<Store> stores = random_game_stores(1000, 8, 20261211);
  int smallest = CODE_COUNT;
  int largest = 0;
  for (const Store& store : stores) {
    ASSERT_EQ(chooser->choose(store), reference_choose(store)) << "store of " << store.ln;
    smallest = std::min(smallest, store.ln);
    largest = std::max(largest, store.ln);
  }
  // The sample must reach both ends: pairs, and stores big enough to be strided.
  EXPECT_EQ(smallest, 2);
  EXPECT_GT(largest, 2 * MAXIMUM);
}

}  // namespace
}  // namespace abguess
