#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "classic_strategy.h"
#include "evaluation.h"
#include "honest_game.h"

namespace abguess {
namespace {

// The bench signature: the whole strategy's guess distribution from 0123.
// A change to it is a change of behaviour, never a side effect.
TEST(StrategySignatureTest, DistributionFrom0123) {
  auto classic = std::make_unique<ClassicStrategy>();
  const StrategyResult result = evaluate_first_guess(123, *classic);
  EXPECT_EQ(result.secrets_by_guesses,
            (std::vector<std::int64_t>{0, 1, 16, 195, 1056, 1885, 1364, 476, 45, 2}));
  EXPECT_EQ(result.games(), CODE_COUNT);
  EXPECT_EQ(result.announced_unseen, 2582);
  EXPECT_EQ(result.guesses_shown(), 26161);
  EXPECT_EQ(result.guesses_with_final(), 26161 + 2582);
  EXPECT_EQ(result.worst_secrets, (std::vector<Code>{4802, 4902}));
}

// The tree walk must count exactly what the games themselves would show.
TEST(StrategyTreeTest, AgreesWithGamesPlayedOneByOne) {
  auto classic = std::make_unique<ClassicStrategy>();
  const Code first = 7439;
  const StrategyResult result = evaluate_first_guess(first, *classic);
  Store full;
  reset(full);
  std::vector<std::int64_t> by_guesses(result.secrets_by_guesses.size(), 0);
  std::int64_t unseen = 0;
  for (int slot = 0; slot < full.ln; ++slot) {
    const testing::HonestGame game = testing::play_honestly(first, full.l[slot]);
    ASSERT_EQ(game.named, full.l[slot]);
    ASSERT_LT(game.guesses.size(), by_guesses.size());
    ++by_guesses[game.guesses.size()];
    unseen += game.guesses.back() != game.named ? 1 : 0;
  }
  EXPECT_EQ(by_guesses, result.secrets_by_guesses);
  EXPECT_EQ(unseen, result.announced_unseen);
}

}  // namespace
}  // namespace abguess
