// How long the solver takes to choose a guess, and to play every secret.
//
// The heaviest pass of a game comes after the first guess 0123 is answered
// 0A 1B: 1440 live codes, 480 of them sampled.  The product's pass and the
// step-by-step reference are timed on that same store in one run, so their
// ratio is measured, not assumed.
#include <benchmark/benchmark.h>

#include <memory>

#include "chooser.h"
#include "classic_strategy.h"
#include "evaluation.h"
#include "reference_chooser.h"
#include "store.h"

namespace {

constexpr abguess::Code FIRST_GUESS = 123;   // 0123
constexpr abguess::Score HEAVIEST_ANSWER = 1;  // 0A 1B

const abguess::Store& heaviest_store() {
  static const abguess::Store store = [] {
    abguess::Store s;
    abguess::reset(s);
    abguess::filter(s, FIRST_GUESS, HEAVIEST_ANSWER);
    return s;
  }();
  return store;
}

void BM_HeaviestPassProduct(benchmark::State& state) {
  const abguess::Store& store = heaviest_store();
  auto chooser = std::make_unique<abguess::GuessChooser>();
  for (auto _ : state) {
    benchmark::DoNotOptimize(chooser->choose(store));
  }
  state.counters["live"] = store.ln;
}
BENCHMARK(BM_HeaviestPassProduct)->Unit(benchmark::kMicrosecond);

void BM_HeaviestPassReference(benchmark::State& state) {
  const abguess::Store& store = heaviest_store();
  for (auto _ : state) {
    benchmark::DoNotOptimize(abguess::testing::reference_choose(store));
  }
  state.counters["live"] = store.ln;
}
BENCHMARK(BM_HeaviestPassReference)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole strategy from one first guess: 5040 games, each distinct store
// weighed once.
void BM_EvaluateFirstGuess(benchmark::State& state) {
  auto classic = std::make_unique<abguess::ClassicStrategy>();
  for (auto _ : state) {
    const abguess::StrategyResult result = abguess::evaluate_first_guess(FIRST_GUESS, *classic);
    benchmark::DoNotOptimize(result.guesses_shown());
  }
}
BENCHMARK(BM_EvaluateFirstGuess)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
