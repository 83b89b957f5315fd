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
#include "run/shared_work.h"
#include "text/geojson.h"
#include "text/log_record.h"
#include "text/table_row.h"

namespace geochain {

namespace {

// Where the collection goes, for its end after a stop.
constexpr int STANDARD_OUTPUT = 1;

// The words of a point's line that its row or feature shows.
RowWords row_words(const BatchLine& line, const Layout& layout) {
    const bool back = layout.chain.from_etrs89;
    return {line.name, back ? line.fi : line.x, back ? line.lambda : line.y, line.h,
            line.rest, line.rest_fields,        line.rest_field_count};
}

// The next line that is not blank, and, back from ETRS89, why a point line
// holds no ETRS89 point. Typed on the screen the output goes to, a line
// that Ctrl-D sent without its Enter leaves the cursor after it: what
// follows begins a line of its own.
BatchLine read_line(InputLines& in, std::ostream& out, const Layout& layout, bool typed_on_screen,
                    std::string& not_a_point) {
    BatchLine line = read_batch_line(in, layout);
    if (typed_on_screen && line.kind != LineKind::end_of_input &&
        in.buf.sgetc() == std::streambuf::traits_type::eof()) {
        put_text(out, "\n");
    }
    if (line.kind == LineKind::point && layout.chain.from_etrs89) {
        not_a_point = not_etrs89(line);
    }
    return line;
}

PointResult computed(const BatchLine& line, const Layout& layout) {
    return layout.chain.from_etrs89 ? transform_etrs89_point(line.etrs, line.point.h)
                                    : transform_point(line.point, layout.chain);
}

// Puts a computed point by output.put(words, result), or ends the run on
// it: false where it lies off ČÚZK's tables (said).
template <typename Output>
bool put_point(const BatchLine& line, const PointResult& result, std::ostream& err,
               const Layout& layout, Output& output) {
    if ((layout.chain.etrs89 || layout.chain.from_etrs89) && !result.etrs89.inside) {
        err << off_the_table(line, layout) << std::endl;
        return false;
    }
    report_asin_domain_errors(result, err);
    output.put(row_words(line, layout), result);
    if (!layout.chain.from_etrs89) {
        warn_if_outside_area(line, result, err);
    }
    return true;
}

// The run's status at a line that holds no point of it: the end of the
// input (or a read error or a file that cannot be opened there), or a line
// refused.
int run_status_at(const BatchLine& line, const std::string& not_a_point, InputLines& in,
                  std::ostream& err, const Layout& layout) {
    if (line.kind == LineKind::end_of_input) {
        const std::string failure = input_failure(in);
        if (!failure.empty()) {
            err << failure << std::endl;
            return 1;
        }
        return 0;
    }
    err << (not_a_point.empty() ? refusal(line, layout, false) : not_a_point) << std::endl;
    return 1;
}

// Each line read, computed and written in turn. Returns the run's status.
template <typename Output>
int each_point_in_turn(InputLines& in, std::ostream& out, std::ostream& err, const Layout& layout,
                       bool typed_on_screen, Output& output) {
    for (;;) {
        if (!ready_to_read(out)) {
            return 1;
        }
        std::string not_a_point;
        const BatchLine line = read_line(in, out, layout, typed_on_screen, not_a_point);
        if (line.kind != LineKind::point || !not_a_point.empty()) {
            return run_status_at(line, not_a_point, in, err, layout);
        }
        if (!put_point(line, computed(line, layout), err, layout, output)) {
            return 1;
        }
    }
}

// The points read ahead of the output, and their chains.
struct Block {
    std::vector<KeptLine> lines;  // the first `count` are this block's
    std::size_t count = 0;
    std::vector<PointResult> results;
};

// At most this many points are read ahead of the output: enough to share
// among threads at little cost, few enough that memory stays small.
constexpr std::size_t MOST_POINTS_AHEAD = 256;

// How reading a block ended: with a line that holds no point of the run
// (`not_a_point` says why, where it is a point line), or with a point;
// then read_on when the next line waits for nothing.
struct BlockEnd {
    BatchLine line;
    std::string not_a_point;
    bool read_on = false;
};

// Reads the points of a block: lines that wait for nothing, up to
// MOST_POINTS_AHEAD, but for the first, which may.
BlockEnd read_block(InputLines& in, std::ostream& out, const Layout& layout, bool typed_on_screen,
                    Block& block) {
    BlockEnd end;
    block.count = 0;
    for (;;) {
        end.line = read_line(in, out, layout, typed_on_screen, end.not_a_point);
        if (end.line.kind != LineKind::point || !end.not_a_point.empty()) {
            return end;
        }
        if (block.count == block.lines.size()) {
            block.lines.emplace_back();
        }
        keep_line(end.line, block.lines[block.count++]);
        // Typed, a line is answered before the next is read.
        if (typed_on_screen || !next_line_buffered(in)) {
            return end;
        }
        if (block.count == MOST_POINTS_AHEAD) {
            end.read_on = true;
            return end;
        }
    }
}

// Starts each point's chain on the threads of `shared`; shared.finish()
// waits for them.
void start_block(Block& block, const Layout& layout, SharedWork& shared) {
    block.results.resize(std::max(block.results.size(), block.count));
    shared.start(block.count, [&block, &layout](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            block.results[i] = computed(block.lines[i].line, layout);
        }
    });
}

// Puts a computed block's points in order, as each would have gone on its
// own. False where the run ends on one of them: its output lost, or off
// ČÚZK's tables.
template <typename Output>
bool put_block(const Block& block, std::ostream& out, std::ostream& err, const Layout& layout,
               Output& output) {
    for (std::size_t i = 0; i < block.count; ++i) {
        if (!ready_to_read(out) ||
            !put_point(block.lines[i].line, block.results[i], err, layout, output)) {
            return false;
        }
    }
    return true;
}

// Points that the input's buffer holds read a block at a time, and computed
// on two threads while the block before is written and the next read. A
// line that may wait is read only once every point before it is out: the
// run reads, computes and writes as if each line went in turn. Returns the
// run's status.
template <typename Output>
int each_point_in_blocks(InputLines& in, std::ostream& out, std::ostream& err, const Layout& layout,
                         bool typed_on_screen, Output& output) {
    Block blocks[2];
    // Declared after the blocks, so that its helper has ended before they do.
    SharedWork shared;
    for (;;) {
        if (!ready_to_read(out)) {
            return 1;
        }
        Block* block = &blocks[0];
        BlockEnd end = read_block(in, out, layout, typed_on_screen, *block);
        start_block(*block, layout, shared);
        while (end.read_on) {
            Block* const next = block == &blocks[0] ? &blocks[1] : &blocks[0];
            BlockEnd next_end = read_block(in, out, layout, typed_on_screen, *next);
            shared.finish();
            start_block(*next, layout, shared);
            if (!put_block(*block, out, err, layout, output)) {
                return 1;
            }
            block = next;
            end = std::move(next_end);
        }
        shared.finish();
        if (!put_block(*block, out, err, layout, output)) {
            return 1;
        }
        if (end.line.kind != LineKind::point || !end.not_a_point.empty()) {
            // The line came after the block's points, and after the check
            // each line in turn would have had.
            if (block->count > 0 && !ready_to_read(out)) {
                return 1;
            }
            return run_status_at(end.line, end.not_a_point, in, err, layout);
        }
    }
}

// Reads lines by the layout, computes each point and writes it by
// output.put(words, result). ČÚZK's method, either way, costs more than
// reading a line and writing its row, and there the points are computed in
// blocks on two threads; the classic chain costs less, and a helper would
// save nothing. Returns the run's status.
template <typename Output>
int each_point(std::istream& in_stream, std::ostream& out, std::ostream& err, const Layout& layout,
               bool typed_on_screen, const NextFile& next_file, Output& output) {
    InputLines in{*in_stream.rdbuf()};
    in.next_file = next_file;
    return layout.chain.etrs89 || layout.chain.from_etrs89
               ? each_point_in_blocks(in, out, err, layout, typed_on_screen, output)
               : each_point_in_turn(in, out, err, layout, typed_on_screen, output);
}

// A row a point, each record held until its row is out.
struct TableOutput {
    const Layout& layout;
    std::ostream& out;
    PendingRecords& log;
    // Buffers that only grow: after the first rows, no allocation and
    // nothing filled in advance.
    std::vector<char> row{};
    char record[RECORD_ROOM]{};

