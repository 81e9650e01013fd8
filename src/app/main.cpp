#include "app/EvalCommand.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintUsage() {
    std::fprintf(stderr, "usage: probex --eval \"EXPR\" [NAME=VALUE ...]\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--eval") == 0)
        return probex::RunEvalCommand(argc - 2, argv + 2);
    PrintUsage();
    return 2;
}
