// The gallery: the package's demo. It shows what the framework and the
// controls can do; without a display it prints and writes snapshots.
#include "FrameworkTour.h"

#include <iostream>

int main() {
    const bool Ok = gallery::RunFrameworkTour(std::cout);
    std::cout << (Ok ? "All framework checks came out right.\n"
                     : "Something did not come out right.\n");
    return Ok ? 0 : 1;
}
