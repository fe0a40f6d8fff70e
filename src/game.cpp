#include "game.h"

#include "answer.h"

namespace abguess {

Game::Game(std::istream& in, std::ostream& out, std::ostream& err)
    : in_(in), out_(out), err_(err) {}

void Game::write_code_line(std::string_view prefix, Code g) {
  out_ << prefix << code_text(g).data() << ".\n";
}

void Game::refuse(std::string_view reason) {
  out_ << reason << '\n' << PROMPT;
  out_.flush();
}

bool Game::guess_input(Code g) {
  write_code_line(GUESS_PREFIX, g);
  out_ << PROMPT;
  out_.flush();
  for (;;) {
    const AnswerRead answer = read_answer(in_);
    if (answer.outcome == ReadOutcome::EndOfInput) return false;
    if (answer.outcome == ReadOutcome::NotAnswer) {
      refuse(NOT_AN_ANSWER);
      continue;
    }
    const std::int32_t value = response_value(answer.a, answer.b);
    if (!is_possible_score(value)) {
      refuse(IMPOSSIBLE_ANSWER);
      continue;
    }
    // An answer that would empty the store is refused before it filters
    // anything, so a typo in it can be put right.
    if (count_matching(store_, g, value) == 0) {
      refuse(CONTRADICTING_ANSWER);
      continue;
    }
    inpa = answer.a;
    inpb = answer.b;
    gs = value;
    return true;
  }
}

GameEnd Game::AI(int first_slot) {
  reset(store_);
  int guesses_shown = 0;
  Code shown = store_.l[first_slot];
  for (;;) {
    if (!guess_input(shown)) {
      err_ << INPUT_ENDED << '\n';
      err_.flush();
      return GameEnd::InputEnded;
    }
    filter(store_, shown, gs);
    ++guesses_shown;
    if (store_.ln <= 1) break;
    shown = store_.l[chooser_.choose(store_)];
  }
  out_ << RESULT_PREFIX << code_text(store_.l[0]).data() << '.' << RESULT_COUNT << guesses_shown
       << ".\n";
  out_.flush();
  return GameEnd::Solved;
}

}  // namespace abguess
