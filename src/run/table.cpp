#include "run/table.h"

#include <algorithm>
#include <vector>

#include "geodesy/transform.h"
#include "io/descriptor_streams.h"
#include "io/line_input.h"
#include "run/messages.h"
#include "text/log_record.h"
#include "text/table_row.h"

namespace geochain {

int run_table(std::istream& in_stream, std::ostream& out, std::ostream& err, PendingRecords& log,
              const Layout& layout, bool typed_on_screen, const NextFile& next_file) {
    InputLines in{*in_stream.rdbuf()};
    in.next_file = next_file;
    std::string header;
    append_table_header(header, layout);
    put_text(out, header);
    std::vector<char> row;
    char record[RECORD_ROOM];
    for (;;) {
        if (!ready_to_read(out)) {
            return 1;
        }
        const BatchLine line = read_batch_line(in, layout);
        if (typed_on_screen && line.kind != LineKind::end_of_input &&
            in.buf.sgetc() == std::streambuf::traits_type::eof()) {
            put_text(out, "\n");
        }
        if (line.kind == LineKind::end_of_input) {
            const std::string failure = input_failure(in);
            if (!failure.empty()) {
                err << failure << std::endl;
                return 1;
            }
            return 0;
        }
        if (line.kind != LineKind::point) {
            err << refusal(line, layout, false) << std::endl;
            return 1;
        }
        const bool back = layout.chain.from_etrs89;
        const std::string not_a_point = back ? not_etrs89(line) : std::string();
        if (!not_a_point.empty()) {
            err << not_a_point << std::endl;
            return 1;
        }
        const PointResult result = back ? transform_etrs89_point(line.etrs, line.point.h)
                                        : transform_point(line.point, layout.chain);
        if ((layout.chain.etrs89 || back) && !result.etrs89.inside) {
            err << off_the_table(line, layout) << std::endl;
            return 1;
        }
        report_asin_domain_errors(result, err);
        // The row in a buffer that only grows: after the first rows, no
        // allocation and nothing filled in advance.
        const RowWords words{line.name,
                             back ? line.fi : line.x,
                             back ? line.lambda : line.y,
                             line.h,
                             line.rest,
                             line.rest_fields,
                             line.rest_field_count};
        row.resize(std::max(row.size(), table_row_room(words)));
        WrittenValues values;
        const char* const row_end = write_table_row(row.data(), layout, words, result, values);
        const char* const record_end = write_record(record, result, values);
        // The record waits until the row is out: its line end writes it at
        // a terminal.
        put_logged(out,
                   std::string_view(row.data(), static_cast<std::size_t>(row_end - row.data())),
                   std::string_view(record, static_cast<std::size_t>(record_end - record)), log);
        put_text(out, "\n");
        if (!back) {
            warn_if_outside_area(line, result, err);
        }
    }
}

}  // namespace geochain
