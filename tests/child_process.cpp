#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace abguess::testing {

namespace {

using Clock = std::chrono::steady_clock;

void make_pipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
}

// Reads what is there within `wait`; false at end of file.
bool read_some(int fd, std::string& into, std::chrono::milliseconds wait) {
  pollfd p{fd, POLLIN, 0};
  const int ready = poll(&p, 1, static_cast<int>(wait.count()));
  if (ready <= 0) return true;
  char buffer[4096];
  const ssize_t got = read(fd, buffer, sizeof buffer);
  if (got <= 0) return false;
  into.append(buffer, static_cast<std::size_t>(got));
  return true;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& path, const std::vector<std::string>& arguments,
                           const Redirects& redirects) {
  // A child that dies must not kill the test with SIGPIPE.  The child
  // inherits the ignored signal, so its own writes to a closed pipe fail
  // with EPIPE instead of killing it.
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  make_pipe(in);
  make_pipe(out);
  make_pipe(err);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (redirects.input_file.empty()) {
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, redirects.input_file.c_str(), O_RDONLY, 0);
  }
  if (redirects.output_file.empty()) {
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, redirects.output_file.c_str(), O_WRONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  std::vector<char*> argv{const_cast<char*>(path.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int failed = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  input_ = in[1];
  output_ = out[0];
  errors_ = err[0];
  if (failed != 0) throw std::runtime_error("cannot start " + path);
}

ChildProcess::~ChildProcess() {
  kill();
  for (const int fd : {input_, output_, errors_}) {
    if (fd >= 0) close(fd);
  }
}

void ChildProcess::type(const std::string& text) {
  if (!try_type(text)) throw std::runtime_error("cannot type into the child");
}

bool ChildProcess::try_type(const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = write(input_, text.data() + written, text.size() - written);
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

void ChildProcess::close_input() {
  if (input_ >= 0) close(input_);
  input_ = -1;
}

void ChildProcess::close_output() {
  if (output_ >= 0) close(output_);
  output_ = -1;
}

std::string ChildProcess::read_until(const std::string& suffix, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  while (!output_seen_.ends_with(suffix) && Clock::now() < deadline) {
    if (!read_some(output_, output_seen_, std::chrono::milliseconds(100))) break;
  }
  return output_seen_;
}

std::string ChildProcess::read_available(std::chrono::milliseconds wait) {
  std::string got;
  read_some(output_, got, wait);
  output_seen_ += got;
  return got;
}

std::string ChildProcess::read_all_errors(std::chrono::milliseconds limit) {
  std::string errors;
  const auto deadline = Clock::now() + limit;
  while (Clock::now() < deadline && read_some(errors_, errors, std::chrono::milliseconds(100))) {
  }
  return errors;
}

std::optional<int> ChildProcess::wait_for_exit(std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      reaped_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (Clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool ChildProcess::still_running() {
  if (reaped_) return false;
  return !wait_for_exit(std::chrono::milliseconds(0)).has_value();
}

char ChildProcess::state() {
  std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
  std::string line;
  std::getline(stat, line);
  // pid (comm) state ...: the command may hold blanks, so look after ')'.
  const auto close_paren = line.rfind(')');
  return close_paren == std::string::npos || close_paren + 2 >= line.size() ? '?' : line[close_paren + 2];
}

int ChildProcess::unread_input_bytes() {
  int pending = -1;
  if (ioctl(input_, FIONREAD, &pending) != 0) return -1;
  return pending;
}

void ChildProcess::kill() {
  if (pid_ <= 0 || reaped_) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  reaped_ = true;
}

}  // namespace abguess::testing
