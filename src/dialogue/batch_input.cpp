#include "dialogue/batch_input.h"

#include <algorithm>
#include <string_view>

namespace geochain {

namespace {

using Traits = std::streambuf::traits_type;

// Blanks within a line: those of formatted input but the line ends, and the
// DOS end-of-file byte that older Windows tools leave between joined files.
bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == DOS_END_OF_FILE;
}

bool is_separator(int c) { return c == Traits::eof() || is_line_end(c) || is_blank(c); }

// A UTF-16 file read as bytes: it begins with its byte-order mark, FF FE or
// FE FF, or, written without one, holds a NUL in every other byte of its
// first line (the high byte of every Latin character).
bool looks_like_utf16(std::string_view text) {
    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
        return true;
    }
    bool nul_at[2] = {text.size() >= 2, text.size() >= 2};
    for (std::size_t i = 0; i < text.size(); ++i) {
        nul_at[i % 2] = nul_at[i % 2] && text[i] == '\0';
    }
    return nul_at[0] || nul_at[1];
}

}  // namespace

BatchLine read_batch_line(InputLines& in) {
    BatchLine line;
    // An LF that completes the CR ending the previous line, blank lines, and
    // the blanks before the first word.
    int c = in.buf.sgetc();
    while (c != Traits::eof() && (is_line_end(c) || is_blank(c))) {
        take_char(in, c);
        c = in.buf.sgetc();
    }
    if (c == Traits::eof()) {
        return line;
    }
    line.number = in.line;
    in.after_cr = false;

    // Each word is kept up to the longest entry taken as a number; the rest of
    // a long word is consumed but not kept, so a line of any length costs no
    // memory. Only the first three words can ever be a point's entries.
    // The line's first bytes are kept to be shown back.
    char kept[3][MAX_ENTRY_CHARS];
    std::size_t length[3] = {0, 0, 0};
    char text[SHOWN_ENTRY_CHARS];
    std::size_t text_length = 0;  // up to the end of the last word
    std::size_t words = 0;
    for (std::size_t offset = 0; !is_separator(c); ++words) {
        for (; !is_separator(c); c = in.buf.snextc(), ++offset) {
            if (offset < SHOWN_ENTRY_CHARS) {
                text[offset] = Traits::to_char_type(c);
            }
            if (words < 3 && length[words]++ < MAX_ENTRY_CHARS) {
                kept[words][length[words] - 1] = Traits::to_char_type(c);
            }
        }
        text_length = offset;
        for (; is_blank(c); c = in.buf.snextc(), ++offset) {
            if (offset < SHOWN_ENTRY_CHARS) {
                text[offset] = Traits::to_char_type(c);
            }
        }
    }
    // A line counts only when a line end or a clean end of the input ends
    // it: one that a read error cut off is never taken or named.
    if (cut_by_read_error(in)) {
        return BatchLine{};
    }
    const std::string_view shown(text, std::min(text_length, SHOWN_ENTRY_CHARS));
    line.text.length = text_length;

    if (line.number == 1 && looks_like_utf16(shown)) {
        line.kind = LineKind::utf16;
    } else if (words == 1) {
        line.kind = LineKind::one_word;
        line.answer = kept[0][0];
    } else if (words != 3) {
        line.kind = LineKind::other;
    } else {
        line.kind = LineKind::point;
        double* const values[] = {&line.point.X, &line.point.Y, &line.point.h};
        Word* const entries[] = {&line.x, &line.y, nullptr};
        for (std::size_t i = 0; i < 3; ++i) {
            const std::string_view word(kept[i], std::min(length[i], MAX_ENTRY_CHARS));
            const Entry entry =
                length[i] > MAX_ENTRY_CHARS ? Entry{EntryKind::invalid, 0.0} : parse_number(word);
            const Word as_read{std::string(word.substr(0, SHOWN_ENTRY_CHARS)), length[i]};
            if (entry.kind != EntryKind::number) {
                line.kind = LineKind::not_a_number;
                line.refused = as_read;
                break;
            }
            *values[i] = entry.value;
            if (entries[i] != nullptr) {
                *entries[i] = as_read;
            }
        }
    }
    if (line.kind != LineKind::point) {  // to be shown in a message
        line.text.start = shown;
    }
    return line;
}

}  // namespace geochain
