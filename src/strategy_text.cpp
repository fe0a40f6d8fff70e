#include "strategy_text.h"

#include <stdexcept>

namespace abguess {

namespace {

bool is_digit(char ch) { return ch >= '0' && ch <= '9'; }

// "1A2B": one digit, A, one digit, B.
AnswerPair parse_answer(std::string_view token) {
  if (token.size() != 4 || !is_digit(token[0]) || token[1] != 'A' || !is_digit(token[2]) || token[3] != 'B') {
    throw std::invalid_argument("not an answer such as 1A2B: " + std::string(token));
  }
  return AnswerPair{token[0] - '0', token[2] - '0'};
}

}  // namespace

std::string decision_line(const std::vector<AnswerPair>& answers, std::string_view guess) {
  std::string line;
  for (const AnswerPair& answer : answers) {
    if (!line.empty()) line += ' ';
    line += static_cast<char>('0' + answer.a);
    line += 'A';
    line += static_cast<char>('0' + answer.b);
    line += 'B';
  }
  line += ": ";
  line += guess;
  return line;
}

std::optional<DecisionLine> parse_decision_line(std::string_view line) {
  if (line.empty() || line.front() == '#') return std::nullopt;
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon + 2 > line.size() || line[colon + 1] != ' ') {
    throw std::invalid_argument("not a decision line: " + std::string(line));
  }
  DecisionLine decision;
  decision.guess = std::string(line.substr(colon + 2));
  if (decision.guess.empty()) throw std::invalid_argument("a decision without a guess: " + std::string(line));
  for (const char ch : decision.guess) {
    if (!is_digit(ch)) throw std::invalid_argument("not a guess: " + decision.guess);
  }
  std::string_view path = line.substr(0, colon);
  while (!path.empty()) {
    const std::size_t space = path.find(' ');
    decision.answers.push_back(parse_answer(path.substr(0, space)));
    path = space == std::string_view::npos ? std::string_view() : path.substr(space + 1);
  }
  return decision;
}

}  // namespace abguess
