// The exact search for a strategy of least total guesses.
//
// The cost of a set of candidates is the least total, over its secrets, of
// the guesses still to come; a guess splits the set by answer and costs one
// guess for every secret in it, so
//     cost(S) = min over every code g of  |S| + sum over answers of cost(S_answer)
// with two ways to end:
//   - Named: a secret is done once it is the only candidate left
//     (cost of one candidate: 0).  This is what the program shows.
//   - Guessed: a secret is done once it has been guessed and answered
//     exactly (cost of one candidate: 1).  This is how published results count.
//
// Every code is a possible guess at every node, not only the candidates.
// Branch and bound finds the minimum: guesses are tried best-first by a
// lower bound, each answer's set is searched with the budget that is left,
// and a guess is dropped as soon as its bound reaches the best so far.
// Solved sets are remembered, and guesses that a relabelling of symbols and
// positions maps onto each other (one that keeps every earlier guess) are
// tried once.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "search_game.h"
#include "split_scan.h"

namespace abguess {

// One decision of a strategy: the guess, and for each answer the decision
// that follows it, or NO_NODE where the answer leaves nothing to decide
// (Named: at most one candidate; Guessed: the answer is exact or impossible).
struct StrategyNode {
  static constexpr std::int32_t NO_NODE = -1;
  int guess = 0;
  std::array<std::int32_t, MAX_ANSWER_CLASSES> next{};
};

// A strategy as a tree of decisions; nodes[0] is the first guess.
struct SearchStrategy {
  std::vector<StrategyNode> nodes;
};

// Secrets by the number of guesses each takes under a strategy, counted by
// the objective's rule; playing it also checks that it names every secret.
struct StrategyCount {
  std::vector<std::int64_t> secrets_by_guesses;  // [n]: secrets taking n guesses
  std::int64_t total() const;
  int worst() const { return static_cast<int>(secrets_by_guesses.size()) - 1; }
};

// Plays the strategy against every secret; throws std::logic_error if it
// fails to find one (a missing decision, or an ambiguity left unresolved).
StrategyCount count_guesses(const SearchGame& game, const SearchStrategy& strategy, Objective objective);

struct SearchReport {
  std::int64_t total = 0;      // least total over every secret
  SearchStrategy strategy;     // a strategy reaching it
  std::uint64_t positions = 0; // sets searched (not answered from memory)
};

struct SearchOptions {
  int threads = 1;
  // Called now and then from the searching threads with the share of the
  // first guess's answers that are solved, 0 to 1.
  std::function<void(double)> progress;
};

// Least total over every secret, starting with the guess `first`.
SearchReport search_optimal(const SearchGame& game, Objective objective, int first,
                            const SearchOptions& options = {});

}  // namespace abguess
