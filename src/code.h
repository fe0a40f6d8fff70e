// Codes of the game and the score of one code against another.
//
// A code is a plain 32-bit integer whose decimal value, written with four
// digits and leading zeros, is the code: 123 stands for 0123.  A score, and
// the answer a user types, is 10 * A + B in the same integer form, so the two
// compare as plain integers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace abguess {

using Code = std::int32_t;
using Score = std::int32_t;

inline constexpr int CODE_DIGITS = 4;

// Score of a code against itself: four right digits in the right places.
inline constexpr Score EXACT = 40;

// Every score two codes of four different digits can give; 3A 1B is missing
// because three digits in place leave the fourth nowhere else to go.
inline constexpr std::array<Score, 14> POSSIBLE_SCORES = {
    0, 1, 2, 3, 4, 10, 11, 12, 13, 20, 21, 22, 30, 40};

// Digit of v at position 0 (thousands) to 3 (units).
constexpr int digit_at(Code v, int position) {
  constexpr std::array<int, CODE_DIGITS> divisor = {1000, 100, 10, 1};
  return v / divisor[position] % 10;
}

// Score of x against y: for each digit of x, the first equal digit of y
// counts 10 when it stands at the same position and 1 otherwise.  For codes
// of four different digits this is 10 * A + B and does not depend on the
// order of the arguments; with repeated digits it does (1111 against 1234 is
// 13, 1234 against 1111 is 10).
Score guess(Code x, Code y);

// True when v is a score that two codes of four different digits can give.
bool is_possible_score(std::int64_t v);

// The code that `text` spells: four different digits such as 0123, nothing
// else (no sign, no blanks).
std::optional<Code> parse_code(std::string_view text);

// Four-digit text of a code, leading zero included ("0123").
std::array<char, CODE_DIGITS + 1> code_text(Code c);

}  // namespace abguess
