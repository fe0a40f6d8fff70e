// The text form of a strategy: one line per decision, the answers that lead
// to it, a colon, then the guess to make there:
//     : 0123
//     0A1B: 1245
//     0A1B 0A2B: 3456
// Lines starting with '#' are comments.  Plain text, so a regenerated
// strategy shows as a readable diff.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace abguess {

struct AnswerPair {
  int a = 0;
  int b = 0;
  bool operator==(const AnswerPair&) const = default;
};

struct DecisionLine {
  std::vector<AnswerPair> answers;  // from the first guess on
  std::string guess;                // the guess's digits
};

std::string decision_line(const std::vector<AnswerPair>& answers, std::string_view guess);

// The decision a line holds; nothing for a comment or a blank line.  Throws
// std::invalid_argument for a line that is neither.
std::optional<DecisionLine> parse_decision_line(std::string_view line);

}  // namespace abguess
