// How every guess splits a set of candidates, weighed all at once.
//
// The search looks at every code as a guess at every set it expands, so
// this is its innermost loop.  For each guess it needs the number of
// candidates giving each answer, and from those counts a lower bound on the
// guess's cost.  The counts of all guesses are kept side by side in packed
// counters (a few bits per answer, all answers in one or two words), so a
// pass over the set adds one word per guess per candidate with no
// scattered writes; the bounds are then read from tables indexed by the
// packed counts.
#pragma once

#include <cstdint>
#include <vector>

#include "search_game.h"

namespace abguess {

enum class Objective { Named, Guessed };

// Lower bounds on a set's cost that know only its size and how many parts
// any guess can split it (or any subset of it) into.  A subset is never
// split into more parts than the whole, so the bound of a set holds for all
// the sets below it.
class SizeBounds {
 public:
  SizeBounds(const SearchGame& game, Objective objective);

  // Least cost of a set of `size` candidates none of whose subsets any guess
  // splits into more than `parts` parts.
  int of(int size, int parts) const;
  int max_parts() const { return max_parts_; }

 private:
  static int named(int size, int parts);
  int guessed(int size, int parts) const;

  int max_parts_;
  int largest_;
  std::vector<int> table_;
};

// One guess's split of a set, as the search weighs it.
struct SplitSummary {
  static constexpr int UNSETTLED = -1;
  int lower = 0;         // the set's size plus each part's size bound
  int settled_cost = 0;  // the guess's exact cost when every part needs at
                         // most one more guess (Named) or is at most a pair
                         // (Guessed); else UNSETTLED
  int parts = 0;
  int spread = 0;        // sum of squared part sizes: smaller splits finer
};

class SplitScanner {
 public:
  SplitScanner(const SearchGame& game, Objective objective);

  const SizeBounds& bounds() const { return bounds_; }

  // Cost of a part of `size` codes that gave `answer`, before it is searched.
  int part_bound(int size, AnswerClass answer, int parts_limit) const {
    return answer == exact_ ? 0 : bounds_.of(size, parts_limit);
  }
  // True when a part's size bound is its exact cost.
  bool settled(int size, AnswerClass answer) const { return answer == exact_ || size <= 2; }

  // Summarises the split of `set` by each of `guesses` into `packed`, one
  // word per guess in the same order, bounding the parts as sets no guess
  // splits more finely than the best of `guesses` does, nor more than
  // `parts_limit` ways.  Returns the most parts any of `guesses` makes;
  // `guesses` must stand for every code up to relabellings that keep the set.
  int scan(const CodeIndex* set, int n, int parts_limit, const std::vector<int>& guesses,
           std::vector<std::uint64_t>& packed);

  // A guess's lower bound from its packed summary, without unpacking the rest.
  static int lower_of(std::uint64_t packed, int n) { return n + static_cast<int>(packed & 0xFFFF); }
  SplitSummary unpack(std::uint64_t packed, int n) const;

  // The same for one guess, counted directly.
  SplitSummary summarise(int guess, const CodeIndex* set, int n, int parts_limit) const;

 private:
  // A part's contribution to a summary, packed so that the contributions of
  // all parts add up field by field: lower, settled cost, unsettled parts,
  // parts, spread.
  std::uint64_t contribution(int parts_limit, int answer, int count) const;
  std::uint64_t pack(const SplitSummary& summary, int n) const;
  void scan_small(const CodeIndex* set, int n);
  void scan_medium(const CodeIndex* set, int n);

  const SearchGame& game_;
  SizeBounds bounds_;
  AnswerClass exact_;
  int classes_;
  // by_count_[limit][answer][count], count < 256.
  std::vector<std::uint64_t> by_count_;
  // by_nibble_pair_[limit][pair][byte]: two answers' 4-bit counts.
  std::vector<std::uint64_t> by_nibble_pair_;
  // The packed counters of every code.
  std::vector<std::uint64_t> low_;
  std::vector<std::uint64_t> high_;
};

}  // namespace abguess
