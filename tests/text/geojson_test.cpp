#include "text/geojson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "../in_process.h"
#include "run/options.h"
#include "run/table.h"

namespace geochain {
namespace {

// A name or a code as JSON whatever its bytes: quotes, backslashes and
// control bytes escaped, Czech letters in UTF-8 as they are, and each byte
// that is no part of well-formed UTF-8 (a Windows-1250 letter, an overlong
// form, a surrogate, beyond U+10FFFF, a sequence cut short) as U+FFFD.
TEST(GeoJson, StringsAreJsonWhateverTheirBytes) {
    const std::string FFFD = "\xEF\xBF\xBD";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"4001", R"("4001")"},
        {R"(kamen "A"\1)", R"("kamen \"A\"\\1")"},
        {"tab\there\x01\x1F\x7F", R"("tab\u0009here\u0001\u001f\u007f")"},
        {"\xC5\x99\xC3\xAD\xC5\xBE \xF0\x9F\x93\x8D",
         "\"\xC5\x99\xC3\xAD\xC5\xBE \xF0\x9F\x93\x8D\""},
        {"m\xECst", "\"m" + FFFD + "st\""},
        {"\xC0\x80", "\"" + FFFD + FFFD + "\""},
        {"\xED\xA0\x80", "\"" + FFFD + FFFD + FFFD + "\""},
        {"\xF4\x90\x80\x80", "\"" + FFFD + FFFD + FFFD + FFFD + "\""},
        {"\xE2\x82", "\"" + FFFD + FFFD + "\""},
        {std::string("a\0b", 3), R"("a\u0000b")"},
    };
    for (const auto& [bytes, json] : cases) {
        std::string text(json_string_room(bytes.size()), '\0');
        text.resize(static_cast<std::size_t>(write_json_string(text.data(), bytes) - text.data()));
        EXPECT_EQ(text, json);
    }
}

// A GNSS list as a map reads it: one Point feature a point at its ETRS89
// lambda, fi and h, the S-JTSK point and its name among the properties;
// a refused line ends the collection closed after the last whole point.
// Read back by Python's json module, strictly (no NaN), where Python is.
TEST(GeoJson, ACollectionThatAJsonReaderTakes) {
    const testing_support::TempDir dir;
    std::istringstream in(
        "cislo fi lambda h\n4001 50 15 100 \"roh\" \xE9\n4002 49.5 16.5 300.25 a\\b\n"
        "4003 1041000 740000 250\n");
    std::vector<const char*> args = {"geochain", "--geojson", "--from-etrs89",
                                     "--columns=n,fi,lambda,h,..."};
    const Layout layout = parse_options(4, args.data(), false).layout;
    const auto run = testing_support::run_in_process(
        dir.path, [&](std::ostream& out, std::ostream& err, PendingRecords& log) {
            return run_geojson(in, out, err, log, layout);
        });
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("Bod na radku 4 ", 0), 0u);
    EXPECT_EQ(std::count(run.log.begin(), run.log.end(), '\n'), 8);
    ASSERT_EQ(run.out.rfind(std::string(GEOJSON_START) + "\n{\"type\":\"Feature\",", 0), 0u);
    EXPECT_EQ(run.out.substr(run.out.size() - GEOJSON_END.size()), GEOJSON_END);
    if (std::system("python3 -c pass") != 0) {
        GTEST_SKIP() << "no python3 to read the collection back";
    }
    testing_support::write_file(dir.path / "points.geojson", run.out);
    const std::string check =
        "import json, sys\n"
        "d = json.load(open(sys.argv[1], encoding='utf-8'), parse_constant=lambda c: 1 / 0)\n"
        "f = d['features']\n"
        "assert d['type'] == 'FeatureCollection' and len(f) == 2\n"
        "assert f[0]['geometry'] == {'type': 'Point', 'coordinates': [15, 50, 100]}\n"
        "p = f[0]['properties']\n"
        "assert p['cislo'] == '4001' and p['zbytek'] == '\"roh\" \\ufffd'\n"
        "assert abs(p['Y'] - 703011.900) < 0.001 and abs(p['X'] - 1058147.294) < 0.001\n"
        "assert abs(p['H'] - 55.562) < 0.001 and f[1]['properties']['zbytek'] == 'a\\\\b'\n";
    testing_support::write_file(dir.path / "check.py", check);
    const std::string command = "python3 " + (dir.path / "check.py").string() + " " +
                                (dir.path / "points.geojson").string();
    EXPECT_EQ(std::system(command.c_str()), 0) << run.out;
}

}  // namespace
}  // namespace geochain
