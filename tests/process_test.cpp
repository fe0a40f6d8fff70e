// The built abguess as a user meets it: a child process on pipes.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "child_process.h"
#include "game.h"
#include "honest_game.h"

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

}  // namespace
}  // namespace abguess
