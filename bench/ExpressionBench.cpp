// Evaluations per second: the compiled schedule against the literal two-stack evaluation,
// side by side for each expression ("<name>/schedule" and "<name>/reference").

#include "engine/Expression.h"
#include "engine/ReferenceEvaluator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace probex {
namespace {

std::string LongChain() {
    static const char ops[] = "+-*/";
    std::string text = "a";
    for (int i = 1; i < 100; ++i) {
        text += ops[i % 4];
        text += "abcd"[i % 4];
    }
    return text;
}

std::string DeepFunctions() {
    static const char* const fns[] = {"SIN", "COS", "ATAN", "ABS", "LN(1+ABS"};
    std::string text = "a";
    for (int i = 0; i < 30; ++i) {
        text = std::string(fns[i % 5]) + "(" + text + ")";
        if (i % 5 == 4) text += ")"; // closes "LN(1+ABS"
    }
    return text;
}

struct Prepared {
    tCompiledEquation compiled;
    tVars vars;
};

std::unique_ptr<Prepared> Prepare(const std::string& text) {
    auto p = std::make_unique<Prepared>();
    TEquError error;
    CompileExpression(text, p->compiled, p->vars, error);
    if (error.Code != 0) {
        std::fprintf(stderr, "bench expression does not compile (%d at %d): %s\n", error.Code,
                     error.Pos, text.c_str());
        std::abort();
    }
    static const Extended values[] = {1.25L, 0.75L, 2.5L, 0.4L};
    for (int i = 1; i <= p->vars.Count; ++i)
        p->vars.Values[i] = values[(i - 1) % 4];
    const tEvalResult check = EvaluateExpression(p->compiled, p->vars);
    if (check.Code != 0) {
        std::fprintf(stderr, "bench expression fails (%d): %s\n", check.Code, text.c_str());
        std::abort();
    }
    return p;
}

void Schedule(benchmark::State& state, const Prepared* p) {
    for (auto _ : state) {
        tEvalResult r = EvaluateExpression(p->compiled, p->vars);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}

void Reference(benchmark::State& state, const Prepared* p) {
    test::ReferenceEvaluator evaluator;
    for (auto _ : state) {
        tEvalResult r = evaluator.run(p->compiled, p->vars);
        benchmark::DoNotOptimize(r);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

void RegisterAll() {
    struct Case {
        const char* name;
        std::string text;
    };
    static const Case cases[] = {
        {"Short", "a*b+c"},
        {"Chain100", LongChain()},
        {"NestedFunctions", "SIN(COS(LN(ABS(a)+1)))"},
        {"DeepFunctions", DeepFunctions()},
        {"Powers", "a^2+b^3.5"},
        {"Mixed", "(a+b*c-d/(1+a^2))*SIN(b)-LOG(ABS(c)+1)^2 DIV 1+COS(a*b)^0.5+INT(d*100) MOD "
                  "7-ATAN(a/b)-(c-d)*ZERO(a-b)"},
    };
    for (const Case& c : cases) {
        Prepared* p = Prepare(c.text).release(); // lives for the whole run
        benchmark::RegisterBenchmark((std::string(c.name) + "/schedule").c_str(), Schedule, p);
        benchmark::RegisterBenchmark((std::string(c.name) + "/reference").c_str(), Reference, p);
    }
}

} // namespace probex

int main(int argc, char** argv) {
    probex::RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
