// Stream buffers straight on the standard descriptors: input read in large
// blocks (less the UTF-8 byte-order mark with which Notepad begins a file;
// after a failed read, sync() returns -1, so that the dialogue can tell a
// read error from the end of the input),
// output written in one call per flush (the dialogue flushes at every
// line end and before every read), and nothing allocated for the process's
// lifetime.
#pragma once

#include <array>
#include <streambuf>

namespace geochain {

class DescriptorInput : public std::streambuf {
  public:
    explicit DescriptorInput(int fd) : fd_(fd) {}

  protected:
    int_type underflow() override;
    int sync() override { return failed_ ? -1 : 0; }

  private:
    int fd_;
    bool at_start_ = true;  // a byte-order mark is skipped here, and only here
    bool failed_ = false;   // a read failed: the input ended by an error
    std::array<char, 1 << 16> buffer_{};
};

class DescriptorOutput : public std::streambuf {
  public:
    explicit DescriptorOutput(int fd) : fd_(fd) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;
    ~DescriptorOutput() override { sync(); }

  protected:
    int_type overflow(int_type c) override;
    int sync() override;

  private:
    int fd_;
    bool failed_ = false;  // once a write fails, every later one does too
    std::array<char, 1 << 12> buffer_{};
};

}  // namespace geochain
