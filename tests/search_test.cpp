// The exact search against its referees: a plain exhaustive search on small
// games, where the plain one finishes in seconds, and the published optimum
// of the real game's relatives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

#include "reference_search.h"
#include "search.h"
#include "search_game.h"
#include "split_scan.h"

namespace abguess {
namespace {

struct SmallGame {
  int positions;
  int symbols;
};

std::string game_name(const SmallGame& g) { return std::to_string(g.positions) + "of" + std::to_string(g.symbols); }

class SearchAgainstPlainSearch : public ::testing::TestWithParam<std::tuple<SmallGame, Objective>> {};

TEST_P(SearchAgainstPlainSearch, FindsTheSameLeastTotalAndAStrategyPlayingIt) {
  const auto [shape, objective] = GetParam();
  const SearchGame game(shape.positions, shape.symbols);
  const SearchReport report = search_optimal(game, objective, 0, SearchOptions{2, {}});
  EXPECT_EQ(report.total, testing::plain_least_total(game, objective));
  // The strategy written out plays exactly the total claimed.
  EXPECT_EQ(count_guesses(game, report.strategy, objective).total(), report.total);
}

INSTANTIATE_TEST_SUITE_P(
    SmallGames, SearchAgainstPlainSearch,
    ::testing::Combine(::testing::Values(SmallGame{3, 6}, SmallGame{3, 7}, SmallGame{2, 10}, SmallGame{2, 6},
                                         SmallGame{3, 5}),
                       ::testing::Values(Objective::Named, Objective::Guessed)),
    [](const auto& info) {
      return game_name(std::get<0>(info.param)) +
             (std::get<1>(info.param) == Objective::Named ? "Named" : "Guessed");
    });

// The tree is played again on its own to count; a tree that fails to find a
// secret must be caught there, not counted.
TEST(CountGuesses, RefusesAStrategyThatLeavesSecretsApart) {
  const SearchGame game(2, 6);
  const SearchReport report = search_optimal(game, Objective::Named, 0);
  SearchStrategy broken = report.strategy;
  // Cut the decision after the answer that leaves the most codes.
  std::int32_t& next = broken.nodes[0].next[game.answer_class(0, 0)];
  ASSERT_NE(next, StrategyNode::NO_NODE);
  next = StrategyNode::NO_NODE;
  EXPECT_THROW(count_guesses(game, broken, Objective::Named), std::logic_error);
  EXPECT_THROW(count_guesses(game, broken, Objective::Guessed), std::logic_error);
}

// Guesses that a relabelling keeping the history maps onto each other are
// tried once: after the first guess of four of ten, 20 kinds of second guess.
TEST(HistorySymmetry, LeavesTwentySecondGuessesAfterTheFirst) {
  const SearchGame game(4, 10);
  const HistorySymmetry symmetry(game, {0});
  int canonical = 0;
  for (int g = 0; g < game.size(); ++g) {
    const int image = symmetry.canonical(g);
    ASSERT_LE(image, g);
    canonical += image == g ? 1 : 0;
    ASSERT_EQ(symmetry.is_canonical(g), image == g);
    // A relabelling keeps every answer to the first guess.
    ASSERT_EQ(game.answer(0, image), game.answer(0, g));
  }
  EXPECT_EQ(canonical, 20);
  EXPECT_TRUE(HistorySymmetry(game, {0, game.index_of({4, 5, 6, 7}), game.index_of({8, 9, 0, 1}),
                                     game.index_of({2, 4, 6, 8})})
                  .trivial());
}

// The packed counters (one word per guess for small sets, two for larger
// ones, counted directly beyond) must summarise each split exactly as
// counting it one guess at a time does.
TEST(SplitScan, PackedSummariesEqualDirectCounts) {
  const SearchGame game(4, 10);
  std::mt19937 random(42);
  for (const Objective objective : {Objective::Named, Objective::Guessed}) {
    SplitScanner scanner(game, objective);
    std::vector<int> every(game.size());
    for (int g = 0; g < game.size(); ++g) every[g] = g;
    for (const int n : {1, 2, 7, 15, 16, 100, 255, 256, 700}) {
      std::vector<CodeIndex> set(every.begin(), every.end());
      std::shuffle(set.begin(), set.end(), random);
      set.resize(n);
      std::sort(set.begin(), set.end());
      std::vector<std::uint64_t> packed;
      const int most_parts = scanner.scan(set.data(), n, game.possible_answers(), every, packed);
      const int limit = std::min(game.possible_answers(), most_parts);
      int most_counted = 0;
      for (int g = 0; g < game.size(); g += 7) {
        const SplitSummary counted = scanner.summarise(g, set.data(), n, limit);
        const SplitSummary read = scanner.unpack(packed[g], n);
        most_counted = std::max(most_counted, counted.parts);
        ASSERT_EQ(read.lower, counted.lower) << n << " " << g;
        ASSERT_EQ(read.settled_cost, counted.settled_cost) << n << " " << g;
        ASSERT_EQ(read.parts, counted.parts) << n << " " << g;
        ASSERT_EQ(read.spread, std::min(counted.spread, 0xFFFF)) << n << " " << g;
      }
      EXPECT_LE(most_counted, most_parts);
    }
  }
}

}  // namespace
}  // namespace abguess
