// A run split into shards and merged, against the same run in one process.

#include "support/ProgramTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace probex {
namespace {

namespace fs = std::filesystem;

using testing::Outcome;
using testing::ReadAll;

class ShardMergeTest : public testing::ProgramTest {
protected:
    /// Runs shard k of n into `name`; returns its path.
    std::string shard(const std::string& project, int k, int n, const std::string& more,
                      const std::string& name) {
        const std::string part = (dir / name).string();
        const Outcome o = batch(project, more + " --shard " + std::to_string(k) + "/" +
                                             std::to_string(n) + " --partial '" + part + "'");
        EXPECT_EQ(o.exitCode, 0) << o.err;
        return part;
    }
    Outcome merge(const std::vector<std::string>& parts, const std::string& more = "") {
        std::string arguments = "--merge";
        for (const std::string& part : parts)
            arguments += " '" + part + "'";
        return run(arguments + " " + more);
    }
};

const std::string Examples = std::string(PROBEX_SOURCE_DIR) + "/examples/";

TEST_F(ShardMergeTest, MergedShardsPrintAndWriteWhatOneProcessDoes) {
    // The beam with a histogram and a statistics-only output beside the logged one, and
    // correlated inputs.
    std::string text = ReadAll(Examples + "beam.pxw");
    text.replace(text.find("S,Log"), 5, "S,Histogram");
    text.replace(text.find("R,Log"), 5, "R,Statistics");
    text.insert(text.find("[Out.Equations]"), "[Correlations]\r\nW,fy,-0.5\r\nF,L,0.3\r\n\r\n");
    const std::string mixed = (dir / "mixed.pxw").string();
    std::ofstream(mixed, std::ios::binary) << text;
    struct Case {
        std::string project;
        int shards;
        const char* options;
        const char* settingsLine;
    };
    const Case cases[] = {
        {Examples + "beam-windows.pxw", 4, "--seed 11 --steps 20000", ""},
        {mixed, 3, "--seed 3 --steps 13000 --generator parallel --sensitivity",
         "InitialSampling=1\r\n"},
        // More shards than blocks: two shards have no step.
        {Examples + "design-load.pxw", 4, "--seed 5 --steps 5000", "RefreshRatePQ=7\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        std::ofstream(settings, std::ios::app) << c.settingsLine;
        const fs::path one = dir / "one", merged = dir / "merged";
        fs::remove_all(one);
        fs::remove_all(merged);
        const Outcome whole =
            batch(c.project, std::string(c.options) + " --generator parallel --results '" +
                                 one.string() + "' --save-as '" + (dir / "one.pxw").string() + "'");
        ASSERT_EQ(whole.exitCode, 0) << whole.err;
        std::vector<std::string> parts;
        for (int k = c.shards - 1; k >= 0; --k) // any order will do
            parts.push_back(shard(c.project, k, c.shards, c.options, "p" + std::to_string(k)));
        const Outcome o = merge(parts, "--results '" + merged.string() + "' --save-as '" +
                                           (dir / "merged.pxw").string() + "'");
        ASSERT_EQ(o.exitCode, 0) << o.err;
        EXPECT_EQ(o.out, whole.out);
        EXPECT_EQ(ReadAll(dir / "merged.pxw"), ReadAll(dir / "one.pxw"));
        int files = 0;
        for (const auto& entry : fs::directory_iterator(one)) {
            ++files;
            EXPECT_EQ(ReadAll(merged / entry.path().filename()), ReadAll(entry.path()))
                << entry.path().filename();
        }
        EXPECT_GT(files, 2);
    }
}

TEST_F(ShardMergeTest, PartsThatDoNotMakeOneRunAreRefusedByName) {
    const std::string beam = Examples + "beam.pxw";
    const std::string options = "--seed 9 --steps 9000";
    std::vector<std::string> parts;
    for (int k = 0; k < 3; ++k)
        parts.push_back(shard(beam, k, 3, options, "p" + std::to_string(k)));
    const std::string otherSeed = shard(beam, 2, 3, "--seed 8 --steps 9000", "seed8");
    const std::string otherProject = shard(Examples + "design-load.pxw", 2, 3, options, "design");
    const std::string otherCount = shard(beam, 2, 4, options, "of4");
    const std::string truncated = (dir / "truncated").string();
    const std::string flipped = (dir / "flipped").string();
    std::string bytes = ReadAll(parts[1]);
    std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() - 100);
    bytes[bytes.size() - 50] ^= 1;
    std::ofstream(flipped, std::ios::binary) << bytes;

    struct Case {
        std::vector<std::string> parts;
        const char* message;
    };
    const Case cases[] = {
        {{parts[0], parts[1]}, "shard 2 of 3 is missing"},
        {{parts[0], parts[1], parts[1], parts[2]}, "are both shard 1 of 3"},
        {{parts[0], parts[1], otherSeed}, "seed8 was drawn from the seeds 8, "},
        {{parts[0], parts[1], otherProject}, "design belongs to another project"},
        {{parts[0], parts[1], otherCount}, "of4 is one of 4 shards"},
        {{parts[0], truncated, parts[2]}, "truncated is damaged"},
        {{parts[0], flipped, parts[2]}, "flipped is damaged: its checksum"},
        {{parts[0], parts[1], beam}, "beam.pxw is no partial result"},
        {{parts[0], parts[1], (dir / "absent").string()}, "absent cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome o = merge(c.parts);
        EXPECT_EQ(o.exitCode, 2);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(o.out, "");
    }
    EXPECT_EQ(merge(parts).exitCode, 0);
}

TEST_F(ShardMergeTest, ShardRefusesWhatWouldMakeItsPartUseless) {
    const std::string beam = Examples + "beam.pxw";
    const std::string part = " --partial '" + (dir / "p").string() + "'";
    const std::pair<std::string, const char*> cases[] = {
        {"--shard 0/2" + part, "--shard needs --seed N"},
        {"--seed 1 --shard 2/2" + part, "--shard needs K/N"},
        {"--seed 1 --shard 0/2", "--shard needs --partial FILE"},
        {"--seed 1 --shard 0/2 --generator simple" + part, "Parallel generator only"},
        {"--seed 1 --shard 0/2 --target-cov 5" + part, "--target-cov cannot be used"},
        {"--seed 1 --shard 0/2 --results r" + part, "--results cannot be used with --shard"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(arguments);
        const Outcome o = batch(beam, arguments);
        EXPECT_EQ(o.exitCode, 2);
        EXPECT_NE(o.err.find(message), std::string::npos) << o.err;
    }
    EXPECT_FALSE(fs::exists(dir / "p"));
}

TEST_F(ShardMergeTest, AFailingStepLeavesNoPart) {
    // Fails at step 4100 only: in the middle of a block of steps evaluated together.
    std::string text = ReadAll(Examples + "beam.pxw");
    text.insert(text.find("\r\nZ") + 2, "Q = 1/(n-4100)\r\n");
    text.insert(text.find("[Variables]\r\n") + 13, "n,Step number,step\r\n");
    const std::string broken = (dir / "broken.pxw").string();
    std::ofstream(broken, std::ios::binary) << text;
    const std::string part = (dir / "p").string();
    const Outcome o = batch(broken, "--seed 1 --steps 9000 --shard 1/2 --partial '" + part + "'");
    EXPECT_EQ(o.exitCode, 1) << o.err;
    EXPECT_NE(o.err.find("error: equations, line "), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("failed at step 4100"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(part));
    EXPECT_EQ(batch(broken, "--seed 1 --steps 9000 --shard 0/2 --partial '" + part + "'").exitCode,
              0);
}

} // namespace
} // namespace probex
