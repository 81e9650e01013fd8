#include "project/ProjectReader.h"

#include "components/Prompter.h"
#include "engine/Expression.h"
#include "project/CorrelationsSection.h"
#include "project/LayoutFile.h"
#include "project/ProjectDocument.h"
#include "project/ProjectLines.h"
#include "project/ResultWindowSections.h"
#include "project/SensitivitySections.h"
#include "settings/FileAccess.h"
#include "settings/NumberText.h"
#include "settings/Settings.h"
#include "settings/TextLines.h"
#include "simulation/OutEquations.h"
#include "simulation/OutputTable.h"
#include "variables/DistributionFile.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"
#include "variables/InputTable.h"
#include "variables/InversionKinds.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace probex {

namespace {

/// Files written by this program give a uniform input the mean and standard deviation its
/// range implies; reading them back is no reason to warn. Any other value still is.
bool IsDerivedUniformMoment(const TIis& iis, const std::string& key, const std::string& text,
                            char decimalSep) {
    if (iis.Kind != DistKind::dkUniform || (key != "mean" && key != "stdev")) return false;
    Extended value = 0;
    if (!TryStrToExtended(text, decimalSep, value)) return false;
    const Extended derived =
        key == "mean" ? (iis.Min + iis.Max) / 2 : (iis.Max - iis.Min) / std::sqrt(Extended{12});
    // The fixed form rounds the range and the moment to 8 decimals each.
    const Extended tolerance = 2e-8L + 1e-12L * std::max(std::fabs(iis.Min), std::fabs(iis.Max));
    return std::fabs(value - derived) <= tolerance;
}

enum class Section {
    None,
    Main,
    Equations,
    Variables,
    OutEquations,
    OutEvaluation,
    OutVariables,
    OutStatistics,
    Out1D,
    Out2D,
    OutProbabilities,
    OutQuantiles,
    OutSensitivity,
    Correlations,
};

/// Tested in this order; a later hit replaces an earlier one, so "[Out.Equations]" is not
/// taken for "[Equations]".
constexpr std::pair<const char*, Section> SectionNames[] = {
    {"Equations]", Section::Equations},
    {"Out.Equations]", Section::OutEquations},
    {"Variables]", Section::Variables},
    {"Out.Variables]", Section::OutVariables},
    {"Out.Evaluation]", Section::OutEvaluation},
    {"Out.Statistics]", Section::OutStatistics},
    {"Out.1D]", Section::Out1D},
    {"Out.2D]", Section::Out2D},
    {"Out.Quantiles]", Section::OutQuantiles},
    {"Out.Probabilities]", Section::OutProbabilities},
    {"Out.Sensitivity]", Section::OutSensitivity},
    {"Correlations]", Section::Correlations},
};

std::optional<ResultWindowKind> WindowKindOf(Section section) {
    switch (section) {
    case Section::OutStatistics:
        return ResultWindowKind::Statistics;
    case Section::Out1D:
        return ResultWindowKind::OneD;
    case Section::Out2D:
        return ResultWindowKind::TwoD;
    case Section::OutProbabilities:
        return ResultWindowKind::Probability;
    case Section::OutQuantiles:
        return ResultWindowKind::Quantile;
    default:
        return std::nullopt;
    }
}

/// Windows already open for the row's variable follow its discrete and recalculate cells, as
/// they show them. A file with its window sections before [Out.Variables] would otherwise be
/// saved with the windows' older flags after the row's, and read back with those.
void FollowOutputRow(ProjectDocument& model, int row) {
    const TOutputTable& outputs = model.outputs();
    const bool discrete = outputs.cell(row, colDiscrete) == "Yes";
    const auto shows = [&](const std::string& variable) {
        return outputs.FindOutputRow(variable) == row;
    };
    TResultWindows& windows = model.resultWindows;
    for (T1DWindowDesc& window : windows.oneD) {
        if (!shows(window.variable)) continue;
        window.discrete = discrete;
        window.recalculate = outputs.cell(row, colRecalculate) == "Yes";
    }
    for (auto* list : {&windows.probabilities, &windows.quantiles})
        for (TPQWindowDesc& window : *list)
            if (shows(window.variable)) window.discrete = discrete;
}

class Reader {
public:
    Reader(ProjectDocument& model, std::string projectDirectory)
        : m_model(model), m_settings(model.settings()), m_prompter(model.prompter()),
          m_projectDirectory(std::move(projectDirectory)), m_listSep(1, m_settings.ListSep) {
        ResetPendingWindow(m_pending, m_settings);
    }

