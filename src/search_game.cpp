#include "search_game.h"

#include <algorithm>
#include <stdexcept>

namespace abguess {

namespace {

// Codes in ascending order: the same order as their decimal values.
void enumerate_codes(int positions, int symbols, Digits& partial, int depth, std::uint32_t used,
                     std::vector<Digits>& out) {
  if (depth == positions) {
    out.push_back(partial);
    return;
  }
  for (int s = 0; s < symbols; ++s) {
    if ((used & (1u << s)) != 0) continue;
    partial[depth] = static_cast<std::uint8_t>(s);
    enumerate_codes(positions, symbols, partial, depth + 1, used | (1u << s), out);
  }
}

}  // namespace

SearchGame::SearchGame(int positions, int symbols) : positions_(positions), symbols_(symbols) {
  if (positions < 1 || positions > MAX_POSITIONS || symbols < positions || symbols > MAX_SYMBOLS) {
    throw std::invalid_argument("a game needs 1 to 4 positions and at least as many symbols, at most 10");
  }
  for (int a = 0; a <= positions; ++a) {
    for (int b = 0; a + b <= positions; ++b) {
      if (!(a == positions - 1 && b == 1)) answers_.emplace_back(a, b);
    }
  }
  Digits partial{};
  enumerate_codes(positions, symbols, partial, 0, 0, codes_);
  int values = 1;
  for (int p = 0; p < positions; ++p) values *= symbols;
  index_by_value_.assign(values, -1);
  for (std::size_t c = 0; c < codes_.size(); ++c) {
    int value = 0;
    for (int p = 0; p < positions; ++p) value = value * symbols + codes_[c][p];
    index_by_value_[value] = static_cast<int>(c);
  }
  std::array<std::array<AnswerClass, MAX_POSITIONS + 1>, MAX_POSITIONS + 1> class_of{};
  for (std::size_t c = 0; c < answers_.size(); ++c) {
    class_of[answers_[c].first][answers_[c].second] = static_cast<AnswerClass>(c);
  }
  const std::size_t n = codes_.size();
  table_.resize(n * n);
  for (std::size_t g = 0; g < n; ++g) {
    for (std::size_t s = 0; s < n; ++s) {
      int a = 0;
      int shared = 0;
      for (int p = 0; p < positions; ++p) {
        a += codes_[g][p] == codes_[s][p] ? 1 : 0;
        for (int q = 0; q < positions; ++q) shared += codes_[g][p] == codes_[s][q] ? 1 : 0;
      }
      table_[g * n + s] = class_of[a][shared - a];
    }
  }
}

AnswerClass SearchGame::answer_class(int a, int b) const {
  const auto found = std::find(answers_.begin(), answers_.end(), std::make_pair(a, b));
  if (found == answers_.end()) throw std::invalid_argument("no such answer");
  return static_cast<AnswerClass>(found - answers_.begin());
}

int SearchGame::index_of(const Digits& d) const {
  int value = 0;
  for (int p = 0; p < positions_; ++p) {
    if (d[p] >= symbols_) return -1;
    value = value * symbols_ + d[p];
  }
  return index_by_value_[value];
}

HistorySymmetry::HistorySymmetry(const SearchGame& game, const std::vector<int>& history) : game_(game) {
  const int positions = game.positions();
  for (const int h : history) {
    for (int p = 0; p < positions; ++p) used_symbols_ |= 1u << game.digits(h)[p];
  }
  std::array<std::uint8_t, MAX_POSITIONS> to{};
  for (int p = 0; p < positions; ++p) to[p] = static_cast<std::uint8_t>(p);
  // Every permutation of the positions, with the symbol map it forces on the
  // symbols the history uses: kept when that map is one-to-one.
  do {
    PositionMap map{};
    map.to = to;
    map.symbol_to.fill(-1);
    std::array<std::int8_t, MAX_SYMBOLS> symbol_from{};
    symbol_from.fill(-1);
    bool consistent = true;
    for (const int h : history) {
      const Digits& d = game.digits(h);
      for (int p = 0; p < positions && consistent; ++p) {
        const int from = d[p];
        const int image = d[to[p]];
        if (map.symbol_to[from] == -1 && symbol_from[image] == -1) {
          map.symbol_to[from] = static_cast<std::int8_t>(image);
          symbol_from[image] = static_cast<std::int8_t>(from);
        } else if (map.symbol_to[from] != image || symbol_from[image] != from) {
          consistent = false;
        }
      }
    }
    if (consistent) maps_.push_back(map);
  } while (std::next_permutation(to.begin(), to.begin() + positions));
  const int free_symbols = game.symbols() - __builtin_popcount(used_symbols_);
  trivial_ = maps_.size() == 1 && free_symbols <= 1;
}

std::uint32_t HistorySymmetry::image_key(const PositionMap& map, const Digits& d) const {
  constexpr std::uint32_t UNSET = 0xF;
  const int positions = game_.positions();
  std::array<std::uint32_t, MAX_POSITIONS> image{};
  for (int p = 0; p < positions; ++p) {
    image[map.to[p]] = map.symbol_to[d[p]] >= 0 ? static_cast<std::uint32_t>(map.symbol_to[d[p]]) : UNSET;
  }
  // Symbols no guess has used can be relabelled freely among themselves:
  // give the smallest of them to the first places that hold one.
  std::uint32_t key = 0;
  int next_free = 0;
  for (int q = 0; q < positions; ++q) {
    if (image[q] == UNSET) {
      while ((used_symbols_ & (1u << next_free)) != 0) ++next_free;
      image[q] = static_cast<std::uint32_t>(next_free++);
    }
    key = key << 4 | image[q];
  }
  return key;
}

int HistorySymmetry::canonical(int code) const {
  if (trivial_) return code;
  const Digits& d = game_.digits(code);
  std::uint32_t best = ~std::uint32_t{0};
  for (const PositionMap& map : maps_) best = std::min(best, image_key(map, d));
  Digits digits{};
  for (int q = game_.positions() - 1; q >= 0; --q) {
    digits[q] = static_cast<std::uint8_t>(best & 0xF);
    best >>= 4;
  }
  return game_.index_of(digits);
}

bool HistorySymmetry::is_canonical(int code) const {
  if (trivial_) return true;
  const Digits& d = game_.digits(code);
  std::uint32_t own = 0;
  for (int p = 0; p < game_.positions(); ++p) own = own << 4 | d[p];
  // Most codes that are not canonical show it under the first few maps.
  for (const PositionMap& map : maps_) {
    if (image_key(map, d) < own) return false;
  }
  return true;
}

}  // namespace abguess
