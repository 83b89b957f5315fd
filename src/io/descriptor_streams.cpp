#include "io/descriptor_streams.h"

#include <algorithm>
#include <cstring>

#include "io/descriptor_io.h"
#include "io/stop_signals.h"

namespace geochain {

namespace {

// UTF-8's byte-order mark, EF BB BF: Notepad writes it at the start of every
// file it saves as "UTF-8 with BOM". It can never be part of a number.
constexpr char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr long MARK_SIZE = sizeof BYTE_ORDER_MARK - 1;

bool begins_like_the_mark(const char* data, long n) {
    return std::memcmp(data, BYTE_ORDER_MARK, static_cast<std::size_t>(std::min(n, MARK_SIZE))) ==
           0;
}

}  // namespace

DescriptorInput::int_type DescriptorInput::underflow() {
    if (ended_ || fd_ < 0) {
        return traits_type::eof();
    }
    if (before_reading_ != nullptr) {
        before_reading_->write_block();
    }
    long n = read_some(fd_, buffer_.data(), buffer_.size());
    long first = 0;
    if (at_start_) {
        at_start_ = false;
        // A pipe may hand the mark over a byte at a time: gather it whole
        // before deciding.
        long more = n;
        while (more > 0 && n < MARK_SIZE && begins_like_the_mark(buffer_.data(), n)) {
            more = read_some(fd_, buffer_.data() + n, buffer_.size() - static_cast<std::size_t>(n));
            n += std::max(more, 0L);
        }
        if (n >= MARK_SIZE && begins_like_the_mark(buffer_.data(), n)) {
            if (n == MARK_SIZE) {
                return underflow();  // the mark alone: the input follows
            }
            first = MARK_SIZE;
        }
    }
    if (n <= 0) {
        ended_ = true;
        failed_ = n < 0;
        return traits_type::eof();
    }
    ended_ = ends_unended_line_ && buffer_[static_cast<std::size_t>(n - 1)] != '\n';
    setg(buffer_.data(), buffer_.data() + first, buffer_.data() + n);
    return traits_type::to_int_type(buffer_[static_cast<std::size_t>(first)]);
}

DescriptorOutput::pos_type DescriptorOutput::seekoff(off_type off, std::ios_base::seekdir dir,
                                                     std::ios_base::openmode which) {
    if (off != 0 || dir != std::ios_base::cur || which != std::ios_base::out) {
        return pos_type(off_type(-1));
    }
    return pos_type(static_cast<off_type>(written_) + (pptr() - pbase()));
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (!write_block()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize DescriptorOutput::xsputn(const char* s, std::streamsize n) {
    // Text written in one piece still reaches an operator line by line.
    const bool by_lines = !in_blocks_;
    for (std::streamsize done = 0; done < n;) {
        // A full buffer goes out only when more is to come: a report that
        // ends exactly at its end has its record held before it is written.
        if (pptr() == epptr() && !write_block()) {
            return done;
        }
        const auto rest = static_cast<std::size_t>(n - done);
        const void* line_end = by_lines ? std::memchr(s + done, '\n', rest) : nullptr;
        const std::size_t to_line_end =
            line_end != nullptr
                ? static_cast<std::size_t>(static_cast<const char*>(line_end) - (s + done)) + 1
                : rest;
        const std::size_t chunk = std::min(to_line_end, static_cast<std::size_t>(epptr() - pptr()));
        std::memcpy(pptr(), s + done, chunk);
        pbump(static_cast<int>(chunk));
        done += static_cast<std::streamsize>(chunk);
        const bool line_done = line_end != nullptr && chunk == to_line_end;
        if (line_done && !write_block()) {
            return done;
        }
    }
    return n;
}

int DescriptorOutput::sync() {
    if (!in_blocks_) {
        write_block();
    }
    return failed_ ? -1 : 0;
}

bool DescriptorOutput::write_block() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    if (first_ != nullptr) {
        first_->write_block();
    }
    if (!failed_ && pending > 0) {
        const std::size_t written = write_all(fd_, pbase(), pending);
        written_ += written;
        failed_ = written != pending;
        if (failed_) {
            output_cut_short(fd_);
        }
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (after_write_) {
        after_write_(written_);
    }
    stop_if_requested();
    return !failed_;
}

}  // namespace geochain
