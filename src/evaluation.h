// How strong is a strategy: the games it plays with honest answers.
//
// From one first guess, the games against all 5040 secrets form a tree: the
// same answers lead to the same next guess.  The
// evaluation walks that tree, weighing each distinct store once.
#pragma once

#include <cstdint>
#include <vector>

#include "code.h"
#include "strategy.h"

namespace abguess {

struct StrategyResult {
  // secrets_by_guesses[n]: secrets found after n guesses were shown.
  std::vector<std::int64_t> secrets_by_guesses;
  // Secrets announced without ever being shown as a guess.
  std::int64_t announced_unseen = 0;
  // Secrets that needed the most guesses shown, ascending.
  std::vector<Code> worst_secrets;

  std::int64_t games() const;
  std::int64_t guesses_shown() const;
  // Guesses counting one more wherever the code was announced unseen: the
  // way published results count, where the code must finally be guessed.
  std::int64_t guesses_with_final() const { return guesses_shown() + announced_unseen; }
  int most_guesses() const { return static_cast<int>(secrets_by_guesses.size()) - 1; }

  // Adds another result's distribution (worst secrets are not merged).
  void add_distribution(const StrategyResult& other);
};

// Plays the strategy from `first` against every secret with honest answers.
StrategyResult evaluate_first_guess(Code first, Strategy& strategy);

}  // namespace abguess
