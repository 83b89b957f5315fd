#include "io/line_input.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace geochain {

namespace {

using Traits = std::streambuf::traits_type;

// UTF-8's, with which Notepad begins a file.
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Blanks within a line: those of formatted input but the line ends, and the
// DOS end-of-file byte that older Windows tools leave between joined files.
bool is_blank(int c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == DOS_END_OF_FILE;
}

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

std::string_view trimmed(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && is_blank(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && is_blank(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// A field quoted as CSV quotes it, "kamen ""A""; obnoven", without its
// quotes, written over itself (it only shrinks); the closing quote's
// position in `text` is returned through `end`.
std::string_view unquoted(std::string_view text, std::size_t begin, std::string& out,
                          std::size_t& end) {
    const std::size_t first = out.size();
    std::size_t i = begin + 1;
    for (; i < text.size(); ++i) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                ++i;
            } else {
                break;
            }
        }
        out += text[i];
    }
    end = i + 1;  // past the closing quote; past the end where there is none
    return std::string_view(out).substr(first);
}

// Where a spreadsheet's record stands after some of its bytes, read field
// by field at ';' as RFC 4180 has it: only a quote that opens a field
// quotes, and a record ends at a line end only outside quotes.
enum class CsvState { field_start, unquoted, quoted, quote_in_quoted, after_closing_quote };

CsvState csv_state_after(std::string_view bytes, CsvState state) {
    for (const char ch : bytes) {
        switch (state) {
            case CsvState::field_start:
                state = ch == '"' ? CsvState::quoted
                        : ch == ';' || is_blank(static_cast<unsigned char>(ch))
                            ? CsvState::field_start
                            : CsvState::unquoted;
                break;
            case CsvState::quoted:
                state = ch == '"' ? CsvState::quote_in_quoted : CsvState::quoted;
                break;
            case CsvState::quote_in_quoted:  // a doubled quote, or the closing one
                state = ch == '"'   ? CsvState::quoted
                        : ch == ';' ? CsvState::field_start
                                    : CsvState::after_closing_quote;
                break;
            case CsvState::unquoted:
            case CsvState::after_closing_quote:
                state = ch == ';' ? CsvState::field_start : state;
                break;
        }
    }
    return state;
}

// The lines of a spreadsheet's record after its first, which `in.text`
// holds, while a quoted field stays open: copied line by line, each line
// end kept as it was read and counted as the file's, within the room of a
// line; `length` and `last` as for a line. False where a read error cuts
// the record off.
bool read_rest_of_record(InputLines& in, CsvState state, std::size_t& length, std::size_t& last) {
    const auto keep = [&in, &length, &last](int byte) {
        if (length < MAX_LINE_CHARS) {
            in.text += Traits::to_char_type(byte);
        }
        ++length;
        last = is_blank(byte) || is_line_end(byte) ? last : length;
    };
    int c = in.buf.sgetc();
    while (state == CsvState::quoted && c != Traits::eof() && length <= MAX_LINE_CHARS) {
        const std::size_t from = in.text.size();
        do {  // its line end: CR, LF or CR LF
            keep(c);
            take_char(in, c);
            c = in.buf.sgetc();
        } while (c == '\n' && in.after_cr);
        for (; c != Traits::eof() && !is_line_end(c); c = in.buf.snextc()) {
            keep(c);
        }
        if (cut_by_read_error(in)) {
            return false;
        }
        state = csv_state_after(std::string_view(in.text).substr(from), state);
    }
    return true;
}

// Words separated by blanks, as a points file has them, each read as a
// number on the way where it is one in the plain form.
void split_at_blanks(std::string_view text, std::vector<std::string_view>& words,
                     std::vector<double>& plain) {
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        while (p != end && is_blank(static_cast<unsigned char>(*p))) {
            ++p;
        }
        if (p == end) {
            return;
        }
        const char* const first = p;
        double value = 0.0;
        p = scan_plain_decimal(p, end, value);
        if (p != end && !is_blank(static_cast<unsigned char>(*p))) {
            value = std::numeric_limits<double>::quiet_NaN();
            while (p != end && !is_blank(static_cast<unsigned char>(*p))) {
                ++p;
            }
        }
        words.emplace_back(first, static_cast<std::size_t>(p - first));
        plain.push_back(value);
    }
}

