#include "optimal_strategy.h"

#include <map>
#include <stdexcept>
#include <string>

#include "strategy_text.h"

namespace abguess {

// The text of data/optimal_named.txt, compiled in by the build.
extern const char OPTIMAL_STRATEGY_TEXT[];

DecisionTree parse_decision_tree(std::string_view text) {
  DecisionTree tree;
  std::map<std::vector<Score>, std::int32_t> node_of_path;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::optional<DecisionLine> decision = parse_decision_line(line);
    if (!decision) continue;
    const std::optional<Code> guess = parse_code(decision->guess);
    if (!guess) throw std::invalid_argument("not a code: " + decision->guess);
    std::vector<Score> path;
    for (const AnswerPair& answer : decision->answers) {
      const Score score = answer.a * 10 + answer.b;
      if (!is_possible_score(score) || score == EXACT) throw std::invalid_argument("not an answer to go on from: " + std::string(line));
      path.push_back(score);
    }
    const auto index = static_cast<std::int32_t>(tree.nodes.size());
    if (!node_of_path.emplace(path, index).second) throw std::invalid_argument("a decision given twice: " + std::string(line));
    DecisionTree::Node node;
    node.guess = *guess;
    node.next.fill(DecisionTree::NO_NODE);
    tree.nodes.push_back(node);
    if (path.empty()) {
      if (index != 0) throw std::invalid_argument("the first decision must come first");
      continue;
    }
    const Score last = path.back();
    path.pop_back();
    const auto parent = node_of_path.find(path);
    if (parent == node_of_path.end()) throw std::invalid_argument("a decision before its parent: " + std::string(line));
    tree.nodes[parent->second].next[last] = index;
  }
  if (tree.nodes.empty()) throw std::invalid_argument("a tree with no decision");
  return tree;
}

const DecisionTree& optimal_decision_tree() {
  static const DecisionTree tree = parse_decision_tree(OPTIMAL_STRATEGY_TEXT);
  return tree;
}

Code relabel(Code tree_code, Code first) {
  std::array<int, 10> digit_to{};
  unsigned used = 0;
  for (int position = 0; position < CODE_DIGITS; ++position) {
    const int d = digit_at(first, position);
    digit_to[digit_at(TREE_FIRST_GUESS, position)] = d;
    used |= 1u << d;
  }
  int next_free = 0;
  for (int d = CODE_DIGITS; d < 10; ++d) {
    while ((used & (1u << next_free)) != 0) ++next_free;
    digit_to[d] = next_free++;
  }
  Code image = 0;
  for (int position = 0; position < CODE_DIGITS; ++position) image = image * 10 + digit_to[digit_at(tree_code, position)];
  return image;
}

OptimalStrategy::OptimalStrategy() : tree_(optimal_decision_tree()) {}

Code OptimalStrategy::next_guess(std::span<const Turn> turns, const Store& /*live*/) {
  const Code first = turns.front().guess;
  std::int32_t node = 0;
  for (const Turn& turn : turns) {
    node = tree_.nodes[node].next[turn.answer];
    if (node == DecisionTree::NO_NODE) throw std::logic_error("the optimal strategy has no decision for these answers");
  }
  return relabel(tree_.nodes[node].guess, first);
}

}  // namespace abguess
