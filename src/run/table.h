// A points file, a list or typed lines, one table row a point.
#pragma once

#include <istream>
#include <ostream>

#include "io/number_input.h"
#include "io/results_log.h"
#include "text/columns.h"

namespace geochain {

// Writes the header, then reads lines by the layout and writes each point's
// row, its record held in `log` until the row is out. Returns 0 at the end
// of the input, 1 at the first line that does not fit the layout, at a read
// error, or when the output is lost. Typed on the screen the output goes
// to, a line that Ctrl-D sent without its Enter leaves the cursor after it:
// its row, or its message, begins a line of its own. Given next_file, the
// input's end is that of the first file, and the next follow.
int run_table(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
              const Layout& layout, bool typed_on_screen = false, const NextFile& next_file = {});

// The same points as one GeoJSON FeatureCollection: its features written
// whole, each record held until its feature is out, and the collection
// closed whatever ends the run (but a lost output): after a refused line,
// a read error or a stop, after its last whole feature.
int run_geojson(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
                const Layout& layout, const NextFile& next_file = {});

}  // namespace geochain
