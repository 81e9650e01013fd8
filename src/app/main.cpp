#include "app/BatchCommand.h"
#include "app/CommandLine.h"
#include "app/EvalCommand.h"
#include "gui/app/DesktopProgram.h"
#include "gui/results/ReportPdf.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--eval") == 0)
        return probex::RunEvalCommand(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0)
        return probex::RunBatchCommand(argc - 2, argv + 2, std::cout, std::cerr,
                                       probex::WriteReportPdf);
    if (const auto exitCode =
            probex::HandleGeneralOptions(argc - 1, argv + 1, std::cout, std::cerr))
        return *exitCode;
    if (!probex::DisplayAvailable()) return probex::ReportNoDisplay(std::cerr);
    return probex::RunDesktopProgram(argc, argv);
}
