#include "split_scan.h"

#include <algorithm>
#include <array>

#include <immintrin.h>

namespace abguess {

namespace {

// Fields of a packed summary, from the lowest bit.
constexpr int LOWER_SHIFT = 0;
constexpr int SETTLED_SHIFT = 16;
constexpr int UNSETTLED_SHIFT = 32;
constexpr int PARTS_SHIFT = 40;
constexpr int SPREAD_SHIFT = 48;

// Packed counters: 4 bits per answer while the set has at most 15 codes
// (14 answers fit one word), else 8 bits per answer, 8 answers a word, up to
// 255 codes.  Larger sets are counted one guess at a time.
constexpr int SMALL_SET = 15;
constexpr int MEDIUM_SET = 255;
constexpr int COUNTS = 256;
constexpr int NIBBLE_PAIRS = (MAX_ANSWER_CLASSES + 1) / 2;

std::uint64_t field(std::uint64_t packed, int shift, int bits) {
  return (packed >> shift) & ((std::uint64_t{1} << bits) - 1);
}

// Adds, for every code g, one to the 4-bit counter of g's answer to each
// code of the set.  Compiled twice, so that processors with AVX2 shift four
// counters at once and the rest still run it.
// Adds, for every code g, one to the counter of g's answer to each code of
// the set: 4 bits a counter in `counters`, or 8 bits a counter with
// answers 0 to 7 in `low` and 8 up in `high`.  Answers are symmetric, so the
// row of a candidate holds every guess's answer to it.
void add_small_plain(const SearchGame& game, const CodeIndex* set, int n, int from, std::uint64_t* counters) {
  for (int k = 0; k < n; ++k) {
    const AnswerClass* row = game.answers_to(set[k]);
    for (int g = from; g < game.size(); ++g) counters[g] += std::uint64_t{1} << (4 * row[g]);
  }
}

void add_medium_plain(const SearchGame& game, const CodeIndex* set, int n, int from, std::uint64_t* low,
                      std::uint64_t* high) {
  for (int k = 0; k < n; ++k) {
    const AnswerClass* row = game.answers_to(set[k]);
    for (int g = from; g < game.size(); ++g) {
      const std::uint64_t one = std::uint64_t{1} << (8 * (row[g] & 7));
      (row[g] < 8 ? low[g] : high[g]) += one;
    }
  }
}

// With AVX2, sixteen guesses at a time whose counters stay in registers
// while the whole set is added: four answers widened to 64 bits, shifted
// into place and added per instruction.
constexpr int GUESS_BLOCK = 16;

__attribute__((target("avx2"))) __m256i widened(__m128i bytes, int quarter) {
  switch (quarter) {
    case 0: return _mm256_cvtepu8_epi64(bytes);
    case 1: return _mm256_cvtepu8_epi64(_mm_srli_si128(bytes, 4));
    case 2: return _mm256_cvtepu8_epi64(_mm_srli_si128(bytes, 8));
    default: return _mm256_cvtepu8_epi64(_mm_srli_si128(bytes, 12));
  }
}

__attribute__((target("avx2"))) void add_small_avx2(const SearchGame& game, const CodeIndex* set, int n,
                                                    std::uint64_t* counters) {
  const int blocks_end = game.size() / GUESS_BLOCK * GUESS_BLOCK;
  const __m256i one = _mm256_set1_epi64x(1);
  for (int g = 0; g < blocks_end; g += GUESS_BLOCK) {
    __m256i sum[4] = {_mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256(), _mm256_setzero_si256()};
    for (int k = 0; k < n; ++k) {
      const __m128i answers = _mm_loadu_si128(reinterpret_cast<const __m128i*>(game.answers_to(set[k]) + g));
      for (int q = 0; q < 4; ++q) {
        sum[q] = _mm256_add_epi64(sum[q], _mm256_sllv_epi64(one, _mm256_slli_epi64(widened(answers, q), 2)));
      }
    }
    for (int q = 0; q < 4; ++q) _mm256_storeu_si256(reinterpret_cast<__m256i*>(counters + g + 4 * q), sum[q]);
  }
  std::fill(counters + blocks_end, counters + game.size(), 0);
  add_small_plain(game, set, n, blocks_end, counters);
}

__attribute__((target("avx2"))) void add_medium_avx2(const SearchGame& game, const CodeIndex* set, int n,
                                                     std::uint64_t* low, std::uint64_t* high) {
  const int blocks_end = game.size() / GUESS_BLOCK * GUESS_BLOCK;
  const __m256i one = _mm256_set1_epi64x(1);
  const __m256i seven = _mm256_set1_epi64x(7);
  for (int g = 0; g < blocks_end; g += GUESS_BLOCK) {
    __m256i sum_low[4], sum_high[4];
    for (int q = 0; q < 4; ++q) sum_low[q] = sum_high[q] = _mm256_setzero_si256();
    for (int k = 0; k < n; ++k) {
      const __m128i answers = _mm_loadu_si128(reinterpret_cast<const __m128i*>(game.answers_to(set[k]) + g));
      for (int q = 0; q < 4; ++q) {
        const __m256i answer = widened(answers, q);
        const __m256i bit = _mm256_sllv_epi64(one, _mm256_slli_epi64(_mm256_and_si256(answer, seven), 3));
        const __m256i is_high = _mm256_cmpgt_epi64(answer, seven);
        sum_low[q] = _mm256_add_epi64(sum_low[q], _mm256_andnot_si256(is_high, bit));
        sum_high[q] = _mm256_add_epi64(sum_high[q], _mm256_and_si256(is_high, bit));
      }
    }
    for (int q = 0; q < 4; ++q) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(low + g + 4 * q), sum_low[q]);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(high + g + 4 * q), sum_high[q]);
    }
  }
  std::fill(low + blocks_end, low + game.size(), 0);
  std::fill(high + blocks_end, high + game.size(), 0);
  add_medium_plain(game, set, n, blocks_end, low, high);
}

