// The classic strategy: the guess chooser's pick among the live codes.
#pragma once

#include "chooser.h"
#include "strategy.h"

namespace abguess {

class ClassicStrategy final : public Strategy {
 public:
  Code next_guess(std::span<const Turn> turns, const Store& live) override;

 private:
  GuessChooser chooser_;
};

}  // namespace abguess
