#include "dialogue/console_streams.h"

#include "dialogue/descriptor_io.h"

namespace geochain {

DescriptorInput::int_type DescriptorInput::underflow() {
    const long n = read_some(fd_, buffer_.data(), buffer_.size());
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
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    failed_ = failed_ || (pending > 0 && !write_all(fd_, pbase(), pending));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return failed_ ? -1 : 0;
}

}  // namespace geochain