bool has_avx2() {
  static const bool supported = __builtin_cpu_supports("avx2") != 0;
  return supported;
}

// Nonzero 4-bit or 8-bit fields of a word: one bit per nonzero field,
// summed into the top field by a multiplication (at most 14 fields are in
// use, so the sum fits).
int nonzero_nibbles(std::uint64_t x) {
  const std::uint64_t flags = (x | x >> 1 | x >> 2 | x >> 3) & 0x1111111111111111ull;
  return static_cast<int>((flags * 0x1111111111111111ull) >> 60);
}
int nonzero_bytes(std::uint64_t x) {
  x |= x >> 4;
  x |= x >> 2;
  x |= x >> 1;
  return static_cast<int>(((x & 0x0101010101010101ull) * 0x0101010101010101ull) >> 56);
}

}  // namespace

SizeBounds::SizeBounds(const SearchGame& game, Objective objective)
    : max_parts_(game.possible_answers()), largest_(game.size()) {
  table_.assign(static_cast<std::size_t>(max_parts_ + 1) * (largest_ + 1), 0);
  for (int parts = 2; parts <= max_parts_; ++parts) {
    for (int size = 0; size <= largest_; ++size) {
      table_[static_cast<std::size_t>(parts) * (largest_ + 1) + size] =
          objective == Objective::Named ? named(size, parts) : guessed(size, parts);
    }
  }
}

int SizeBounds::of(int size, int parts) const {
  return table_[static_cast<std::size_t>(std::clamp(parts, 2, max_parts_)) * (largest_ + 1) + size];
}

// Named: the secrets are the leaves of a tree whose nodes have at most
// `parts` children, each leaf costing its depth.  Least total depth: fill
// each level, turning as few slots into inner nodes as still leave room
// for every secret one level down.
int SizeBounds::named(int size, int parts) {
  if (size <= 1) return 0;
  std::int64_t total = 0, slots = parts, left = size;
  for (int depth = 1;; ++depth) {
    if (left <= slots) return static_cast<int>(total + depth * left);
    const std::int64_t inner = std::min(slots, (left - slots + parts - 2) / (parts - 1));
    total += depth * (slots - inner);
    left -= slots - inner;
    slots = inner * parts;
  }
}

