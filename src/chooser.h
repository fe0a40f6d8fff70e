// The guess chooser: picks the next guess among the live codes of a store.
//
// A pass takes an evenly strided sample of at most MAXIMUM live codes and
// gives each sampled code i a total: the sum, over every sampled j, of the
// number of sampled k for which score(j, k) equals score(i, j).  The lowest
// total wins; among equal totals the lowest slot wins.
#pragma once

#include <array>
#include <cstdint>

#include "code.h"
#include "store.h"

namespace abguess {

// Sampling divisor: the stride is ln / MAXIMUM + 1, so at most 500 codes
// are sampled.
inline constexpr int MAXIMUM = 500;

// Starting value of the best total; any real total (at most 500 * 500) beats it.
inline constexpr int NO_TOTAL_YET = 100000000;

constexpr int sampling_stride(int ln) { return ln / MAXIMUM + 1; }

constexpr int sample_count(int ln) {
  const int add = sampling_stride(ln);
  return (ln + add - 1) / add;
}

// Holds the working arrays of the choosing pass, so that a pass allocates
// nothing and a caller (the game, a thread of the evaluator) owns its own.
// About 270 KB: keep one per thread, not on a small stack.
class GuessChooser {
 public:
  // Slot of the chosen guess (`mini`).  The store must hold at least one
  // live code, all of four different digits; it is not changed.
  int choose(const Store& store);

 private:
  // A score in compact form, 5 * A + (A + B): 25 classes, equal exactly
  // when the scores are equal.
  static constexpr int SCORE_CLASSES = 25;

  struct Signature {
    std::uint32_t digit_set;      // bit d set for each digit d of the code
    std::uint32_t packed_digits;  // digit of position p in byte p
  };

  static Signature signature_of(Code c);
  static std::uint8_t score_class(Signature x, Signature y);

  int sample_store(const Store& store, int add);
  void score_sampled_pairs(int sampled);
  int lowest_total_index(int sampled) const;

  // The sampled codes' signatures, one array per field so that a row of
  // scores is computed many codes at a time.
  std::array<std::uint32_t, MAXIMUM> sampled_digit_sets_{};
  std::array<std::uint32_t, MAXIMUM> sampled_packed_digits_{};
  std::array<std::array<std::uint8_t, MAXIMUM>, MAXIMUM> pair_class_{};
  std::array<std::array<std::uint16_t, SCORE_CLASSES>, MAXIMUM> class_counts_{};
};

}  // namespace abguess
