#include "answer.h"

#include <limits>
#include <optional>
#include <streambuf>
#include <string_view>

namespace abguess {

namespace {

using Traits = std::char_traits<char>;

constexpr std::int64_t INT32_LIMIT_MAGNITUDE = std::int64_t{1} << 31;

// White space as "%d" skips it; spelled out so no locale or signed-char
// lookup is involved with high bytes.
bool is_blank(int ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

bool is_digit(int ch) { return ch >= '0' && ch <= '9'; }

int to_lower(int ch) { return ch >= 'A' && ch <= 'Z' ? ch - 'A' + 'a' : ch; }

constexpr std::string_view UNDO_WORD = "undo";

class AnswerScanner {
 public:
  explicit AnswerScanner(std::streambuf& buffer) : buffer_(buffer) {}

  int peek() { return buffer_.sgetc(); }
  bool at_end() { return peek() == Traits::eof(); }
  void advance() { buffer_.sbumpc(); }

  // Skips white space, line breaks included.
  void skip_blanks() {
    while (!at_end() && is_blank(peek())) advance();
  }

  // An optional sign and decimal digits; nothing when there are no digits or
  // the value does not fit a signed 32-bit integer.  Leading zeros may be
  // many: the value, not the text, is bounded.
  std::optional<std::int32_t> number() {
    bool negative = false;
    if (peek() == '+' || peek() == '-') {
      negative = peek() == '-';
      advance();
    }
    if (!is_digit(peek())) return std::nullopt;
    std::int64_t magnitude = 0;
    bool too_large = false;
    while (is_digit(peek())) {
      magnitude = magnitude * 10 + (peek() - '0');
      if (magnitude > INT32_LIMIT_MAGNITUDE) {
        too_large = true;
        magnitude = INT32_LIMIT_MAGNITUDE + 1;  // keep reading the digits, bounded
      }
      advance();
    }
    if (too_large) return std::nullopt;
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }

  // The number's letter, either case, if it stands straight after it.
  void skip_letter(char upper) {
    const int lower = upper - 'A' + 'a';
    if (peek() == upper || peek() == lower) advance();
  }

  // Consumes `word` (any case) when the input goes on with it; on a mismatch
  // it stops at the first character that differs.
  bool word(std::string_view expected) {
    for (const char ch : expected) {
      if (at_end() || to_lower(peek()) != ch) return false;
      advance();
    }
    return true;
  }

  // True when nothing but blanks remains up to and including the line break.
  bool rest_of_line_blank() {
    while (!at_end()) {
      const int ch = peek();
      if (ch == '\n') {
        advance();
        return true;
      }
      if (!is_blank(ch)) return false;
      advance();
    }
    return true;
  }

  // Drops what is left of the current line.  A refusal is always found at a
  // character not yet read, so the offending line's break is still ahead.
  void discard_rest_of_line() {
    while (!at_end()) {
      const int ch = buffer_.sbumpc();
      if (ch == '\n') return;
    }
  }

 private:
  std::streambuf& buffer_;
};

}  // namespace

AnswerRead read_answer(std::istream& in) {
  std::streambuf* buffer = in.rdbuf();
  if (buffer == nullptr) return {};
  AnswerScanner scan(*buffer);

  const auto refuse = [&scan]() {
    scan.discard_rest_of_line();
    return AnswerRead{ReadOutcome::NotAnswer, 0, 0};
  };

  scan.skip_blanks();
  if (scan.at_end()) return {};
  if (to_lower(scan.peek()) == UNDO_WORD.front()) {
    if (scan.word(UNDO_WORD) && scan.rest_of_line_blank()) return AnswerRead{ReadOutcome::Undo, 0, 0};
    return refuse();
  }
  const std::optional<std::int32_t> a = scan.number();
  if (!a) return refuse();
  scan.skip_letter('A');

  scan.skip_blanks();
  if (scan.at_end()) return {};
  const std::optional<std::int32_t> b = scan.number();
  if (!b) return refuse();
  scan.skip_letter('B');

  if (!scan.rest_of_line_blank()) return refuse();
  return AnswerRead{ReadOutcome::Answer, *a, *b};
}

std::int64_t response_value(std::int32_t inpa, std::int32_t inpb) {
  return std::int64_t{inpa} * 10 + inpb;
}

}  // namespace abguess
