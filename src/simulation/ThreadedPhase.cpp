// The main phase of a run with the "Parallel" generator on a pool of threads. Every step's
// draws depend only on the seeds and the step's number, so the threads evaluate chunks of
// steps in any order, each with its own copy of what a step changes, write the chunk's log
// slots and keep the values the accumulators need. One thread at a time, whichever finds the
// next chunk in step order complete, feeds them to the statistics and histograms in step
// order, with the refreshes and the stop rule at the steps of a plain run: the results are
// those of a plain run, bit for bit.

#include "simulation/RunController.h"

#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"
#include "variables/Copula.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>

namespace probex {

namespace {

/// Steps handed to a thread at a time: long enough that handing over costs nothing per
/// step, short enough that a stop or the end of a run waits little for the slowest thread.
constexpr std::int32_t ChunkSteps = 1024;

/// Chunks in flight per thread: enough that the others go on while one thread waits a few
/// milliseconds for the system to clear the fresh pages of its logs...
constexpr std::int32_t ChunksPerThread = 16;
/// ...within this many bytes of values, and never below two chunks per thread.
constexpr std::size_t RingValueBytes = std::size_t{32} << 20;

} // namespace

/// A range of steps and the values of the run's recorded variables at each, column by column.
struct TPxThread::Chunk {
    std::int64_t index = -1; ///< the chunk's number in the phase
    bool published = false;  ///< evaluated (in part when `done` < `steps`)
    std::int32_t first = 0;  ///< its first step
    std::int32_t steps = 0;
    std::int32_t done = 0;      ///< steps evaluated; a failed step or a stop ends the chunk early
    bool failed = false;        ///< step first + done failed
    Extended* values = nullptr; ///< in the pool's block of values, column by column
    /// Per output: the histogram's range when the chunk was handed out, and whether `bins`
    /// holds the bin of every value evaluated for it in that range.
    std::vector<THisRange> ranges;
    std::vector<char> binned;
    std::int32_t* bins = nullptr; ///< output by output, ChunkSteps each, in the pool's block
    /// Per output with statistics: the least and the greatest value of the chunk, with which
    /// the feeding thread sees whether the statistics' extremes can change at all.
    std::vector<Extended> lowest, highest;

    Extended* column(std::size_t c) { return values + c * ChunkSteps; }
    const Extended* column(std::size_t c) const { return values + c * ChunkSteps; }
};

/// What one thread changes while it evaluates steps.
struct TPxThread::StepWorker {
    std::unique_ptr<tDecodedEquations> set;
    TRandom random;
    std::unique_ptr<TCopula> copula;
    std::unique_ptr<tBlockValues> block; // null: every step alone
    TEquError error;
    /// The chunks this thread evaluates into, in memory of its own: a chunk written by one
    /// thread and later by another moves every line of it between the cores. Guarded, but for
    /// their values, by the pool's mutex.
    std::vector<Chunk> chunks;
    std::unique_ptr<Extended[]> values;   ///< the chunks' values, left uninitialised
    std::unique_ptr<std::int32_t[]> bins; ///< the chunks' bins, left uninitialised

    /// A chunk already fed (or never used), which may take a new number; or null.
    Chunk* idleChunk(std::int64_t fed) {
        for (Chunk& chunk : chunks)
            if (chunk.index < fed) return &chunk;
        return nullptr;
    }
};

/// What the threads share; every field but the chunks' values is guarded by `mutex`.
struct TPxThread::Pool {
    std::mutex mutex;
    std::condition_variable changed;
    /// The chunk of each number from `fed` on, at the number modulo the ring's size; a
    /// chunk is one of its thread's.
    std::vector<Chunk*> ring;
    std::int32_t start = 0; ///< the step before the phase's first
    std::int64_t total = 0; ///< chunks up to the last step
    std::int64_t claimed = 0;
    std::int64_t fed = 0;
    std::int64_t limit = 0; ///< chunks that may be claimed: none past a failed one
    bool consuming = false;
    bool ended = false;
    Phase outcome = Phase::Finished;
    std::int32_t failedStep = 0;
    /// The variable of each column: the outputs' in their order, then the logged inputs'.
    std::vector<std::int32_t> columnVars;
    std::vector<TOutLog*> inputLogs; ///< the log of each column after the outputs'
    /// Each output's histogram range after the chunks fed so far: the threads find the bins of
    /// their values with it, which the feeding thread counts unless the range changed since.
    std::vector<THisRange> ranges;

