#pragma once

#include "engine/Extended.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace probex {

/// The version of the partial-result format this program writes, and the only one it reads.
inline constexpr std::uint32_t PartialFormatVersion = 2;

/// The first eight bytes of every partial result.
inline constexpr std::string_view PartialMagic{"PXPART\r\n", 8};

/// The flag of a shard run with `--sensitivity`: the merge prints the sensitivity tables.
inline constexpr std::uint32_t PartialSensitivity = 1;

/// What a partial result says about the run it belongs to and its share of that run.
struct TPartialHeader {
    std::uint32_t version = PartialFormatVersion;
    std::uint32_t shard = 0;      ///< K, 0 <= K < N
    std::uint32_t shardCount = 1; ///< N
    std::int64_t steps = 0;       ///< the whole run's last step
    std::int64_t firstStep = 1;   ///< the part's steps; none when firstStep > lastStep
    std::int64_t lastStep = 0;
    std::int64_t seed1 = 0;
    std::int64_t seed2 = 0;
    std::uint32_t flags = 0;
    std::uint64_t checksum = 0;         ///< ProjectChecksum of the two texts below
    std::string projectPath;            ///< as the shard was given it
    std::string projectText;            ///< the project file's bytes
    std::string settingsText;           ///< the settings file's bytes, empty without one
    std::vector<std::string> variables; ///< the recorded variables, in the order of a step's values

    std::int64_t stepCount() const { return lastStep >= firstStep ? lastStep - firstStep + 1 : 0; }
};

/// The steps of shard K of N: the run's blocks of PhiloxBlockSteps steps, ceil(steps / 4096)
/// of them, cut into N contiguous ranges, shard K taking blocks [K*B/N, (K+1)*B/N).
struct TStepRange {
    std::int64_t first = 1;
    std::int64_t last = 0; ///< first > last: the shard has no step (more shards than blocks)
};
TStepRange ShardStepRange(std::int64_t steps, std::uint32_t shard, std::uint32_t shardCount);

/// FNV-1a over the project text and the settings text, each preceded by its length: the
/// identity of "the same project with the same settings".
std::uint64_t ProjectChecksum(std::string_view projectText, std::string_view settingsText);

/// Writes a partial result: the header, then the values of the steps in order, each step one
/// value per recorded variable as the 10 bytes of an x87 extended number, then the FNV-1a
/// checksum of every byte before it. The file is written under a temporary name beside the
/// target and moved in place by commit(), so a failed or interrupted shard leaves no part.
class TPartialWriter {
public:
    TPartialWriter() = default;
    ~TPartialWriter();
    TPartialWriter(const TPartialWriter&) = delete;
    TPartialWriter& operator=(const TPartialWriter&) = delete;

    /// Creates the temporary file and writes the header; returns the error text, empty on
    /// success.
    std::string open(const std::string& path, const TPartialHeader& header);
    /// Appends one step's values (one per variable of the header). Allocates nothing; a write
    /// error is reported by commit().
    void addStep(const Extended* values);
    /// Writes the checksum and moves the file in place; returns the error text.
    std::string commit();

private:
    void flush();

    std::string m_path;
    std::string m_temporary;
    std::FILE* m_file = nullptr;
    std::vector<unsigned char> m_buffer;
    std::size_t m_used = 0;
    std::size_t m_stepBytes = 0;
    std::uint64_t m_hash = 0;
    int m_error = 0; ///< the first write error
};

/// Reads a partial result written by TPartialWriter.
class TPartialReader {
public:
    TPartialReader() = default;
    ~TPartialReader();
    TPartialReader(const TPartialReader&) = delete;
    TPartialReader& operator=(const TPartialReader&) = delete;

    /// Reads and checks the header and the file's size; returns the problem, empty when the
    /// file can be merged so far.
    std::string open(const std::string& path);
    const TPartialHeader& header() const { return m_header; }
    /// The next step's values, one per variable; false when the file cannot be read.
    bool nextStep(Extended* values);
    /// After the last step: the problem when the checksum does not hold, else empty.
    std::string finish();

private:
    TPartialHeader m_header;
    std::FILE* m_file = nullptr;
    std::vector<unsigned char> m_buffer;
    std::size_t m_used = 0;
    std::size_t m_filled = 0;
    std::size_t m_stepBytes = 0;
    std::int64_t m_valueBytesLeft = 0;
    std::uint64_t m_hash = 0;
};

} // namespace probex
