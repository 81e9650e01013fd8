#include "app/EvalCommand.h"
#include "app/ui/DesktopProgram.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--eval") == 0)
        return probex::RunEvalCommand(argc - 2, argv + 2);
    return probex::RunDesktopProgram(argc, argv);
}
