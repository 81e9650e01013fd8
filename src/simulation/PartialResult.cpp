#include "simulation/PartialResult.h"

#include "settings/FileAccess.h"
#include "variables/PhiloxStream.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace probex {

namespace {

static_assert(LDBL_MANT_DIG == 64, "values are stored as the 10 bytes of an x87 extended number");

constexpr std::size_t ValueBytes = 10;
constexpr std::size_t BufferBytes = std::size_t{1} << 20;
constexpr std::uint64_t FnvOffset = 14695981039346656037ull;
constexpr std::uint64_t FnvPrime = 1099511628211ull;
/// More variables than a project can have: a count beyond it is a damaged header.
constexpr std::uint32_t MaxVariables = 1u << 16;
/// The most steps a run can have.
constexpr std::int64_t MaxSteps = 999999999;

std::uint64_t Fnv(std::uint64_t hash, const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        hash = (hash ^ bytes[i]) * FnvPrime;
    return hash;
}

std::uint64_t Fnv(std::uint64_t hash, std::string_view text) {
    return Fnv(hash, reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

void PutUnsigned(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

void PutText(std::string& out, std::string_view text) {
    PutUnsigned(out, text.size(), 4);
    out.append(text);
}

std::string HeaderBytes(const TPartialHeader& h) {
    std::string out(PartialMagic);
    PutUnsigned(out, h.version, 4);
    PutUnsigned(out, h.shard, 4);
    PutUnsigned(out, h.shardCount, 4);
    for (const std::int64_t value : {h.steps, h.firstStep, h.lastStep, h.seed1, h.seed2})
        PutUnsigned(out, static_cast<std::uint64_t>(value), 8);
    PutUnsigned(out, h.flags, 4);
    PutUnsigned(out, h.checksum, 8);
    PutText(out, h.projectPath);
    PutText(out, h.projectText);
    PutText(out, h.settingsText);
    PutUnsigned(out, h.variables.size(), 4);
    for (const std::string& name : h.variables)
        PutText(out, name);
    return out;
}

std::string SystemText(int error) {
    return std::strerror(error);
}

} // namespace

TStepRange ShardStepRange(std::int64_t steps, std::uint32_t shard, std::uint32_t shardCount) {
    constexpr std::int64_t size = TPhiloxStream::PhiloxBlockSteps;
    const std::int64_t blocks = (steps + size - 1) / size;
    const std::int64_t from = blocks * shard / shardCount;
    const std::int64_t to = blocks * (shard + std::int64_t{1}) / shardCount;
    return {from * size + 1, std::min(to * size, steps)};
}

std::uint64_t ProjectChecksum(std::string_view projectText, std::string_view settingsText) {
    std::string lengths;
    PutUnsigned(lengths, projectText.size(), 8);
    PutUnsigned(lengths, settingsText.size(), 8);
    std::uint64_t hash = Fnv(FnvOffset, std::string_view(lengths).substr(0, 8));
    hash = Fnv(hash, projectText);
    hash = Fnv(hash, std::string_view(lengths).substr(8));
    return Fnv(hash, settingsText);
}

// Writing.

TPartialWriter::~TPartialWriter() {
    if (m_file) std::fclose(m_file);
    if (!m_temporary.empty()) std::remove(m_temporary.c_str());
}

std::string TPartialWriter::open(const std::string& path, const TPartialHeader& header) {
    m_path = path;
    m_temporary = SaveTemporaryName(path, static_cast<unsigned long long>(::getpid()), 0);
    m_file = std::fopen(m_temporary.c_str(), "wb");
    if (!m_file) {
        const int error = errno;
        m_temporary.clear();
        return "Cannot write \"" + path + "\": " + SystemText(error);
    }
    const std::string bytes = HeaderBytes(header);
    m_hash = Fnv(FnvOffset, bytes);
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_error = errno ? errno : EIO;
    m_stepBytes = header.variables.size() * ValueBytes;
    m_buffer.assign(std::max(BufferBytes, m_stepBytes), 0);
    m_used = 0;
    return {};
}

void TPartialWriter::flush() {
    m_hash = Fnv(m_hash, m_buffer.data(), m_used);
    if (std::fwrite(m_buffer.data(), 1, m_used, m_file) != m_used && m_error == 0)
        m_error = errno ? errno : EIO;
    m_used = 0;
}

void TPartialWriter::addStep(const Extended* values) {
    if (m_used + m_stepBytes > m_buffer.size()) flush();
    for (std::size_t i = 0; i < m_stepBytes / ValueBytes; ++i)
        std::memcpy(&m_buffer[m_used + i * ValueBytes], &values[i], ValueBytes);
    m_used += m_stepBytes;
}

std::string TPartialWriter::commit() {
    flush();
    std::string trailer;
    PutUnsigned(trailer, m_hash, 8);
    int error = m_error;
    if (error == 0 && (std::fwrite(trailer.data(), 1, 8, m_file) != 8 || std::fflush(m_file) != 0 ||
                       ::fsync(::fileno(m_file)) != 0))
        error = errno ? errno : EIO;
    if (std::fclose(m_file) != 0 && error == 0) error = errno ? errno : EIO;
    m_file = nullptr;
    if (error != 0) return "Cannot write \"" + m_path + "\": " + SystemText(error);
    if (std::string problem = MoveFileOver(m_temporary, m_path); !problem.empty()) return problem;
    m_temporary.clear();
    return {};
}

// Reading.

TPartialReader::~TPartialReader() {
    if (m_file) std::fclose(m_file);
}

std::string TPartialReader::open(const std::string& path) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) return "cannot be read: it is a directory";
    const std::uintmax_t size = std::filesystem::file_size(path, code);
    m_file = code ? nullptr : std::fopen(path.c_str(), "rb");
    if (!m_file) return "cannot be read: " + (code ? code.message() : SystemText(errno));
    std::uintmax_t left = size;
    m_hash = FnvOffset;
    const auto take = [&](std::string& bytes, std::uintmax_t count) {
        if (count > left) return false;
        bytes.resize(count);
        if (std::fread(bytes.data(), 1, count, m_file) != count) return false;
        left -= count;
        m_hash = Fnv(m_hash, bytes);
        return true;
    };
    std::string bytes;
    const auto number = [&](std::uint64_t& value, int count) {
        if (!take(bytes, static_cast<std::uintmax_t>(count))) return false;
        value = 0;
        for (int i = count - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        return true;
    };
    const auto text = [&](std::string& out) {
        std::uint64_t length = 0;
        return number(length, 4) && take(out, length);
    };
    if (!take(bytes, PartialMagic.size()) || bytes != PartialMagic)
        return "is no partial result of Probex";
    TPartialHeader& h = m_header;
    std::uint64_t value = 0;
    const char* const damaged = "is damaged: its header ends early or makes no sense";
    if (!number(value, 4)) return damaged;
    h.version = static_cast<std::uint32_t>(value);
    if (h.version != PartialFormatVersion)
        return "has format version " + std::to_string(h.version) + "; this program reads version " +
               std::to_string(PartialFormatVersion);
    std::uint64_t fields[8] = {};
    if (!number(fields[0], 4) || !number(fields[1], 4)) return damaged;
    for (int i = 2; i < 7; ++i)
        if (!number(fields[i], 8)) return damaged;
    if (!number(fields[7], 4) || !number(h.checksum, 8)) return damaged;
    h.shard = static_cast<std::uint32_t>(fields[0]);
    h.shardCount = static_cast<std::uint32_t>(fields[1]);
    h.steps = static_cast<std::int64_t>(fields[2]);
    h.firstStep = static_cast<std::int64_t>(fields[3]);
    h.lastStep = static_cast<std::int64_t>(fields[4]);
    h.seed1 = static_cast<std::int64_t>(fields[5]);
    h.seed2 = static_cast<std::int64_t>(fields[6]);
    h.flags = static_cast<std::uint32_t>(fields[7]);
    std::uint64_t count = 0;
    if (!text(h.projectPath) || !text(h.projectText) || !text(h.settingsText) ||
        !number(count, 4) || count > MaxVariables)
        return damaged;
    h.variables.resize(count);
    for (std::string& name : h.variables)
        if (!text(name)) return damaged;
    const TStepRange range = h.steps > 0 && h.shardCount > 0 && h.shard < h.shardCount
                                 ? ShardStepRange(h.steps, h.shard, h.shardCount)
                                 : TStepRange{1, -1};
    const auto int32 = [](std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    if (range.last < 0 || h.steps > MaxSteps || !int32(h.seed1) || !int32(h.seed2) ||
        range.first != h.firstStep || range.last != h.lastStep ||
        ProjectChecksum(h.projectText, h.settingsText) != h.checksum)
        return damaged;
    m_stepBytes = count * ValueBytes;
    m_valueBytesLeft = h.stepCount() * static_cast<std::int64_t>(m_stepBytes);
    if (left != static_cast<std::uintmax_t>(m_valueBytesLeft) + 8)
        return left < static_cast<std::uintmax_t>(m_valueBytesLeft) + 8
                   ? "is damaged: it ends before its last step"
                   : "is damaged: it is longer than its steps";
    m_buffer.assign(std::max(BufferBytes, m_stepBytes), 0);
    m_used = m_filled = 0;
    return {};
}

bool TPartialReader::nextStep(Extended* values) {
    if (m_used + m_stepBytes > m_filled) {
        // Keeps a step whole in the buffer: the unread rest moves to its front.
        std::memmove(m_buffer.data(), m_buffer.data() + m_used, m_filled - m_used);
        m_filled -= m_used;
        m_used = 0;
        const std::size_t want = static_cast<std::size_t>(
            std::min<std::int64_t>(m_valueBytesLeft, m_buffer.size() - m_filled));
        const std::size_t got = std::fread(m_buffer.data() + m_filled, 1, want, m_file);
        m_hash = Fnv(m_hash, m_buffer.data() + m_filled, got);
        m_filled += got;
        m_valueBytesLeft -= static_cast<std::int64_t>(got);
        if (m_used + m_stepBytes > m_filled) return false;
    }
    for (std::size_t i = 0; i < m_stepBytes / ValueBytes; ++i) {
        values[i] = 0;
        std::memcpy(&values[i], &m_buffer[m_used + i * ValueBytes], ValueBytes);
    }
    m_used += m_stepBytes;
    return true;
}

std::string TPartialReader::finish() {
    unsigned char trailer[8] = {};
    if (m_valueBytesLeft != 0 || m_used != m_filled || std::fread(trailer, 1, 8, m_file) != 8)
        return "is damaged: it ends before its last step";
    std::uint64_t stored = 0;
    for (int i = 7; i >= 0; --i)
        stored = stored << 8 | trailer[i];
    if (stored != m_hash) return "is damaged: its checksum does not match its contents";
    return {};
}

} // namespace probex
