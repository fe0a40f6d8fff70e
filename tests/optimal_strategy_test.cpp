// The compiled-in optimal strategy: a well-formed tree that covers every
// honest game, never wastes a guess, plays from any first guess, and keeps
// its total, the figure abguess-solve proved least.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "evaluation.h"
#include "game.h"
#include "honest_game.h"
#include "optimal_strategy.h"
#include "store.h"

namespace abguess {
namespace {

std::vector<Code> every_code() {
  Store full;
  reset(full);
  return {full.l.begin(), full.l.begin() + full.ln};
}

// Walks the tree with the set of codes each decision faces.
void check_decisions(const DecisionTree& tree, std::int32_t node, const std::vector<Code>& live, int& decisions) {
  ++decisions;
  const Code g = tree.nodes[node].guess;
  std::vector<std::vector<Code>> parts(EXACT + 1);
  for (const Code c : live) parts[guess(c, g)].push_back(c);
  int nonempty = 0;
  for (const auto& part : parts) nonempty += part.empty() ? 0 : 1;
  ASSERT_GT(nonempty, 1) << "guess " << g << " splits nothing among " << live.size() << " codes";
  for (Score answer = 0; answer <= EXACT; ++answer) {
    const std::int32_t next = tree.nodes[node].next[answer];
    if (parts[answer].size() <= 1) {
      // One code left is named, none left cannot be answered: no decision.
      EXPECT_EQ(next, DecisionTree::NO_NODE) << "after guess " << g << " answer " << answer;
      continue;
    }
    ASSERT_NE(next, DecisionTree::NO_NODE) << "no decision after guess " << g << " answer " << answer;
    check_decisions(tree, next, parts[answer], decisions);
  }
}

TEST(OptimalTree, CoversEveryHonestAnswerAndEveryDecisionSplitsItsSet) {
  const DecisionTree& tree = optimal_decision_tree();
  ASSERT_EQ(tree.nodes.front().guess, TREE_FIRST_GUESS);
  int decisions = 0;
  check_decisions(tree, 0, every_code(), decisions);
  // Every decision in the text is reached: none is left over.
  EXPECT_EQ(decisions, static_cast<int>(tree.nodes.size()));
}

// The bench signature of the optimal strategy: its distribution from 0123.
// It changes only when a new search writes a new tree of the same total.
TEST(OptimalTree, DistributionFrom0123) {
  OptimalStrategy optimal;
  const StrategyResult result = evaluate_first_guess(123, optimal);
  EXPECT_EQ(result.secrets_by_guesses, (std::vector<std::int64_t>{0, 1, 10, 323, 2311, 2253, 142}));
  EXPECT_EQ(result.guesses_shown(), 22351);
}

TEST(OptimalTree, EveryFirstGuessGivesTheSameTotal) {
  OptimalStrategy optimal;
  for (const Code first : every_code()) {
    const StrategyResult result = evaluate_first_guess(first, optimal);
    ASSERT_EQ(result.guesses_shown(), 22351) << "first guess " << first;
    ASSERT_EQ(result.games(), CODE_COUNT);
  }
}

// Through the game itself, as a user meets it: every secret is named.
TEST(OptimalTree, TheGameNamesEverySecretFromSeveralFirstGuesses) {
  OptimalStrategy optimal;
  for (const Code first : {123, 9876, 5024, 1357}) {
    for (const Code secret : every_code()) {
      const testing::HonestGame honest = testing::play_honestly(first, secret, optimal);
      std::string typed;
      for (const Code g : honest.guesses) typed += testing::answer_text(guess(secret, g)) + "\n";
      std::istringstream in(typed);
      std::ostringstream out, err;
      const auto game = std::make_unique<Game>(in, out, err, optimal);
      ASSERT_EQ(game->AI(testing::slot_of(first)), GameEnd::Solved) << first << " " << secret;
      ASSERT_EQ(out.str(), testing::clean_transcript(honest))
          << first << " " << secret;
      ASSERT_EQ(honest.named, secret);
    }
  }
}

TEST(Relabel, MapsTheTreeFirstGuessToAnyFirstGuessAndKeepsEveryAnswer) {
  const std::vector<Code> codes = every_code();
  for (const Code first : {123, 9876, 5024, 1357, 4790}) {
    EXPECT_EQ(relabel(TREE_FIRST_GUESS, first), first);
    for (std::size_t i = 0; i < codes.size(); i += 37) {
      for (std::size_t j = 0; j < codes.size(); j += 41) {
        ASSERT_EQ(guess(relabel(codes[i], first), relabel(codes[j], first)), guess(codes[i], codes[j]));
      }
    }
  }
}

struct BadTree {
  std::string name;
  std::string text;
};

void PrintTo(const BadTree& bad, std::ostream* os) { *os << bad.name; }

class MalformedTree : public ::testing::TestWithParam<BadTree> {};

TEST_P(MalformedTree, IsRefused) { EXPECT_THROW(parse_decision_tree(GetParam().text), std::invalid_argument); }

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedTree,
    ::testing::Values(BadTree{"Empty", "# nothing\n"}, BadTree{"NoColon", "0123\n"},
                      BadTree{"NotACode", ": 0113\n"}, BadTree{"BadAnswer", ": 0123\n0X1B: 4567\n"},
                      BadTree{"ImpossibleAnswer", ": 0123\n3A1B: 4567\n"},
                      BadTree{"GoesOnAfterExact", ": 0123\n4A0B: 4567\n"},
                      BadTree{"ParentMissing", ": 0123\n0A1B 0A2B: 4567\n"},
                      BadTree{"Twice", ": 0123\n0A1B: 4567\n0A1B: 4568\n"},
                      BadTree{"RootNotFirst", "0A1B: 4567\n: 0123\n"}),
    [](const auto& info) { return info.param.name; });

TEST(WellFormedTree, IsReadWithCommentsAndBlankLines) {
  const DecisionTree tree = parse_decision_tree("# a comment\n: 0123\n\n0A1B: 4567\n0A1B 0A2B: 5678\n");
  ASSERT_EQ(tree.nodes.size(), 3u);
  EXPECT_EQ(tree.nodes[0].guess, 123);
  EXPECT_EQ(tree.nodes[tree.nodes[0].next[1]].guess, 4567);
  EXPECT_EQ(tree.nodes[tree.nodes[tree.nodes[0].next[1]].next[2]].guess, 5678);
}

}  // namespace
}  // namespace abguess
