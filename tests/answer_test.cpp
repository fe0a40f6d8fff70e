#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

#include "answer.h"

namespace abguess {
namespace {

struct ReadCase {
  std::string name;
  std::string input;
  ReadOutcome outcome;
  std::int32_t a = 0;
  std::int32_t b = 0;
};

// Test listings show the case's name, not its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReadAnswerTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadAnswerTest, ReadsTwoNumbersOrSaysWhyNot) {
  const ReadCase& c = GetParam();
  std::istringstream in(c.input);
  const AnswerRead read = read_answer(in);
  ASSERT_EQ(read.outcome, c.outcome);
  if (c.outcome == ReadOutcome::Answer) {
    EXPECT_EQ(read.a, c.a);
    EXPECT_EQ(read.b, c.b);
  }
}

const ReadCase kReadCases[] = {
    {"Plain", "1 2\n", ReadOutcome::Answer, 1, 2},
    {"NoLineBreakAtEnd", "1 2", ReadOutcome::Answer, 1, 2},
    {"SplitOverLines", "0\n3\n", ReadOutcome::Answer, 0, 3},
    {"BlankLinesAndTabsFirst", " \n\n\t 1 \t 2 \r\n", ReadOutcome::Answer, 1, 2},
    {"LettersJoined", "1A2B\n", ReadOutcome::Answer, 1, 2},
    {"LettersLowerCase", "1a 2b\n", ReadOutcome::Answer, 1, 2},
    {"LettersSpaced", "1A 2B\n", ReadOutcome::Answer, 1, 2},
    {"LetterOnlyOnFirst", "1A 2\n", ReadOutcome::Answer, 1, 2},
    {"Signs", "+1 -2\n", ReadOutcome::Answer, 1, -2},
    {"SignJoinsTheNumbers", "1-2\n", ReadOutcome::Answer, 1, -2},
    {"LargeSecondNumber", "0 12\n", ReadOutcome::Answer, 0, 12},
    {"ManyLeadingZeros", "00000000000000000000001 0002\n", ReadOutcome::Answer, 1, 2},
    {"Int32Limits", "2147483647 -2147483648\n", ReadOutcome::Answer, 2147483647, -2147483647 - 1},
    {"Word", "hello\n", ReadOutcome::NotAnswer},
    {"WordAfterFirstNumber", "1 x\n", ReadOutcome::NotAnswer},
    {"ThirdNumber", "1 2 3\n", ReadOutcome::NotAnswer},
    {"JunkAfterSecondNumber", "1 2x\n", ReadOutcome::NotAnswer},
    {"LettersSwapped", "1B 2A\n", ReadOutcome::NotAnswer},
    {"LetterTwice", "1AA 2\n", ReadOutcome::NotAnswer},
    {"LetterApart", "1 A 2 B\n", ReadOutcome::NotAnswer},
    {"LoneSign", "- 1 2\n", ReadOutcome::NotAnswer},
    {"Decimal", "1.5 2\n", ReadOutcome::NotAnswer},
    {"JustAboveInt32", "2147483648 0\n", ReadOutcome::NotAnswer},
    {"JustBelowInt32", "0 -2147483649\n", ReadOutcome::NotAnswer},
    {"Huge", "99999999999999999999999999 1\n", ReadOutcome::NotAnswer},
    {"NulByte", std::string("\0 1 2\n", 6), ReadOutcome::NotAnswer},
    {"HighByte", "\xff" "1 2\n", ReadOutcome::NotAnswer},
    {"Undo", "undo\n", ReadOutcome::Undo},
    {"UndoUpperCase", "UNDO\n", ReadOutcome::Undo},
    {"UndoWithBlanksAround", " \tUnDo \r\n", ReadOutcome::Undo},
    {"UndoAfterBlankLines", "\n\nundo\n", ReadOutcome::Undo},
    {"UndoAtEndOfInput", "undo", ReadOutcome::Undo},
    {"UndoWithNumber", "undo 1\n", ReadOutcome::NotAnswer},
    {"UndoJoined", "undox\n", ReadOutcome::NotAnswer},
    {"UndoSpaced", "un do\n", ReadOutcome::NotAnswer},
    {"UndoCut", "und\n", ReadOutcome::NotAnswer},
    {"UndoAfterANumber", "1 undo\n", ReadOutcome::NotAnswer},
    {"Empty", "", ReadOutcome::EndOfInput},
    {"OnlyBlanks", "  \n\t\n", ReadOutcome::EndOfInput},
    {"EndsAfterFirstNumber", "1", ReadOutcome::EndOfInput},
    {"EndsAfterFirstNumberAndBreak", "1A\n  ", ReadOutcome::EndOfInput},
};

INSTANTIATE_TEST_SUITE_P(Inputs, ReadAnswerTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return info.param.name; });

