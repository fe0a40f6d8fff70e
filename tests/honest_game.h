// Test helpers: the game an honest user plays, worked out from the engine
// alone (store, filter, chooser), and the exact text the dialogue shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code.h"
#include "game.h"
#include "store.h"
#include "strategy.h"

namespace abguess::testing {

struct HonestGame {
  std::vector<Code> guesses;  // every guess shown, in order
  std::vector<Store> stores;  // the live store each guess was shown against
  Code named = 0;             // the code of the result line
};

// With the classic strategy, or with the one given.
HonestGame play_honestly(Code first, Code secret);
HonestGame play_honestly(Code first, Code secret, Strategy& strategy);

// A game played in memory with the classic strategy: `typed` is all the
// user types, and what the game wrote comes back.
struct PlayedGame {
  GameEnd end;
  std::string out;
  std::string err;
};
PlayedGame play_typed(Code first, const std::string& typed, GameOptions options = {});

// Slot of a code in the full store.
int slot_of(Code code);

// "Guess : 0123.\n" followed by the prompt.
std::string guess_block(Code g);
// A refusal's reason line followed by the prompt again.
std::string refusal_block(std::string_view reason);
// "The Answer : 0123. Guessed Times : 3.\n"
std::string result_line(Code named, int guesses);

// The whole transcript of a clean honest game.
std::string clean_transcript(const HonestGame& game);

// "A B" text of an honest answer.
std::string answer_text(Score score);

// A possible answer to g that no code of `store` gives, or -1 when every
// possible answer is still open.
Score contradicting_answer(const Store& store, Code g);

}  // namespace abguess::testing
