// The optimal strategy: a tree of decisions, found by abguess-solve's exact
// search from the first guess 0123 and compiled into the program.  It needs
// the fewest guesses shown in all over the 5040 secrets.
//
// Any other first guess is 0123 with its digits relabelled, and answers do
// not change under a relabelling; so the tree plays from any first guess
// once its guesses are relabelled the same way.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "code.h"
#include "strategy.h"

namespace abguess {

// The guess the tree is written from.
inline constexpr Code TREE_FIRST_GUESS = 123;

struct DecisionTree {
  static constexpr std::int32_t NO_NODE = -1;
  struct Node {
    Code guess = 0;
    std::array<std::int32_t, EXACT + 1> next{};  // by answer (10 * A + B)
  };
  std::vector<Node> nodes;  // nodes[0]: the first guess
};

// Reads a tree in the text form of strategy_text.h; throws
// std::invalid_argument when the text is not a well-formed tree.
DecisionTree parse_decision_tree(std::string_view text);

// The compiled-in tree of the optimal strategy.
const DecisionTree& optimal_decision_tree();

// The code `tree_code` becomes when 0123 is relabelled to `first`: digits
// 0, 1, 2, 3 become first's digits, 4 to 9 the other digits in order.
Code relabel(Code tree_code, Code first);

class OptimalStrategy final : public Strategy {
 public:
  OptimalStrategy();
  // Throws std::logic_error if the answers lead where the tree has no
  // decision, which honest answers (all that the game accepts) never do.
  Code next_guess(std::span<const Turn> turns, const Store& live) override;

 private:
  const DecisionTree& tree_;
};

}  // namespace abguess
