#include "run/table.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "geodesy/transform.h"
#include "io/descriptor_streams.h"
#include "io/line_input.h"
#include "io/stop_signals.h"
#include "run/messages.h"
#include "text/geojson.h"
#include "text/log_record.h"
#include "text/table_row.h"

namespace geochain {

namespace {

// Where the collection goes, for its end after a stop.
constexpr int STANDARD_OUTPUT = 1;

// Reads lines by the layout, computes each point and hands it to `put`,
// with the words its row or feature shows. Returns the run's status.
template <typename Put>
int each_point(std::istream& in_stream, std::ostream& out, std::ostream& err, const Layout& layout,
               bool typed_on_screen, const NextFile& next_file, Put put) {
    InputLines in{*in_stream.rdbuf()};
    in.next_file = next_file;
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
        put(RowWords{line.name, back ? line.fi : line.x, back ? line.lambda : line.y, line.h,
                     line.rest, line.rest_fields, line.rest_field_count},
            result);
        if (!back) {
            warn_if_outside_area(line, result, err);
        }
    }
}

}  // namespace

int run_table(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
              const Layout& layout, bool typed_on_screen, const NextFile& next_file) {
    std::string header;
    append_table_header(header, layout);
    put_text(out, header);
    std::vector<char> row;
    char record[RECORD_ROOM];
    return each_point(
        in, out, err, layout, typed_on_screen, next_file,
        [&](const RowWords& words, const PointResult& result) {
            // The row in a buffer that only grows: after the first rows, no
            // allocation and nothing filled in advance.
            row.resize(std::max(row.size(), table_row_room(words)));
            WrittenValues values;
            const char* const row_end = write_table_row(row.data(), layout, words, result, values);
            const char* const record_end = write_record(record, result, values);
            // The record waits until the row is out: its line end writes it
            // at a terminal.
            put_logged(
                out, std::string_view(row.data(), static_cast<std::size_t>(row_end - row.data())),
                std::string_view(record, static_cast<std::size_t>(record_end - record)), log);
            put_text(out, "\n");
        });
}

int run_geojson(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
                const Layout& layout, const NextFile& next_file) {
    put_text(out, GEOJSON_START);
    // A stop ends the collection after its last whole feature.
    set_last_words(STANDARD_OUTPUT, GEOJSON_END.data(), static_cast<unsigned>(GEOJSON_END.size()));
    std::vector<char> feature;
    char record[RECORD_ROOM];
    bool first = true;
    const int status = each_point(
        in, out, err, layout, false, next_file,
        [&](const RowWords& words, const PointResult& result) {
            // In a buffer that only grows, as a row.
            feature.resize(std::max(feature.size(), feature_room(words)));
            const char* const feature_end =
                write_feature(feature.data(), layout, words, result, std::exchange(first, false));
            const WrittenValues none{};
            const char* const record_end = write_record(record, result, none);
            hold_stops();
            put_logged(out,
                       std::string_view(feature.data(),
                                        static_cast<std::size_t>(feature_end - feature.data())),
                       std::string_view(record, static_cast<std::size_t>(record_end - record)),
                       log);
            release_stops();
            if (stop_requested()) {
                write_out_now(out);  // and the stop ends the process there
            }
        });
    set_last_words(STANDARD_OUTPUT, nullptr, 0);
    put_text(out, GEOJSON_END);
    return ready_to_read(out) ? status : 1;
}

}  // namespace geochain
