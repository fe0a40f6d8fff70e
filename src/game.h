// One game of the solver with its console dialogue.
//
// The game reads and writes only through the streams it is given, so a test
// or another front end can play it in memory; main() hands it the console.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>

#include "chooser.h"
#include "code.h"
#include "store.h"

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
    "and type it again.";
inline constexpr std::string_view INPUT_ENDED = "Input ended before the code was found.";

enum class GameEnd {
  Solved,      // the result line was written
  InputEnded,  // input ran out first; the reason went to the error stream
};

class Game {
 public:
  Game(std::istream& in, std::ostream& out, std::ostream& err);

  // Plays the one game from the first guess in the given slot of the full
  // store, up to and including the result line.
  GameEnd AI(int first_slot);

  // The store as the game left it: the code found is in slot 0.
  const Store& store() const { return store_; }

 private:
  // Shows guess g and reads answers until one is accepted; sets inpa, inpb
  // and gs.  False when input ends first.
  bool guess_input(Code g);

  void write_code_line(std::string_view prefix, Code g);
  void refuse(std::string_view reason);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  Store store_;
  GuessChooser chooser_;
  std::int32_t inpa = 0;
  std::int32_t inpb = 0;
  std::int32_t gs = 0;
};

}  // namespace abguess
