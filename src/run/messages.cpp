#include "run/messages.h"

#include <cmath>

#include "geodesy/area_of_use.h"
#include "geodesy/transform.h"

namespace geochain {

namespace {

// CR LF around the classic math library's "%s: %s error" text. A Windows
// standard error is in text mode and adds the CR itself.
#ifdef _WIN32
constexpr char ASIN_DOMAIN_REPORT[] = "\nasin: DOMAIN error\n";
#else
constexpr char ASIN_DOMAIN_REPORT[] = "\r\nasin: DOMAIN error\r\n";
#endif

// Ending a batch run: what was found, and where.
constexpr char REFUSED_ENTRY[] = "Neplatne cislo na radku ";
constexpr char ON_LINE[] = "Na radku ";
constexpr char POINT_EXPECTED[] = " ma byt bod \"";
constexpr char ANSWER_OR_POINT_EXPECTED[] = " ma byt odpoved nebo bod \"";
constexpr char UTF16_INPUT[] =
    "Vstup je v kodovani UTF-16, ulozte jej jako UTF-8 nebo ANSI, konec vstupu.";
constexpr char END_OF_RUN[] = ", konec vstupu.";
constexpr char LINE[] = "Radek ";
constexpr char LONGER_THAN[] = " je delsi nez ";
constexpr char BYTES[] = " bajtu";

// Warning of a batch point outside S-JTSK's area of use.
constexpr char WARNING[] = "Varovani: bod na radku ";
constexpr char OUTSIDE_AREA[] = ") lezi mimo uzemi S-JTSK";
constexpr char SWAPPED_INSIDE[] = "; po zamene X a Y by lezel uvnitr";
constexpr char NOT_COMPUTABLE[] = ") nelze spocitat";

}  // namespace

std::string shown(std::string_view word) { return shown(Word{word, word.size()}); }

std::string shown(const Word& word) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string text;
    for (const char ch : word.start.substr(0, SHOWN_ENTRY_CHARS)) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= ' ' && byte < 0x7F) {
            text += ch;
        } else {
            text.append("\\x").append(1, HEX[byte >> 4]).append(1, HEX[byte & 0xF]);
        }
    }
    return word.length > std::min(word.start.size(), SHOWN_ENTRY_CHARS) ? text + "..." : text;
}

std::string refusal(const BatchLine& line, const Layout& layout, bool answer_expected) {
    if (line.kind == LineKind::utf16) {
        return UTF16_INPUT;
    }
    if (line.kind == LineKind::too_long) {
        return LINE + std::to_string(line.number) + LONGER_THAN + std::to_string(MAX_LINE_CHARS) +
               BYTES + END_OF_RUN;
    }
    if (line.kind == LineKind::not_a_number) {
        return REFUSED_ENTRY + std::to_string(line.number) + ": " + shown(line.refused) +
               END_OF_RUN;
    }
    return ON_LINE + std::to_string(line.number) +
           (answer_expected ? ANSWER_OR_POINT_EXPECTED : POINT_EXPECTED) + describe_layout(layout) +
           "\": " + shown(line.text) + END_OF_RUN;
}

void report_asin_domain_errors(const PointResult& result, std::ostream& err) {
    // Standard error writes what standard output holds first.
    for (int i = 0; i < result.spherical.asin_domain_errors; ++i) {
        err << ASIN_DOMAIN_REPORT << std::flush;
    }
}

void warn_if_outside_area(const BatchLine& line, const PointResult& result, std::ostream& err) {
    const GeographicCoords& g = result.geographic;
    if (within_area_of_use(g)) {
        return;
    }
    err << WARNING << line.number << " (X = " << shown(line.x) << ", Y = " << shown(line.y);
    if (std::isnan(g.fi) || std::isnan(g.lambda)) {
        err << NOT_COMPUTABLE;
    } else {
        const PlanePoint p = result.plane;
        err << OUTSIDE_AREA
            << (within_area_of_use(transform_point({p.Y, p.X, p.h}).geographic) ? SWAPPED_INSIDE
                                                                                : "");
    }
    err << '.' << std::endl;
}

}  // namespace geochain
