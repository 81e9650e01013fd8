#include "simulation/PartialResult.h"

#include "simulation/PartialSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <unistd.h>

namespace probex {
namespace {

namespace fs = std::filesystem;

TEST(ShardStepRange, ShardsCoverEveryStepOnceInWholeBlocks) {
    for (const std::int64_t steps : {1, 4095, 4096, 4097, 20000, 999999999}) {
        for (const std::uint32_t count : {1u, 2u, 3u, 7u, 300u}) {
            SCOPED_TRACE(std::to_string(steps) + " steps, " + std::to_string(count) + " shards");
            std::int64_t next = 1;
            for (std::uint32_t k = 0; k < count; ++k) {
                const TStepRange range = ShardStepRange(steps, k, count);
                ASSERT_EQ(range.first, next);
                ASSERT_EQ((range.first - 1) % 4096, 0);
                ASSERT_GE(range.last, range.first - 1);
                next = range.last + 1;
            }
            EXPECT_EQ(next, steps + 1);
        }
    }
}

class PartialFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = (fs::temp_directory_path() / ("probex-part-" + std::to_string(::getpid()))).string();
        header.shard = 1;
        header.shardCount = 3;
        header.steps = 10000;
        const TStepRange range = ShardStepRange(header.steps, 1, 3);
        header.firstStep = range.first;
        header.lastStep = range.last;
        header.seed1 = -7;
        header.seed2 = 1234567;
        header.projectPath = "beam.pxw";
        header.projectText = "[Main]\r\nVersion=2.5\r\n";
        header.checksum = ProjectChecksum(header.projectText, header.settingsText);
        header.variables = {"Z", "R"};
    }
    void TearDown() override { fs::remove(path); }

    /// The values of step s: awkward ones among them, whose every bit must come back.
    static Extended value(std::int64_t s, int i) {
        if (s % 997 == 0) return i ? std::numeric_limits<Extended>::denorm_min() : -0.0L;
        return std::ldexp(static_cast<Extended>(s) / 3, i * 20 - 10);
    }

    void write() {
        TPartialWriter writer;
        ASSERT_EQ(writer.open(path, header), "");
        EXPECT_FALSE(fs::exists(path)); // not before the commit
        for (std::int64_t s = header.firstStep; s <= header.lastStep; ++s) {
            const Extended values[] = {value(s, 0), value(s, 1)};
            writer.addStep(values);
        }
        ASSERT_EQ(writer.commit(), "");
    }

    std::string path;
    TPartialHeader header;
};

TEST_F(PartialFileTest, ValuesComeBackBitForBit) {
    write();
    TPartialReader reader;
    ASSERT_EQ(reader.open(path), "");
    const TPartialHeader& h = reader.header();
    EXPECT_EQ(h.seed1, -7);
    EXPECT_EQ(h.seed2, 1234567);
    EXPECT_EQ(h.projectText, header.projectText);
    EXPECT_EQ(h.variables, header.variables);
    EXPECT_EQ(h.stepCount(), 4096);
    Extended values[2];
    for (std::int64_t s = h.firstStep; s <= h.lastStep; ++s) {
        ASSERT_TRUE(reader.nextStep(values)) << s;
        for (int i = 0; i < 2; ++i) {
            const Extended expected = value(s, i);
            ASSERT_EQ(std::memcmp(&values[i], &expected, 10), 0) << s;
        }
    }
    EXPECT_EQ(reader.finish(), "");
}

TEST_F(PartialFileTest, DamageIsFoundWhereverItIs) {
    write();
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    struct Case {
        std::size_t at; ///< the byte changed, or the length kept when cut
        bool cut;
        const char* problem;
    };
    const Case cases[] = {
        {0, false, "is no partial result"},
        {8, false, "has format version"},
        {16, false, "is damaged: its header"}, // N: the range no longer fits
        {bytes.size() - 3000, false, "checksum"},
        {bytes.size() - 3000, true, "ends before its last step"},
        {30, true, "is damaged: its header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        std::string damaged = bytes;
        if (c.cut)
            damaged.resize(c.at);
        else
            damaged[c.at] ^= 4;
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        TPartialReader reader;
        std::string problem = reader.open(path);
        if (problem.empty()) {
            Extended values[2];
            for (std::int64_t s = 0; s < reader.header().stepCount(); ++s)
                ASSERT_TRUE(reader.nextStep(values));
            problem = reader.finish();
        }
        EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
}

TEST(PartialSet, PartsInAnyOrderGiveTheStepOrder) {
    std::vector<TPartialHeader> headers(3);
    for (std::uint32_t k = 0; k < 3; ++k) {
        headers[k].shard = 2 - k;
        headers[k].shardCount = 3;
    }
    std::vector<std::size_t> order;
    EXPECT_TRUE(
        CheckPartialSet({&headers[0], &headers[1], &headers[2]}, {"a", "b", "c"}, order).empty());
    EXPECT_EQ(order, (std::vector<std::size_t>{2, 1, 0}));
    const auto problems = CheckPartialSet({&headers[0], &headers[2]}, {"a", "c"}, order);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "shard 1 of 3 is missing: no part was given");
    EXPECT_TRUE(order.empty());
}

} // namespace
} // namespace probex
