// The game as the exact search sees it: codes of `positions` different
// symbols out of `symbols`, numbered 0 .. size() - 1 in ascending order, and
// a table of every code's answer to every other as a small class number.
//
// The search is written for any such game so that it can be checked against
// a plain exhaustive search on small ones (three of six, two of ten) before
// it is trusted on the real four of ten.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace abguess {

using CodeIndex = std::uint16_t;
// An answer A, B as one small number: the possible answers numbered in the
// order of 10 * A + B, so that the exact answer comes last.
using AnswerClass = std::uint8_t;

inline constexpr int MAX_POSITIONS = 4;
inline constexpr int MAX_SYMBOLS = 10;
// A + B <= positions, less the answer positions - 1, 1 that cannot happen:
// 14 with four positions.
inline constexpr int MAX_ANSWER_CLASSES = (MAX_POSITIONS + 1) * (MAX_POSITIONS + 2) / 2 - 1;

using Digits = std::array<std::uint8_t, MAX_POSITIONS>;

class SearchGame {
 public:
  SearchGame(int positions, int symbols);

  int positions() const { return positions_; }
  int symbols() const { return symbols_; }
  int size() const { return static_cast<int>(codes_.size()); }
  const Digits& digits(int code) const { return codes_[code]; }

  // How many different answers a guess can get: A + B <= positions, and
  // positions - 1 digits in place leave the last nowhere else to go.
  int answer_classes() const { return static_cast<int>(answers_.size()); }
  int possible_answers() const { return answer_classes(); }
  AnswerClass answer_class(int a, int b) const;
  AnswerClass exact_class() const { return static_cast<AnswerClass>(answer_classes() - 1); }
  int answer_a(AnswerClass c) const { return answers_[c].first; }
  int answer_b(AnswerClass c) const { return answers_[c].second; }

  // The answer to guess g when the secret is s (symmetric in g and s).
  AnswerClass answer(int g, int s) const { return table_[static_cast<std::size_t>(g) * size() + s]; }
  const AnswerClass* answers_to(int g) const { return &table_[static_cast<std::size_t>(g) * size()]; }

  // Index of a code given by its digits; -1 when it is not a code.
  int index_of(const Digits& d) const;

 private:
  int positions_;
  int symbols_;
  std::vector<std::pair<int, int>> answers_;  // A and B of each class
  std::vector<Digits> codes_;
  std::vector<AnswerClass> table_;
  // Index of a code by its digits read as a number in base `symbols`; -1
  // where the digits repeat.
  std::vector<int> index_by_value_;
};

// The relabellings of symbols and positions that leave every guess of a
// history unchanged.  Each maps the candidates left by that history onto
// themselves and keeps every answer, so of guesses that one maps to another
// only one need be tried.
class HistorySymmetry {
 public:
  HistorySymmetry(const SearchGame& game, const std::vector<int>& history);

  // True when no relabelling but the identity fixes the history.
  bool trivial() const { return trivial_; }
  // The smallest code that some relabelling maps `code` to.
  int canonical(int code) const;
  // True when `code` is that smallest code: no relabelling maps it lower.
  bool is_canonical(int code) const;

 private:
  struct PositionMap {
    std::array<std::uint8_t, MAX_POSITIONS> to;           // position p goes to to[p]
    std::array<std::int8_t, MAX_SYMBOLS> symbol_to;       // -1: a free symbol
  };
  // The image of a code with digits d under a map, four bits a digit, the
  // first highest: images compare as these numbers do.
  std::uint32_t image_key(const PositionMap& map, const Digits& d) const;

  const SearchGame& game_;
  std::vector<PositionMap> maps_;
  std::uint32_t used_symbols_ = 0;
  bool trivial_ = true;
};

}  // namespace abguess