// Guessed: each guess finds at most one secret (the one it names) and leads
// to at most parts - 1 further guesses when it is a candidate, or to at most
// `parts` answers that are not exact when it is not; either way, to at most
// min(parts, possible answers - 1) children.
int SizeBounds::guessed(int size, int parts) const {
  const std::int64_t children = std::min(parts, max_parts_ - 1);
  std::int64_t total = 0, room = 1, left = size;
  for (int depth = 1; left > 0; ++depth) {
    const std::int64_t found = std::min(room, left);
    total += depth * found;
    left -= found;
    room *= children;
  }
  return static_cast<int>(total);
}

SplitScanner::SplitScanner(const SearchGame& game, Objective objective)
    : game_(game), bounds_(game, objective), exact_(game.exact_class()),
      classes_(game.answer_classes()) {
  const int limits = bounds_.max_parts() + 1;
  by_count_.assign(static_cast<std::size_t>(limits) * MAX_ANSWER_CLASSES * COUNTS, 0);
  by_nibble_pair_.assign(static_cast<std::size_t>(limits) * NIBBLE_PAIRS * COUNTS, 0);
  for (int limit = 0; limit < limits; ++limit) {
    for (int answer = 0; answer < classes_; ++answer) {
      for (int count = 0; count < COUNTS; ++count) {
        by_count_[(static_cast<std::size_t>(limit) * MAX_ANSWER_CLASSES + answer) * COUNTS + count] =
            contribution(limit, answer, count);
      }
    }
    for (int pair = 0; pair < NIBBLE_PAIRS; ++pair) {
      for (int byte = 0; byte < COUNTS; ++byte) {
        const int first = 2 * pair, second = 2 * pair + 1;
        std::uint64_t sum = 0;
        if (first < classes_) sum += contribution(limit, first, byte & 15);
        if (second < classes_) sum += contribution(limit, second, byte >> 4);
        by_nibble_pair_[(static_cast<std::size_t>(limit) * NIBBLE_PAIRS + pair) * COUNTS + byte] = sum;
      }
    }
  }
  low_.resize(game.size());
  high_.resize(game.size());
}

std::uint64_t SplitScanner::contribution(int parts_limit, int answer, int count) const {
  // No part is empty or larger than the game; the tables still have room
  // for such counts when the game is small.
  if (count == 0 || count > game_.size()) return 0;
  const auto a = static_cast<AnswerClass>(answer);
  const std::uint64_t bound = static_cast<std::uint64_t>(part_bound(count, a, parts_limit));
  const bool is_settled = settled(count, a);
  return bound << LOWER_SHIFT | (is_settled ? bound : 0) << SETTLED_SHIFT |
         std::uint64_t{is_settled ? 0u : 1u} << UNSETTLED_SHIFT | std::uint64_t{1} << PARTS_SHIFT |
         static_cast<std::uint64_t>(count * count) << SPREAD_SHIFT;
}

SplitSummary SplitScanner::unpack(std::uint64_t packed, int n) const {
  SplitSummary summary;
  summary.lower = n + static_cast<int>(field(packed, LOWER_SHIFT, 16));
  summary.settled_cost =
      field(packed, UNSETTLED_SHIFT, 8) == 0 ? n + static_cast<int>(field(packed, SETTLED_SHIFT, 16)) : SplitSummary::UNSETTLED;
  summary.parts = static_cast<int>(field(packed, PARTS_SHIFT, 8));
  summary.spread = static_cast<int>(field(packed, SPREAD_SHIFT, 16));
  return summary;
}

std::uint64_t SplitScanner::pack(const SplitSummary& summary, int n) const {
  const bool is_settled = summary.settled_cost != SplitSummary::UNSETTLED;
  return static_cast<std::uint64_t>(summary.lower - n) << LOWER_SHIFT |
         static_cast<std::uint64_t>(is_settled ? summary.settled_cost - n : 0) << SETTLED_SHIFT |
         std::uint64_t{is_settled ? 0u : 1u} << UNSETTLED_SHIFT | static_cast<std::uint64_t>(summary.parts) << PARTS_SHIFT |
         static_cast<std::uint64_t>(std::min(summary.spread, 0xFFFF)) << SPREAD_SHIFT;
}

