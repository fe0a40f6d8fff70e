#include "random.h"

namespace abguess {

int DrawGenerator::draw() {
  // The classic portable linear congruential generator; its high bits are
  // the well-mixed ones, so the draw is taken from bits 16 to 30.
  state_ = state_ * 1103515245u + 12345u;
  return static_cast<int>((state_ >> 16) & static_cast<std::uint32_t>(DRAW_MAX));
}

int first_guess_slot(int r1, int r2, int ln) { return r1 * r2 % ln; }

}  // namespace abguess