// Words separated by blanks; with the decimal comma a word may be quoted,
// and a line that holds ';' outside quotes is split at each ';' instead:
// each field one word, its blanks around it dropped, an empty field an
// empty word, and empty fields at the end of the line none. A quoted word
// is taken off its quotes into `unquoted`, whose room the line's length
// bounds, so that the line itself stays as it was read. False for a line
// that no CSV writer writes: a quote left open, or text after a closing
// quote ("40"01).
bool split_words(std::string_view text, std::string& unquoted_words, bool decimal_comma,
                 std::vector<std::string_view>& words, std::vector<double>& plain, bool& fields) {
    words.clear();
    plain.clear();
    fields = false;
    if (!decimal_comma) {
        split_at_blanks(text, words, plain);
        return true;
    }
    unquoted_words.clear();
    unquoted_words.reserve(text.size());
    bool at_semicolons = false;
    bool quoted = false;
    for (const char ch : text) {
        quoted = quoted != (ch == '"');
        at_semicolons = at_semicolons || (ch == ';' && !quoted);
    }
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!at_semicolons && is_blank(c)) {
            ++i;
            continue;
        }
        if (at_semicolons) {
            while (i < text.size() && is_blank(static_cast<unsigned char>(text[i]))) {
                ++i;
            }
        }
        std::size_t end = i;
        std::string_view word;
        if (i < text.size() && text[i] == '"') {
            word = unquoted(text, i, unquoted_words, end);
            if (end > text.size()) {
                return false;  // no closing quote
            }
            std::size_t next = end;
            while (at_semicolons && next < text.size() &&
                   is_blank(static_cast<unsigned char>(text[next]))) {
                ++next;
            }
            if (next < text.size() &&
                (at_semicolons ? text[next] != ';'
                               : !is_blank(static_cast<unsigned char>(text[next])))) {
                return false;  // text after the closing quote
            }
        } else {
            while (end < text.size() && (at_semicolons ? text[end] != ';' : !is_blank(text[end]))) {
                ++end;
            }
            word = trimmed(std::string_view(text).substr(i, end - i));
        }
        words.push_back(word);
        if (at_semicolons) {
            while (end < text.size() && text[end] != ';') {
                ++end;
            }
            i = end + 1;
            if (end == text.size()) {
                break;
            }
            if (i == text.size()) {  // a ';' that ends the line opens no field
                break;
            }
        } else {
            i = end;
        }
    }
    while (at_semicolons && !words.empty() && words.back().empty()) {
        words.pop_back();
    }
    fields = at_semicolons;
    return true;
}

// A coordinate as written. With the decimal comma, as a spreadsheet's list
// comes, either mark may stand as the decimal one, but only where it cannot
// be anything else: one mark, a digit on either side of it. 1.100.000,5 and
// 1,100,000 are refused, never guessed.
Entry coordinate(std::string_view word, bool decimal_comma) {
    if (word.size() > MAX_ENTRY_CHARS) {
        return {EntryKind::invalid, 0.0};
    }
    if (!decimal_comma) {
        return parse_number(word);
    }
    const std::size_t mark = word.find_first_of(".,");
    if (mark == std::string_view::npos) {
        return parse_number(word);
    }
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (word.find_first_of(".,", mark + 1) != std::string_view::npos || mark == 0 ||
        mark + 1 == word.size() || !digit(word[mark - 1]) || !digit(word[mark + 1])) {
        return {EntryKind::invalid, 0.0};
    }
    char text[MAX_ENTRY_CHARS];
    word.copy(text, word.size());
    text[mark] = '.';
    return parse_number(std::string_view(text, word.size()));
}

bool is_coordinate(Column c) {
    return c == Column::x || c == Column::y || c == Column::h || c == Column::optional_h ||
           c == Column::fi || c == Column::lambda;
}

bool has_optional_height(const Layout& layout) {
    return std::find(layout.columns.begin(), layout.columns.end(), Column::optional_h) !=
           layout.columns.end();
}

// A height where it may be missing: a number with a decimal mark. A code
// such as 12 or roh is no height.
bool is_height(std::string_view word, bool decimal_comma) {
    return word.find_first_of(decimal_comma ? ".," : ".") != std::string_view::npos &&
           coordinate(word, decimal_comma).kind == EntryKind::number;
}

// A first line that names the columns instead of giving a point: no digit
// where the layout has a coordinate. A line with one is a point, or is
// refused as any other line: never skipped without a word.
bool is_header(const std::vector<std::string_view>& words, const Layout& layout) {
    bool any = false;
    for (std::size_t i = 0; i < layout.columns.size() && i < words.size(); ++i) {
        if (is_coordinate(layout.columns[i])) {
            if (words[i].find_first_of("0123456789") != std::string_view::npos) {
                return false;
            }
            any = true;
        }
    }
    return any;
}

