#include <gtest/gtest.h>

#include <memory>
#include <streambuf>
#include <system_error>
#include <sstream>
#include <string>
#include <vector>

#include "classic_strategy.h"
#include "game.h"
#include "honest_game.h"

namespace abguess {
namespace {

using testing::guess_block;
using testing::refusal_block;
using testing::result_line;
using testing::slot_of;

using Played = testing::PlayedGame;

Played play(Code first, const std::string& typed, GameOptions options = {}) {
  return testing::play_typed(first, typed, options);
}

struct Turn {
  Code shown;
  std::string typed;
};

struct ExampleGame {
  std::string name;
  std::vector<Turn> turns;
  Code named;
};

void PrintTo(const ExampleGame& example, std::ostream* os) { *os << example.name; }

class ExampleGameTest : public ::testing::TestWithParam<ExampleGame> {};

TEST_P(ExampleGameTest, ShowsTheKnownGuessesAndNamesTheSecret) {
  const ExampleGame& example = GetParam();
  std::string typed, expected;
  for (const Turn& turn : example.turns) {
    typed += turn.typed + "\n";
    expected += guess_block(turn.shown);
  }
  expected += result_line(example.named, static_cast<int>(example.turns.size()));
  const Played played = play(example.turns.front().shown, typed);
  EXPECT_EQ(played.end, GameEnd::Solved);
  EXPECT_EQ(played.out, expected);
  EXPECT_EQ(played.err, "");
}

// In the last two the code is named without ever being shown.
INSTANTIATE_TEST_SUITE_P(
    HonestAnswers, ExampleGameTest,
    ::testing::Values(
        ExampleGame{"Secret5678", {{123, "0 0"}, {4567, "0 3"}, {5678, "4 0"}}, 5678},
        ExampleGame{"Secret0123", {{9876, "0 0"}, {123, "4 0"}}, 123},
        ExampleGame{"Secret1234", {{5678, "0 0"}, {123, "0 3"}, {1234, "4 0"}}, 1234},
        ExampleGame{"Secret3456",
                    {{123, "0 1"}, {4690, "0 2"}, {6507, "0 2"}, {8074, "0 1"}, {7936, "1 1"},
                     {3456, "4 0"}},
                    3456},
        ExampleGame{"Secret9876", {{123, "0 0"}, {4567, "0 2"}, {5879, "2 1"}, {5489, "0 2"}}, 9876},
        ExampleGame{"Secret4321", {{1234, "0 4"}, {2143, "0 4"}, {3412, "0 4"}}, 4321},
        ExampleGame{"RightFirstTime", {{8765, "4 0"}}, 8765}),
    [](const auto& info) { return info.param.name; });

// Secret 5678 from 0123: the clean game is 0123 (0 0), 4567 (0 3), 5678 (4 0).
class RefusedAnswerTest : public ::testing::Test {
 protected:
  const std::string clean_end = guess_block(5678) + result_line(5678, 3);
};

TEST_F(RefusedAnswerTest, EachKindOfRefusalFiltersNothingAndAsksAgain) {
  struct Case {
    std::string typed;
    std::string_view reason;
  };
  for (const Case& c : {Case{"hello there", NOT_AN_ANSWER}, Case{"0 3 0", NOT_AN_ANSWER},
                        Case{"0 99999999999", NOT_AN_ANSWER}, Case{"5 7", IMPOSSIBLE_ANSWER},
                        Case{"3 1", IMPOSSIBLE_ANSWER}, Case{"4 4", IMPOSSIBLE_ANSWER},
                        Case{"-1 0", IMPOSSIBLE_ANSWER},
                        // Six digits from 4 to 9 shared by 4567 and the secret: at least two.
                        Case{"0 1", CONTRADICTING_ANSWER}, Case{"1 0", CONTRADICTING_ANSWER}}) {
    const Played played = play(123, "0 0\n" + c.typed + "\n0 3\n4 0\n");
    EXPECT_EQ(played.end, GameEnd::Solved) << c.typed;
    EXPECT_EQ(played.out, guess_block(123) + guess_block(4567) + refusal_block(c.reason) + clean_end)
        << c.typed;
  }
}

TEST_F(RefusedAnswerTest, RefusalsInARowAreEachAnsweredOnce) {
  const Played played = play(123, "0 0\nx\n\n3 1\n  0 1  \n0\n3\n4 0\n");
  EXPECT_EQ(played.out, guess_block(123) + guess_block(4567) + refusal_block(NOT_AN_ANSWER) +
                            refusal_block(IMPOSSIBLE_ANSWER) + refusal_block(CONTRADICTING_ANSWER) +
                            clean_end);
}

TEST_F(RefusedAnswerTest, SplitAndLetteredAnswersAreAccepted) {
  EXPECT_EQ(play(123, "0\n0\n0A3B\n4a 0b\n").out,
            guess_block(123) + guess_block(4567) + clean_end);
}

TEST_F(RefusedAnswerTest, OnlyTheValueCountsSoZeroAndTwelveIsOneAndTwo) {
  const Played twelve = play(123, "0 12\n");
  const Played one_two = play(123, "1 2\n");
  EXPECT_EQ(twelve.out, one_two.out);
  EXPECT_NE(twelve.out.find(guess_block(234)), std::string::npos);
}

// Numbers whose 10 * A + B would wrap around into a score in 32 bits.
TEST_F(RefusedAnswerTest, NoTypedNumbersWrapIntoAScore) {
  for (const std::string typed : {"429496730 0", "2147483647 14", "-2147483648 0", "-2147483648 -2147483648"}) {
    const Played played = play(123, "0 0\n" + typed + "\n0 3\n4 0\n");
    EXPECT_EQ(played.out, guess_block(123) + guess_block(4567) + refusal_block(IMPOSSIBLE_ANSWER) + clean_end)
        << typed;
  }
  // A negative number is fine when the value is a score: -1 and 14 make 4.
  EXPECT_EQ(play(123, "-1 14\n").out, play(123, "0 4\n").out);
}

// Taking answers back, from the same secret 5678 and first guess 0123.  The
// classic strategy follows 0123 answered 0 1 with 4690.
struct UndoCase {
  std::string name;
  std::string typed;
  std::vector<Code> shown;  // every guess block, in order
  std::vector<std::string_view> refusals_after;  // a refusal after the guess of the same index, if any
};

void PrintTo(const UndoCase& c, std::ostream* os) { *os << c.name; }

class UndoTest : public ::testing::TestWithParam<UndoCase> {};

TEST_P(UndoTest, TakesBackAnswersAndEndsLikeTheCleanGame) {
  const UndoCase& c = GetParam();
  std::string expected;
  for (std::size_t i = 0; i < c.shown.size(); ++i) {
    expected += guess_block(c.shown[i]);
    if (i < c.refusals_after.size() && !c.refusals_after[i].empty()) expected += refusal_block(c.refusals_after[i]);
  }
  expected += result_line(5678, 3);
  const Played played = play(123, c.typed);
  EXPECT_EQ(played.end, GameEnd::Solved);
  EXPECT_EQ(played.out, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UndoTest,
    ::testing::Values(
        UndoCase{"NothingToTakeBackAtTheFirstGuess", "undo\n0 0\n0 3\n4 0\n", {123, 4567, 5678}, {NOTHING_TO_UNDO}},
        UndoCase{"WrongAnswerThenUndo", "0 1\nundo\n0 0\n0 3\n4 0\n", {123, 4690, 123, 4567, 5678}, {}},
        UndoCase{"UpperCaseAndBlanks", "0 1\n  UNDO \n0 0\n0 3\n4 0\n", {123, 4690, 123, 4567, 5678}, {}},
        UndoCase{"TwoInARow", "0 0\n0 3\nundo\nundo\n0 0\n0 3\n4 0\n", {123, 4567, 5678, 4567, 123, 4567, 5678}, {}},
        UndoCase{"TwoInARowThenNothingLeft", "0 0\nundo\nundo\n0 0\n0 3\n4 0\n", {123, 4567, 123, 4567, 5678},
                 {"", "", NOTHING_TO_UNDO}},
        UndoCase{"AfterAContradiction", "0 0\n0 1\nundo\n0 0\n0 3\n4 0\n", {123, 4567, 123, 4567, 5678},
                 {"", CONTRADICTING_ANSWER}}),
    [](const auto& info) { return info.param.name; });

// "undo 1", "undox" and "un do" are each refused as not an answer.
TEST(UndoWordsTest, NearMissesAreRefusedAsNotAnswers) {
  const Played played = play(123, "0 0\nundo 1\nundox\nun do\n0 3\n4 0\n");
  EXPECT_EQ(played.out, guess_block(123) + guess_block(4567) + refusal_block(NOT_AN_ANSWER) +
                            refusal_block(NOT_AN_ANSWER) + refusal_block(NOT_AN_ANSWER) + guess_block(5678) +
                            result_line(5678, 3));
}

TEST(VerboseTest, SaysHowManyCodesAreLeftBeforeEachNextGuess) {
  Store store;
  reset(store);
  filter(store, 123, 0);
  const int after_first = store.ln;
  filter(store, 4567, 3);
  const int after_second = store.ln;
  const Played played = play(123, "0 0\nundo\n0 0\n0 3\n4 0\n", GameOptions{true});
  const auto left = [](int n) { return std::to_string(n) + std::string(CODES_LEFT) + "\n"; };
  // Nothing is said after an undo or after the last answer.
  EXPECT_EQ(played.out, guess_block(123) + left(after_first) + guess_block(4567) + guess_block(123) +
                            left(after_first) + guess_block(4567) + left(after_second) + guess_block(5678) +
                            result_line(5678, 3));
  EXPECT_EQ(after_first, 360);
}

// An output stream that takes nothing: a full disk, a closed pipe.
class RefusingOutput : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

// An input that fails like a read of a directory.
class FailingInput : public std::streambuf {
 protected:
  int_type underflow() override {
    throw std::system_error(std::make_error_code(std::errc::is_a_directory), "Cannot read standard input");
  }
};

TEST(FailureTest, AnOutputThatTakesNothingEndsTheGameAtOnce) {
  std::istringstream in("0 0\n0 3\n4 0\n");
  RefusingOutput refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  const auto classic = std::make_unique<ClassicStrategy>();
  const auto game = std::make_unique<Game>(in, out, err, *classic);
  EXPECT_EQ(game->AI(slot_of(123)), GameEnd::Failed);
  EXPECT_TRUE(err.str().starts_with(OUTPUT_FAILED)) << err.str();
  // It stopped at the first guess: not one answer was read.
  EXPECT_EQ(in.tellg(), 0);
}

TEST(FailureTest, AReadErrorIsReportedAsSuchNotAsTheEndOfInput) {
  FailingInput failing;
  std::istream in(&failing);
  std::ostringstream out, err;
  const auto classic = std::make_unique<ClassicStrategy>();
  const auto game = std::make_unique<Game>(in, out, err, *classic);
  EXPECT_EQ(game->AI(slot_of(123)), GameEnd::Failed);
  EXPECT_EQ(err.str(), "Cannot read standard input: " + std::make_error_code(std::errc::is_a_directory).message() + "\n");
  EXPECT_EQ(out.str(), guess_block(123));
}

TEST(InputEndTest, EndingBeforeTheCodeIsFoundPrintsNoResult) {
  for (const std::string typed : {"", "0 0\n", "0 0\n0", "0 0\nbad\n", "3 1\n"}) {
    const Played played = play(123, typed);
    EXPECT_EQ(played.end, GameEnd::InputEnded) << typed;
    EXPECT_EQ(played.err, std::string(INPUT_ENDED) + "\n") << typed;
    EXPECT_EQ(played.out.find(RESULT_PREFIX), std::string::npos) << typed;
  }
}

TEST(InputEndTest, AnswerOnTheLastLineWithoutBreakStillCounts) {
  const Played played = play(123, "0 0\n0 3\n4 0");
  EXPECT_EQ(played.end, GameEnd::Solved);
  EXPECT_EQ(played.out, guess_block(123) + guess_block(4567) + guess_block(5678) + result_line(5678, 3));
}

TEST(GameStoreTest, ResultNamesTheOnlyCodeLeft) {
  std::istringstream in("0 4\n0 4\n0 4\n");
  std::ostringstream out, err;
  const auto classic = std::make_unique<ClassicStrategy>();
  auto game = std::make_unique<Game>(in, out, err, *classic);
  ASSERT_EQ(game->AI(slot_of(1234)), GameEnd::Solved);
  EXPECT_EQ(game->store().ln, 1);
  EXPECT_EQ(game->store().l[0], 4321);
}

}  // namespace
}  // namespace abguess
