#include "run/messages.h"

#include <algorithm>
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
constexpr char NO_NUMBER[] = " neni platne cislo: ";
constexpr char ON_LINE[] = "Na radku ";
constexpr char POINT_EXPECTED[] = " ma byt bod \"";
constexpr char ANSWER_OR_POINT_EXPECTED[] = " ma byt odpoved nebo bod \"";
constexpr char FOUND[] = "\", je tam: ";
constexpr char UTF16_INPUT[] = " je v kodovani UTF-16; ulozte ho jako UTF-8 nebo ANSI.";
constexpr char UNREADABLE[] = " nelze cist; vypocet ukoncen.";
constexpr char LINE[] = "Radek ";
constexpr char LONGER_THAN[] = " je delsi nez ";
constexpr char BYTES[] = " bajtu.";
constexpr char RUN_ENDED[] = " Vypocet ukoncen.";
constexpr char STANDARD_INPUT[] = "Vstup";
constexpr char FILE_NAMED[] = "Soubor ";
constexpr char CANNOT_OPEN[] = " nelze otevrit: ";
constexpr const char* FILE_PROBLEMS[] = {"", "neexistuje.", "je to slozka.",
                                         "chybi pravo ke cteni.", "nelze cist."};

// Warning of a batch point outside S-JTSK's area of use.
constexpr char WARNING[] = "Varovani: bod na radku ";
constexpr char OUTSIDE_AREA[] = ") lezi mimo uzemi S-JTSK";
constexpr char SWAPPED_INSIDE[] = "; po zamene X a Y by lezel uvnitr";
constexpr char NOT_COMPUTABLE[] = ") nelze vypocitat";

// ETRS89 fi and lambda that are not.
constexpr char FI_IS[] = " (fi = ";
constexpr char LAMBDA_IS[] = ", lambda = ";
constexpr char S_JTSK_NOT_ETRS89[] =
    "ma cislo nad 1000: to jsou souradnice S-JTSK, ne fi a lambda ETRS89 ve stupnich";
constexpr char BEYOND_THE_GLOBE[] = "nema fi mezi -90 a 90 a lambda mezi -180 a 180 stupni";

// What is wrong with ETRS89 fi and lambda, as the end of a sentence; none
// where nothing is.
const char* etrs89_problem(GeographicCoords g) {
    if (std::fabs(g.fi) > 1000.0 || std::fabs(g.lambda) > 1000.0) {
        return S_JTSK_NOT_ETRS89;
    }
    if (!(std::fabs(g.fi) <= 90.0 && std::fabs(g.lambda) <= 180.0)) {
        return BEYOND_THE_GLOBE;
    }
    return nullptr;
}

// Printable ASCII as it is, every other byte as \xNN.
std::string escaped(std::string_view text) {
    static constexpr char HEX[] = "0123456789ABCDEF";
    std::string shown;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte >= ' ' && byte < 0x7F) {
            shown += ch;
        } else {
            shown.append("\\x").append(1, HEX[byte >> 4]).append(1, HEX[byte & 0xF]);
        }
    }
    return shown;
}

// A line's number, and with files named, its file's name before it, as
// editors and compilers give a place: seznam.txt:12.
std::string place(const BatchLine& line) {
    return line.source.empty() ? std::to_string(line.number)
                               : escaped(line.source) + ":" + std::to_string(line.number);
}

// The input, or the named file, as a sentence's subject.
std::string input_named(std::string_view source) {
    return source.empty() ? STANDARD_INPUT : FILE_NAMED + escaped(source);
}

}  // namespace

std::string shown(std::string_view word) { return shown(Word{word, word.size()}); }

std::string shown(const Word& word) {
    const std::string text = escaped(word.start.substr(0, SHOWN_ENTRY_CHARS));
    return word.length > std::min(word.start.size(), SHOWN_ENTRY_CHARS) ? text + "..." : text;
}

std::string input_failure(InputLines& in) {
    if (in.buf.pubsync() == -1) {
        return input_named(in.source) + UNREADABLE;
    }
    return in.failure;
}

std::string file_refused(std::string_view name, FileProblem problem) {
    return FILE_NAMED + escaped(name) + CANNOT_OPEN + FILE_PROBLEMS[static_cast<int>(problem)] +
           RUN_ENDED;
}

std::string refusal(const BatchLine& line, const Layout& layout, bool answer_expected) {
    if (line.kind == LineKind::utf16) {
        return input_named(line.source) + UTF16_INPUT + RUN_ENDED;
    }
    if (line.kind == LineKind::too_long) {
        return LINE + place(line) + LONGER_THAN + std::to_string(MAX_LINE_CHARS) + BYTES +
               RUN_ENDED;
    }
    if (line.kind == LineKind::not_a_number) {
        return ON_LINE + place(line) + NO_NUMBER + shown(line.refused) + "." + RUN_ENDED;
    }
    return ON_LINE + place(line) + (answer_expected ? ANSWER_OR_POINT_EXPECTED : POINT_EXPECTED) +
           describe_layout(layout) + FOUND + shown(line.text) + "." + RUN_ENDED;
}

std::string off_the_table(const BatchLine& line, const Layout& layout) {
    if (layout.chain.from_etrs89) {
        return "Bod na radku " + place(line) + FI_IS + shown(line.fi) + LAMBDA_IS +
               shown(line.lambda) +
               ") lezi mimo tabulku dotransformacnich oprav CUZK, S-JTSK nelze spocitat." +
               RUN_ENDED;
    }
    return "Bod na radku " + place(line) + " (X = " + shown(line.x) + ", Y = " + shown(line.y) +
           ") lezi mimo tabulku dotransformacnich oprav CUZK, ETRS89 nelze spocitat." + RUN_ENDED;
}

std::string not_etrs89(const BatchLine& line) {
    const char* const why = etrs89_problem(line.etrs);
    if (why == nullptr) {
        return "";
    }
    return "Bod na radku " + place(line) + FI_IS + shown(line.fi) + LAMBDA_IS + shown(line.lambda) +
           ") " + why + "." + RUN_ENDED;
}

std::string typed_not_etrs89(GeographicCoords etrs) {
    const char* const why = etrs89_problem(etrs);
    return why == nullptr ? "" : std::string("Bod ") + why + "; zadejte jiny.";
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
    err << WARNING << place(line) << " (X = " << shown(line.x) << ", Y = " << shown(line.y);
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
