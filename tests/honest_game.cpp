#include "honest_game.h"

#include <memory>
#include <sstream>

#include "classic_strategy.h"
#include "game.h"

namespace abguess::testing {

HonestGame play_honestly(Code first, Code secret) {
  // One strategy for every game: the chooser's arrays are large and need no clearing.
  static thread_local const auto classic = std::make_unique<ClassicStrategy>();
  return play_honestly(first, secret, *classic);
}

HonestGame play_honestly(Code first, Code secret, Strategy& strategy) {
  HonestGame game;
  Store store;
  reset(store);
  std::vector<Turn> turns;
  Code g = first;
  for (;;) {
    game.guesses.push_back(g);
    game.stores.push_back(store);
    const Score answer = guess(secret, g);
    filter(store, g, answer);
    turns.push_back({g, answer});
    if (store.ln <= 1) break;
    g = strategy.next_guess(turns, store);
  }
  game.named = store.l[0];
  return game;
}

PlayedGame play_typed(Code first, const std::string& typed, GameOptions options) {
  std::istringstream in(typed);
  std::ostringstream out, err;
  const auto classic = std::make_unique<ClassicStrategy>();
  const auto game = std::make_unique<Game>(in, out, err, *classic, options);
  const GameEnd end = game->AI(slot_of(first));
  return {end, out.str(), err.str()};
}

int slot_of(Code code) {
  Store full;
  reset(full);
  for (int slot = 0; slot < full.ln; ++slot) {
    if (full.l[slot] == code) return slot;
  }
  return -1;
}

std::string guess_block(Code g) {
  return std::string(GUESS_PREFIX) + code_text(g).data() + ".\n" + std::string(PROMPT);
}

std::string refusal_block(std::string_view reason) {
  return std::string(reason) + "\n" + std::string(PROMPT);
}

std::string result_line(Code named, int guesses) {
  return std::string(RESULT_PREFIX) + code_text(named).data() + "." + std::string(RESULT_COUNT) +
         std::to_string(guesses) + ".\n";
}

std::string clean_transcript(const HonestGame& game) {
  std::string text;
  for (const Code g : game.guesses) text += guess_block(g);
  return text + result_line(game.named, static_cast<int>(game.guesses.size()));
}

std::string answer_text(Score score) {
  return std::to_string(score / 10) + " " + std::to_string(score % 10);
}

Score contradicting_answer(const Store& store, Code g) {
  for (const Score answer : POSSIBLE_SCORES) {
    if (count_matching(store, g, answer) == 0) return answer;
  }
  return -1;
}

}  // namespace abguess::testing
