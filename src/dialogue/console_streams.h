// Stream buffers straight on the standard descriptors: input read in large
// blocks (less the UTF-8 byte-order mark with which Notepad begins a file;
// after a failed read, sync() returns -1, so that the dialogue can tell a
// read error from the end of the input), output written in one call per
// flush, and nothing allocated for the process's lifetime.
//
// An operator watches every line arrive: there the dialogue's flushes (at
// every line end and before every read) each write. A file or a pipe that a
// script reads to its end needs no such thing: there output is written in
// blocks, with the log records of its reports just before each block, and
// only what must be seen in time forces a block out early.
#pragma once

#include <array>
#include <streambuf>
#include <string>

namespace geochain {

// Log records that wait for the block of output that holds their reports.
struct PendingRecords {
    std::string path;
    std::string text;
};

class DescriptorOutput : public std::streambuf {
  public:
    // Each flush writes; or, given pending records, only a full buffer and
    // write_block do, the records first. Given another output, that one's
    // block goes out before anything of this one: standard error after
    // standard output, as the user reads them with 2>&1.
    explicit DescriptorOutput(int fd, PendingRecords* records = nullptr,
                              DescriptorOutput* first = nullptr)
        : fd_(fd), records_(records), first_(first) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;
    ~DescriptorOutput() override { write_block(); }

    // Writes the pending records and everything buffered; false once a
    // write of the output has failed.
    bool write_block();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    int fd_;
    PendingRecords* records_;  // none: every line end and every flush write
    DescriptorOutput* first_;
    bool failed_ = false;  // once a write fails, every later one does too
    std::array<char, 1 << 16> buffer_{};
};

class DescriptorInput : public std::streambuf {
  public:
    // Before each read, which may wait, the given output's block goes out:
    // whoever drives the program must see everything it has written.
    explicit DescriptorInput(int fd, DescriptorOutput* before_reading = nullptr)
        : fd_(fd), before_reading_(before_reading) {}

  protected:
    int_type underflow() override;
    int sync() override { return failed_ ? -1 : 0; }

  private:
    int fd_;
    DescriptorOutput* before_reading_;
    bool at_start_ = true;  // a byte-order mark is skipped here, and only here
    bool failed_ = false;   // a read failed: the input ended by an error
    std::array<char, 1 << 16> buffer_{};
};

}  // namespace geochain
