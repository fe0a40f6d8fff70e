#include "console.h"

#include <cerrno>
#include <system_error>

#include <unistd.h>

namespace abguess {

namespace {

[[noreturn]] void fail(const char* what) { throw std::system_error(errno, std::generic_category(), what); }

}  // namespace

DescriptorInput::int_type DescriptorInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  for (;;) {
    const ssize_t got = ::read(descriptor_, buffer_.data(), buffer_.size());
    if (got > 0) {
      setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
      return traits_type::to_int_type(*gptr());
    }
    if (got == 0) return traits_type::eof();
    if (errno != EINTR) fail("Cannot read standard input");
  }
}

DescriptorOutput::DescriptorOutput(int descriptor) : descriptor_(descriptor) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::~DescriptorOutput() {
  // What is still pending was never flushed, and a destructor must not throw.
  try {
    write_pending();
  } catch (const std::system_error&) {
  }
}

void DescriptorOutput::write_pending() {
  const char* next = pbase();
  while (next < pptr()) {
    const ssize_t written = ::write(descriptor_, next, static_cast<std::size_t>(pptr() - next));
    if (written > 0) {
      next += written;
    } else if (written == 0 || errno != EINTR) {
      if (written == 0) errno = EIO;
      setp(buffer_.data(), buffer_.data() + buffer_.size());
      fail("Cannot write to standard output");
    }
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type ch) {
  write_pending();
  if (!traits_type::eq_int_type(ch, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
  }
  return traits_type::not_eof(ch);
}

int DescriptorOutput::sync() {
  write_pending();
  return 0;
}

}  // namespace abguess
