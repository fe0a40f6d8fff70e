// Fuzz target: a whole game in memory.
//
// The first two bytes pick the first guess (and, by the top bit, the
// strategy), the rest is what the user typed.  The transcript is then
// checked against what the game must do, worked out here with nothing but
// the scoring function: which answers are refused and why, that an undo
// shows the guess taken back again, that every guess shown fits the answers
// that stand (the classic strategy) or splits the codes they leave (the
// optimal one), and that the result line names the one code that fits them.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "answer.h"
#include "classic_strategy.h"
#include "code.h"
#include "game.h"
#include "memory_input.h"
#include "optimal_strategy.h"
#include "store.h"

namespace {

using abguess::Code;
using abguess::Score;

// Reads of the input the game may make: one per byte, a few at its end.
constexpr std::size_t SPARE_READS = 8;

// The scores two codes of different digits can give: 10 * A + B.  Written
// out here rather than taken from the engine, so the check stays independent.
constexpr std::array<Score, 14> SCORES = {0, 1, 2, 3, 4, 10, 11, 12, 13, 20, 21, 22, 30, 40};

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "game invariant broken: %s\n", what);
  std::abort();
}

bool is_score(std::int64_t value) {
  for (const Score s : SCORES) {
    if (s == value) return true;
  }
  return false;
}

std::vector<Code> every_code() {
  abguess::Store full;
  abguess::reset(full);
  return {full.l.begin(), full.l.begin() + full.ln};
}

std::vector<Code> fitting(const std::vector<Code>& codes, Code shown, Score answer) {
  std::vector<Code> kept;
  for (const Code c : codes) {
    if (abguess::guess(c, shown) == answer) kept.push_back(c);
  }
  return kept;
}

bool contains(const std::vector<Code>& codes, Code c) {
  for (const Code x : codes) {
    if (x == c) return true;
  }
  return false;
}

// True when the codes give at least two different answers to g.
bool splits(const std::vector<Code>& codes, Code g) {
  for (const Code c : codes) {
    if (abguess::guess(c, g) != abguess::guess(codes.front(), g)) return true;
  }
  return false;
}

// Walks the transcript, failing at the first text the game should not have
// written there.
class Transcript {
 public:
  explicit Transcript(std::string_view text) : text_(text) {}

  void expect(std::string_view part, const char* what) {
    if (text_.substr(at_, part.size()) != part) fail(what);
    at_ += part.size();
  }

  Code code(const char* what) {
    if (at_ + 4 > text_.size()) fail(what);
    Code c = 0;
    for (int i = 0; i < 4; ++i) {
      const char ch = text_[at_++];
      if (ch < '0' || ch > '9') fail(what);
      c = c * 10 + (ch - '0');
    }
    return c;
  }

