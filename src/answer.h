// Reading the user's answer: two integers, A then B.
//
// White space before and between the numbers may include line breaks; each
// number may carry its letter straight after it ("1A2B", "1a 2b"); once the
// second number is read, the rest of its line must be blank.  A line holding
// only the word undo (any case, blanks around it) asks to take back the last
// answer.
#pragma once

#include <cstdint>
#include <istream>

namespace abguess {

enum class ReadOutcome {
  Answer,      // a and b hold the two numbers; the answer's line is consumed
  NotAnswer,   // the input was not such an answer; the offending line is discarded
  Undo,        // a line holding only "undo"; the line is consumed
  EndOfInput,  // input ended before an answer was complete
};

struct AnswerRead {
  ReadOutcome outcome = ReadOutcome::EndOfInput;
  std::int32_t a = 0;
  std::int32_t b = 0;
};

// Reads one answer.  Reads character by character and never past the end of
// the answer's line, so nothing typed ahead is swallowed.
AnswerRead read_answer(std::istream& in);

// inpa * 10 + inpb, exactly: in 64 bits no two 32-bit numbers overflow it,
// so no typed pair wraps around into a score it does not spell.
std::int64_t response_value(std::int32_t inpa, std::int32_t inpb);

}  // namespace abguess
