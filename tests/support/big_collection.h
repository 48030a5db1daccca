#pragma once
// A full collection for the benchmarks: the largest number of tracks, with
// Greek paths and tags, every class, some tracks played, saved to
// tarvolin_sylloges/<name>.tlf under the program's folder.
#include <string>

namespace tarvolin {

class Program;

// Fills the program's tables and lists with `tracks` tracks (the files
// need not exist) and saves the collection; gives its path. Aborts when
// the save fails.
std::string makeBigCollection(Program& app, int tracks, const std::string& name = "big");

}  // namespace tarvolin