    void put(const RowWords& words, const PointResult& result) {
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
    }
};

// A feature a point, each put whole while stops wait.
struct FeatureOutput {
    const Layout& layout;
    std::ostream& out;
    PendingRecords& log;
    std::vector<char> feature{};  // only grows, as a row
    char record[RECORD_ROOM]{};
    bool first = true;

    void put(const RowWords& words, const PointResult& result) {
        feature.resize(std::max(feature.size(), feature_room(words)));
        const char* const feature_end =
            write_feature(feature.data(), layout, words, result, std::exchange(first, false));
        const char* const record_end = write_record(record, result, WrittenValues{});
        hold_stops();
        put_logged(out,
                   std::string_view(feature.data(),
                                    static_cast<std::size_t>(feature_end - feature.data())),
                   std::string_view(record, static_cast<std::size_t>(record_end - record)), log);
        release_stops();
        if (stop_requested()) {
            write_out_now(out);  // and the stop ends the process there
        }
    }
};

}  // namespace

int run_table(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
              const Layout& layout, bool typed_on_screen, const NextFile& next_file) {
    std::string header;
    append_table_header(header, layout);
    put_text(out, header);
    TableOutput rows{layout, out, log};
    return each_point(in, out, err, layout, typed_on_screen, next_file, rows);
}

int run_geojson(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
                const Layout& layout, const NextFile& next_file) {
    put_text(out, GEOJSON_START);
    // A stop ends the collection after its last whole feature.
    set_last_words(STANDARD_OUTPUT, GEOJSON_END.data(), static_cast<unsigned>(GEOJSON_END.size()));
    FeatureOutput features{layout, out, log};
    const int status = each_point(in, out, err, layout, false, next_file, features);
    set_last_words(STANDARD_OUTPUT, nullptr, 0);
    put_text(out, GEOJSON_END);
    return ready_to_read(out) ? status : 1;
}

}  // namespace geochain
