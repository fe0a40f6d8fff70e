// abguess-eval: plays the solver against every secret and reports how many
// guesses it needs.
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

#include "chooser.h"
#include "code.h"
#include "evaluation.h"
#include "store.h"

namespace {

using abguess::Code;
using abguess::StrategyResult;
using Clock = std::chrono::steady_clock;

constexpr int USAGE_ERROR = 2;
constexpr Code DEFAULT_FIRST_GUESS = 123;
constexpr int WORST_SECRETS_SHOWN = 20;

void print_usage(std::FILE* stream) {
  std::fputs(
      "Usage: abguess-eval [FIRST]   play every secret from the first guess FIRST (default 0123)\n"
      "       abguess-eval --all     play every secret from every first guess, on all cores\n"
      "FIRST is four different digits, such as 0123.\n",
      stream);
}

// Four different digits, such as 0123; anything else is refused.
bool parse_code(std::string_view text, Code& code) {
  if (text.size() != abguess::CODE_DIGITS) return false;
  Code value = 0;
  unsigned digits_seen = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return false;
    const unsigned bit = 1u << (ch - '0');
    if ((digits_seen & bit) != 0) return false;
    digits_seen |= bit;
    value = value * 10 + (ch - '0');
  }
  code = value;
  return true;
}

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

int evaluate_one(Code first) {
  const auto start = Clock::now();
  auto chooser = std::make_unique<abguess::GuessChooser>();
  const StrategyResult result = abguess::evaluate_first_guess(first, *chooser);
  const double elapsed = seconds_since(start);

  std::printf("first guess: %s\n", abguess::code_text(first).data());
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
  const double left = done == 0 ? 0.0 : elapsed * (total - done) / done;
  std::fprintf(stderr, "\r%d / %d first guesses, %.1f s elapsed, about %.0f s left   ", done,
               total, elapsed, left);
  std::fflush(stderr);
}

int evaluate_all() {
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
      auto chooser = std::make_unique<abguess::GuessChooser>();
      for (int slot = next++; slot < total; slot = next++) {
        results[slot] = abguess::evaluate_first_guess(full.l[slot], *chooser);
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

  std::printf("every first guess (%d), every secret:\n", total);
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

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fputs("abguess-eval: too many arguments; try --help\n", stderr);
    return USAGE_ERROR;
  }
  if (argc == 1) return evaluate_one(DEFAULT_FIRST_GUESS);
  const std::string_view argument = argv[1];
  if (argument == "--help" || argument == "-h") {
    print_usage(stdout);
    return 0;
  }
  if (argument == "--all") return evaluate_all();
  Code first = 0;
  if (!parse_code(argument, first)) {
    std::fprintf(stderr, "abguess-eval: '%s' is not four different digits such as 0123; try --help\n",
                 argv[1]);
    return USAGE_ERROR;
  }
  return evaluate_one(first);
}
