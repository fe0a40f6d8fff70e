#include <gtest/gtest.h>

#include <string>

#include "code.h"

namespace abguess {
namespace {

struct ScoreCase {
  Code x;
  Code y;
  Score expected;
};

class ScoreTest : public ::testing::TestWithParam<ScoreCase> {};

TEST_P(ScoreTest, GivesTenPerDigitInPlaceAndOnePerDigitElsewhere) {
  const ScoreCase c = GetParam();
  EXPECT_EQ(guess(c.x, c.y), c.expected) << c.x << " against " << c.y;
}

INSTANTIATE_TEST_SUITE_P(Codes, ScoreTest,
                         ::testing::Values(ScoreCase{1234, 1234, 40}, ScoreCase{1234, 4321, 4},
                                           ScoreCase{1234, 1243, 22}, ScoreCase{1234, 2135, 12},
                                           ScoreCase{1234, 5671, 1}, ScoreCase{123, 4567, 0},
                                           ScoreCase{1023, 123, 22}, ScoreCase{123, 1230, 4},
                                           ScoreCase{9876, 6789, 4}, ScoreCase{123, 132, 22}));

// With repeated digits, which no stored code has, each digit of the first
// code counts its first match in the second, so the order matters.
INSTANTIATE_TEST_SUITE_P(RepeatedDigits, ScoreTest,
                         ::testing::Values(ScoreCase{1111, 1234, 13}, ScoreCase{1234, 1111, 10},
                                           ScoreCase{1122, 2211, 4}, ScoreCase{0, 123, 13}));

TEST(ScoreTest, DoesNotDependOnOrderForCodesOfDifferentDigits) {
  const Code codes[] = {123, 1234, 4321, 9876, 5678, 1023, 3012, 8765, 4902};
  for (const Code x : codes) {
    for (const Code y : codes) EXPECT_EQ(guess(x, y), guess(y, x)) << x << ", " << y;
  }
}

TEST(PossibleScoreTest, AcceptsExactlyTheFourteenValues) {
  int accepted = 0;
  for (Score v = -50; v <= 100; ++v) {
    const bool possible = is_possible_score(v);
    accepted += possible ? 1 : 0;
    const int a = v / 10;
    const int b = v % 10;
    const bool by_rule = v >= 0 && a + b <= 4 && !(a == 3 && b == 1) && !(a == 4 && b != 0);
    EXPECT_EQ(possible, by_rule) << v;
  }
  EXPECT_EQ(accepted, 14);
}

TEST(CodeTextTest, ShowsFourDigitsWithTheLeadingZero) {
  EXPECT_EQ(std::string(code_text(123).data()), "0123");
  EXPECT_EQ(std::string(code_text(9876).data()), "9876");
  EXPECT_EQ(std::string(code_text(1023).data()), "1023");
}

}  // namespace
}  // namespace abguess
