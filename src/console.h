// The console as streams the game can use: standard input and output read
// and written straight through their file descriptors, so that a failure is
// seen where it happens and says why.
//
// Both buffers throw std::system_error on a failed read or write (a
// directory given as input, a full disk, a closed pipe with SIGPIPE
// ignored).  End of input is not a failure.
#pragma once

#include <array>
#include <streambuf>

namespace abguess {

class DescriptorInput final : public std::streambuf {
 public:
  explicit DescriptorInput(int descriptor) : descriptor_(descriptor) {}

 protected:
  int_type underflow() override;

 private:
  int descriptor_;
  std::array<char, 4096> buffer_{};
};

class DescriptorOutput final : public std::streambuf {
 public:
  explicit DescriptorOutput(int descriptor);
  ~DescriptorOutput() override;

 protected:
  int_type overflow(int_type ch) override;
  int sync() override;

 private:
  void write_pending();

  int descriptor_;
  std::array<char, 4096> buffer_{};
};

}  // namespace abguess
