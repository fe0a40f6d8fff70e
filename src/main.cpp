// abguess: you think of four different digits, it guesses them.
#include <CLI/CLI.hpp>

#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "code.h"
#include "console.h"
#include "game.h"
#include "strategies.h"
#include "random.h"
#include "store.h"

namespace {

constexpr int EXIT_SOLVED = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

constexpr const char* DESCRIPTION =
    "Think of four different digits (0123 counts). abguess shows a guess; answer with A, the digits "
    "right and in the right place, then B, the digits right but elsewhere (such as 1 2 or 1A2B). "
    "Type undo to take back your last answer. After naming your code it stays open until you end it, "
    "unless --exit is given.";

constexpr const char* EXIT_STATUSES =
    "Exit status: 0 solved (with --exit), or --help or --version; 1 input ended before the code was "
    "found, or reading or writing failed; 2 usage error.";

struct Options {
  std::optional<abguess::Code> first;
  std::optional<std::uint32_t> seed;
  std::string strategy = "classic";
  bool verbose = false;
  bool exit_when_solved = false;
};

// After the result line the program stays, silent and blocked, until it is
// ended from outside: it waits on a condition that never comes true, which
// uses no CPU.
[[noreturn]] void idle_forever() {
  std::mutex mutex;
  std::condition_variable never_signalled;
  std::unique_lock lock(mutex);
  for (;;) never_signalled.wait(lock);
}

int first_guess_slot(const Options& options, const abguess::Store& full) {
  if (options.first) return abguess::find_slot(full, *options.first);
  const auto seed = options.seed ? *options.seed : static_cast<std::uint32_t>(std::time(nullptr));
  abguess::DrawGenerator generator(seed);
  const int r1 = generator.draw();
  const int r2 = generator.draw();
  return abguess::first_guess_slot(r1, r2, full.ln);
}

// Help and version go to standard output like everything else: a failure
// to write them is reported, not hidden.
int finish_writing(int status) {
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "Cannot write to standard output\n";
    return EXIT_FAILED;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  CLI::App app{DESCRIPTION, "abguess"};
  app.footer(EXIT_STATUSES);
  app.set_version_flag("--version", std::string("abguess ") + ABGUESS_VERSION);
  app.add_option_function<std::string>(
         "--first",
         [&options](const std::string& text) {
           options.first = abguess::parse_code(text);
           if (!options.first) throw CLI::ValidationError("--first", "'" + text + "' is not four different digits such as 0123");
         },
         "the first guess, four different digits such as 0123 (default: drawn at random)")
      ->type_name("CODE");
  app.add_option_function<std::uint32_t>("--seed", [&options](const std::uint32_t& seed) { options.seed = seed; },
                                         "seed for drawing the first guess (default: the clock); the same seed "
                                         "draws the same first guess")
      ->type_name("N");
  app.add_option("--strategy", options.strategy,
                 "classic: the guess chooser (default); optimal: a strategy proven to need the fewest "
                 "guesses shown in all")
      ->check(CLI::IsMember(abguess::strategy_names()));
  app.add_flag("--verbose", options.verbose, "after each answer, say how many codes are left");
  app.add_flag("--exit", options.exit_when_solved, "exit with status 0 after naming the code");
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& request) {  // --help or --version
    return finish_writing(app.exit(request));
  } catch (const CLI::ParseError& error) {
    std::cerr << "abguess: " << error.what() << "; try --help\n";
    return EXIT_USAGE;
  }

  abguess::DescriptorInput input_buffer(0);
  abguess::DescriptorOutput output_buffer(1);
  std::istream input(&input_buffer);
  std::ostream output(&output_buffer);
  // A failed write reaches the game as the buffer's own error.
  output.exceptions(std::ios::badbit);

  const auto strategy = abguess::make_strategy(options.strategy);
  const auto game = std::make_unique<abguess::Game>(input, output, std::cerr, *strategy,
                                                    abguess::GameOptions{options.verbose});
  abguess::Store full;
  abguess::reset(full);
  switch (game->AI(first_guess_slot(options, full))) {
    case abguess::GameEnd::Solved:
      if (options.exit_when_solved) return EXIT_SOLVED;
      idle_forever();
    case abguess::GameEnd::InputEnded:
    case abguess::GameEnd::Failed:
      break;
  }
  return EXIT_FAILED;
}
