// abguess-solve: finds a strategy of least total guesses by exact search,
// prints what it costs and writes it as text, one line per decision.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <thread>

#include <unistd.h>

#include "search.h"
#include "search_game.h"
#include "strategy_text.h"

namespace {

using abguess::Objective;
using Clock = std::chrono::steady_clock;

constexpr int USAGE_ERROR = 2;
constexpr int OUTPUT_ERROR = 1;

std::string code_text(const abguess::SearchGame& game, int code) {
  std::string text;
  for (int p = 0; p < game.positions(); ++p) text += static_cast<char>('0' + game.digits(code)[p]);
  return text;
}

// Depth first, answers in ascending order, so that the same strategy is
// always written the same way and a change shows as a small diff.
void write_decisions(const abguess::SearchGame& game, const abguess::SearchStrategy& strategy, int node,
                     std::vector<abguess::AnswerPair>& path, std::ostream& out) {
  const abguess::StrategyNode& decision = strategy.nodes[node];
  out << abguess::decision_line(path, code_text(game, decision.guess)) << '\n';
  for (int a = 0; a < game.answer_classes(); ++a) {
    if (decision.next[a] == abguess::StrategyNode::NO_NODE) continue;
    path.push_back({game.answer_a(static_cast<abguess::AnswerClass>(a)), game.answer_b(static_cast<abguess::AnswerClass>(a))});
    write_decisions(game, strategy, decision.next[a], path, out);
    path.pop_back();
  }
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Finds a strategy of least total guesses for the A/B guessing game by exact search, from the first "
      "guess 0123, and writes it as text.\n"
      "Exit status: 0 done, 1 the strategy file could not be written, 2 usage error."};
  std::string objective_name = "named";
  std::string out_path;
  int positions = 4;
  int symbols = 10;
  int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  app.add_option("--objective", objective_name,
                 "named: count the guesses shown until one code is left (this program's count); "
                 "guessed: count until the code itself is guessed (the published count)")
      ->check(CLI::IsMember({"named", "guessed"}))
      ->capture_default_str();
  app.add_option("--out", out_path, "write the strategy to FILE, one line per decision");
  app.add_option("--positions", positions, "digits in a code (a smaller game, for checking)")
      ->check(CLI::Range(1, abguess::MAX_POSITIONS))
      ->capture_default_str();
  app.add_option("--symbols", symbols, "digits to choose from")
      ->check(CLI::Range(1, abguess::MAX_SYMBOLS))
      ->capture_default_str();
  app.add_option("--threads", threads, "searching threads")->check(CLI::Range(1, 64))->capture_default_str();
  try {
    app.parse(argc, argv);
    if (symbols < positions) throw CLI::ValidationError("--symbols", "must be at least --positions");
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "abguess-solve: " << e.what() << "; try --help\n";
    return USAGE_ERROR;
  }
  const Objective objective = objective_name == "named" ? Objective::Named : Objective::Guessed;

  const abguess::SearchGame game(positions, symbols);
  const auto start = Clock::now();
  abguess::SearchOptions options;
  options.threads = threads;
  if (isatty(STDERR_FILENO) != 0) {
    options.progress = [start](double share) {
      const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
      std::fprintf(stderr, "\r%3.0f%% of the first answers solved, %.1f s   ", 100.0 * share, elapsed);
      std::fflush(stderr);
    };
  }
  // The first code, 0123 in the real game: every first guess is a relabelling of it.
  const abguess::SearchReport report = abguess::search_optimal(game, objective, 0, options);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (options.progress) std::fputc('\n', stderr);

  // Played again from the written tree, so what is printed is what the
  // strategy does, not what the search believed.
  const abguess::StrategyCount count = abguess::count_guesses(game, report.strategy, objective);
  std::printf("game: %d of %d digits, %d codes; objective: %s; first guess %s\n", positions, symbols,
              game.size(), objective_name.c_str(), code_text(game, 0).c_str());
  std::printf("least total: %lld (mean %.4f)\n", static_cast<long long>(report.total),
              static_cast<double>(report.total) / game.size());
  std::printf("guesses, secrets:");
  for (std::size_t g = 1; g < count.secrets_by_guesses.size(); ++g) {
    std::printf(" %zu:%lld", g, static_cast<long long>(count.secrets_by_guesses[g]));
  }
  std::printf("\nworst case: %d guesses\n", count.worst());
  std::printf("decisions: %zu\n", report.strategy.nodes.size());
  std::printf("positions searched: %llu\n", static_cast<unsigned long long>(report.positions));
  std::printf("time: %.1f s on %d threads\n", seconds, threads);
  if (count.total() != report.total) {
    std::fprintf(stderr, "abguess-solve: the strategy found plays %lld, not the %lld searched\n",
                 static_cast<long long>(count.total()), static_cast<long long>(report.total));
    return OUTPUT_ERROR;
  }

  if (!out_path.empty()) {
    std::ofstream out(out_path);
    out << "# A strategy of least total guesses for the A/B game, objective " << objective_name << ".\n"
        << "# Each line: the answers so far, then the next guess. Total " << report.total << " over "
        << game.size() << " secrets.\n"
        << "# Written by: abguess-solve --objective " << objective_name;
    if (positions != 4 || symbols != 10) out << " --positions " << positions << " --symbols " << symbols;
    out << " --out FILE\n";
    std::vector<abguess::AnswerPair> path;
    write_decisions(game, report.strategy, 0, path, out);
    out.close();
    if (!out) {
      std::fprintf(stderr, "abguess-solve: could not write %s\n", out_path.c_str());
      return OUTPUT_ERROR;
    }
  }
  std::fflush(stdout);
  if (std::ferror(stdout) != 0) {
    std::fprintf(stderr, "abguess-solve: could not write to standard output\n");
    return OUTPUT_ERROR;
  }
  return 0;
}
