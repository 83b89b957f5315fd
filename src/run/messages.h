// What a run says on standard error: why it ends, and which points lie
// outside S-JTSK's territory. One wording for the dialogue and the table.
#pragma once

#include <ostream>
#include <string>

#include "geodesy/records.h"
#include "io/descriptor_io.h"
#include "io/line_input.h"
#include "text/columns.h"

namespace geochain {

inline constexpr char INCOMPLETE_POINT[] = "Vstup skoncil uprostred zadani bodu; bod se nepocita.";
inline constexpr char OUTPUT_LOST[] = "Vystup nelze zapsat, konec.";

// Text of the input as a message can show it: printable ASCII as it is,
// every other byte as \xNN, so that no control byte reaches the terminal,
// and "..." where it was cut.
std::string shown(const Word& word);
std::string shown(std::string_view word);

// Where the input ended short of its end, said: a read error, or a named
// file that could not be opened; empty for a clean end.
std::string input_failure(InputLines& in);

// A named file that cannot be read, and why.
std::string file_refused(std::string_view name, FileProblem problem);

// Why a line of a file cannot be taken where it stands: a point of the
// layout was expected, or, after a point, an answer or the next point.
std::string refusal(const BatchLine& line, const Layout& layout, bool answer_expected);

// A point off ČÚZK's correction table, where ETRS89 was asked for, or back
// from it: the line of a file, which ends the run; or typed, which the
// operator may type again.
std::string off_the_table(const BatchLine& line, const Layout& layout);
inline constexpr char TYPED_OFF_THE_TABLE[] =
    "Bod lezi mimo tabulku dotransformacnich oprav CUZK, ETRS89 nelze spocitat; zadejte jiny.";
inline constexpr char TYPED_OFF_THE_TABLE_BACK[] =
    "Bod lezi mimo tabulku dotransformacnich oprav CUZK, S-JTSK nelze spocitat; zadejte jiny.";

// ETRS89 fi and lambda that are no point to compute: a number over 1,000
// (S-JTSK coordinates in a list taken for ETRS89), or beyond -90..90 and
// -180..180 degrees. Said of a file's line, which ends the run, or of a
// typed point; empty where the point may be computed.
std::string not_etrs89(const BatchLine& line);
std::string typed_not_etrs89(GeographicCoords etrs);

// Each arcsine argument of the point outside its domain, as the classic
// math library reports it.
void report_asin_domain_errors(const PointResult& result, std::ostream& err);

// A point far from S-JTSK's territory: most often a list that gives Y
// before X, or coordinates of another system. It is still computed as
// given; the user is told on standard error.
void warn_if_outside_area(const BatchLine& line, const PointResult& result, std::ostream& err);

}  // namespace geochain
