#include "reference_search.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <vector>

namespace abguess::testing {

namespace {

class PlainSearch {
 public:
  PlainSearch(const SearchGame& game, Objective objective) : game_(game), objective_(objective) {}

  // cost(S) = min over every code g that splits S of |S| + sum of cost(part),
  // with the exact answer's part free under Guessed.
  std::int64_t cost(const std::vector<int>& set) {
    if (set.empty()) return 0;
    if (set.size() == 1) return objective_ == Objective::Named ? 0 : 1;
    const auto known = costs_.find(set);
    if (known != costs_.end()) return known->second;
    std::int64_t best = -1;
    for (int g = 0; g < game_.size(); ++g) {
      // A guess every candidate answers alike teaches nothing (and would
      // lead straight back to this set).
      if (answers_alike(g, set)) continue;
      const std::vector<std::vector<int>> parts = split(g, set);
      std::int64_t total = static_cast<std::int64_t>(set.size());
      for (const auto& part : parts) total += cost(part);
      if (best < 0 || total < best) best = total;
    }
    costs_[set] = best;
    return best;
  }

  bool answers_alike(int g, const std::vector<int>& set) const {
    for (const int c : set) {
      if (game_.answer(g, c) != game_.answer(g, set.front())) return false;
    }
    return true;
  }

  // The parts of `set` by answer to g; under Guessed, without the secret g
  // itself, which is found.
  std::vector<std::vector<int>> split(int g, const std::vector<int>& set) const {
    std::array<std::vector<int>, MAX_ANSWER_CLASSES> by_answer;
    for (const int c : set) {
      const int answer = game_.answer(g, c);
      if (objective_ == Objective::Guessed && answer == game_.exact_class()) continue;
      by_answer[answer].push_back(c);
    }
    std::vector<std::vector<int>> parts;
    for (auto& part : by_answer) {
      if (!part.empty()) parts.push_back(std::move(part));
    }
    return parts;
  }

 private:
  const SearchGame& game_;
  Objective objective_;
  struct SetHash {
    std::size_t operator()(const std::vector<int>& set) const {
      std::size_t h = set.size();
      for (const int c : set) h = h * 1000003u + static_cast<std::size_t>(c);
      return h;
    }
  };
  std::unordered_map<std::vector<int>, std::int64_t, SetHash> costs_;
};

}  // namespace

std::int64_t plain_least_total(const SearchGame& game, Objective objective) {
  PlainSearch search(game, objective);
  std::vector<int> all(game.size());
  for (int c = 0; c < game.size(); ++c) all[c] = c;
  std::int64_t total = static_cast<std::int64_t>(all.size());
  for (const auto& part : search.split(0, all)) total += search.cost(part);
  return total;
}

}  // namespace abguess::testing