    ReadResult read(std::string_view text);

private:
    /// False when the reading is to end (a declined version question).
    bool line(const std::string& line);
    void header(const std::string& line);
    bool mainKey(const std::string& line);
    bool acceptVersion(const std::string& value);
    void variableLine(const std::string& line);
    /// False when the line must not go on to its comment.
    bool variableType(int row, const std::string& type, const std::string& line);
    void constantParameters(int row, const std::string& par);
    void distributionParameters(int row, const std::string& par, DistKind kind);
    bool distributionFile(int row, const std::string& type);
    void unsupported(int row, const std::string& key);
    void outputLine(const std::string& line);
    void evaluationKey(const std::string& line);
    void finishPendingWindow();

    std::string field(std::string_view line, int n) const {
        return ExtractField(line, m_listSep, n);
    }

    ProjectDocument& m_model;
    TSettings& m_settings;
    Prompter& m_prompter;
    std::string m_projectDirectory; ///< a distribution file may also lie beside the project
    std::string m_listSep;
    Section m_section = Section::None;
    bool m_versionAccepted = false;
    PendingWindow m_pending;
    TSensWindowDesc m_pendingSensitivity;
    std::vector<TCorrelation> m_correlationsRead; ///< the pairs of this file, each allowed once
    ReadResult m_result;
};

ReadResult Reader::read(std::string_view text) {
    try {
        for (const std::string_view raw : SplitTextLines(text)) {
            const std::string trimmed = TrimBlanks(raw);
            if (trimmed.empty()) continue;
            if (!line(trimmed)) {
                m_result.outcome = ReadOutcome::Declined;
                break;
            }
        }
        finishPendingWindow();
    } catch (const ConversionError& error) {
        m_prompter.error(error.what());
        m_result.outcome = ReadOutcome::Stopped;
    }
    return m_result;
}

void Reader::finishPendingWindow() {
    if (const auto kind = WindowKindOf(m_section)) FinishWindowSection(m_model, *kind, m_pending);
    if (m_section == Section::OutSensitivity)
        FinishSensitivitySection(m_model, m_pendingSensitivity);
}

bool Reader::line(const std::string& line) {
    if (line[0] == '[') {
        header(line);
        return true;
    }
    switch (m_section) {
    case Section::None:
        return true;
    case Section::Main:
        return mainKey(line);
    case Section::Equations:
        m_model.equations.push_back(line);
        m_model.InvalidateResults();
        return true;
    case Section::OutEquations:
        m_model.outEquationLines.push_back(line);
        m_model.outEquations().ClearOutResults();
        return true;
    case Section::Variables:
        variableLine(line);
        return true;
    case Section::OutVariables:
        outputLine(line);
        return true;
    case Section::OutEvaluation:
        evaluationKey(line);
        return true;
    case Section::OutSensitivity:
        ReadSensitivitySectionLine(m_model, m_pendingSensitivity, line);
        return true;
    case Section::Correlations:
        ReadCorrelationLine(m_model, line, m_correlationsRead);
        return true;
    default:
        ReadWindowSectionLine(m_model, *WindowKindOf(m_section), m_pending, line);
        return true;
    }
}

void Reader::header(const std::string& line) {
    finishPendingWindow();
    m_section = Section::None;
    if (line.find("Main]") != std::string::npos) m_section = Section::Main;
    // Before a version is accepted only [Main] is read.
    if (!m_versionAccepted) return;
    for (const auto& [name, section] : SectionNames)
        if (line.find(name) != std::string::npos) m_section = section;
}

bool Reader::mainKey(const std::string& line) {
    const KeyValue entry = ParseKeyValue(line, m_settings.ListSep);
    if (entry.key == "version") {
        m_result.fileVersion = entry.value;
        if (!acceptVersion(entry.value)) return false;
        m_versionAccepted = true;
    } else if (entry.key == "identification") {
        m_model.identification = FreeTextValue(line, m_settings.ListSep);
    } else if (entry.key == "steps") {
        m_model.setLastStep(StrToInt(entry.value));
    }
    // "seed1" and "seed2" of older files are known and have no effect.
    return true;
}

bool Reader::acceptVersion(const std::string& value) {
    std::string question;
    if (value.empty()) {
        question = "Input file for unknown version of Probex!  Read anyway?";
    } else if (value == "2") {
        return true;
    } else if (value.size() >= 2 && value[0] == '2' && value[1] == '.') {
        // Only the first digit after "2." counts: "2.10" and "2.5.1" are read as 2.1 and 2.5.
        if (StrToInt(value.substr(2, 1)) <= 5) return true;
        question = "Input file for Probex version " + value + " !  Read anyway ?";
    } else {
        question = "Input file for Probex version " + value + " !  Read anyway ?";
    }
    return m_prompter.message(Prompter::Kind::Warning, question, Prompter::Buttons::YesNo) ==
           Prompter::Answer::Yes;
}

void Reader::variableLine(const std::string& line) {
    TInputTable& inputs = m_model.inputs();
    const std::string name = TrimLeadingBlanks(field(line, 1));
    if (!name.empty() && inputs.FindVarRow(name) == 0 && !inputs.AddInputVariable(name)) {
        m_prompter.error("Too many variables!");
        return;
    }
    int row = inputs.FindVarRow(name);
    if (row == 0) row = inputs.FirstEmptyRow();
    if (row == 0) {
        m_prompter.error("Too many variables!");
        return;
    }
    const std::string type = TrimBlanks(field(line, 2));
    if (!type.empty() && !variableType(row, type, line)) return;
    // The comment is the last field: a list separator in it is part of the text.
    const std::string comment = TrimBlanks(FieldsFrom(line, m_listSep, 4));
    if (!comment.empty()) {
        inputs.SetCommentCell(row, comment);
        inputs.record(row).Comment = inputs.cell(row, InputColumn::Comment);
    }
}

bool Reader::variableType(int row, const std::string& type, const std::string& line) {
    TInputTable& inputs = m_model.inputs();
    const std::string lower = LowerAscii(type);
    struct Parametric {
        const char* word;
        const char* cell;
        DistKind kind;
    };
    static constexpr Parametric parametric[] = {
        {"exponential", "Exponential", DistKind::dkExponential},
        {"lognormal", "Lognormal", DistKind::dkLognormal},
        {"normal", "Normal", DistKind::dkNormal},
        {"uniform", "Uniform", DistKind::dkUniform},
        {"gumbel", "Gumbel", DistKind::dkGumbel},
        {"gumbelmin", "GumbelMin", DistKind::dkGumbelMin},
        {"weibull", "Weibull", DistKind::dkWeibull},
        {"gamma", "Gamma", DistKind::dkGamma},
        {"beta", "Beta", DistKind::dkBeta},
        {"triangular", "Triangular", DistKind::dkTriangular},
        {"pert", "PERT", DistKind::dkPert},
    };
    const auto setKind = [&inputs, row](DistKind kind, const char* cell) {
        TIis& iis = inputs.record(row);
        FreeHistogram(iis); // a former histogram's urn must not outlive it
        iis.Kind = kind;
        SetDefaultParameters(iis);
        inputs.setCellText(row, InputColumn::Type, cell);
    };
    if (lower == "constant") {
        setKind(DistKind::dkConstant, "Constant");
        constantParameters(row, LowerAscii(TrimBlanks(field(line, 3))));
        return true;
    }
    if (lower == "step number") {
        setKind(DistKind::dkStepNumber, "Step number");
        inputs.setCellText(row, InputColumn::Parameters, "No parameter");
        return true;
    }
    for (const Parametric& p : parametric) {
        if (lower != p.word) continue;
        setKind(p.kind, p.cell);
        distributionParameters(row, LowerAscii(TrimBlanks(field(line, 3))), p.kind);
        return true;
    }
    return distributionFile(row, lower);
}

void Reader::unsupported(int row, const std::string& key) {
    if (m_settings.IgnoreUnsupParams) return;
    m_prompter.warning("Unsupported parameter: " + key + " for variable " +
                       m_model.inputs().cell(row, InputColumn::Variable));
}

void Reader::constantParameters(int row, const std::string& par) {
    TInputTable& inputs = m_model.inputs();
    TIis& iis = inputs.record(row);
    // Without a usable value the cell still has to say what the record holds: "Value=0".
    inputs.FillParametersCell(row);
    if (par.empty()) return;
    const std::size_t equal = par.find('=');
    const std::string key = par.substr(0, equal);
    if (key != "value") {
        unsupported(row, key);
        return;
    }
    std::string x = equal == std::string::npos ? std::string() : par.substr(equal + 1);
    x = x.substr(0, x.find('='));
    if (const TConstantRec* constant = FindNamedConstant(x)) {
        iis.Loc = constant->Value;
        iis.ConstCaption = constant->Caption;
        inputs.setCellText(row, InputColumn::Parameters, std::string("Value=") + constant->Caption);
    } else {
        iis.ConstCaption.clear();
        Extended value = 0;
        if (TryStrToExtended(x, m_settings.DecimalSep, value)) {
            iis.Loc = value;
            inputs.setCellText(row, InputColumn::Parameters,
                               "Value=" + FormatShortest(value, m_settings.DecimalSep));
        } else {
            m_prompter.error("Invalid value: " + x);
            iis.Loc = 0;
            inputs.setCellText(row, InputColumn::Parameters, "Value=0.0");
        }
    }
    const std::string problem = CheckParameters(iis);
    if (!problem.empty()) m_prompter.error(problem);
}

void Reader::distributionParameters(int row, const std::string& par, DistKind kind) {
    const bool mode = EntersMode(kind);
    const bool moments = kind != DistKind::dkUniform && !mode;
    TInputTable& inputs = m_model.inputs();
    TIis& iis = inputs.record(row);
    std::size_t start = 0;
    while (start < par.size()) {
        const std::size_t blank = par.find(' ', start);
        const std::string token =
            par.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        // An empty token (two blanks in a row) ends the list.
        if (token.empty()) break;
        const std::size_t equal = token.find('=');
        const std::string key = token.substr(0, equal);
        std::string value = equal == std::string::npos ? std::string() : token.substr(equal + 1);
        value = value.substr(0, value.find('='));
        Extended* target = nullptr;
        if (key == "min") target = &iis.Min;
        if (key == "max") target = &iis.Max;
        if (moments && key == "mean") target = &iis.Mean;
        if (moments && key == "stdev") target = &iis.StDev;
        if (mode && key == "mode") target = &iis.Mode;
        if (target == nullptr) {
            if (!IsDerivedUniformMoment(iis, key, value, m_settings.DecimalSep))
                unsupported(row, key);
        } else if (!TryStrToExtended(value, m_settings.DecimalSep, *target)) {
            m_prompter.error("Invalid value: " + value);
            *target = 0;
        }
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    const std::string problem = CheckParameters(iis);
    if (!problem.empty()) m_prompter.error(problem);
    inputs.FillParametersCell(row);
}

bool Reader::distributionFile(int row, const std::string& type) {
    TInputTable& inputs = m_model.inputs();
    TIis& iis = inputs.record(row);
    const auto undefined = [&] {
        FreeHistogram(iis);
        inputs.setCellText(row, InputColumn::Type, "SavedDistribution");
        return false;
    };
    // Written on another system the name may carry a drive and "\": the file-name part
    // is looked for in the distributions directory, letter case ignored.
    std::string path = FindDistributionFile(type, m_settings.DistDirPath);
    if (path.empty() && !m_projectDirectory.empty())
        path = FindDistributionFile(type, m_projectDirectory); // shipped with the project
    if (path.empty()) {
        m_prompter.error("File " + type + " not found!");
        return undefined();
    }
    inputs.setCellText(row, InputColumn::Type, FileNamePart(type));
    TLis lis;
    const DistributionFileFormat format{m_settings.DecimalSep, m_settings.ListSep};
    bool built = ReadDistributionFile(path, lis, format, m_prompter);
    if (built) {
        try {
            built = BuildHistogram(lis, iis, m_prompter);
        } catch (const ELoadError& error) {
            m_prompter.error(error.what());
            built = false;
        }
    }
    if (!built) {
        m_prompter.error("Error in file " + type + " !");
        return undefined();
    }
    inputs.FillParametersCell(row);
    inputs.setCellText(row, InputColumn::Comment, iis.Comment);
    return true;
}

void Reader::outputLine(const std::string& line) {
    TOutputTable& outputs = m_model.outputs();
    const std::string name = TrimBlanks(field(line, 1));
    // The writer never writes a row without a name; such a line names nothing to update.
    if (name.empty()) return;
    int row = outputs.FindOutputRow(name);
    if (row == 0) {
        if (outputs.AddOutputVariable(name, true) == 0) {
            m_prompter.error("Can't allocate variable " + name + " !");
            return;
        }
        row = outputs.FindOutputRow(name);
        if (row == 0) {
            m_prompter.error("Can't locate variable " + name + " !");
            return;
        }
    }
    const std::string activity = LowerAscii(TrimBlanks(field(line, 2)));
    for (const Activity level :
         {Activity::Inactive, Activity::Statistics, Activity::Histogram, Activity::Log})
        if (activity == LowerAscii(ActivityWord(level)))
            outputs.setCell(row, colActivity, ActivityWord(level));
    const auto yesNo = [&](int n, bool fallback) {
        const std::string word = LowerAscii(TrimBlanks(field(line, n)));
        const bool yes = word == "yes" || (word != "no" && fallback);
        return std::string(yes ? "Yes" : "No");
    };
    outputs.setCell(row, colDiscrete, yesNo(3, m_settings.Discrete1D));
    outputs.setCell(row, colRecalculate, yesNo(4, m_settings.Recalc1D));
    outputs.setCell(row, colComment, FieldsFrom(line, m_listSep, 5));
    FollowOutputRow(m_model, row);
}

void Reader::evaluationKey(const std::string& line) {
    const KeyValue entry = ParseKeyValue(line, m_settings.ListSep);
    TOutEquations& out = m_model.outEquations();
    TOutEvalSettings& eval = out.evalSettings();
    const char sep = m_settings.DecimalSep;
    const std::string& key = entry.key;
    if (key == "evaluate") {
        const std::string mode = LowerAscii(entry.value);
        out.setMode(mode == "parameter"     ? OutEvalMode::Parameter
                    : mode == "probability" ? OutEvalMode::Probability
                                            : OutEvalMode::Inactive);
    } else if (key == "parameter") {
        eval.ParName = entry.value;
    } else if (key == "probability") {
        eval.Target = StrToExtended(entry.value, sep);
    } else if (key == "min") {
        eval.ParMin = StrToExtended(entry.value, sep);
    } else if (key == "max") {
        eval.ParMax = StrToExtended(entry.value, sep);
    } else if (key == "maxiteration") {
        eval.MaxIter = StrToInt(entry.value);
    } else if (key == "maxdiff" || key == "maxdifference") {
        eval.MaxDiff = StrToExtended(entry.value, sep);
    } else if (key == "stoprule") {
        eval.StopRule = LowerAscii(entry.value) == "yes";
    } else if (key == "targetcov") {
        eval.TargetCoV = StrToExtended(entry.value, sep);
    } else if (key == "minsteps") {
        eval.MinSteps = StrToInt(entry.value);
    } else if (key == "method") {
        // An unknown method word leaves the count over the run in force.
        MethodFromWord(TrimBlanks(entry.value), eval.Reliability.Method);
    } else if (key == "formiterations") {
        eval.Reliability.FormMaxIter = StrToInt(entry.value);
    } else if (key == "formstarts") {
        eval.Reliability.FormStarts = StrToInt(entry.value);
    } else if (key == "issamples") {
        eval.Reliability.IsSamples = StrToInt(entry.value);
    } else if (key == "subsetsamples") {
        eval.Reliability.SubsetSamples = StrToInt(entry.value);
    } else if (key == "subsetlevels") {
        eval.Reliability.SubsetMaxLevels = StrToInt(entry.value);
    }
}

} // namespace

bool IsProjectText(std::string_view text, char listSeparator) {
    bool inMain = false;
    // Either line end counts, so that the test holds whichever line ends the reader takes.
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string line = TrimBlanks(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty()) continue;
        if (line[0] == '[')
            inMain = line.find("Main]") != std::string::npos;
        else if (inMain && ParseKeyValue(line, listSeparator).key == "version")
            return true;
    }
    return false;
}