// The words of a line that fits the layout, each where the layout says; a
// height that may be missing takes its word only where it is one. Words
// left over without a rest to hold them make the line no point.
void take_point(const InputLines& in, const Layout& layout, BatchLine& line) {
    const std::vector<std::string_view>& words = in.words;
    line.kind = LineKind::point;
    line.h = "0";
    std::size_t i = 0;
    for (const Column column : layout.columns) {
        if (column == Column::optional_h &&
            (i == words.size() || !is_height(words[i], layout.decimal_comma))) {
            line.h = {};  // none: the words after it move up
            continue;
        }
        if (i == words.size()) {
            line.kind = LineKind::other;
            return;
        }
        if (column == Column::name) {
            line.name = words[i];
        }
        if (!is_coordinate(column)) {
            ++i;
            continue;
        }
        const Entry entry = !layout.decimal_comma && !std::isnan(in.plain[i])
                                ? Entry{EntryKind::number, in.plain[i]}
                                : coordinate(words[i], layout.decimal_comma);
        if (entry.kind != EntryKind::number) {
            line.kind = LineKind::not_a_number;
            line.refused = {words[i], words[i].size()};
            return;
        }
        double& value = column == Column::x        ? line.point.X
                        : column == Column::y      ? line.point.Y
                        : column == Column::fi     ? line.etrs.fi
                        : column == Column::lambda ? line.etrs.lambda
                                                   : line.point.h;
        value = entry.value;
        (column == Column::x        ? line.x
         : column == Column::y      ? line.y
         : column == Column::fi     ? line.fi
         : column == Column::lambda ? line.lambda
                                    : line.h) = words[i];
        ++i;
    }
    if (i < words.size() && !layout.rest) {
        line.kind = LineKind::other;
        return;
    }
    if (in.fields) {  // a spreadsheet's rest stays as its fields
        line.rest_fields = words.data() + i;
        line.rest_field_count = words.size() - i;
        return;
    }
    for (; i < words.size(); ++i) {
        line.rest.append(line.rest.empty() ? "" : " ").append(words[i]);
    }
}

// The input's buffered bytes, read in place. std::streambuf keeps its get
// area to itself; a pointer to its member, formed in a class derived from
// it, reaches that of any stream buffer.
struct GetArea : std::streambuf {
    static const char* next(std::streambuf& b) { return (b.*&GetArea::gptr)(); }
    static const char* end(std::streambuf& b) { return (b.*&GetArea::egptr)(); }
    static void skip(std::streambuf& b, std::size_t n) {
        (b.*&GetArea::gbump)(static_cast<int>(n));
    }
};

// The line as a view of the input's buffer, taken, when the buffer holds it
// whole up to its line end and no quote of a spreadsheet's CSV needs taking
// off: no byte of it is copied.
bool line_in_place(InputLines& in, std::string_view& text) {
    const char* const next = GetArea::next(in.buf);
    const auto size = static_cast<std::size_t>(GetArea::end(in.buf) - next);
    const auto* lf = static_cast<const char*>(std::memchr(next, '\n', size));
    const std::size_t to_lf = lf != nullptr ? static_cast<std::size_t>(lf - next) : size;
    const auto* cr = static_cast<const char*>(std::memchr(next, '\r', to_lf));
    if ((lf == nullptr && cr == nullptr) || to_lf > MAX_LINE_CHARS) {
        return false;
    }
    text = std::string_view(next, cr != nullptr ? static_cast<std::size_t>(cr - next) : to_lf);
    GetArea::skip(in.buf, text.size());
    return true;
}

}  // namespace

