#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game.h"
#include "honest_game.h"

namespace abguess {
namespace {

using testing::guess_block;
using testing::refusal_block;
using testing::result_line;
using testing::slot_of;

struct Played {
  GameEnd end;
  std::string out;
  std::string err;
};

Played play(Code first, const std::string& typed) {
  std::istringstream in(typed);
  std::ostringstream out, err;
  auto game = std::make_unique<Game>(in, out, err);
  const GameEnd end = game->AI(slot_of(first));
  return {end, out.str(), err.str()};
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
  auto game = std::make_unique<Game>(in, out, err);
  ASSERT_EQ(game->AI(slot_of(1234)), GameEnd::Solved);
  EXPECT_EQ(game->store().ln, 1);
  EXPECT_EQ(game->store().l[0], 4321);
}

}  // namespace
}  // namespace abguess