SplitSummary SplitScanner::summarise(int guess, const CodeIndex* set, int n, int parts_limit) const {
  std::array<int, MAX_ANSWER_CLASSES> counts{};
  const AnswerClass* row = game_.answers_to(guess);
  for (int k = 0; k < n; ++k) ++counts[row[set[k]]];
  SplitSummary summary;
  summary.lower = n;
  summary.settled_cost = n;
  for (int a = 0; a < classes_; ++a) {
    const int count = counts[a];
    if (count == 0) continue;
    const auto answer = static_cast<AnswerClass>(a);
    const int bound = part_bound(count, answer, parts_limit);
    summary.lower += bound;
    if (summary.settled_cost != SplitSummary::UNSETTLED) {
      summary.settled_cost = settled(count, answer) ? summary.settled_cost + bound : SplitSummary::UNSETTLED;
    }
    ++summary.parts;
    summary.spread += count * count;
  }
  return summary;
}

void SplitScanner::scan_small(const CodeIndex* set, int n) {
  if (has_avx2()) {
    add_small_avx2(game_, set, n, low_.data());
    return;
  }
  std::fill(low_.begin(), low_.end(), 0);
  add_small_plain(game_, set, n, 0, low_.data());
}

void SplitScanner::scan_medium(const CodeIndex* set, int n) {
  if (has_avx2()) {
    add_medium_avx2(game_, set, n, low_.data(), high_.data());
    return;
  }
  std::fill(low_.begin(), low_.end(), 0);
  std::fill(high_.begin(), high_.end(), 0);
  add_medium_plain(game_, set, n, 0, low_.data(), high_.data());
}

int SplitScanner::scan(const CodeIndex* set, int n, int parts_limit, const std::vector<int>& guesses,
                       std::vector<std::uint64_t>& packed) {
  packed.resize(guesses.size());
  int most_parts = 0;
  if (n > MEDIUM_SET) {
    // Few sets are this large, all near the top of the search.
    for (const int g : guesses) most_parts = std::max(most_parts, summarise(g, set, n, parts_limit).parts);
    const int limit = std::min(parts_limit, most_parts);
    for (std::size_t i = 0; i < guesses.size(); ++i) packed[i] = pack(summarise(guesses[i], set, n, limit), n);
    return most_parts;
  }
  if (n <= SMALL_SET) {
    scan_small(set, n);
    for (const int g : guesses) most_parts = std::max(most_parts, nonzero_nibbles(low_[g]));
    const int limit = std::clamp(std::min(parts_limit, most_parts), 0, bounds_.max_parts());
    const std::uint64_t* table = &by_nibble_pair_[static_cast<std::size_t>(limit) * NIBBLE_PAIRS * COUNTS];
    for (std::size_t i = 0; i < guesses.size(); ++i) {
      const std::uint64_t counts = low_[guesses[i]];
      std::uint64_t sum = 0;
      for (int pair = 0; pair < NIBBLE_PAIRS; ++pair) sum += table[pair * COUNTS + ((counts >> (8 * pair)) & 0xFF)];
      packed[i] = sum;
    }
    return most_parts;
  }
  scan_medium(set, n);
  for (const int g : guesses) most_parts = std::max(most_parts, nonzero_bytes(low_[g]) + nonzero_bytes(high_[g]));
  const int limit = std::clamp(std::min(parts_limit, most_parts), 0, bounds_.max_parts());
  const std::uint64_t* table = &by_count_[static_cast<std::size_t>(limit) * MAX_ANSWER_CLASSES * COUNTS];
  for (std::size_t i = 0; i < guesses.size(); ++i) {
    const std::uint64_t low = low_[guesses[i]];
    const std::uint64_t high = high_[guesses[i]];
    std::uint64_t sum = 0;
    for (int a = 0; a < classes_; ++a) {
      const std::uint64_t word = a < 8 ? low : high;
      sum += table[a * COUNTS + ((word >> (8 * (a & 7))) & 0xFF)];
    }
    packed[i] = sum;
  }
  return most_parts;
}

}  // namespace abguess