BatchLine read_batch_line(InputLines& in, const Layout& layout) {
    for (;;) {
        BatchLine line;
        // An LF that completes the CR ending the previous line, blank lines,
        // and the blanks before the first word.
        int c = in.buf.sgetc();
        while (c != Traits::eof() && (is_line_end(c) || is_blank(c))) {
            take_char(in, c);
            c = in.buf.sgetc();
        }
        if (c == Traits::eof()) {
            // The next named file, once this one has ended cleanly.
            if (in.next_file && in.buf.pubsync() != -1 && in.next_file(in)) {
                in.line = 1;
                in.after_cr = false;
                in.line_before = false;
                continue;
            }
            return line;
        }
        line.number = in.line;
        line.source = in.source;
        in.after_cr = false;

        // The line up to its line end: in place, or else copied, and of a
        // longer one than is kept, only its length counted.
        std::string_view kept;
        std::size_t length = 0;
        std::size_t last = 0;  // just after the last byte that is not a blank
        const bool in_place = line_in_place(in, kept);
        if (in_place) {
            length = kept.size();
            last = length;
            while (is_blank(static_cast<unsigned char>(kept[last - 1]))) {
                --last;
            }
        } else {
            in.text.clear();
            for (; c != Traits::eof() && !is_line_end(c); c = in.buf.snextc()) {
                if (length < MAX_LINE_CHARS) {
                    in.text += Traits::to_char_type(c);
                }
                ++length;
                last = is_blank(c) ? last : length;
            }
            // A line counts only when a line end or a clean end of the input
            // ends it: one that a read error cut off is never taken or named.
            if (cut_by_read_error(in)) {
                return BatchLine{};
            }
            kept = in.text;
        }
        // A spreadsheet's record with a line end inside quotes goes on.
        bool spans_lines = false;
        if (layout.decimal_comma && length <= MAX_LINE_CHARS) {
            const std::size_t mark = kept.substr(0, 3) == BYTE_ORDER_MARK ? 3 : 0;
            const CsvState state = csv_state_after(kept.substr(mark), CsvState::field_start);
            if (state == CsvState::quoted) {
                if (in_place) {
                    in.text.assign(kept);
                }
                spans_lines = true;
                if (!read_rest_of_record(in, state, length, last)) {
                    return BatchLine{};
                }
                kept = in.text;
            }
        }
        line.text = {kept.substr(0, last), last};
        const bool first = !in.line_before;
        in.line_before = true;

        if (line.number == 1 && looks_like_utf16(kept.substr(0, SHOWN_ENTRY_CHARS))) {
            line.kind = LineKind::utf16;
            return line;
        }
        if (length > MAX_LINE_CHARS) {
            line.kind = LineKind::too_long;
            return line;
        }
        // A joined file's byte-order mark, where its first line begins, is
        // no part of the line.
        if (kept.substr(0, 3) == BYTE_ORDER_MARK) {
            kept.remove_prefix(3);
        }
        // A record that spans lines is a spreadsheet's row of fields, or
        // nothing: never an answer, nor blank-separated words.
        if (!split_words(kept, in.unquoted, layout.decimal_comma, in.words, in.plain, in.fields) ||
            (spans_lines && (!in.fields || in.words.size() < 2))) {
            line.kind = LineKind::other;
            return line;
        }
        const std::size_t n = in.words.size();
        if (n == 0) {  // a spreadsheet's empty row, ";;;;": a blank line
            in.line_before = !first;
            continue;
        }
        if (first && layout.header_skipped && is_header(in.words, layout)) {
            continue;
        }
        if (n == 1) {
            line.kind = LineKind::one_word;
            line.answer = in.words[0].empty() ? '\0' : in.words[0][0];
        } else if ((n < layout.columns.size() &&
                    (n + 1 < layout.columns.size() || !has_optional_height(layout))) ||
                   (n > layout.columns.size() && !layout.rest)) {
            line.kind = LineKind::other;
        } else {
            take_point(in, layout, line);
        }
        return line;
    }
}

bool next_line_buffered(InputLines& in) {
    const char* next = GetArea::next(in.buf);
    const char* const end = GetArea::end(in.buf);
    while (next != end && (is_line_end(*next) || is_blank(static_cast<unsigned char>(*next)))) {
        ++next;
    }
    const auto size = static_cast<std::size_t>(end - next);
    const auto* const lf = static_cast<const char*>(std::memchr(next, '\n', size));
    if (lf == nullptr || std::memchr(next, '"', static_cast<std::size_t>(lf - next)) != nullptr) {
        return false;
    }
    // A spreadsheet's empty row, ";;;;", is skipped as a blank line is, and
    // the reader goes on past it.
    for (const char* c = next; c != lf; ++c) {
        if (*c != ';' && !is_line_end(*c) && !is_blank(static_cast<unsigned char>(*c))) {
            return true;
        }
    }
    return false;
}

void keep_line(const BatchLine& line, KeptLine& kept) {
    const std::string_view* const words[] = {&line.x,    &line.y,  &line.h,
                                             &line.name, &line.fi, &line.lambda};
    std::size_t size = 0;
    for (const std::string_view* word : words) {
        size += word->size();
    }
    for (std::size_t i = 0; i < line.rest_field_count; ++i) {
        size += line.rest_fields[i].size();
    }
    kept.bytes.resize(size);
    char* at = kept.bytes.data();
    // No copy of an empty word: the view of a missing one has no bytes.
    const auto copied = [&at](std::string_view word) {
        if (word.empty()) {
            return std::string_view();
        }
        std::memcpy(at, word.data(), word.size());
        at += word.size();
        return std::string_view(at - word.size(), word.size());
    };
    kept.rest_fields.resize(line.rest_field_count);
    for (std::size_t i = 0; i < line.rest_field_count; ++i) {
        kept.rest_fields[i] = copied(line.rest_fields[i]);
    }
    kept.line.kind = line.kind;
    kept.line.number = line.number;
    kept.line.source = line.source;
    kept.line.point = line.point;
    kept.line.etrs = line.etrs;
    kept.line.x = copied(line.x);
    kept.line.y = copied(line.y);
    kept.line.h = copied(line.h);
    kept.line.name = copied(line.name);
    kept.line.fi = copied(line.fi);
    kept.line.lambda = copied(line.lambda);
    kept.line.rest = line.rest;
    kept.line.rest_fields = kept.rest_fields.data();
    kept.line.rest_field_count = line.rest_field_count;
}

}  // namespace geochain
