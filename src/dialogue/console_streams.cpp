#include "dialogue/console_streams.h"

#include <cerrno>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace geochain {

namespace {

// A Windows descriptor in text mode turns each "\n" into CR LF on the way out,
// as the console and redirected output expect there.
long read_some(int fd, char* data, std::size_t size) {
#ifdef _WIN32
    return ::_read(fd, data, static_cast<unsigned>(size));
#else
    return static_cast<long>(::read(fd, data, size));
#endif
}

long write_some(int fd, const char* data, std::size_t size) {
#ifdef _WIN32
    return ::_write(fd, data, static_cast<unsigned>(size));
#else
    return static_cast<long>(::write(fd, data, size));
#endif
}

}  // namespace

DescriptorInput::int_type DescriptorInput::underflow() {
    long n = 0;
    do {
        n = read_some(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        return traits_type::eof();  // end of input, or a read error: the same to the operator
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return traits_type::to_int_type(buffer_[0]);
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
    if (sync() != 0) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int DescriptorOutput::sync() {
    const char* data = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0 && !failed_) {
        const long n = write_some(fd_, data, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        failed_ = n <= 0;
        if (n > 0) {
            data += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return failed_ ? -1 : 0;
}

}  // namespace geochain
