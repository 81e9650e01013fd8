#include "simulation/OutLog.h"

#include <cstring>
#include <new>
#include <utility>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#define PROBEX_LOG_MMAP 1
#endif

namespace probex {

namespace {

struct Block {
    void* base = nullptr;            // to be released
    std::size_t bytes = 0;           // length of base
    TOutLog::Slot* values = nullptr; // first slot, inside base
};

#ifdef PROBEX_LOG_MMAP

// A log is written once per step into fresh pages, so its cost is mostly first-touch page
// faults. Huge pages cut a log of 10^6 steps from about 40 ms of faults to about 8 ms; they
// need a 2 MiB-aligned block, so large logs are mapped with room to align and trimmed.
constexpr std::size_t HugePage = std::size_t{2} << 20;

Block Obtain(std::size_t bytes) noexcept {
    Block block;
    if (bytes < HugePage) {
        void* p =
            ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return block;
        block.base = p;
        block.bytes = bytes;
    } else {
        const std::size_t length = (bytes + HugePage - 1) / HugePage * HugePage;
        void* p = ::mmap(nullptr, length + HugePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) return block;
        char* start = static_cast<char*>(p);
        char* aligned = reinterpret_cast<char*>(
            (reinterpret_cast<std::uintptr_t>(start) + HugePage - 1) & ~(HugePage - 1));
        if (aligned != start) ::munmap(start, static_cast<std::size_t>(aligned - start));
        const std::size_t tail =
            static_cast<std::size_t>(start + length + HugePage - aligned) - length;
        if (tail != 0) ::munmap(aligned + length, tail);
#ifdef MADV_HUGEPAGE
        ::madvise(aligned, length, MADV_HUGEPAGE); // only a hint: without it, small pages
#endif
        block.base = aligned;
        block.bytes = length;
    }
    block.values = static_cast<TOutLog::Slot*>(block.base);
    return block;
}

void Give(void* base, std::size_t bytes) noexcept {
    if (base != nullptr) ::munmap(base, bytes);
}

#else

Block Obtain(std::size_t bytes) noexcept {
    Block block;
    void* p = ::operator new(bytes, std::nothrow);
    if (p == nullptr) return block;
    std::memset(p, 0, bytes);
    block.base = p;
    block.bytes = bytes;
    block.values = static_cast<TOutLog::Slot*>(p);
    return block;
}

void Give(void* base, std::size_t) noexcept {
    if (base != nullptr) ::operator delete(base);
}

#endif

} // namespace

TOutLog::~TOutLog() {
    release();
}

TOutLog::TOutLog(TOutLog&& other) noexcept
    : m_values(std::exchange(other.m_values, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_block(std::exchange(other.m_block, nullptr)),
      m_blockSize(std::exchange(other.m_blockSize, 0)) {}

TOutLog& TOutLog::operator=(TOutLog&& other) noexcept {
    if (this != &other) {
        release();
        m_values = std::exchange(other.m_values, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_block = std::exchange(other.m_block, nullptr);
        m_blockSize = std::exchange(other.m_blockSize, 0);
    }
    return *this;
}

bool TOutLog::allocate(std::int32_t size) noexcept {
    release();
    return grow(size);
}

bool TOutLog::grow(std::int32_t newSize) noexcept {
    if (newSize <= m_size) return newSize >= 0;
    const Block block = Obtain(static_cast<std::size_t>(newSize) * sizeof(Slot));
    if (block.values == nullptr) return false;
    // Fresh anonymous pages are already zero, so only the kept values are copied.
    if (m_size > 0)
        std::memcpy(block.values, m_values, static_cast<std::size_t>(m_size) * sizeof(Slot));
    release();
    m_values = block.values;
    m_size = newSize;
    m_block = block.base;
    m_blockSize = block.bytes;
    return true;
}

void TOutLog::release() noexcept {
    Give(m_block, m_blockSize);
    m_values = nullptr;
    m_size = 0;
    m_block = nullptr;
    m_blockSize = 0;
}

} // namespace probex
