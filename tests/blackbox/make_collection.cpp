// Writes a collection of many tracks into a program folder and names it in
// the folder's default file, so that the program loads it at start-up.
// Usage: make_collection <program folder> <tracks>
#include <cstdio>
#include <string>

#include "support/big_collection.h"
#include "support/program_harness.h"

int main(int argc, char** argv) {
    using namespace tarvolin;
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_collection <program folder> <tracks>\n");
        return 2;
    }
    ProgramHarness doubles(false);
    Program app(doubles.services(), argv[1]);
    std::puts(makeBigCollection(app, std::stoi(argv[2])).c_str());
    app.collection.Save_Last_Collection();
    return 0;
}
