#pragma once

// The reference models of the benchmarks and a project that runs them as a user would.

#include "hand/Models.h"

#include "components/Prompter.h"
#include "model/ProjectModel.h"
#include "settings/Settings.h"
#include "variables/Distributions.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace probex::bench {

/// Fails the benchmark on any message.
class SilentPrompter : public Prompter {
public:
    Answer message(Kind, const std::string& text, Buttons) override {
        throw std::runtime_error("unexpected message: " + text);
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
};

/// A project set up as a user would: equations, typed inputs, logged outputs, a probability.
struct EngineRun {
    TSettings settings = MakeDefaultSettings("/tmp/");
    SilentPrompter prompter;
    DirectCall direct;
    ProjectModel model{settings, prompter, direct};

    /// interleaved: several steps at a time, as programs run; off, one by one.
    explicit EngineRun(const ModelDescription& description, bool interleaved = true) {
        model.interleavedRuns = interleaved;
        model.equations = description.equations;
        for (const InputDescription& in : description.inputs) {
            model.inputs().AddInputVariable(in.name);
            const int row = model.inputs().FindVarRow(in.name);
            model.inputs().commitCell(row, InputColumn::Type, in.type);
            TIis& iis = model.inputs().record(row);
            iis.Min = in.min;
            iis.Max = in.max;
            iis.Mean = in.mean;
            iis.StDev = in.stdev;
            if (!CheckParameters(iis).empty()) throw std::runtime_error("bad parameters");
        }
        model.outEquationLines = {description.condition};
        model.outEquations().setMode(OutEvalMode::Probability);
        if (!model.CompileModel()) throw std::runtime_error("model does not compile");
        for (const std::string& name : description.logged)
            model.outputs().editCell(model.outputs().FindOutputRow(name), colActivity, "Log");
        model.autoSeed = false;
        settings.Seed1 = RunSeed;
        model.setLastStep(Steps);
    }

    Extended run() {
        model.Reset();
        model.RunStop();
        model.waitForRun();
        return model.outEquations().result().Value;
    }
};

} // namespace probex::bench
