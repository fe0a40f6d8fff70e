// What the game asks of a strategy: the next guess.
//
// The game hands over the turns played so far (each guess with the answer
// accepted for it, the first guess first) and the candidates they leave,
// and never knows which strategy it holds.  A strategy keeps nothing from
// one call to the next, so taking an answer back needs nothing from it.
#pragma once

#include <span>

#include "code.h"
#include "store.h"

namespace abguess {

struct Turn {
  Code guess = 0;
  Score answer = 0;
};

class Strategy {
 public:
  virtual ~Strategy() = default;
  // The guess to show next.  `turns` is not empty and `live` holds the two
  // or more codes that fit every turn.
  virtual Code next_guess(std::span<const Turn> turns, const Store& live) = 0;
};

}  // namespace abguess
