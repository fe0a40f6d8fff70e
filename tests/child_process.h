// Runs a program as a child process on pipes, as a user at a terminal would
// drive it: type into its standard input, read what it writes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace abguess::testing {

// Where a child's standard input or output goes instead of a pipe: a file
// opened for it, such as /dev/full or a directory.
struct Redirects {
  std::string input_file;
  std::string output_file;
};

class ChildProcess {
 public:
  explicit ChildProcess(const std::string& path, const std::vector<std::string>& arguments = {},
                        const Redirects& redirects = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  void type(const std::string& text);
  // The same, but false instead of an exception when the child no longer
  // reads its input.
  bool try_type(const std::string& text);
  void close_input();
  // Stops reading the child's output: its next write finds the pipe closed.
  void close_output();

  // Reads standard output until it ends with `suffix`; returns all read so
  // far.  Gives up (returns what it has) after `limit` without the suffix,
  // so a broken program fails the test instead of hanging it.
  std::string read_until(const std::string& suffix,
                         std::chrono::milliseconds limit = std::chrono::seconds(20));

  // Whatever standard output holds within `wait`, without blocking longer.
  std::string read_available(std::chrono::milliseconds wait);
  std::string read_all_errors(std::chrono::milliseconds limit = std::chrono::seconds(20));

  // Exit status once the child has exited, waiting up to `limit`.
  std::optional<int> wait_for_exit(std::chrono::milliseconds limit = std::chrono::seconds(20));
  bool still_running();
  // Scheduler state from /proc: 'S' sleeping, 'R' running, ...
  char state();
  // Bytes typed that the child has not read yet.
  int unread_input_bytes();

  void kill();

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int errors_ = -1;
  std::string output_seen_;
  bool reaped_ = false;
};

}  // namespace abguess::testing
