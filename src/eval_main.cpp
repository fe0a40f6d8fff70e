// abguess-eval: plays the solver against every secret and reports how many
// guesses it needs.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <unistd.h>

#include "code.h"
#include "strategies.h"
#include "evaluation.h"
#include "store.h"

namespace {

using abguess::Code;
using abguess::StrategyResult;
using Clock = std::chrono::steady_clock;

constexpr int OUTPUT_ERROR = 1;
constexpr int USAGE_ERROR = 2;
constexpr Code DEFAULT_FIRST_GUESS = 123;
constexpr int WORST_SECRETS_SHOWN = 20;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

void print_distribution(const StrategyResult& result) {
  std::printf("guesses shown, secrets:\n");
  for (std::size_t guesses = 1; guesses < result.secrets_by_guesses.size(); ++guesses) {
    std::printf("%zu %lld\n", guesses, static_cast<long long>(result.secrets_by_guesses[guesses]));
  }
  const double games = static_cast<double>(result.games());
  std::printf("games: %lld\n", static_cast<long long>(result.games()));
  std::printf("mean guesses shown: %.4f (%lld in all)\n",
              static_cast<double>(result.guesses_shown()) / games,
              static_cast<long long>(result.guesses_shown()));
  std::printf("mean counting a final guess for codes announced unseen: %.4f (%lld in all)\n",
              static_cast<double>(result.guesses_with_final()) / games,
              static_cast<long long>(result.guesses_with_final()));
  std::printf("announced unseen: %lld\n", static_cast<long long>(result.announced_unseen));
}

int evaluate_one(Code first, const std::string& strategy_name) {
  const auto start = Clock::now();
  const auto strategy = abguess::make_strategy(strategy_name);
  const StrategyResult result = abguess::evaluate_first_guess(first, *strategy);
  const double elapsed = seconds_since(start);

  std::printf("strategy: %s\nfirst guess: %s\n", strategy_name.c_str(), abguess::code_text(first).data());
  print_distribution(result);
  std::printf("worst (%d guesses):", result.most_guesses());
  const int shown = std::min<int>(WORST_SECRETS_SHOWN, static_cast<int>(result.worst_secrets.size()));
  for (int i = 0; i < shown; ++i) std::printf(" %s", abguess::code_text(result.worst_secrets[i]).data());
  if (static_cast<int>(result.worst_secrets.size()) > shown) {
    std::printf(" and %zu more", result.worst_secrets.size() - shown);
  }
  std::printf("\ntime: %.3f s\n", elapsed);
  return 0;
}

struct FirstGuessTotal {
  Code first = 0;
  std::int64_t with_final = 0;
  std::int64_t shown = 0;
};

void report_progress(int done, int total, Clock::time_point start) {
  const double elapsed = seconds_since(start);
  // Nothing can be said of the time left before the first guess is done.
  if (done == 0) {
    std::fprintf(stderr, "\r%d / %d first guesses, %.1f s elapsed   ", done, total, elapsed);
  } else {
    std::fprintf(stderr, "\r%d / %d first guesses, %.1f s elapsed, about %.0f s left   ", done, total,
                 elapsed, elapsed * (total - done) / done);
  }
  std::fflush(stderr);
}

int evaluate_all(const std::string& strategy_name) {
  const auto start = Clock::now();
  abguess::Store full;
  abguess::reset(full);
  const int total = full.ln;

  std::vector<StrategyResult> results(total);
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  const unsigned workers = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned w = 0; w < workers; ++w) {
    threads.emplace_back([&]() {
      const auto strategy = abguess::make_strategy(strategy_name);
      for (int slot = next++; slot < total; slot = next++) {
        results[slot] = abguess::evaluate_first_guess(full.l[slot], *strategy);
        ++done;
      }
    });
  }
  const bool show_progress = isatty(STDERR_FILENO) != 0;
  while (show_progress && done.load() < total) {
    report_progress(done.load(), total, start);
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  for (auto& thread : threads) thread.join();
  if (show_progress) {
    report_progress(total, total, start);
    std::fputc('\n', stderr);
  }

  StrategyResult combined;
  std::vector<FirstGuessTotal> totals;
  for (int slot = 0; slot < total; ++slot) {
    combined.add_distribution(results[slot]);
    totals.push_back({full.l[slot], results[slot].guesses_with_final(), results[slot].guesses_shown()});
  }
  // Best first: fewest guesses counting the final one, then fewest shown.
  std::stable_sort(totals.begin(), totals.end(), [](const auto& x, const auto& y) {
    return x.with_final != y.with_final ? x.with_final < y.with_final : x.shown < y.shown;
  });

  std::printf("strategy: %s\nevery first guess (%d), every secret:\n", strategy_name.c_str(), total);
  print_distribution(combined);
  const auto print_first = [](const char* label, const FirstGuessTotal& t) {
    std::printf("%s first guess: %s, %lld guesses counting the final one (%.4f), %lld shown\n",
                label, abguess::code_text(t.first).data(), static_cast<long long>(t.with_final),
                static_cast<double>(t.with_final) / abguess::CODE_COUNT,
                static_cast<long long>(t.shown));
  };
  print_first("best", totals.front());
  print_first("worst", totals.back());
  std::printf("time: %.1f s on %u threads\n", seconds_since(start), workers);
  return 0;
}


// Everything is printed with stdio: a failed write (a full disk, a closed
// pipe) shows in the stream's error flag, checked once at the end.
int finish_writing(int status) {
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    std::fprintf(stderr, "abguess-eval: cannot write to standard output\n");
    return OUTPUT_ERROR;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Plays a strategy with honest answers against all 5040 secrets and counts the guesses.",
               "abguess-eval"};
  app.footer("Exit status: 0 done, 1 the report could not be written, 2 usage error.");
  std::string first_text = "0123";
  bool all = false;
  std::string strategy_name = "classic";
  app.add_option("FIRST", first_text, "the first guess, four different digits (default 0123)");
  app.add_flag("--all", all, "play from every first guess, on all cores");
  app.add_option("--strategy", strategy_name, "classic (default) or optimal")
      ->check(CLI::IsMember(abguess::strategy_names()));
  Code first = DEFAULT_FIRST_GUESS;
  try {
    app.parse(argc, argv);
    const auto parsed = abguess::parse_code(first_text);
    if (!parsed) throw CLI::ValidationError("FIRST", "'" + first_text + "' is not four different digits such as 0123");
    if (all && app.count("FIRST") > 0) throw CLI::ExcludesError("FIRST", "--all");
    first = *parsed;
  } catch (const CLI::Success& request) {
    return finish_writing(app.exit(request));
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "abguess-eval: %s; try --help\n", error.what());
    return USAGE_ERROR;
  }
  return finish_writing(all ? evaluate_all(strategy_name) : evaluate_one(first, strategy_name));
}
