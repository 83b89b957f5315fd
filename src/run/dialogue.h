// The exchange with the operator: one point per cycle until the answer "0".
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "geodesy/records.h"
#include "io/line_input.h"
#include "io/number_input.h"
#include "io/results_log.h"
#include "text/columns.h"

namespace geochain {

// Who answers the prompts. An operator at a terminal can type an entry
// again; a file or a pipe cannot, so there it is read by its lines, and the
// first line that is not what the dialogue expects ends the run before
// anything on it is computed.
enum class InputMode { terminal, batch };

enum class PointStatus {
    complete,     // X, Y and h taken
    no_point,     // input ended before anything of the point was taken
    ended,        // the run ends inside the point, for the reason given
    output_lost,  // standard output can no longer be written
};

struct PointReading {
    PointStatus status;
    PlanePoint point;
    GeographicCoords etrs;  // back from ETRS89: its fi and lambda; point.h its h
    std::string reason;     // of an ended point: the line for standard error
};

// Prompts an operator at a terminal for X, Y and h (with ETRS89 asked for,
// the normal height H; back from it, fi, lambda and h) and reads them. An
// invalid entry is reported, the rest of its line dropped and the same
// prompt written again.
PointReading read_point(InputLines& in, std::ostream& out, const ChainOptions& chain = {});

// Runs the dialogue over the given streams and returns the exit status: 0
// when the operator answers "0" or the input ends between points; 1 when it
// ends inside a point, when batch input holds a line it cannot take, when
// the input cannot be read, or when the output is lost. Each point's log
// record waits in `log` until the output tells that its report is out.
// Batch lines are read by the layout, from the files that next_file opens
// when it is given.
int run_dialogue(std::istream& in, std::ostream& out, std::ostream& err, PendingRecords& log,
                 InputMode mode, const Layout& layout = Layout{}, const NextFile& next_file = {});

}  // namespace geochain
