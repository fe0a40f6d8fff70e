#include "chooser.h"

namespace abguess {

namespace {

// Bits set in a 10-bit digit set, in plain arithmetic (no table, no
// popcount instruction) so the compiler can score many pairs at once.
std::uint32_t digit_set_size(std::uint32_t set) {
  set = set - ((set >> 1) & 0x155u);
  set = (set & 0x333u) + ((set >> 2) & 0x333u);
  set = (set + (set >> 4)) & 0x30Fu;
  return (set + (set >> 8)) & 0x1Fu;
}

// Number of zero bytes of a 32-bit word, without branches.
std::uint32_t zero_bytes(std::uint32_t word) {
  const std::uint32_t nonzero = ((word & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | word;
  const std::uint32_t zero_flags = ~nonzero & 0x80808080u;
  return ((zero_flags >> 7) * 0x01010101u) >> 24;
}

}  // namespace

GuessChooser::Signature GuessChooser::signature_of(Code c) {
  Signature s{0, 0};
  for (int position = 0; position < CODE_DIGITS; ++position) {
    const int d = digit_at(c, position);
    s.digit_set |= 1u << d;
    s.packed_digits |= static_cast<std::uint32_t>(d) << (8 * position);
  }
  return s;
}

std::uint8_t GuessChooser::score_class(Signature x, Signature y) {
  const std::uint32_t in_place = zero_bytes(x.packed_digits ^ y.packed_digits);
  const std::uint32_t shared = digit_set_size(x.digit_set & y.digit_set);
  return static_cast<std::uint8_t>(5 * in_place + shared);
}

int GuessChooser::sample_store(const Store& store, int add) {
  int sampled = 0;
  for (int slot = 0; slot < store.ln; slot += add) {
    const Signature code = signature_of(store.l[slot]);
    sampled_digit_sets_[sampled] = code.digit_set;
    sampled_packed_digits_[sampled] = code.packed_digits;
    ++sampled;
  }
  return sampled;
}

// Scores every sampled pair once and counts, for each sampled j, how many
// sampled k give each score: the O(n^2) core that replaces weighing every
// (i, j, k) triple.
void GuessChooser::score_sampled_pairs(int sampled) {
  for (int j = 0; j < sampled; ++j) {
    auto& counts = class_counts_[j];
    counts.fill(0);
    const Signature code_j{sampled_digit_sets_[j], sampled_packed_digits_[j]};
    auto& row = pair_class_[j];
    // Scoring and counting in separate loops: the first has no scattered
    // writes, so it vectorises.
    for (int k = 0; k < sampled; ++k) {
      row[k] = score_class(code_j, Signature{sampled_digit_sets_[k], sampled_packed_digits_[k]});
    }
    for (int k = 0; k < sampled; ++k) ++counts[row[k]];
  }
}

int GuessChooser::lowest_total_index(int sampled) const {
  int minival = NO_TOTAL_YET;
  int best_index = 0;
  for (int i = 0; i < sampled; ++i) {
    const auto& row = pair_class_[i];
    int maxjval = 0;
    for (int j = 0; j < sampled && maxjval < minival; ++j) {
      // Scores of stored codes do not depend on order, so score(i, j) is
      // row i of the same table.
      maxjval += class_counts_[j][row[j]];
    }
    // Only a strictly lower total replaces the best: the lowest slot wins ties.
    if (maxjval < minival) {
      minival = maxjval;
      best_index = i;
    }
  }
  return best_index;
}

int GuessChooser::choose(const Store& store) {
  const int add = sampling_stride(store.ln);
  const int sampled = sample_store(store, add);
  score_sampled_pairs(sampled);
  const int mini = lowest_total_index(sampled) * add;
  return mini;
}

}  // namespace abguess
