#include "ReliabilityFixture.h"
#include "support/Records.h"

#include <cmath>

namespace probex::test {
namespace {

constexpr Extended PhiMinusSqrt2 = 0.0786496035251426L;
constexpr Extended PhiMinus5 = 2.866515718791939e-7L;

TEST(Form, ResistanceMinusLoadHasBetaSqrt2AndSormAgrees) {
    for (ReliabilityMethod m : {ReliabilityMethod::Form, ReliabilityMethod::Sorm}) {
        SCOPED_TRACE(MethodCaption(m));
        auto model = ResistanceLoad();
        ASSERT_EQ(model->bind(m), "");
        TReliabilityResult result;
        ASSERT_EQ(model->evaluate(result), 0);
        EXPECT_TRUE(result.Converged);
        EXPECT_NEAR(result.Beta, std::sqrt(2.0L), 1e-7L);
        EXPECT_NEAR(result.Estimate.Probability, PhiMinusSqrt2, 1e-8L);
        // R resists (α < 0), S loads (α > 0), and the design point lies on R = S.
        ASSERT_EQ(result.DesignPoint.size(), 2u);
        EXPECT_LT(result.DesignPoint[0].alpha * result.DesignPoint[1].alpha, 0);
        EXPECT_NEAR(result.DesignPoint[0].x, 3, 1e-6L);
        EXPECT_NEAR(result.DesignPoint[1].x, 3, 1e-6L);
        EXPECT_TRUE(result.Warnings.empty());
        EXPECT_EQ(result.HasSorm, m == ReliabilityMethod::Sorm);
    }
}

TEST(Form, TenInputsHaveBeta5AndEqualImportance) {
    for (ReliabilityMethod m : {ReliabilityMethod::Form, ReliabilityMethod::Sorm}) {
        SCOPED_TRACE(MethodCaption(m));
        auto model = TenInputs();
        ASSERT_EQ(model->bind(m), "");
        TReliabilityResult result;
        ASSERT_EQ(model->evaluate(result), 0);
        EXPECT_NEAR(result.Beta, 5, 1e-7L);
        EXPECT_NEAR(result.Estimate.Probability / PhiMinus5, 1, 1e-6L);
        Extended sum = 0;
        for (const TDesignCoordinate& c : result.DesignPoint) {
            EXPECT_NEAR(c.alpha * c.alpha, 0.1L, 1e-7L);
            EXPECT_NEAR(c.x, 5 / std::sqrt(10.0L), 1e-6L);
            sum += c.alpha * c.alpha;
        }
        EXPECT_NEAR(sum, 1, 1e-12L);
        if (m == ReliabilityMethod::Sorm) {
            EXPECT_NEAR(result.Breitung / PhiMinus5, 1, 1e-5L);
            EXPECT_NEAR(result.Hohenbichler / PhiMinus5, 1, 1e-5L);
            EXPECT_NEAR(result.Tvedt / PhiMinus5, 1, 1e-5L);
        }
    }
}

// The beam example: curved enough (κβ near 1) that full HL-RF steps zig-zag for hundreds of
// iterations.
TEST(Form, CurvedBeamConvergesInFewIterations) {
    ReliabilityModel model(
        {"Z = R - S", "R = fy*1000*W", "S = F*L/1.5"}, {"0 > Z"},
        {{"fy", CheckedRecord(DistKind::dkLognormal, 100, 600, 300, 30)},
         {"W", CheckedRecord(DistKind::dkNormal, 0.0007L, 0.0013L, 0.001L, 5e-5L)},
         {"F", CheckedRecord(DistKind::dkNormal, 0, 120, 50, 10)},
         {"L", CheckedRecord(DistKind::dkUniform, 4, 6, 0, 0)}});
    ASSERT_EQ(model.bind(ReliabilityMethod::Form), "");
    TReliabilityResult result;
    ASSERT_EQ(model.evaluate(result), 0);
    EXPECT_TRUE(result.Converged);
    EXPECT_LE(result.Iterations, 30);
    std::map<std::string, Extended> x;
    for (const TDesignCoordinate& c : result.DesignPoint)
        x[c.name] = c.x;
    EXPECT_NEAR(x["fy"] * 1000 * x["W"] - x["F"] * x["L"] / 1.5L, 0, 1e-6L);
}

TEST(Sorm, CurvedLimitStateFollowsTheClosedForms) {
    // A parabola u2 = 3 + u1²/2·κ with κ = 0.2: Breitung Φ(−3)/√(1 + 3κ).
    auto model = std::make_unique<ReliabilityModel>(
        std::vector<std::string>{"G = 3 + 0.1*x1^2 - x2"}, std::vector<std::string>{"0 > G"});
    ASSERT_EQ(model->bind(ReliabilityMethod::Sorm), "");
    TReliabilityResult result;
    ASSERT_EQ(model->evaluate(result), 0);
    ASSERT_EQ(result.Curvatures.size(), 1u);
    EXPECT_NEAR(result.Curvatures[0], 0.2L, 1e-5L);
    const Extended form = NormalCdf(-3);
    EXPECT_NEAR(result.Breitung / (form / std::sqrt(1.6L)), 1, 1e-5L);
    EXPECT_NEAR(result.Estimate.Probability, result.Breitung, 0);
    EXPECT_LT(result.Tvedt, form);
    EXPECT_LT(result.Hohenbichler, form);
}

// The sampling methods find the known answers inside their own 95 % intervals.
TEST(SamplingMethods, KnownAnswersLieInsideTheirIntervals) {
    struct Case {
        bool ten;
        ReliabilityMethod method;
        Extended exact;
    };
    const Case cases[] = {
        {false, ReliabilityMethod::ImportanceSampling, PhiMinusSqrt2},
        {true, ReliabilityMethod::ImportanceSampling, PhiMinus5},
        {false, ReliabilityMethod::SubsetSimulation, PhiMinusSqrt2},
        {true, ReliabilityMethod::SubsetSimulation, PhiMinus5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(MethodCaption(c.method)) + (c.ten ? " ten" : " two"));
        auto model = c.ten ? TenInputs() : ResistanceLoad();
        ASSERT_EQ(model->bind(c.method), "");
        TReliabilityResult result;
        std::vector<TProbabilityEstimate> history;
        ASSERT_EQ(model->evaluate(result, 7, {}, &history), 0);
        EXPECT_TRUE(result.HasInterval);
        EXPECT_LE(result.Estimate.Lower, c.exact);
        EXPECT_GE(result.Estimate.Upper, c.exact);
        EXPECT_GT(result.Estimate.CoV, 0);
        EXPECT_LT(result.Estimate.CoV, 0.3L);
        EXPECT_EQ(result.Evaluations, model->limitState.evaluations());
        ASSERT_FALSE(history.empty());
        EXPECT_LE(history.back().Steps, result.Evaluations);
        if (c.method == ReliabilityMethod::SubsetSimulation) {
            EXPECT_GE(result.Levels, c.ten ? 6 : 2);
        }
    }
}

TEST(SamplingMethods, ImportanceSamplingStopsAtTheTargetCoV) {
    auto model = TenInputs();
    ASSERT_EQ(model->bind(ReliabilityMethod::ImportanceSampling), "");
    model->method.IsSamples = 1000000;
    TReliabilityResult result;
    ASSERT_EQ(model->evaluate(result, 3, {true, 5, 2000}), 0);
    EXPECT_LE(result.Estimate.CoV, 0.05L);
    EXPECT_LT(result.Evaluations, 20000);
    EXPECT_GE(result.Evaluations, 2000);
}

TEST(SamplingMethods, TheSeedReproducesTheResult) {
    for (ReliabilityMethod m :
         {ReliabilityMethod::ImportanceSampling, ReliabilityMethod::SubsetSimulation}) {
        SCOPED_TRACE(MethodCaption(m));
        auto model = ResistanceLoad();
        ASSERT_EQ(model->bind(m), "");
        model->method.IsSamples = 2000;
        model->method.SubsetSamples = 500;
        TReliabilityResult first, again, other;
        ASSERT_EQ(model->evaluate(first, 11), 0);
        ASSERT_EQ(model->evaluate(again, 11), 0);
        ASSERT_EQ(model->evaluate(other, 12), 0);
        EXPECT_EQ(first.Estimate.Probability, again.Estimate.Probability);
        EXPECT_EQ(first.Evaluations, again.Evaluations);
        EXPECT_NE(first.Estimate.Probability, other.Estimate.Probability);
    }
}

TEST(ReliabilityMessages, RefusedModelsSayWhy) {
    TIis step;
    step.Kind = DistKind::dkStepNumber;
    struct Case {
        std::vector<std::string> equations;
        std::vector<std::string> out;
        std::map<std::string, TIis> records;
        std::string message;
    };
    const Case cases[] = {
        {{"Z = R - S"}, {"0 = Z"}, {}, "FORM needs a condition that says on which side of 0"},
        {{"Z = R - S"}, {"0 <> Z"}, {}, "\"=\" and \"<>\" have no side!"},
        {{"Z = R - S"},
         {"0 > Z"},
         {{"S", step}},
         "Input variable S is a step number: it cannot take part in FORM!"},
        {{"Z = R - S"}, {"0 > R"}, {}, "Unknown variable R!"},
        {{"Z = R - S"}, {"0 > Z", "Z = 1"}, {}, "Variable Z already in use!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ReliabilityModel model(c.equations, c.out, c.records);
        EXPECT_NE(model.bind(ReliabilityMethod::Form).find(c.message), std::string::npos);
    }
}

TEST(ReliabilityMessages, FormSaysWhenItDidNotConverge) {
    ReliabilityModel model({"G = 10 - (x1 + 3)^3 - x2"}, {"0 > G"});
    ASSERT_EQ(model.bind(ReliabilityMethod::Form), "");
    model.method.FormMaxIter = 1;
    TReliabilityResult result;
    ASSERT_EQ(model.evaluate(result), 0);
    EXPECT_FALSE(result.Converged);
    ASSERT_FALSE(result.Warnings.empty());
    EXPECT_EQ(result.Warnings[0].rfind("FORM did not converge in 1 iterations", 0), 0u);
}

TEST(ReliabilityMessages, FormWarnsOfANearerDesignPoint) {
    // From the origin the search goes straight along x1 to the saddle (4, 0); the nearest
    // points of the surface are (1, ±√6), at β = √7.
    ReliabilityModel model({"G = 4 - x1 - 0.5*x2^2"}, {"0 > G"});
    ASSERT_EQ(model.bind(ReliabilityMethod::Form), "");
    TReliabilityResult result;
    ASSERT_EQ(model.evaluate(result), 0);
    EXPECT_NEAR(result.Beta, 4, 1e-6L);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_NE(result.Warnings[0].find("with beta 2.645751"), std::string::npos);
    EXPECT_NE(result.Warnings[0].find("more than one design point"), std::string::npos);
}

TEST(ReliabilityStop, AStopRequestEndsTheMethodWithWhatItHad) {
    for (ReliabilityMethod m : {ReliabilityMethod::Form, ReliabilityMethod::SubsetSimulation}) {
        SCOPED_TRACE(MethodCaption(m));
        auto model = TenInputs();
        ASSERT_EQ(model->bind(m), "");
        std::atomic<bool> stop{false};
        model->limitState.setStopFlag(&stop);
        TNormalStream random(1);
        TReliabilityContext context{
            model->limitState, model->method, random, {}, [&stop](const TProbabilityEstimate&) {
                stop = true;
            }};
        TReliabilityResult result;
        EXPECT_EQ(EvaluateReliability(context, result), TLimitState::Stopped);
        EXPECT_TRUE(result.Stopped);
        EXPECT_LT(result.Evaluations, 3000);
    }
}

} // namespace
} // namespace probex::test
