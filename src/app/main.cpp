#include "app/BatchCommand.h"
#include "app/CommandLine.h"
#include "app/DesktopModule.h"
#include "app/EvalCommand.h"
#include "app/MergeCommand.h"

#include <cstring>
#include <iostream>

// Qt is loaded only by the modes that use it (the window, the PDF report), from the window
// module, so that a command-line run starts as fast as a plain program.
int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--eval") == 0)
        return probex::RunEvalCommand(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "--batch") == 0)
        return probex::RunBatchCommand(argc - 2, argv + 2, std::cout, std::cerr,
                                       probex::WriteReportPdfFromModule);
    if (argc >= 2 && std::strcmp(argv[1], "--merge") == 0)
        return probex::RunMergeCommand(argc - 2, argv + 2, std::cout, std::cerr,
                                       probex::WriteReportPdfFromModule);
    if (const auto exitCode =
            probex::HandleGeneralOptions(argc - 1, argv + 1, std::cout, std::cerr))
        return *exitCode;
    if (!probex::DisplayAvailable()) return probex::ReportNoDisplay(std::cerr);
    return probex::RunDesktopModule(argc, argv, std::cerr);
}
