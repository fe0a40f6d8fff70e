// The built abguess as a user meets it: a child process on pipes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "child_process.h"
#include "game.h"
#include "evaluation.h"
#include "honest_game.h"
#include "optimal_strategy.h"
#include "random.h"
#include "store.h"

namespace abguess {
namespace {

using testing::ChildProcess;
using testing::HonestGame;

// The first guess is drawn from the clock, so each test reads it off the
// first line and works out from there what must follow.
class RunningSolver : public ::testing::Test {
 protected:
  ChildProcess child{ABGUESS_BINARY};

  Code read_first_guess() {
    const std::string shown = child.read_until(std::string(PROMPT));
    const std::string prefix(GUESS_PREFIX);
    EXPECT_TRUE(shown.starts_with(prefix)) << shown;
    EXPECT_EQ(shown.size(), prefix.size() + 6 + PROMPT.size()) << shown;
    return static_cast<Code>(std::stoi(shown.substr(prefix.size(), CODE_DIGITS)));
  }

  // Types the honest answer to each guess in turn.  `before_answer` may type
  // something else first, and returns the text the program must reply.
  template <typename BeforeAnswer>
  std::string play(const HonestGame& game, Code secret, BeforeAnswer before_answer) {
    std::string expected;
    for (std::size_t turn = 0; turn < game.guesses.size(); ++turn) {
      const Code shown = game.guesses[turn];
      expected += testing::guess_block(shown);
      EXPECT_EQ(child.read_until(expected), expected);
      const std::string reply = before_answer(turn);
      if (!reply.empty()) {
        expected += reply;
        EXPECT_EQ(child.read_until(expected), expected);
      }
      const Score answer = guess(secret, shown);
      // Every other answer split over two lines, the others lettered.
      if (turn % 2 == 1) {
        child.type("\n");
        child.type(std::to_string(answer / 10) + "\n");
        child.type(std::to_string(answer % 10) + "\n");
      } else {
        child.type(std::to_string(answer / 10) + "A" + std::to_string(answer % 10) + "b\n");
      }
    }
    expected += testing::result_line(game.named, static_cast<int>(game.guesses.size()));
    return expected;
  }
};

TEST_F(RunningSolver, PlaysAWholeGameToTheByte) {
  const Code secret = 3456;
  const HonestGame game = testing::play_honestly(read_first_guess(), secret);
  const std::string expected = play(game, secret, [](std::size_t) { return std::string(); });
  EXPECT_EQ(child.read_until(expected), expected);
  EXPECT_EQ(game.named, secret);
}

TEST_F(RunningSolver, RefusedAnswersLeaveTheGameIntact) {
  const Code secret = 9876;
  const HonestGame game = testing::play_honestly(read_first_guess(), secret);
  bool contradicted = false;
  const std::string expected = play(game, secret, [&](std::size_t turn) {
    std::string reply;
    if (turn == 0) {
      child.type("hello\n");
      reply += testing::refusal_block(NOT_AN_ANSWER);
      child.type("5 7\n");
      reply += testing::refusal_block(IMPOSSIBLE_ANSWER);
      child.type("1 2 3\n99999999999 0\n");
      reply += testing::refusal_block(NOT_AN_ANSWER) + testing::refusal_block(NOT_AN_ANSWER);
    }
    const Score contradiction = testing::contradicting_answer(game.stores[turn], game.guesses[turn]);
    if (!contradicted && contradiction >= 0) {
      contradicted = true;
      child.type(testing::answer_text(contradiction) + "\n");
      reply += testing::refusal_block(CONTRADICTING_ANSWER);
    }
    return reply;
  });
  EXPECT_TRUE(contradicted);
  EXPECT_EQ(child.read_until(expected), expected);
}

TEST_F(RunningSolver, InputClosedMidGameExitsWithStatusOne) {
  read_first_guess();
  child.type("0 0\n");
  EXPECT_TRUE(child.read_until(std::string(PROMPT)).ends_with(PROMPT));
  child.close_input();
  EXPECT_EQ(child.wait_for_exit(), 1);
  EXPECT_EQ(child.read_all_errors(), std::string(INPUT_ENDED) + "\n");
  EXPECT_EQ(child.read_available(std::chrono::milliseconds(0)).find(RESULT_PREFIX), std::string::npos);
}

TEST_F(RunningSolver, StaysAliveSilentAndBlockedAfterTheResult) {
  const Code first = read_first_guess();
  child.type("4 0\n");
  const std::string result = testing::result_line(first, 1);
  EXPECT_TRUE(child.read_until(result).ends_with(result));

  child.type("1 2\n");
  EXPECT_EQ(child.read_available(std::chrono::milliseconds(500)), "");
  EXPECT_TRUE(child.still_running());
  // Blocked in the kernel, not spinning, and not reading what is typed.
  EXPECT_EQ(child.state(), 'S');
  EXPECT_EQ(child.unread_input_bytes(), 4);
  child.close_input();
  EXPECT_EQ(child.read_available(std::chrono::milliseconds(200)), "");
  EXPECT_TRUE(child.still_running());
}

// The game from 0123 against the secret 5678, typed all at once.
const std::string CLEAN_5678 = "0 0\n0 3\n4 0\n";
const std::string CLEAN_5678_OUT =
    testing::guess_block(123) + testing::guess_block(4567) + testing::guess_block(5678) + testing::result_line(5678, 3);

struct Finished {
  std::optional<int> status;
  std::string out;
  std::string err;
};

// Runs the program with `arguments`, types `typed`, closes its input and
// waits for it to exit.
Finished run(const std::string& binary, const std::vector<std::string>& arguments, const std::string& typed = "",
             const testing::Redirects& redirects = {}) {
  ChildProcess child(binary, arguments, redirects);
  if (redirects.input_file.empty()) {
    child.type(typed);
    child.close_input();
  }
  Finished finished;
  finished.status = child.wait_for_exit();
  if (redirects.output_file.empty()) finished.out = child.read_available(std::chrono::milliseconds(100));
  finished.err = child.read_all_errors();
  return finished;
}

TEST(Options, ExitEndsTheProcessWithStatusZeroRightAfterTheResult) {
  const Finished finished = run(ABGUESS_BINARY, {"--exit", "--first", "0123"}, CLEAN_5678);
  EXPECT_EQ(finished.status, 0);
  EXPECT_EQ(finished.out, CLEAN_5678_OUT);
  EXPECT_EQ(finished.err, "");
}

TEST(Options, WithoutExitTheSolvedGameStaysAliveAndSilentWhenInputEnds) {
  ChildProcess child(ABGUESS_BINARY, {"--first", "0123"});
  child.type(CLEAN_5678);
  EXPECT_EQ(child.read_until(CLEAN_5678_OUT), CLEAN_5678_OUT);
  child.close_input();
  EXPECT_FALSE(child.wait_for_exit(std::chrono::milliseconds(500)).has_value());
  EXPECT_EQ(child.read_available(std::chrono::milliseconds(100)), "");
  EXPECT_EQ(child.state(), 'S');
}

TEST(Options, FirstGivesTheFirstGuess) {
  const Finished finished = run(ABGUESS_BINARY, {"--first", "9876"}, "");
  EXPECT_EQ(finished.out, testing::guess_block(9876));
  EXPECT_EQ(finished.status, 1);  // input ended before the code was found
}

TEST(Options, TheSameSeedDrawsTheSameFirstGuess) {
  for (const std::uint32_t seed : {0u, 1u, 20261211u, 4294967295u}) {
    DrawGenerator generator(seed);
    const int r1 = generator.draw();
    const int r2 = generator.draw();
    Store full;
    reset(full);
    const Code expected = full.l[first_guess_slot(r1, r2, full.ln)];
    const Finished finished = run(ABGUESS_BINARY, {"--seed", std::to_string(seed)});
    EXPECT_EQ(finished.out, testing::guess_block(expected)) << "seed " << seed;
  }
}

TEST(Options, VerboseSaysHowManyCodesAreLeft) {
  const Finished finished = run(ABGUESS_BINARY, {"--verbose", "--exit", "--first", "0123"}, CLEAN_5678);
  Store store;
  reset(store);
  filter(store, 123, 0);
  const std::string after_first = std::to_string(store.ln) + std::string(CODES_LEFT) + "\n";
  filter(store, 4567, 3);
  const std::string after_second = std::to_string(store.ln) + std::string(CODES_LEFT) + "\n";
  EXPECT_EQ(finished.out, testing::guess_block(123) + after_first + testing::guess_block(4567) + after_second +
                              testing::guess_block(5678) + testing::result_line(5678, 3));
  EXPECT_EQ(finished.status, 0);
}

TEST(Options, UndoWorksOnPipesToo) {
  const Finished finished = run(ABGUESS_BINARY, {"--exit", "--first", "0123"}, "0 1\nundo\n" + CLEAN_5678);
  EXPECT_EQ(finished.out, testing::guess_block(123) + testing::guess_block(4690) + CLEAN_5678_OUT);
  EXPECT_EQ(finished.status, 0);
}

TEST(Options, TheOptimalStrategyPlaysFromTheGivenFirstGuess) {
  OptimalStrategy optimal;
  const Code secret = 3456;
  const testing::HonestGame game = testing::play_honestly(9876, secret, optimal);
  std::string typed;
  for (const Code g : game.guesses) typed += testing::answer_text(guess(secret, g)) + "\n";
  const Finished finished = run(ABGUESS_BINARY, {"--strategy", "optimal", "--first", "9876", "--exit"}, typed);
  EXPECT_EQ(finished.status, 0);
  EXPECT_EQ(finished.out, testing::clean_transcript(game));
  EXPECT_EQ(game.named, secret);
}

TEST(Options, HelpListsTheOptionsAndExitStatuses) {
  const Finished finished = run(ABGUESS_BINARY, {"--help"});
  EXPECT_EQ(finished.status, 0);
  for (const char* expected : {"--first", "--seed", "--verbose", "--exit", "--strategy", "--version", "undo",
                               "Exit status: 0 solved"}) {
    EXPECT_NE(finished.out.find(expected), std::string::npos) << expected;
  }
  EXPECT_EQ(finished.err, "");
}

TEST(Options, VersionNamesTheProgramAndItsVersion) {
  const Finished finished = run(ABGUESS_BINARY, {"--version"});
  EXPECT_EQ(finished.status, 0);
  EXPECT_EQ(finished.out, std::string("abguess ") + ABGUESS_VERSION + "\n");
}

class BadArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(BadArguments, AreRefusedWithOneLineAndStatusTwo) {
  // Nothing is typed: the program must exit without reading.
  const Finished finished = run(ABGUESS_BINARY, GetParam());
  EXPECT_EQ(finished.status, 2);
  EXPECT_EQ(finished.out, "");
  EXPECT_TRUE(finished.err.starts_with("abguess: ")) << finished.err;
  EXPECT_TRUE(finished.err.ends_with("; try --help\n")) << finished.err;
  EXPECT_EQ(std::count(finished.err.begin(), finished.err.end(), '\n'), 1) << finished.err;
}

INSTANTIATE_TEST_SUITE_P(
    Abguess, BadArguments,
    ::testing::Values(std::vector<std::string>{"--bogus"}, std::vector<std::string>{"extra"},
                      std::vector<std::string>{"--first"}, std::vector<std::string>{"--first", "1123"},
                      std::vector<std::string>{"--first", "12345"}, std::vector<std::string>{"--first", "abcd"},
                      std::vector<std::string>{"--seed", "x"}, std::vector<std::string>{"--seed", "-1"},
                      std::vector<std::string>{"--seed", "4294967296"}, std::vector<std::string>{"--strategy", "best"},
                      std::vector<std::string>{"--verbose=maybe"}));

TEST(Failures, OutputToAFullDiskExitsWithStatusOneAndSaysWhy) {
  const Finished finished = run(ABGUESS_BINARY, {"--first", "0123"}, "", testing::Redirects{"", "/dev/full"});
  EXPECT_EQ(finished.status, 1);
  EXPECT_EQ(finished.err, "Cannot write to standard output: " + std::make_error_code(std::errc::no_space_on_device).message() + "\n");
}

// The tests ignore SIGPIPE, and a child keeps that: its write to the closed
// pipe fails instead of killing it.
TEST(Failures, AClosedOutputPipeExitsWithStatusOneAndSaysWhy) {
  ChildProcess child(ABGUESS_BINARY, {"--first", "0123"});
  child.close_output();
  // The first guess may already have failed to be written, and the program
  // gone, before this is typed.
  child.try_type("0 0\n0 3\n");
  EXPECT_EQ(child.wait_for_exit(), 1);
  EXPECT_EQ(child.read_all_errors(), "Cannot write to standard output: " + std::make_error_code(std::errc::broken_pipe).message() + "\n");
}

TEST(Failures, AReadErrorIsNotTakenForTheEndOfInput) {
  const Finished finished = run(ABGUESS_BINARY, {"--first", "0123"}, "", testing::Redirects{"/", ""});
  EXPECT_EQ(finished.status, 1);
  EXPECT_EQ(finished.out, testing::guess_block(123));
  EXPECT_EQ(finished.err, "Cannot read standard input: " + std::make_error_code(std::errc::is_a_directory).message() + "\n");
}

TEST(Evaluator, OutputToAFullDiskExitsWithStatusOne) {
  const Finished finished = run(ABGUESS_EVAL_BINARY, {}, "", testing::Redirects{"", "/dev/full"});
  EXPECT_EQ(finished.status, 1);
  EXPECT_EQ(finished.err, "abguess-eval: cannot write to standard output\n");
}

TEST(Evaluator, ReportsTheOptimalStrategyFromAnyFirstGuess) {
  OptimalStrategy optimal;
  const StrategyResult expected = evaluate_first_guess(5024, optimal);
  const Finished finished = run(ABGUESS_EVAL_BINARY, {"--strategy", "optimal", "5024"});
  EXPECT_EQ(finished.status, 0);
  EXPECT_NE(finished.out.find("strategy: optimal\nfirst guess: 5024\n"), std::string::npos) << finished.out;
  const std::string total = std::to_string(expected.guesses_shown()) + " in all)";
  EXPECT_NE(finished.out.find(total), std::string::npos) << finished.out;
}

TEST(Evaluator, BadArgumentsExitWithStatusTwo) {
  for (const auto& arguments : {std::vector<std::string>{"1123"}, std::vector<std::string>{"--all", "0123"},
                                std::vector<std::string>{"--strategy", "best"}, std::vector<std::string>{"--bogus"}}) {
    const Finished finished = run(ABGUESS_EVAL_BINARY, arguments);
    EXPECT_EQ(finished.status, 2) << arguments.front();
    EXPECT_EQ(finished.out, "") << arguments.front();
    EXPECT_TRUE(finished.err.ends_with("; try --help\n")) << finished.err;
  }
}

}  // namespace
}  // namespace abguess
