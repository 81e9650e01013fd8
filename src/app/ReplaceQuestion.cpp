#include "app/ReplaceQuestion.h"

#include "components/Prompter.h"
#include "project/ProjectReader.h"
#include "results/OwnFiles.h"
#include "settings/FileAccess.h"

#include <filesystem>
#include <system_error>

namespace probex {

namespace {

bool WrittenByProbex(const std::string& path, WrittenKind kind, char listSeparator) {
    switch (kind) {
    case WrittenKind::Project: {
        std::string text;
        return ReadWholeFile(path, text).empty() && IsProjectText(text, listSeparator);
    }
    case WrittenKind::Report:
        return IsReportPdf(FileStart(path));
    case WrittenKind::Results:
        return IsResultFileText(path, FileStart(path));
    }
    return false;
}

const char* KindName(WrittenKind kind) {
    switch (kind) {
    case WrittenKind::Project:
        return "a Probex project";
    case WrittenKind::Report:
        return "a Probex report";
    case WrittenKind::Results:
        return "a Probex result file";
    }
    return "";
}

} // namespace

bool MayReplace(const std::string& path, WrittenKind kind, char listSeparator, Prompter& prompter) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) return true;
    if (WrittenByProbex(path, kind, listSeparator)) return true;
    return prompter.confirm("\"" + path + "\" exists and is not " + KindName(kind) +
                                ". Replace it?",
                            Prompter::Buttons::YesNo) == Prompter::Answer::Yes;
}

} // namespace probex
