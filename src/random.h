// The generator that picks the first guess.
//
// Our own generator, so that every platform draws from 0 to 32767 (the C
// library's rand() does not give that range everywhere) and the same seed
// gives the same first guess everywhere.
#pragma once

#include <cstdint>

namespace abguess {

inline constexpr int DRAW_MAX = 32767;

class DrawGenerator {
 public:
  explicit DrawGenerator(std::uint32_t seed) : state_(seed) {}

  // Next draw, 0 to DRAW_MAX inclusive.
  int draw();

 private:
  std::uint32_t state_;
};

// Slot of the first guess for two draws: (r1 * r2) mod ln.  Both draws are at
// most 32767, so the product fits a signed 32-bit integer.
int first_guess_slot(int r1, int r2, int ln);

}  // namespace abguess
