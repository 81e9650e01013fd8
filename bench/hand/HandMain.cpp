// probex_hand MODEL: one hand-written run of the beam or poly model as a process of its own,
// for timing against `probex --batch` from process start to exit.

#include "hand/HandLoops.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    using namespace probex::bench;
    if (argc != 2 || (std::strcmp(argv[1], "beam") != 0 && std::strcmp(argv[1], "poly") != 0)) {
        std::fprintf(stderr, "usage: probex_hand beam|poly\n");
        return 2;
    }
    const probex::Extended p = std::strcmp(argv[1], "beam") == 0 ? HandBeam() : HandPoly();
    std::printf("Probability: %.8Lf\n", p);
    return 0;
}
