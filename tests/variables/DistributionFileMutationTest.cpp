#include "variables/DistributionFile.h"

#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"
#include "variables/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace probex {
namespace {

const std::vector<std::string> seeds = {
    "[Description]\r\nIdentification=Beam\r\nType=Discrete\r\nForm=Frequency\r\n\r\n"
    "[Parameters]\r\nMin=1\r\nMax=3\r\nBins=3\r\nTotal=4\r\n\r\n[Bins]\r\n1\r\n2\r\n1\r\n\r\n",
    "[Description]\nType=continuous\nForm=cumulative\n[Parameters]\nMin=-2.5\nMax=1e3\n"
    "[Bins]\n0\n; rising\n2.5\n3\n3\n7.25\n",
};

// A file accepted by the reader must make a histogram that draws inside its range.
bool useIfAccepted(const std::string& text) {
    TLis lis;
    try {
        ParseDistributionText(text, "m.dis", lis, {'.', ','});
    } catch (const ELoadError&) {
        return false;
    }
    EXPECT_GE(lis.Bins, 2);
    EXPECT_EQ(lis.Data.size(), static_cast<std::size_t>(lis.Bins));
    EXPECT_TRUE(std::isfinite(lis.Min) && std::isfinite(lis.Max));
    EXPECT_LE(lis.Min, lis.Max);
    for (Extended d : lis.Data)
        EXPECT_TRUE(std::isfinite(d));

    // Skip urns that would take seconds to fill; their limits are tested on their own.
    Extended smallest = 0;
    Extended sum = 0;
    for (std::size_t i = 0; i < lis.Data.size(); ++i) {
        const Extended f = lis.Form == HistogramForm::Cumulative && i > 0
                               ? lis.Data[i] - lis.Data[i - 1]
                               : lis.Data[i];
        sum += f;
        if (f > 0 && (smallest == 0 || f < smallest)) smallest = f;
    }
    if (smallest > 0 && sum / smallest > 1e7L) return true;

    test::ScriptedPrompter prompter;
    TIis iis;
    try {
        if (!BuildHistogram(lis, iis, prompter)) return true;
    } catch (const ELoadError&) {
        EXPECT_EQ(iis.Kind, DistKind::dkUndefined);
        return true;
    }
    TRandom random(static_cast<std::uint32_t>(text.size()));
    for (int i = 0; i < 20; ++i) {
        const Extended x = SampleValue(iis, random, 0);
        EXPECT_GE(x, lis.Min);
        EXPECT_LE(x, lis.Max);
    }
    return true;
}

TEST(DistributionFileMutationTest, EveryPrefixIsHandled) {
    for (const std::string& seed : seeds)
        for (std::size_t n = 0; n <= seed.size(); ++n) {
            SCOPED_TRACE(n);
            useIfAccepted(seed.substr(0, n));
        }
}

TEST(DistributionFileMutationTest, RandomMutationsAreHandled) {
    std::string alphabet = "0123456789-+.,;=eE[]\r\n \t\xff"
                           "xB";
    alphabet += '\0';
    std::mt19937 rng(20240607);
    auto pick = [&](std::size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
    };
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string text = seeds[round % seeds.size()];
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = pick(text.size());
            switch (pick(4)) {
            case 0:
                if (!text.empty()) text[at] = alphabet[pick(alphabet.size())];
                break;
            case 1:
                text.insert(at, 1, alphabet[pick(alphabet.size())]);
                break;
            case 2:
                text.erase(at, pick(8));
                break;
            default:
                text.insert(at, text.substr(at, pick(12)));
                break;
            }
        }
        SCOPED_TRACE(text);
        if (useIfAccepted(text)) ++accepted;
        if (HasFailure()) return;
    }
    EXPECT_GT(accepted, 400) << "the mutations must also reach the histogram build";
}

} // namespace
} // namespace probex
