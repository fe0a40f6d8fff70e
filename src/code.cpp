#include "code.h"

#include <algorithm>

namespace abguess {

Score guess(Code x, Code y) {
  std::array<int, CODE_DIGITS> a{};
  std::array<int, CODE_DIGITS> fa{};
  for (int position = CODE_DIGITS - 1; position >= 0; --position) {
    a[position] = digit_at(x, position);
    fa[position] = digit_at(y, position);
  }
  Score sum = 0;
  for (int i = 0; i < CODE_DIGITS; ++i) {
    for (int j = 0; j < CODE_DIGITS; ++j) {
      if (a[i] == fa[j]) {
        sum += i == j ? 10 : 1;
        break;
      }
    }
  }
  return sum;
}

bool is_possible_score(std::int64_t v) {
  return std::find(POSSIBLE_SCORES.begin(), POSSIBLE_SCORES.end(), v) != POSSIBLE_SCORES.end();
}

std::optional<Code> parse_code(std::string_view text) {
  if (text.size() != CODE_DIGITS) return std::nullopt;
  Code value = 0;
  unsigned digits_seen = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const unsigned bit = 1u << (ch - '0');
    if ((digits_seen & bit) != 0) return std::nullopt;
    digits_seen |= bit;
    value = value * 10 + (ch - '0');
  }
  return value;
}

std::array<char, CODE_DIGITS + 1> code_text(Code c) {
  std::array<char, CODE_DIGITS + 1> text{};
  for (int position = 0; position < CODE_DIGITS; ++position) {
    text[position] = static_cast<char>('0' + digit_at(c, position));
  }
  return text;
}

}  // namespace abguess
