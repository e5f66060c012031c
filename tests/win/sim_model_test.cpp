// The simulator's default modem model at chosen moments: the start-up
// timeline, the answers, and the traffic behind the cell counters. The model is
// plain C without kernel headers, compiled here as part of this program.
#include "../../sim/driver/model.c"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

uint32_t Number(uint64_t ms, uint16_t code)
{
    ModelAnswer answer;
    ModelAnswerCommand(ms, code, &answer);
    EXPECT_EQ(answer.status, 0) << "code " << code;
    EXPECT_EQ(answer.length, 4) << "code " << code;
    EXPECT_EQ(answer.dataSize, 4u) << "code " << code;
    uint32_t value;
    std::memcpy(&value, answer.data, 4);
    return value;
}

TEST(SimModel, StartUpProgressRisesThroughEachPhaseRange)
{
    struct Phase {
        uint64_t from, to;
        uint32_t low, high;
    } phases[] = {
        {0, MODEL_CARRIER_END_MS, 1, 63},
        {MODEL_CARRIER_END_MS, MODEL_TRAINING_END_MS, 64, 127},
        {MODEL_TRAINING_END_MS, MODEL_LINE_UP_MS, 128, 191},
    };
    for (const Phase& phase : phases) {
        uint32_t previous = 0;
        for (uint64_t ms = phase.from; ms < phase.to; ms += 50) {
            uint32_t progress = Number(ms, 0x01E6);
            EXPECT_GE(progress, phase.low) << ms << " ms";
            EXPECT_LE(progress, phase.high) << ms << " ms";
            EXPECT_GE(progress, previous) << ms << " ms";
            previous = progress;
            EXPECT_EQ(Number(ms, 0x0004), 1u) << "line state while starting, " << ms << " ms";
        }
        EXPECT_GT(previous, phase.low) << "progress moved within the phase";
    }
    EXPECT_EQ(Number(MODEL_LINE_UP_MS, 0x0004), 2u);
    EXPECT_GE(Number(MODEL_LINE_UP_MS, 0x01E6), 0xC0u);
    EXPECT_EQ(Number(100ull * 24 * 3600 * 1000, 0x0004), 2u) << "still up after 100 days";
}

TEST(SimModel, RatesModeAndCombinedRateInputsFollowTheLine)
{
    const uint64_t training = 1000;
    const uint64_t up = MODEL_LINE_UP_MS + 1000;
    EXPECT_EQ(Number(training, 0x0103), 0u);
    EXPECT_EQ(Number(training, 0x0107), 0u);
    EXPECT_EQ(Number(training, 0x0206), 0u);
    EXPECT_EQ(Number(up, 0x0103), 8128u);
    EXPECT_EQ(Number(up, 0x0107), 864u);
    EXPECT_EQ(Number(up, 0x0113), 5u);
    EXPECT_EQ(Number(up, 0x0220), 0u);
    EXPECT_EQ(Number(up, 0x01F5), 0u);

    // rate + multiplicand * 32 / divisor + 32, the multiplicand chosen by the selector
    for (uint64_t ms : {training, up}) {
        uint32_t down = Number(ms, 0x0103) +
                        Number(ms, Number(ms, 0x0104) ? 0x010F : 0x0112) * 32 / std::max(1u, Number(ms, 0x0110)) + 32;
        uint32_t upstream = Number(ms, 0x0107) +
                            Number(ms, Number(ms, 0x0108) ? 0x010B : 0x010E) * 32 / std::max(1u, Number(ms, 0x010C)) +
                            32;
        EXPECT_EQ(down, ms == up ? 8192u : 32u);
        EXPECT_EQ(upstream, ms == up ? 1024u : 32u);
    }
}

