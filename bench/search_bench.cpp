// Timing of the exact search: its innermost loop (how every guess splits a
// set) for each size class of the packed counters, and a whole search on a
// smaller game.  The full four-of-ten search is timed by abguess-solve
// itself, which prints its time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "search.h"
#include "search_game.h"
#include "split_scan.h"

namespace {

using abguess::CodeIndex;

const abguess::SearchGame& four_of_ten() {
  static const abguess::SearchGame game(4, 10);
  return game;
}

std::vector<CodeIndex> random_set(int n) {
  std::vector<CodeIndex> set(four_of_ten().size());
  for (int c = 0; c < four_of_ten().size(); ++c) set[c] = static_cast<CodeIndex>(c);
  std::mt19937 random(7);
  std::shuffle(set.begin(), set.end(), random);
  set.resize(n);
  std::sort(set.begin(), set.end());
  return set;
}

// Every one of the 5040 guesses' splits of a set of `n` codes.
void BM_ScanEveryGuess(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  abguess::SplitScanner scanner(four_of_ten(), abguess::Objective::Named);
  const std::vector<CodeIndex> set = random_set(n);
  std::vector<int> guesses(four_of_ten().size());
  for (int g = 0; g < four_of_ten().size(); ++g) guesses[g] = g;
  std::vector<std::uint64_t> packed;
  for (auto _ : state) {
    benchmark::DoNotOptimize(scanner.scan(set.data(), n, four_of_ten().possible_answers(), guesses, packed));
  }
}
BENCHMARK(BM_ScanEveryGuess)->Arg(8)->Arg(15)->Arg(100)->Arg(255)->Unit(benchmark::kMicrosecond);

// The whole exact search of four of seven (840 codes), one thread.
void BM_SearchFourOfSeven(benchmark::State& state) {
  const abguess::SearchGame game(4, 7);
  const auto objective = state.range(0) == 0 ? abguess::Objective::Named : abguess::Objective::Guessed;
  for (auto _ : state) {
    benchmark::DoNotOptimize(abguess::search_optimal(game, objective, 0).total);
  }
  state.SetLabel(state.range(0) == 0 ? "named" : "guessed");
}
BENCHMARK(BM_SearchFourOfSeven)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
