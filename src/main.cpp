// abguess: thinks of nothing, guesses your four-digit code.
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <iostream>
#include <mutex>

#include "game.h"
#include "random.h"

namespace {

// After the result line the program stays, silent and blocked, until it is
// ended from outside: it waits on a condition that never comes true, which
// uses no CPU.
[[noreturn]] void idle_forever() {
  std::mutex mutex;
  std::condition_variable never_signalled;
  std::unique_lock lock(mutex);
  for (;;) never_signalled.wait(lock);
}

// Large working arrays: kept out of main's stack.
abguess::Game game(std::cin, std::cout, std::cerr);

}  // namespace

int main() {
  abguess::DrawGenerator generator(static_cast<std::uint32_t>(std::time(nullptr)));
  const int r1 = generator.draw();
  const int r2 = generator.draw();
  if (game.AI(abguess::first_guess_slot(r1, r2, abguess::CODE_COUNT)) == abguess::GameEnd::InputEnded) {
    return 1;
  }
  idle_forever();
}