  bool at_end() const { return at_ == text_.size(); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

void expect_refusal(Transcript& out, std::string_view reason, const char* what) {
  out.expect(reason, what);
  out.expect("\n", what);
  out.expect(abguess::PROMPT, "no prompt after a refusal");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<Code> all_codes = every_code();
  static abguess::ClassicStrategy classic;
  static abguess::OptimalStrategy optimal;
  const std::size_t picked = size < 2 ? 0 : 2;
  const int first_slot =
      size < 2 ? 0 : (((data[0] & 0x7F) << 8) | data[1]) % static_cast<int>(all_codes.size());
  const bool playing_classic = size < 2 || (data[0] & 0x80) == 0;
  abguess::Strategy& strategy = playing_classic ? static_cast<abguess::Strategy&>(classic) : optimal;
  const std::uint8_t* typed = data + picked;
  const std::size_t typed_size = size - picked;

  abguess::fuzzing::MemoryInput game_input(typed, typed_size, true);
  std::istream in(&game_input);
  std::ostringstream out_stream, err_stream;
  const auto game = std::make_unique<abguess::Game>(in, out_stream, err_stream, strategy);
  const abguess::GameEnd end = game->AI(first_slot);
  if (game_input.refills() > typed_size + SPARE_READS) fail("too many reads for the input");
  const std::string out_text = out_stream.str();
  const std::string err_text = err_stream.str();

  // The same bytes read again give the same answers, in the same order.
  abguess::fuzzing::MemoryInput replay_input(typed, typed_size, false);
  std::istream replay(&replay_input);

  Transcript out(out_text);
  std::vector<Code> live = all_codes;
  // The answers that stand, each with its guess and the codes live before it.
  std::vector<Code> chain;
  std::vector<Score> accepted;
  std::vector<std::vector<Code>> live_before;
  bool retaking = false;
  Code retaken = 0;
  for (;;) {
    out.expect(abguess::GUESS_PREFIX, "a guess was expected");
    const Code shown = out.code("a guess shows no code");
    out.expect(".\n", "bad guess line");
    out.expect(abguess::PROMPT, "no prompt after a guess");
    // The classic strategy guesses among the codes left; the optimal one
    // may guess any code, but never one that tells the codes left nothing.
    if (playing_classic && !contains(live, shown)) fail("a guess that fits no earlier answer");
    if (!playing_classic && !splits(live, shown)) fail("a guess that splits nothing");
    if (retaking && shown != retaken) fail("an undo did not show the guess taken back again");
    retaking = false;
    for (;;) {
      const abguess::AnswerRead read = abguess::read_answer(replay);
      if (read.outcome == abguess::ReadOutcome::EndOfInput) {
        if (!out.at_end()) fail("output after input ended");
        if (end != abguess::GameEnd::InputEnded) fail("input ended but the game says solved");
        if (err_text != std::string(abguess::INPUT_ENDED) + "\n") fail("wrong message at input end");
        return 0;
      }
      if (read.outcome == abguess::ReadOutcome::NotAnswer) {
        expect_refusal(out, abguess::NOT_AN_ANSWER, "a non-answer was not refused as such");
        continue;
      }
      if (read.outcome == abguess::ReadOutcome::Undo) {
        if (chain.empty()) {
          expect_refusal(out, abguess::NOTHING_TO_UNDO, "an undo with nothing to take back was not refused");
          continue;
        }
        retaking = true;
        retaken = chain.back();
        chain.pop_back();
        accepted.pop_back();
        live = std::move(live_before.back());
        live_before.pop_back();
        break;
      }
      const std::int64_t value = abguess::response_value(read.a, read.b);
      if (!is_score(value)) {
        expect_refusal(out, abguess::IMPOSSIBLE_ANSWER, "an impossible answer was not refused");
        continue;
      }
      std::vector<Code> kept = fitting(live, shown, static_cast<Score>(value));
      if (kept.empty()) {
        expect_refusal(out, abguess::CONTRADICTING_ANSWER, "a contradiction was not refused");
        continue;
      }
      live_before.push_back(std::move(live));
      live = std::move(kept);
      chain.push_back(shown);
      accepted.push_back(static_cast<Score>(value));
      break;
    }
    if (!retaking && live.size() == 1) break;
  }

  const Code named = live.front();
  out.expect(abguess::RESULT_PREFIX, "no result line when one code was left");
  if (out.code("the result shows no code") != named) fail("the result names the wrong code");
  out.expect(".", "bad result line");
  out.expect(abguess::RESULT_COUNT, "bad result line");
  out.expect(std::to_string(chain.size()), "wrong guess count");
  out.expect(".\n", "bad result line");
  if (!out.at_end()) fail("output after the result line");
  if (end != abguess::GameEnd::Solved) fail("a result line but the game says input ended");
  if (!err_text.empty()) fail("error output in a solved game");
  for (std::size_t i = 0; i < chain.size(); ++i) {
    if (abguess::guess(named, chain[i]) != accepted[i]) fail("named code misfits an answer");
  }
  if (replay_input.position() != game_input.position()) fail("the game read past its last answer");
  return 0;
}
