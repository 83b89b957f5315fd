#include "dialogue/console_streams.h"

#include <algorithm>
#include <cstring>

#include "dialogue/descriptor_io.h"
#include "dialogue/results_log.h"

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
        failed_ = failed_ || n < 0;
        return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data() + first, buffer_.data() + n);
    return traits_type::to_int_type(buffer_[static_cast<std::size_t>(first)]);
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
    const bool by_lines = records_ == nullptr;
    for (std::streamsize done = 0; done < n;) {
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
        if ((line_done || pptr() == epptr()) && !write_block()) {
            return done;
        }
    }
    return n;
}

int DescriptorOutput::sync() {
    if (records_ == nullptr) {
        write_block();
    }
    return failed_ ? -1 : 0;
}

bool DescriptorOutput::write_block() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    if (first_ != nullptr && pending > 0) {
        first_->write_block();
    }
    // Every report that reaches the output whole has its record in the log.
    if (records_ != nullptr && !records_->text.empty()) {
        append_records(records_->text, records_->path);
        records_->text.clear();
    }
    failed_ = failed_ || (pending > 0 && write_all(fd_, pbase(), pending) != pending);
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return !failed_;
}

}  // namespace geochain
