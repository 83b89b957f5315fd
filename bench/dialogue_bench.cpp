// Text work per point: number formatting, the report, and reading entries.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "geodesy/transform.h"
#include "io/number_input.h"
#include "territory_points.h"
#include "text/format_fixed.h"
#include "text/quantities.h"
#include "text/report.h"

namespace geochain::bench {
namespace {

// Every quantity a point shows, for the territory points.
std::vector<double> shown_values() {
    std::vector<double> values;
    for (const PlanePoint& p : territory_points()) {
        const PointResult r = transform_point(p);
        for (const QuantityRule& q : QUANTITIES) {
            values.push_back(q.value(r));
        }
    }
    return values;
}

// Every quantity's value at the same precision into the same room: by
// format_fixed, or (to_chars:1) by the standard library's correctly rounded
// to_chars, which it replaces.
void BM_format_fixed(benchmark::State& state) {
    const std::vector<double> values = shown_values();
    const int decimals = static_cast<int>(state.range(0));
    const bool by_to_chars = state.range(1) != 0;
    std::size_t i = 0;
    char text[fixed_room(9)];
    for (auto _ : state) {
        if (by_to_chars) {
            benchmark::DoNotOptimize(std::to_chars(text, text + sizeof text, values[i],
                                                   std::chars_format::fixed, decimals));
        } else {
            benchmark::DoNotOptimize(format_fixed(text, values[i], decimals));
        }
        benchmark::ClobberMemory();
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_format_fixed)->ArgNames({"decimals", "to_chars"})->ArgsProduct({{9, 8, 4}, {0, 1}});

// The same values through the C library, into a std::string as well.
void BM_snprintf_fixed(benchmark::State& state) {
    const std::vector<double> values = shown_values();
    const int decimals = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        char buf[384];
        const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, values[i]);
        benchmark::DoNotOptimize(std::string(buf, static_cast<std::size_t>(n)));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_snprintf_fixed)->Arg(8)->Arg(4);

void BM_write_report(benchmark::State& state) {
    std::vector<PointResult> results;
    for (const PlanePoint& p : territory_points()) {
        results.push_back(transform_point(p));
    }
    std::vector<char> text(REPORT_ROOM);
    std::size_t i = 0;
    for (auto _ : state) {
        WrittenValues values;
        benchmark::DoNotOptimize(write_report(text.data(), results[i], values));
        benchmark::ClobberMemory();
        i = (i + 1) % results.size();
    }
}
BENCHMARK(BM_write_report);

void BM_read_number(benchmark::State& state) {
    std::string typed;
    for (const PlanePoint& p : territory_points()) {
        char line[96];
        std::snprintf(line, sizeof line, "%.2f %.3f\n%.1f\n", p.X, p.Y, p.h);
        typed += line;
    }
    std::istringstream in(typed);
    InputLines lines{*in.rdbuf()};
    for (auto _ : state) {
        Entry e = read_number(lines);
        if (e.kind == EntryKind::end_of_input) {
            in.clear();
            in.seekg(0);
            e = read_number(lines);
        }
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(BM_read_number);

}  // namespace
}  // namespace geochain::bench
