#pragma once
// The texts the track tables and the filter set are made of: a track's row
// and its value for each filter box.
#include <cstdint>
#include <string>

namespace tarvolin {

class Program;
struct Form1;

namespace tracktable {

// The class name that filter box 0 lists at class code cls ("" when none).
std::string className(const Form1& f, int cls);

// The row of track i (507 characters: eleven fixed-width fields, each
// followed by "|"), without the two track numbers of its table line.
std::string buildRow(Program& app, std::int32_t i);

// The value of track i that filter box k (0..8) is compared with.
std::string trackValue(Program& app, int k, std::int32_t i);

}  // namespace tracktable
}  // namespace tarvolin
