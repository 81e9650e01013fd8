#include "variables/DistributionFile.h"

#include "support/ScriptedPrompter.h"
#include "variables/Distributions.h"
#include "variables/HistogramBuild.h"
#include "variables/Random.h"

#include "../settings/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace probex {
namespace {

const DistributionFileFormat dot{'.', ','};

std::string file(const std::string& description, const std::string& parameters,
                 const std::string& bins) {
    return "[Description]\n" + description + "\n[Parameters]\n" + parameters + "\n[Bins]\n" + bins;
}

const std::string validDescription = "Identification=Beam load\nType=Discrete\nForm=Frequency";

std::string loadError(const std::string& text, const DistributionFileFormat& format = dot) {
    TLis lis;
    try {
        ParseDistributionText(text, "x.dis", lis, format);
    } catch (const ELoadError& e) {
        return e.what();
    }
    return {};
}

TEST(DistributionFileTest, ReaderMessages) {
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string range = "Min=0\nMax=2";
    const std::vector<Case> cases = {
        {file(validDescription, range, "1\n2\n1\n"), ""},
        {file("Type=Discrete", range, "1\n2\n"), "Histogram type not valid!"},
        {file("Form=Frequency\nType=Gauss", range, "1\n2\n"), "Histogram type not valid!"},
        {file(validDescription, range, "1\n"), "Not enough data!"},
        {file(validDescription, range, "1\n[Other]\n2\n"), "Not enough data!"},
        {file(validDescription, "Max=2", "1\n2\n"), "Minimum not defined!"},
        {file(validDescription, "Min=2", "1\n2\n"), "Maximum not defined!"},
        {file(validDescription, "Min=2\nMax=1", "1\n2\n"), "Maximum<Minimum!"},
        {file("Form=Cumulative", range, ""), "Unknown distribution type!"},
        // line numbers count every line of the file from 0
        {file(validDescription, range, "1\n\nx\n"), "Error reading file. Line 10!"},
        {file(validDescription, range, "1\n-2\n"), "Negative frequency. Line 9!"},
        {file("Type=continuous\nForm=CUMULATIVE", range, "1\n3\n2\n"), "Wrong frequency. Line 9!"},
        {file("Type=continuous\nForm=cumulative", range, "-1\n3\n"), "Wrong frequency. Line 7!"},
        {file("Type=continuous\nForm=cumulative", range, "0\n0\n3\n"), ""},
        {file(validDescription, range, "1\n; remark\n  ;x\n2\n"), ""},
        {file(validDescription, range, "1\n2\n[Parameters]\nMin=5\n"), "Maximum<Minimum!"},
        {file(validDescription, range, "1\n2\n[Bins]\nx\n"), ""},
        {file(validDescription, "Min=abc\nMax=2", "1\n2\n"),
         "'abc' is not a valid floating point value"},
        {"\x01\x02[Bins\n\0\xff"
         "abc",
         "Minimum not defined!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(loadError(c.text), c.message);
    }
}

TEST(DistributionFileTest, NumberTexts) {
    struct Case {
        std::string text;
        bool valid;
    };
    const std::vector<Case> cases = {
        {"1e99999", false}, {"nan", false},  {"inf", false},    {"0x10", false}, {"", false},
        {"-0", true},       {" 2.5 ", true}, {"1e-4000", true}, {"1 2", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string asMin = file(validDescription, "Min=" + c.text + "\nMax=9", "1\n2\n");
        EXPECT_EQ(loadError(asMin).empty(), c.valid);
        const std::string asBin = file(validDescription, "Min=0\nMax=9", "1\n" + c.text + "x\n");
        EXPECT_EQ(loadError(asBin), "Error reading file. Line 9!");
        if (!c.text.empty()) {
            const std::string bin = file(validDescription, "Min=0\nMax=9", "1\n" + c.text + "\n");
            EXPECT_EQ(loadError(bin), c.valid ? "" : "Error reading file. Line 9!");
        }
    }
}

TEST(DistributionFileTest, FieldsAndSeparators) {
    TLis lis;
    ParseDistributionText("\r\n  [Description]\r\nVariable=Load\r\n identification = Beam = x\r\n"
                          "TYPE=Continuous\r\nform=Cumulative\r\n[Parameters]\r\nMin=-1.5\r\n"
                          "Max = 2.5 ; remark\r\nBins=7\r\n[Bins]\r\n 1\r\n3\r\n4\r\n",
                          "C:\\Data\\Beam.DIS", lis, {'.', ';'});
    EXPECT_EQ(lis.Identification, "Beam = x");
    EXPECT_EQ(lis.Type, DistKind::dkContinuous);
    EXPECT_EQ(lis.Form, HistogramForm::Cumulative);
    EXPECT_EQ(lis.Min, -1.5L);
    EXPECT_EQ(lis.Max, 2.5L);
    EXPECT_EQ(lis.Bins, 3);
    EXPECT_EQ(lis.Data, (std::vector<Extended>{1, 3, 4}));
    EXPECT_EQ(lis.FileName, "Beam.DIS");

    const std::string commaRange = file(validDescription, "Min=1,5\nMax=9", "1\n2\n");
    ParseDistributionText(commaRange, "a:b.dis", lis, {',', ','});
    EXPECT_EQ(lis.Min, 1) << "the list separator cuts first";
    EXPECT_EQ(lis.FileName, "b.dis");
    ParseDistributionText(commaRange, "b.dis", lis, {',', ';'});
    EXPECT_EQ(lis.Min, 1.5L);

    const TLis before = lis;
    EXPECT_FALSE(loadError(file(validDescription, "Min=0\nMax=2", "1\n-1\n")).empty());
    EXPECT_EQ(lis.Data, before.Data) << "a failed read keeps the last good content";
}

TEST(DistributionFileTest, AnyLineEndReads) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(std::string(end) == "\r" ? "CR" : "LF");
        std::string text = file(validDescription, "Min=1\nMax=3", "1\n2\n1\n");
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
            text.replace(at, 1, "@");
        for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
            text.replace(at, 1, end);
        TLis lis;
        ParseDistributionText(text, "x.dis", lis, dot);
        EXPECT_EQ(lis.Identification, "Beam load");
        EXPECT_EQ(lis.Max, 3);
        EXPECT_EQ(lis.Data, (std::vector<Extended>{1, 2, 1}));
    }
}

TEST(DistributionFileTest, WriterText) {
    const std::vector<std::int32_t> counts = {5, 0, 7};
    DistributionFileContent content;
    content.identification = "Deflection";
    content.discrete = true;
    content.min = 0.12345L;
    content.max = 9876.54321L;
    content.counts = counts;
    EXPECT_EQ(DistributionFileText(content, {',', ';'}),
              "[Description]\r\nIdentification=Deflection\r\nType=Discrete\r\nForm=Frequency\r\n"
              "\r\n[Parameters]\r\nMin=0,12345 \r\nMax=9876,54321\r\nBins=3\r\nTotal=12\r\n\r\n"
              "[Bins]\r\n5\r\n0\r\n7\r\n\r\n");
    content.writeVariableName = true;
    content.variableName = "w";
    content.discrete = false;
    const std::string text = DistributionFileText(content, dot);
    EXPECT_TRUE(text.starts_with("[Description]\r\nVariable=w\r\nIdentification=Deflection\r\n"));
    EXPECT_NE(text.find("Type=Continuous\r\n"), std::string::npos);
}

TEST(DistributionFileTest, WriteReadRoundTrip) {
    test::TempDir dir;
    const std::string path = dir.path("Result.dis");
    const std::vector<std::int32_t> counts = {3, 0, 9, 1};
    DistributionFileContent content;
    content.identification = "Stress";
    content.min = -2.5L;
    content.max = 1234.5L;
    content.counts = counts;
    ASSERT_EQ(WriteDistributionFile(path, content, dot), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.dir()), {}), 1);

    test::ScriptedPrompter prompter;
    TLis lis;
    ASSERT_TRUE(ReadDistributionFile(FindDistributionFile("D:\\x\\RESULT.DIS", dir.dir()), lis, dot,
                                     prompter));
    EXPECT_EQ(lis.Identification, "Stress");
    EXPECT_EQ(lis.Type, DistKind::dkContinuous);
    EXPECT_EQ(lis.Min, -2.5L);
    EXPECT_EQ(lis.Max, 1234.5L);
    EXPECT_EQ(lis.Data, (std::vector<Extended>{3, 0, 9, 1}));
    EXPECT_TRUE(prompter.shown.empty());

    // A single occupied bin makes a file that cannot be read back.
    const std::vector<std::int32_t> one = {4};
    content.counts = one;
    ASSERT_EQ(WriteDistributionFile(path, content, dot), "");
    std::string detail;
    EXPECT_FALSE(ReadDistributionFile(path, lis, dot, prompter, &detail));
    EXPECT_EQ(detail, "Not enough data!");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Distribution not defined!"});
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::Cancel);

    // A failed write leaves the old file as it was.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    content.counts = counts;
    EXPECT_NE(WriteDistributionFile(path, content, dot), "");
    EXPECT_FALSE(ReadDistributionFile(path, lis, dot, prompter, &detail));
    EXPECT_EQ(detail, "Not enough data!");
    EXPECT_NE(WriteDistributionFile(dir.path("no/x.dis"), content, dot), "");

    EXPECT_FALSE(ReadDistributionFile(dir.path("missing.dis"), lis, dot, prompter, &detail));
    EXPECT_NE(detail.find("missing.dis"), std::string::npos);
    // A file that never ends is not read without limit; the box says why.
    prompter.shown.clear();
    EXPECT_FALSE(ReadDistributionFile("/dev/zero", lis, dot, prompter, &detail));
    EXPECT_NE(detail.find("more than"), std::string::npos) << detail;
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{detail, "Distribution not defined!"}));
    EXPECT_EQ(FindDistributionFile("missing.dis", dir.dir()), "");
    EXPECT_EQ(FindDistributionFile("x.dis", dir.path("none")), "");
}

TEST(DistributionFileTest, HugeFileReads) {
    std::string text = file(validDescription, "Min=0\nMax=1", "");
    for (int i = 0; i < 1000000; ++i)
        text += "1\r\n";
    TLis lis;
    ParseDistributionText(text, "big.dis", lis, dot);
    EXPECT_EQ(lis.Bins, 1000000);
}

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