TEST(SimModel, TextsAreTerminatedAndUnknownCodesRefused)
{
    for (uint16_t code : {0x0001, 0x01E4, 0x001A}) {
        ModelAnswer answer;
        ModelAnswerCommand(0, code, &answer);
        EXPECT_EQ(answer.status, 0);
        EXPECT_GT(answer.length, 0);
        EXPECT_EQ(answer.dataSize, answer.length + 1u);
        EXPECT_EQ(answer.data[answer.length], 0);
        EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(answer.data)), answer.length);
    }
    ModelAnswer list;
    ModelAnswerCommand(0, 0x001A, &list);
    EXPECT_STREQ(reinterpret_cast<const char*>(list.data), "Trellis,Bitswap,G.994.1");

    for (uint16_t code : {0x0000, 0x0002, 0x0105, 0x0300, 0x0380, 0xFFFF}) {
        ModelAnswer answer;
        ModelAnswerCommand(MODEL_LINE_UP_MS + 5000, code, &answer);
        EXPECT_NE(answer.status, 0) << "code " << code;
        EXPECT_EQ(answer.length, 0) << "code " << code;
        EXPECT_EQ(answer.dataSize, 0u) << "code " << code;
    }
}

TEST(SimModel, TrafficVariesWithinWhatTheLineCarries)
{
    unsigned quiet = 0, downOnly = 0, upOnly = 0, both = 0;
    uint32_t busiestDown = 0;
    for (uint32_t second = 0; second < MODEL_TRAFFIC_PERIOD_S; ++second) {
        uint32_t up, down;
        ModelTrafficOfSecond(second, &up, &down);
        EXPECT_LE(down, MODEL_MAX_DOWN_CELLS) << "second " << second;
        EXPECT_LE(up, MODEL_MAX_UP_CELLS) << "second " << second;
        quiet += up == 0 && down == 0;
        downOnly += up == 0 && down != 0;
        upOnly += up != 0 && down == 0;
        both += up != 0 && down != 0;
        busiestDown = std::max(busiestDown, down);
    }
    EXPECT_GE(quiet, 5u);
    EXPECT_GE(downOnly, 5u);
    EXPECT_GE(upOnly, 5u);
    EXPECT_GE(both, 5u);
    EXPECT_GT(busiestDown, MODEL_MAX_DOWN_CELLS / 2) << "some bursts near the line rate";
}

TEST(SimModel, CellCountersAddUpTheTrafficAndWrap)
{
    EXPECT_EQ(ModelCellCounter(MODEL_LINE_UP_MS - 1, 0), 0u);
    EXPECT_EQ(ModelCellCounter(MODEL_LINE_UP_MS - 1, 1), 0u);

    // Each whole second adds that second's cells; within a second the counter moves evenly.
    for (uint32_t second = 0; second < 2 * MODEL_TRAFFIC_PERIOD_S; second += 7) {
        uint64_t at = MODEL_LINE_UP_MS + second * 1000ull;
        uint32_t up, down;
        ModelTrafficOfSecond(second, &up, &down);
        EXPECT_EQ(ModelCellCounter(at + 1000, 0) - ModelCellCounter(at, 0), up) << "second " << second;
        EXPECT_EQ(ModelCellCounter(at + 1000, 1) - ModelCellCounter(at, 1), down) << "second " << second;
        EXPECT_EQ(ModelCellCounter(at + 500, 1) - ModelCellCounter(at, 1), down / 2)
            << "second " << second;
    }

    // Far on, the 32-bit counter has wrapped: it is the total modulo 2^32.
    uint64_t perPeriod = 0;
    for (uint32_t second = 0; second < MODEL_TRAFFIC_PERIOD_S; ++second) {
        uint32_t up, down;
        ModelTrafficOfSecond(second, &up, &down);
        perPeriod += down;
    }
    const uint64_t periods = 1000000;  // about four years: far beyond 2^32 cells
    ASSERT_GT(perPeriod * periods, 0xFFFFFFFFull);
    uint64_t later = MODEL_LINE_UP_MS + periods * MODEL_TRAFFIC_PERIOD_S * 1000ull;
    EXPECT_EQ(ModelCellCounter(later, 1), static_cast<uint32_t>(perPeriod * periods));
    EXPECT_EQ(Number(later, 0x0381), static_cast<uint32_t>(perPeriod * periods));
}

}  // namespace