std::optional<std::string> LoadProjectFile(const std::string& path, Prompter& prompter,
                                           char listSeparator) {
    std::string text;
    if (const std::string error = ReadWholeFile(path, text); !error.empty()) {
        prompter.error(error);
        return std::nullopt;
    }
    if (!IsProjectText(text, listSeparator)) {
        prompter.error("File \"" + path + "\" is not a Probex project");
        return std::nullopt;
    }
    return text;
}

ReadResult ReadProjectText(ProjectDocument& model, std::string_view text,
                           const std::string& projectDirectory) {
    return Reader(model, projectDirectory).read(text);
}

std::string ProjectDirectoryOf(const std::string& projectFile) {
    const std::string folder = std::filesystem::path(projectFile).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

void ApplyLayoutFile(ProjectDocument& model, const std::string& projectFile, LayoutKeeper& layout) {
    std::array<std::size_t, 5> counts{};
    for (const ResultWindowKind kind : AllResultWindowKinds)
        counts[static_cast<std::size_t>(kind)] = model.resultWindows.count(kind);
    if (const auto read = ReadLayoutFile(LayoutFileName(projectFile), counts,
                                         model.resultWindows.sensitivity.size()))
        layout.applyLayout(*read);
}

ReadResult ReadProject(ProjectDocument& model, const std::string& path, bool restoreLayout,
                       LayoutKeeper* layout) {
    const std::optional<std::string> text =
        LoadProjectFile(path, model.prompter(), model.settings().ListSep);
    if (!text) return {ReadOutcome::NotOpened, std::nullopt};
    const ReadResult result = ReadProjectText(model, *text, ProjectDirectoryOf(path));
    if (result.outcome != ReadOutcome::Stopped && restoreLayout && layout != nullptr &&
        model.settings().SaveWinPos)
        ApplyLayoutFile(model, path, *layout);
    return result;
}

} // namespace probex
