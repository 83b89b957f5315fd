// Stream buffers straight on the standard descriptors: input read in large
// blocks (less the UTF-8 byte-order mark with which Notepad begins a file;
// after a failed read, sync() returns -1, so that the dialogue can tell a
// read error from the end of the input), output written in one call per
// flush, and nothing allocated for the process's lifetime.
//
// An operator watches every line arrive: there the dialogue's flushes (at
// every line end and before every read) each write. A file or a pipe that a
// script reads to its end needs no such thing: there output is written in
// blocks, and only what must be seen in time forces a block out early.
// Whoever must know how far the output has gone (the log of the reports
// in it) is told after every write.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string_view>
#include <utility>

namespace geochain {

class DescriptorOutput : public std::streambuf {
  public:
    // Told, after each write, how many bytes have gone out from the start.
    using AfterWrite = std::function<void(std::uint64_t bytes_out)>;

    // Each flush writes, or, in_blocks, only a full buffer and write_block
    // do. Given another output, that one's block goes out before anything
    // of this one: standard error after standard output, as the user reads
    // them with 2>&1.
    explicit DescriptorOutput(int fd, bool in_blocks = false, DescriptorOutput* first = nullptr,
                              AfterWrite after_write = {})
        : fd_(fd), in_blocks_(in_blocks), first_(first), after_write_(std::move(after_write)) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    DescriptorOutput(const DescriptorOutput&) = delete;
    DescriptorOutput& operator=(const DescriptorOutput&) = delete;
    ~DescriptorOutput() override { write_block(); }

    // From now on, the other output's block goes out before each of this
    // one's (none: no longer); it must outlive this one or be taken off.
    void write_first(DescriptorOutput* other) { first_ = other; }

    // Writes everything buffered, then tells how far the output has gone;
    // false once a write of the output has failed. A stop signal that has
    // arrived ends the process here.
    bool write_block();

  protected:
    // The position is the count of bytes put, for a report's end.
    pos_type seekoff(off_type off, std::ios_base::seekdir dir,
                     std::ios_base::openmode which) override;
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

  private:
    int fd_;
    bool in_blocks_;  // or every line end and every flush writes
    DescriptorOutput* first_;
    AfterWrite after_write_;
    std::uint64_t written_ = 0;  // bytes written, from the start
    bool failed_ = false;        // once a write fails, every later one does too
    // Left unfilled: only bytes put are ever read, and a run's start-up
    // touches no page of it.
    std::array<char, 1 << 16> buffer_;
};

class DescriptorInput : public std::streambuf {
  public:
    // Before each read, which may wait, the given output's block goes out:
    // whoever drives the program must see everything it has written.
    // Given ends_unended_line, a read whose last byte is no line end is the
    // last: at a terminal, only Ctrl-D sends a line without its Enter. A
    // negative descriptor is an input that has ended before its first byte.
    explicit DescriptorInput(int fd, DescriptorOutput* before_reading = nullptr,
                             bool ends_unended_line = false)
        : fd_(fd), before_reading_(before_reading), ends_unended_line_(ends_unended_line) {}

    // Reads another descriptor from now on, from its start: the next of the
    // files named on the command line. What is left of the last is dropped.
    void start_over(int fd, bool ends_unended_line = false) {
        fd_ = fd;
        ends_unended_line_ = ends_unended_line;
        at_start_ = true;
        ended_ = false;
        failed_ = false;
        setg(nullptr, nullptr, nullptr);
    }

  protected:
    int_type underflow() override;
    int sync() override { return failed_ ? -1 : 0; }

  private:
    int fd_;
    DescriptorOutput* before_reading_;
    bool ends_unended_line_;
    bool at_start_ = true;  // a byte-order mark is skipped here, and only here
    // The end of the input, once read, stays the end: at a terminal, the
    // operator's Ctrl-D is not asked for again.
    bool ended_ = false;
    bool failed_ = false;               // a read failed: the input ended by an error
    std::array<char, 1 << 16> buffer_;  // unfilled, as above: only bytes read are looked at
};

// Text straight to the output's buffer: no stream operation a piece. An
// output at a terminal writes each line as it ends, as a flush at each line
// end would. A lost output sets badbit, as a stream's write does.
inline void put_text(std::ostream& out, std::string_view text) {
    const auto size = static_cast<std::streamsize>(text.size());
    if (out.rdbuf()->sputn(text.data(), size) != size) {
        out.setstate(std::ios_base::badbit);
    }
}

// Everything written so far must be visible before the program waits; once
// the output cannot be written any more, there is nobody left to answer.
inline bool ready_to_read(std::ostream& out) {
    if (out && out.rdbuf()->pubsync() == -1) {
        out.setstate(std::ios_base::badbit);
    }
    return static_cast<bool>(out);
}

// Everything put so far written now, whether or not the output goes out
// in blocks.
inline void write_out_now(std::ostream& out) {
    if (auto* const descriptor = dynamic_cast<DescriptorOutput*>(out.rdbuf())) {
        descriptor->write_block();
    } else {
        out.rdbuf()->pubsync();
    }
}

// How many bytes have been put into out: where a report or a row ends.
inline std::streamoff put_so_far(std::ostream& out) {
    return out ? static_cast<std::streamoff>(
                     out.rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::out))
               : -1;
}

}  // namespace geochain