// What is left unread after one read_answer call.
std::string rest_after_one_read(const std::string& input, ReadOutcome expected) {
  std::istringstream in(input);
  EXPECT_EQ(read_answer(in).outcome, expected) << input;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ReadAnswerSequenceTest, AcceptedAnswerReadsNoFurtherThanItsLine) {
  EXPECT_EQ(rest_after_one_read("1 2\n3 4\n", ReadOutcome::Answer), "3 4\n");
  EXPECT_EQ(rest_after_one_read("1A2B \r\n\n", ReadOutcome::Answer), "\n");
}

TEST(ReadAnswerSequenceTest, RefusalDiscardsTheRestOfTheOffendingLineOnly) {
  EXPECT_EQ(rest_after_one_read("x y z\n3 4\n", ReadOutcome::NotAnswer), "3 4\n");
  EXPECT_EQ(rest_after_one_read("1 2 junk\n3 4\n", ReadOutcome::NotAnswer), "3 4\n");
  EXPECT_EQ(rest_after_one_read("99999999999 1\n3 4\n", ReadOutcome::NotAnswer), "3 4\n");
  // The number on the first line is dropped with it; the bad line is the second.
  EXPECT_EQ(rest_after_one_read("1\nx\n3 4\n", ReadOutcome::NotAnswer), "3 4\n");
  EXPECT_EQ(rest_after_one_read("1 -\n3 4\n", ReadOutcome::NotAnswer), "3 4\n");
}

TEST(ReadAnswerSequenceTest, ReadsAnswersOneAfterAnother) {
  std::istringstream in("0 1\nbad\n2\n2\n");
  EXPECT_EQ(read_answer(in).outcome, ReadOutcome::Answer);
  EXPECT_EQ(read_answer(in).outcome, ReadOutcome::NotAnswer);
  const AnswerRead third = read_answer(in);
  ASSERT_EQ(third.outcome, ReadOutcome::Answer);
  EXPECT_EQ(third.a, 2);
  EXPECT_EQ(third.b, 2);
  EXPECT_EQ(read_answer(in).outcome, ReadOutcome::EndOfInput);
}

TEST(ReadAnswerSequenceTest, UndoConsumesItsLineOnly) {
  EXPECT_EQ(rest_after_one_read("undo\n1 2\n", ReadOutcome::Undo), "1 2\n");
  EXPECT_EQ(rest_after_one_read("undo now\n1 2\n", ReadOutcome::NotAnswer), "1 2\n");
  EXPECT_EQ(rest_after_one_read("unto\n1 2\n", ReadOutcome::NotAnswer), "1 2\n");
}

struct ValueCase {
  std::int32_t a;
  std::int32_t b;
  std::int64_t value;
};

// 10 * A + B exactly: none of these may wrap into a score.
TEST(ResponseValueTest, IsTenTimesAPlusBExactly) {
  constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
  const ValueCase cases[] = {
      {1, 2, 12},
      {0, 12, 12},   // only the value counts
      {-1, 14, 4},   // likewise
      {4, 0, 40},
      {-1, 0, -10},
      {429496730, 0, 4294967300},  // 4 in 32 bits
      {highest, 14, 21474836484},  // 4 in 32 bits
      {lowest, 0, -21474836480},   // 0 in 32 bits
      {lowest, lowest, -23622320128},
  };
  for (const ValueCase& c : cases) {
    EXPECT_EQ(response_value(c.a, c.b), c.value) << c.a << " " << c.b;
  }
}

}  // namespace
}  // namespace abguess
