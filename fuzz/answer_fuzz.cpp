// Fuzz target: the answer reader on arbitrary bytes.
//
// Reads answers until input ends and checks that each read makes progress,
// stops at the end of a line, and that the text it consumed, parsed here
// independently, spells exactly the answer accepted, or no answer when the
// reader refused it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <optional>
#include <string_view>
#include <utility>

#include "answer.h"
#include "memory_input.h"

namespace {

using abguess::AnswerRead;
using abguess::ReadOutcome;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "answer reader invariant broken: %s\n", what);
  std::abort();
}

bool blank(char ch) { return std::string_view(" \t\n\v\f\r").find(ch) != std::string_view::npos; }

class SegmentParser {
 public:
  explicit SegmentParser(std::string_view text) : text_(text) {}

  void skip_blanks() {
    while (at_ < text_.size() && blank(text_[at_])) ++at_;
  }

  // Sign and digits; the value only when it fits 32 bits.
  std::optional<std::int32_t> number() {
    bool negative = false;
    if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
      negative = text_[at_] == '-';
      ++at_;
    }
    const std::size_t first_digit = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    std::string_view digits = text_.substr(first_digit, at_ - first_digit);
    if (digits.empty()) return std::nullopt;
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits.size() > 10) return std::nullopt;
    std::int64_t value = 0;
    for (const char ch : digits) value = value * 10 + (ch - '0');
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }

  void letter(char upper) {
    if (at_ < text_.size() && (text_[at_] == upper || text_[at_] == upper + ('a' - 'A'))) ++at_;
  }

  bool only_blanks_left() {
    skip_blanks();
    return at_ == text_.size();
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

std::optional<std::pair<std::int32_t, std::int32_t>> spelled_answer(std::string_view segment) {
  SegmentParser parse(segment);
  parse.skip_blanks();
  const std::optional<std::int32_t> a = parse.number();
  if (!a) return std::nullopt;
  parse.letter('A');
  parse.skip_blanks();
  const std::optional<std::int32_t> b = parse.number();
  if (!b) return std::nullopt;
  parse.letter('B');
  if (!parse.only_blanks_left()) return std::nullopt;
  return std::pair{*a, *b};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  abguess::fuzzing::MemoryInput buffer(data, size, false);
  std::istream in(&buffer);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::size_t before = 0;
  for (;;) {
    const AnswerRead read = abguess::read_answer(in);
    const std::size_t after = buffer.position();
    if (after > size) fail("read past the end");
    if (read.outcome == ReadOutcome::EndOfInput) {
      if (after != size) fail("end of input reported before the end");
      return 0;
    }
    if (after == before) fail("a read consumed nothing");
    const std::string_view segment = text.substr(before, after - before);
    if (after != size && segment.back() != '\n') fail("a read stopped inside a line");
    const auto spelled = spelled_answer(segment);
    if (read.outcome == ReadOutcome::Answer) {
      if (!spelled) fail("accepted text that is not an answer");
      if (spelled->first != read.a || spelled->second != read.b) fail("accepted numbers not typed");
    } else if (spelled) {
      fail("refused text that is an answer");
    }
    before = after;
  }
}
