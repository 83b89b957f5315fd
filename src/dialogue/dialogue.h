// The exchange with the operator: one point per cycle until the answer "0".
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "geodesy/records.h"

namespace geochain {

enum class PointStatus {
    complete,     // X, Y and h taken
    no_point,     // input ended before anything of the point was taken
    incomplete,   // input ended after X, or X and Y
    output_lost,  // standard output can no longer be written
};

struct PointReading {
    PointStatus status;
    PlanePoint point;
};

// Prompts for X, Y and h and reads them. An invalid entry is reported, the
// rest of its line dropped and the same prompt written again.
PointReading read_point(std::istream& in, std::ostream& out);

// Runs the dialogue over the given streams, logging every point to log_path,
// and returns the exit status: 0 when the operator answers "0" or the input
// ends between points, 1 when it ends inside a point or the output is lost.
int run_dialogue(std::istream& in, std::ostream& out, std::ostream& err,
                 const std::string& log_path);

// The dialogue on the process's standard streams.
int run_dialogue();

}  // namespace geochain
