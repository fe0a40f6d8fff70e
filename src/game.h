// One game of the solver with its console dialogue.
//
// The game reads and writes only through the streams it is given, so a test
// or another front end can play it in memory; main() hands it the console.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>
#include <vector>

#include "code.h"
#include "store.h"
#include "strategy.h"

namespace abguess {

inline constexpr std::string_view GUESS_PREFIX = "Guess : ";
inline constexpr std::string_view PROMPT = "Enter the results ( ?A ?B ) : ";
inline constexpr std::string_view RESULT_PREFIX = "The Answer : ";
inline constexpr std::string_view RESULT_COUNT = " Guessed Times : ";

inline constexpr std::string_view NOT_AN_ANSWER =
    "Please type two numbers, A and B, such as 1 2.";
inline constexpr std::string_view IMPOSSIBLE_ANSWER =
    "That answer is impossible: A and B are each 0 to 4, together at most 4, "
    "and 3A 1B cannot happen.";
inline constexpr std::string_view CONTRADICTING_ANSWER =
    "No code fits that answer together with the earlier ones; please check it "
    "and type it again, or type undo to take back your previous answer.";
inline constexpr std::string_view NOTHING_TO_UNDO = "There is no answer to take back.";
inline constexpr std::string_view CODES_LEFT = " codes left.";
inline constexpr std::string_view INPUT_ENDED = "Input ended before the code was found.";
inline constexpr std::string_view OUTPUT_FAILED = "Cannot write the output";

enum class GameEnd {
  Solved,      // the result line was written
  InputEnded,  // input ran out first; the reason went to the error stream
  Failed,      // reading or writing failed; the reason went to the error stream
};

struct GameOptions {
  // Say how many codes are left after each answer that leaves two or more.
  bool verbose = false;
};

class Game {
 public:
  // A reading or writing failure reaches the game as std::system_error,
  // from the streams' buffers or, for an output stream that only goes bad,
  // from the game's own check after each flush.
  Game(std::istream& in, std::ostream& out, std::ostream& err, Strategy& strategy, GameOptions options = {});

  // Plays the one game from the first guess in the given slot of the full
  // store, up to and including the result line.
  GameEnd AI(int first_slot);

  // The store as the game left it: the code found is in slot 0.
  const Store& store() const { return store_; }

 private:
  enum class Reply { Accepted, Undo, InputEnded };

  GameEnd play(Code first);
  // Shows guess g and reads until an answer is accepted (setting inpa, inpb
  // and gs) or an undo is asked for with an answer to take back.
  Reply guess_input(Code g);
  // Takes back the last accepted answer; returns its guess.
  Code take_back();

  void write_code_line(std::string_view prefix, Code g);
  void refuse(std::string_view reason);
  void flush();

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  Strategy& strategy_;
  GameOptions options_;
  Store store_;
  std::vector<Turn> turns_;  // the accepted answers, first guess first
  std::int32_t inpa = 0;
  std::int32_t inpb = 0;
  Score gs = 0;
};

}  // namespace abguess