    Chunk*& slot(std::int64_t index) {
        return ring[static_cast<std::size_t>(index % static_cast<std::int64_t>(ring.size()))];
    }
};

namespace {

/// Draws one step's inputs into `value(varIndex)`. False when a stop request cut a draw short.
template <typename Store>
bool DrawStep(const TRunSetup& s, TRandom& random, TCopula* copula, std::int32_t step,
              const std::atomic<bool>& stop, const Store& store) {
    random.beginStep(step);
    bool abandoned = false;
    for (const TRunInput& in : s.inputs) {
        const Extended v = SampleValue(*in.iis, random, step, &stop);
        abandoned |= std::isnan(v);
        store(in.varIndex, v);
    }
    if (copula) {
        const Extended* drawn = copula->draw(random);
        const std::size_t count = s.correlated.size();
        for (std::size_t i = 0; i < count; ++i)
            store(s.correlated[i].varIndex, drawn[i]);
    }
    // Only a stop request abandons a draw; a finished draw is never NaN.
    return !(abandoned && stop.load(std::memory_order_relaxed));
}

} // namespace

void TPxThread::evaluateChunk(const Pool& pool, Chunk& chunk, StepWorker& w) {
    const std::vector<std::int32_t>& columnVars = pool.columnVars;
    const std::size_t columns = columnVars.size();
    tVars& values = w.set->Vars;
    std::int32_t l = 0;
    int stepsAlone = 0; // steps to evaluate one by one after a block that could not complete
    chunk.failed = false;
    while (l < chunk.steps && !m_stop.load(std::memory_order_relaxed)) {
        if (w.block && stepsAlone == 0 && chunk.steps - l >= BlockSteps) {
            tBlockValues& block = *w.block;
            bool drawn = true;
            for (int b = 0; b < BlockSteps && drawn; ++b)
                drawn = DrawStep(m_setup, w.random, w.copula.get(), chunk.first + l + b, m_stop,
                                 [&block, b](std::int32_t v, Extended x) {
                                     block.Values[static_cast<std::size_t>(v)][b] = x;
                                 });
            if (!drawn) break;
            if (EvaluateEquationsBlock(*w.set, block)) {
                for (std::size_t c = 0; c < columns; ++c)
                    std::copy_n(block.Values[static_cast<std::size_t>(columnVars[c])].data(),
                                BlockSteps, chunk.column(c) + l);
                l += BlockSteps;
                continue;
            }
            stepsAlone = BlockSteps;
        }
        if (stepsAlone > 0) --stepsAlone;
        if (!DrawStep(m_setup, w.random, w.copula.get(), chunk.first + l, m_stop,
                      [&values](std::int32_t v, Extended x) {
                          values.Values[static_cast<std::size_t>(v)] = x;
                      }))
            break;
        if (EvaluateEquations(*w.set, w.error) != ecNone) {
            chunk.failed = true;
            break;
        }
        for (std::size_t c = 0; c < columns; ++c)
            chunk.column(c)[l] = values.Values[static_cast<std::size_t>(columnVars[c])];
        ++l;
    }
    chunk.done = l;
    // The logs take the chunk's slots here, on many threads at once: no slot is read before the
    // chunk is fed, nor written by another thread.
    const std::size_t outputs = m_setup.outputs.size();
    for (std::size_t c = 0; c < columns; ++c) {
        TOutLog* log = c < outputs ? m_setup.outputs[c].log : pool.inputLogs[c - outputs];
        if (!log) continue;
        const Extended* v = chunk.column(c);
        for (std::int32_t i = 0; i < l; ++i)
            log->store(chunk.first - 1 + i, v[i]);
    }
    for (std::size_t j = 0; j < outputs; ++j) {
        chunk.binned[j] = m_setup.outputs[j].his &&
                          HisBins(chunk.ranges[j], chunk.column(j), l, chunk.bins + j * ChunkSteps);
        if (m_setup.outputs[j].stat && l > 0)
            StatExtremes(chunk.column(j), l, chunk.lowest[j], chunk.highest[j]);
    }
}

bool TPxThread::feedChunk(Pool& pool, const Chunk& chunk) {
    std::int32_t& step = *m_setup.stepCounter;
    const std::int32_t end = chunk.first + chunk.done - 1; // the last evaluated step
    const std::size_t outputs = m_setup.outputs.size();
    while (step < end) {
        // Up to the next refresh at the most, so that it sees what it would see in a plain run.
        const std::int32_t to =
            static_cast<std::int32_t>(std::min<std::int64_t>(end, m_nextRefresh));
        const std::int32_t from = step + 1 - chunk.first;
        const int count = to - step;
        for (std::size_t j = 0; j < outputs; ++j) {
            const TRunOutput& out = m_setup.outputs[j];
            const Extended* values = chunk.column(j) + from;
            if (out.stat) {
                const TOutStat& stat = *out.stat;
                if (stat.started && !(chunk.lowest[j] < stat.min) && !(chunk.highest[j] > stat.max))
                    StatAddSums(*out.stat, values, count);
                else
                    StatAddValues(*out.stat, values, count);
            }
            if (!out.his) continue;
            if (chunk.binned[j] && HisRangeOf(*out.his) == chunk.ranges[j])
                HisAddBins(*out.his, chunk.bins + j * ChunkSteps + from, count);
            else
                HisAddValues(*out.his, values, count);
        }
        step = to;
        refresh(step);
        if (m_stop.load(std::memory_order_relaxed)) {
            pool.outcome = Phase::Stopped;
            return false;
        }
    }
    if (chunk.failed) {
        pool.outcome = Phase::Failed;
        pool.failedStep = end + 1;
        return false;
    }
    if (chunk.done < chunk.steps) {
        pool.outcome = Phase::Stopped;
        return false;
    }
    return true;
}

void TPxThread::poolThread(Pool& pool, StepWorker& worker) {
    const auto ringSize = static_cast<std::int64_t>(pool.ring.size());
    std::unique_lock lock(pool.mutex);
    while (!pool.ended) {
        Chunk* const next = pool.slot(pool.fed);
        if (!pool.consuming && next && next->published && next->index == pool.fed) {
            pool.consuming = true;
            lock.unlock();
            const bool goOn = feedChunk(pool, *next);
            lock.lock();
            pool.consuming = false;
            if (goOn) {
                next->published = false;
                ++pool.fed;
                for (std::size_t j = 0; j < pool.ranges.size(); ++j)
                    if (m_setup.outputs[j].his)
                        pool.ranges[j] = HisRangeOf(*m_setup.outputs[j].his);
            } else {
                pool.ended = true;
            }
            pool.changed.notify_all();
            continue;
        }
        const bool stop = m_stop.load(std::memory_order_relaxed);
        if (!pool.consuming && pool.fed == pool.claimed && (stop || pool.fed == pool.total)) {
            pool.outcome = pool.fed == pool.total ? Phase::Finished : Phase::Stopped;
            pool.ended = true;
            pool.changed.notify_all();
            break;
        }
        Chunk* const idle = worker.idleChunk(pool.fed);
        if (!stop && idle && pool.claimed < pool.limit && pool.claimed < pool.fed + ringSize) {
            Chunk& chunk = *idle;
            pool.slot(pool.claimed) = idle;
            chunk.index = pool.claimed++;
            chunk.first = pool.start + static_cast<std::int32_t>(chunk.index * ChunkSteps) + 1;
            chunk.steps = std::min(ChunkSteps, m_setup.lastStep - chunk.first + 1);
            std::copy(pool.ranges.begin(), pool.ranges.end(), chunk.ranges.begin());
            lock.unlock();
            evaluateChunk(pool, chunk, worker);
            lock.lock();
            chunk.published = true;
            if (chunk.failed) pool.limit = std::min(pool.limit, chunk.index + 1);
            pool.changed.notify_all();
            continue;
        }
        pool.changed.wait(lock);
    }
}

bool TPxThread::threadedPhase(Phase& phase) {
    const TRunSetup& s = m_setup;
    const std::int32_t start = *s.stepCounter;
    if (start >= s.lastStep) return false;
    Pool pool;
    std::size_t threadCount = 0, columns = 0, binColumns = 0, chunksPerThread = 0;
    const std::size_t outputs = s.outputs.size();
    try {
        for (const TRunOutput& out : s.outputs)
            pool.columnVars.push_back(out.varIndex);
        for (const std::vector<TRunInput>* list : {&s.inputs, &s.correlated})
            for (const TRunInput& in : *list)
                if (in.log) {
                    pool.columnVars.push_back(in.varIndex);
                    pool.inputLogs.push_back(in.log);
                }
        pool.start = start;
        pool.total = (std::int64_t{s.lastStep} - start + ChunkSteps - 1) / ChunkSteps;
        pool.limit = pool.total;
        threadCount = static_cast<std::size_t>(std::min<std::int64_t>(s.threads, pool.total));
        columns = std::max<std::size_t>(1, pool.columnVars.size());
        binColumns = std::max<std::size_t>(1, outputs);
        chunksPerThread = std::clamp<std::size_t>(
            RingValueBytes / (columns * ChunkSteps * sizeof(Extended)) / threadCount, 2,
            ChunksPerThread);
        pool.ring.resize(threadCount * chunksPerThread);
        pool.ranges.resize(outputs);
        for (std::size_t j = 0; j < outputs; ++j)
            if (s.outputs[j].his) pool.ranges[j] = HisRangeOf(*s.outputs[j].his);
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Reads the run's equations, generator and copula, which no thread changes before the
    // pool ends.
    const auto newWorker = [&] {
        auto w = std::make_unique<StepWorker>();
        w->set = std::make_unique<tDecodedEquations>(*s.set);
        w->random = *s.random;
        if (s.copula) w->copula = std::make_unique<TCopula>(*s.copula);
        if (s.interleaved) {
            w->block = std::make_unique<tBlockValues>();
            w->block->load(w->set->Vars);
        }
        w->values =
            std::make_unique_for_overwrite<Extended[]>(chunksPerThread * columns * ChunkSteps);
        w->bins = std::make_unique_for_overwrite<std::int32_t[]>(chunksPerThread * binColumns *
                                                                 ChunkSteps);
        w->chunks.resize(chunksPerThread);
        for (std::size_t i = 0; i < chunksPerThread; ++i) {
            Chunk& chunk = w->chunks[i];
            chunk.values = w->values.get() + i * columns * ChunkSteps;
            chunk.bins = w->bins.get() + i * binColumns * ChunkSteps;
            chunk.ranges.resize(outputs);
            chunk.binned.resize(outputs);
            chunk.lowest.resize(outputs);
            chunk.highest.resize(outputs);
        }
        return w;
    };
    std::vector<std::unique_ptr<StepWorker>> workers;
    std::vector<std::thread> threads;
    try {
        workers.resize(threadCount);
        workers[0] = newWorker();
    } catch (const std::bad_alloc&) {
        return false;
    }
    // The run's own thread is one of the pool. The others copy what a step changes on their
    // own, meanwhile; a thread the system refuses, or without the memory, is done without.
    for (std::size_t t = 1; t < workers.size(); ++t) {
        try {
            threads.emplace_back([this, &pool, &newWorker, &w = workers[t]] {
                try {
                    w = newWorker();
                } catch (const std::bad_alloc&) {
                    return;
                }
                poolThread(pool, *w);
            });
        } catch (const std::system_error&) {
            break;
        }
    }
    poolThread(pool, *workers[0]);
    for (std::thread& thread : threads)
        thread.join();

    // The run's equations and generator end as a plain run leaves them: after the last step
    // fed, and at a failed step with the values of the step before where it failed.
    phase = pool.outcome;
    const std::int32_t last = *s.stepCounter;
    if (last > start) replayStep(last);
    if (phase == Phase::Failed && replayStep(pool.failedStep)) {
        // Cannot happen, as the step failed on its thread; were it so, it is fed next time.
        *s.stepCounter = last;
        phase = Phase::Stopped;
    }
    return true;
}

} // namespace probex
