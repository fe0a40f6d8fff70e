// The exact search against its referees: a plain exhaustive search on small
// games, where the plain one finishes in seconds, and the published optimum
// of the real game's relatives.
#include <gtest/gtest.h>

#include <string>

#include "reference_search.h"
#include "search.h"
#include "search_game.h"

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

}  // namespace
}  // namespace abguess
