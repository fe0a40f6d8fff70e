// An input stream buffer over the fuzzer's bytes, read in place.
//
// No copy is made, so a read past the last byte touches memory outside the
// fuzzer's allocation and AddressSanitizer reports it.  With a window of one
// byte, every byte consumed passes through underflow(), which counts reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <streambuf>

namespace abguess::fuzzing {

class MemoryInput : public std::streambuf {
 public:
  MemoryInput(const std::uint8_t* data, std::size_t size, bool one_byte_window)
      : begin_(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data))),
        end_(begin_ + size),
        one_byte_window_(one_byte_window) {
    setg(begin_, begin_, one_byte_window_ ? begin_ : end_);
  }

  std::size_t position() const { return static_cast<std::size_t>(gptr() - begin_); }
  std::size_t refills() const { return refills_; }

 protected:
  int_type underflow() override {
    ++refills_;
    if (gptr() >= end_) return traits_type::eof();
    if (one_byte_window_) setg(begin_, gptr(), gptr() + 1);
    return traits_type::to_int_type(*gptr());
  }

 private:
  char* begin_;
  char* end_;
  bool one_byte_window_;
  std::size_t refills_ = 0;
};

}  // namespace abguess::fuzzing
