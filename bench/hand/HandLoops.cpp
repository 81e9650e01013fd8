// The reference models written out by hand, one step at a time: the same draws, range checks,
// accumulators and logs as a run, through the same x87 functions, with nothing of the
// engine's generality. What a careful programmer would write for one model.

#include "hand/HandLoops.h"

#include "hand/Models.h"

#include "engine/Arithmetic.h"
#include "simulation/HisCompute.h"
#include "simulation/OutHis.h"
#include "simulation/OutLog.h"
#include "simulation/OutStat.h"
#include "variables/Distributions.h"
#include "variables/Random.h"

#include <memory>
#include <new>
#include <stdexcept>
#include <string>

namespace probex::bench {

namespace {

/// The accumulators of one hand-written output, prepared as the run prepares them.
struct HandOutput {
    TOutStat stat;
    TOutHis his;
    TOutLog log;
    HandOutput() {
        StatReset(stat);
        if (!HisAllocate(his, 1024) || !log.allocate(Steps)) throw std::bad_alloc();
        HisReset(his);
    }
    void add(std::int32_t step, Extended v) {
        StatAdd(stat, v);
        HisAdd(his, v);
        log.store(step - 1, v);
    }
    void finish() {
        StatCompute(stat, 2);
        HisCompute(his, 3, true);
    }
};

/// Each operation checked as the language checks it.
struct Checked {
    bool ok = true;
    Extended bin(std::uint8_t code, Extended x, Extended y) {
        Extended r = 0;
        if (BinaryResult(code, x, y, r) != ecNone || !BinaryInRange(r)) ok = false;
        return r;
    }
    Extended fn(std::uint8_t code, Extended x) {
        Extended r = 0;
        if (FunctionResult(code, x, r) != ecNone || !FunctionInRange(r)) ok = false;
        return r;
    }
    Extended result(Extended r) {
        if (!FinalInRange(r)) ok = false;
        return r;
    }
};

TIis MakeInput(const InputDescription& in) {
    TIis iis;
    iis.Kind = std::string(in.type) == "Uniform"  ? DistKind::dkUniform
               : std::string(in.type) == "Normal" ? DistKind::dkNormal
                                                  : DistKind::dkLognormal;
    SetDefaultParameters(iis);
    iis.Min = in.min;
    iis.Max = in.max;
    iis.Mean = in.mean;
    iis.StDev = in.stdev;
    if (!CheckParameters(iis).empty()) throw std::runtime_error("bad parameters");
    return iis;
}

} // namespace

Extended HandBeam() {
    TRandom random;
    random.ApplySeed(false, 0, RunSeed);
    const TIis fyIn = MakeInput(Beam.inputs[0]), wIn = MakeInput(Beam.inputs[1]),
               fIn = MakeInput(Beam.inputs[2]), lIn = MakeInput(Beam.inputs[3]);
    auto outs = std::make_unique<HandOutput[]>(3); // Z, R, S
    Checked c;
    for (std::int32_t step = 1; step <= Steps && c.ok; ++step) {
        // Inputs are drawn in the order the compiled model lists them.
        const Extended F = SampleValue(fIn, random, step);
        const Extended L = SampleValue(lIn, random, step);
        const Extended fy = SampleValue(fyIn, random, step);
        const Extended W = SampleValue(wIn, random, step);
        const Extended S = c.result(c.bin(opDiv, c.bin(opMul, F, L), 1.5L));
        const Extended R = c.result(c.bin(opMul, c.bin(opMul, fy, 1000), W));
        const Extended Z = c.result(c.bin(opSub, R, S));
        outs[0].add(step, Z);
        outs[1].add(step, R);
        outs[2].add(step, S);
    }
    std::int32_t failures = 0;
    for (int k = 0; k < 3; ++k)
        outs[k].finish();
    for (std::int32_t s = 0; s < Steps; ++s)
        failures += 0 > outs[0].log[s];
    return static_cast<Extended>(failures) / Steps;
}

Extended HandPoly() {
    TRandom random;
    random.ApplySeed(false, 0, RunSeed);
    const TIis aIn = MakeInput(Poly.inputs[0]), bIn = MakeInput(Poly.inputs[1]),
               cIn = MakeInput(Poly.inputs[2]);
    HandOutput y;
    Checked k;
    for (std::int32_t step = 1; step <= Steps && k.ok; ++step) {
        const Extended a = SampleValue(aIn, random, step);
        const Extended b = SampleValue(bIn, random, step);
        const Extended c = SampleValue(cIn, random, step);
        const Extended e1 = k.result(k.bin(opAdd, k.bin(opMul, a, b), c));
        const Extended e2 = k.result(k.bin(opAdd, k.bin(opPow, e1, 2), 1));
        const Extended e3 = k.result(k.fn(fnLn, e2));
        const Extended e4 = k.result(k.fn(fnSin, k.bin(opMul, e3, a)));
        const Extended e5 = k.result(k.bin(opSub, e4, k.bin(opDiv, b, a)));
        const Extended e6 = k.result(k.bin(opAdd, k.bin(opMul, e5, e5), e2));
        const Extended e7 = k.result(k.bin(opPow, e6, 0.5L));
        const Extended e8 = k.result(k.bin(opDiv, e7, k.bin(opAdd, 1, b)));
        const Extended e9 = k.result(k.fn(fnLn, k.bin(opAdd, e8, a)));
        const Extended e10 = k.result(k.bin(opAdd, k.fn(fnSin, e9), c));
        const Extended e11 = k.result(k.bin(opPow, e10, 3));
        const Extended e12 = k.result(k.bin(opSub, e11, k.bin(opMul, e8, c)));
        const Extended e13 = k.result(k.bin(opDiv, e12, e6));
        const Extended e14 = k.result(k.bin(opAdd, k.bin(opPow, e13, 2), a));
        const Extended e15 = k.result(k.fn(fnLn, e14));
        const Extended e16 = k.result(k.bin(opMul, k.fn(fnSin, k.bin(opMul, e15, 3)), e7));
        const Extended e17 = k.result(k.bin(opSub, e16, k.bin(opDiv, e1, e2)));
        const Extended e18 = k.result(k.bin(opPow, k.bin(opAdd, k.bin(opMul, e17, e17), 1), 1.5L));
        const Extended e19 = k.result(k.bin(opMul, k.fn(fnLn, e18), b));
        const Extended v = k.result(k.bin(opAdd, k.bin(opSub, e19, k.bin(opDiv, e15, e7)),
                                          k.fn(fnSin, k.bin(opMul, a, c))));
        y.add(step, v);
    }
    y.finish();
    std::int32_t below = 0;
    for (std::int32_t s = 0; s < Steps; ++s)
        below += 0 > y.log[s];
    return static_cast<Extended>(below) / Steps;
}

} // namespace probex::bench
