#include "evaluation.h"

#include <algorithm>
#include <array>

#include "store.h"

namespace abguess {

namespace {

class TreeWalk {
 public:
  TreeWalk(Strategy& strategy, StrategyResult& result) : strategy_(strategy), result_(result) {}

  // `shown` has just been shown as guess number `guesses`, with `store` live.
  void answer_every_way(const Store& store, Code shown, int guesses) {
    // Each live code's answer to `shown` is scored once, not once per
    // possible answer: splitting the store is then only comparisons.
    std::array<Score, MAX> answer_of;
    for (int c = 0; c < store.ln; ++c) answer_of[c] = guess(store.l[c], shown);
    Store next;
    for (const Score answer : POSSIBLE_SCORES) {
      next.ln = 0;
      for (int c = 0; c < store.ln; ++c) {
        if (answer_of[c] == answer) next.l[next.ln++] = store.l[c];
      }
      if (next.ln == 0) continue;
      if (next.ln == 1) {
        found(next.l[0], guesses, next.l[0] != shown);
        continue;
      }
      turns_.push_back({shown, answer});
      answer_every_way(next, strategy_.next_guess(turns_, next), guesses + 1);
      turns_.pop_back();
    }
  }

 private:
  void found(Code secret, int guesses, bool unseen) {
    auto& counts = result_.secrets_by_guesses;
    if (static_cast<int>(counts.size()) <= guesses) {
      counts.resize(guesses + 1, 0);
      result_.worst_secrets.clear();
    }
    ++counts[guesses];
    if (guesses == result_.most_guesses()) result_.worst_secrets.push_back(secret);
    if (unseen) ++result_.announced_unseen;
  }

  Strategy& strategy_;
  StrategyResult& result_;
  std::vector<Turn> turns_;
};

}  // namespace

std::int64_t StrategyResult::games() const {
  std::int64_t total = 0;
  for (const std::int64_t n : secrets_by_guesses) total += n;
  return total;
}

std::int64_t StrategyResult::guesses_shown() const {
  std::int64_t total = 0;
  for (std::size_t guesses = 0; guesses < secrets_by_guesses.size(); ++guesses) {
    total += static_cast<std::int64_t>(guesses) * secrets_by_guesses[guesses];
  }
  return total;
}

void StrategyResult::add_distribution(const StrategyResult& other) {
  if (secrets_by_guesses.size() < other.secrets_by_guesses.size()) {
    secrets_by_guesses.resize(other.secrets_by_guesses.size(), 0);
  }
  for (std::size_t guesses = 0; guesses < other.secrets_by_guesses.size(); ++guesses) {
    secrets_by_guesses[guesses] += other.secrets_by_guesses[guesses];
  }
  announced_unseen += other.announced_unseen;
}

StrategyResult evaluate_first_guess(Code first, Strategy& strategy) {
  StrategyResult result;
  Store full;
  reset(full);
  TreeWalk(strategy, result).answer_every_way(full, first, 1);
  std::sort(result.worst_secrets.begin(), result.worst_secrets.end());
  return result;
}

}  // namespace abguess
