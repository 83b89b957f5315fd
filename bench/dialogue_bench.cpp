// Text work per point: number formatting, the report, and reading entries.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "geodesy/constants.h"
#include "geodesy/transform.h"
#include "io/number_input.h"
#include "territory_points.h"
#include "text/format_fixed.h"
#include "text/report.h"

namespace geochain::bench {
namespace {

// Every value a report formats, for the territory points.
std::vector<double> report_values() {
    std::vector<double> values;
    for (const PlanePoint& p : territory_points()) {
        const PointResult r = transform_point(p);
        values.insert(values.end(),
                      {r.polar.ro, r.polar.epsilon * DEG_PER_RAD, r.cartographic.D * DEG_PER_RAD,
                       r.cartographic.S * DEG_PER_RAD, r.spherical.U * DEG_PER_RAD, r.spherical.V,
                       r.geocentric.X, r.geocentric.Y, r.geocentric.Z, r.fi_dms.seconds});
    }
    return values;
}

void BM_format_fixed(benchmark::State& state) {
    const std::vector<double> values = report_values();
    const int decimals = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(format_fixed(values[i], decimals));
        i = (i + 1) % values.size();
    }
}
BENCHMARK(BM_format_fixed)->Arg(8)->Arg(4);

// The same values through the C library, into a std::string as well.
void BM_snprintf_fixed(benchmark::State& state) {
    const std::vector<double> values = report_values();
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

struct DiscardingBuf : std::streambuf {
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_print_report(benchmark::State& state) {
    std::vector<PointResult> results;
    for (const PlanePoint& p : territory_points()) {
        results.push_back(transform_point(p));
    }
    DiscardingBuf discard;
    std::ostream out(&discard);
    std::size_t i = 0;
    for (auto _ : state) {
        print_report(results[i], out);
        i = (i + 1) % results.size();
    }
}
BENCHMARK(BM_print_report);

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
