#include "game.h"

#include <string>
#include <system_error>

#include "answer.h"

namespace abguess {

Game::Game(std::istream& in, std::ostream& out, std::ostream& err, Strategy& strategy, GameOptions options)
    : in_(in), out_(out), err_(err), strategy_(strategy), options_(options) {}

void Game::flush() {
  out_.flush();
  // Never play on blind: a stream that cannot take the dialogue ends it.
  if (!out_) throw std::system_error(std::make_error_code(std::errc::io_error), std::string(OUTPUT_FAILED));
}

void Game::write_code_line(std::string_view prefix, Code g) {
  out_ << prefix << code_text(g).data() << ".\n";
}

void Game::refuse(std::string_view reason) {
  out_ << reason << '\n' << PROMPT;
  flush();
}

Game::Reply Game::guess_input(Code g) {
  write_code_line(GUESS_PREFIX, g);
  out_ << PROMPT;
  flush();
  for (;;) {
    const AnswerRead answer = read_answer(in_);
    switch (answer.outcome) {
      case ReadOutcome::EndOfInput:
        return Reply::InputEnded;
      case ReadOutcome::NotAnswer:
        refuse(NOT_AN_ANSWER);
        continue;
      case ReadOutcome::Undo:
        if (turns_.empty()) {
          refuse(NOTHING_TO_UNDO);
          continue;
        }
        return Reply::Undo;
      case ReadOutcome::Answer:
        break;
    }
    const std::int64_t value = response_value(answer.a, answer.b);
    if (!is_possible_score(value)) {
      refuse(IMPOSSIBLE_ANSWER);
      continue;
    }
    // An answer that would empty the store is refused before it filters
    // anything, so a typo in it can be put right.
    if (count_matching(store_, g, static_cast<Score>(value)) == 0) {
      refuse(CONTRADICTING_ANSWER);
      continue;
    }
    inpa = answer.a;
    inpb = answer.b;
    gs = static_cast<Score>(value);
    return Reply::Accepted;
  }
}

Code Game::take_back() {
  const Code retaken = turns_.back().guess;
  turns_.pop_back();
  // Filtering the full store again by the answers that stand gives exactly
  // the store as it was before the answer taken back.
  reset(store_);
  for (const Turn& turn : turns_) filter(store_, turn.guess, turn.answer);
  return retaken;
}

GameEnd Game::play(Code shown) {
  for (;;) {
    switch (guess_input(shown)) {
      case Reply::InputEnded:
        err_ << INPUT_ENDED << '\n';
        err_.flush();
        return GameEnd::InputEnded;
      case Reply::Undo:
        shown = take_back();
        continue;
      case Reply::Accepted:
        break;
    }
    filter(store_, shown, gs);
    turns_.push_back({shown, gs});
    if (store_.ln <= 1) break;
    if (options_.verbose) out_ << store_.ln << CODES_LEFT << '\n';
    shown = strategy_.next_guess(turns_, store_);
  }
  // The guesses counted are those on the chain of answers that stand.
  out_ << RESULT_PREFIX << code_text(store_.l[0]).data() << '.' << RESULT_COUNT << turns_.size() << ".\n";
  flush();
  return GameEnd::Solved;
}

GameEnd Game::AI(int first_slot) {
  reset(store_);
  turns_.clear();
  try {
    return play(store_.l[first_slot]);
  } catch (const std::system_error& failure) {
    err_ << failure.what() << '\n';
    err_.flush();
    return GameEnd::Failed;
  }
}

}  // namespace abguess
