// The simulator's modem model (plain C without kernel headers, compiled in)
// at chosen moments: the start-up timeline and the traffic behind the cell
// counters. Texts and unknown codes are seen in sim_channel_test.
#include "../../sim/driver/model.c"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// A number answer; 0xDEADBEEF for any other.
uint32_t Number(uint64_t ms, uint16_t code)
{
    ModelAnswer answer;
    ModelAnswerCommand(ms, code, &answer);
    uint32_t value = 0xDEADBEEF;
    if (answer.status == 0 && answer.length == 4 && answer.dataSize == 4)
        std::memcpy(&value, answer.data, 4);
    return value;
}

TEST(SimModel, StartUpProgressRisesThroughEachPhaseThenTheLineStaysUp)
{
    // Detecting carrier 1-63, training 64-127, loading firmware 128-191, then up from 0xC0 on.
    uint32_t previous = 0;
    for (uint64_t ms = 0; ms < MODEL_LINE_UP_MS; ms += 50) {
        uint32_t phase = ms < MODEL_CARRIER_END_MS ? 0 : ms < MODEL_TRAINING_END_MS ? 1 : 2;
        uint32_t progress = Number(ms, 0x01E6);
        EXPECT_TRUE(progress >= std::max(previous, phase * 64 + !phase) && progress < phase * 64 + 64) << ms << " ms";
        EXPECT_EQ(Number(ms, 0x0004), 1u) << ms << " ms";
        previous = progress;
    }
    EXPECT_GT(previous, 160u);
    EXPECT_GE(Number(MODEL_LINE_UP_MS, 0x01E6), 0xC0u);
    EXPECT_EQ(Number(MODEL_LINE_UP_MS, 0x0004), 2u);
    EXPECT_EQ(Number(100ull * 24 * 3600 * 1000, 0x0004), 2u) << "still up after 100 days";
}

TEST(SimModel, TrafficStaysWithinTheLineAndTheCountersAddItUpAndWrap)
{
    uint64_t downPerPeriod = 0;
    for (uint32_t second = 0; second < MODEL_TRAFFIC_PERIOD_S; ++second) {
        uint32_t up, down;
        ModelTrafficOfSecond(second, &up, &down);
        EXPECT_TRUE(down <= MODEL_MAX_DOWN_CELLS && up <= MODEL_MAX_UP_CELLS) << "second " << second;
        downPerPeriod += down;
        // Each whole second adds that second's cells, half of them by its middle.
        uint64_t at = MODEL_LINE_UP_MS + second * 1000ull;
        EXPECT_EQ(ModelCellCounter(at + 1000, 0) - ModelCellCounter(at, 0), up) << "second " << second;
        EXPECT_EQ(ModelCellCounter(at + 1000, 1) - ModelCellCounter(at, 1), down) << "second " << second;
        EXPECT_EQ(ModelCellCounter(at + 500, 1) - ModelCellCounter(at, 1), down / 2) << "second " << second;
    }
    EXPECT_GT(downPerPeriod, 0u);
    EXPECT_EQ(ModelCellCounter(MODEL_LINE_UP_MS - 1, 1), 0u);
    // About four years on, far beyond 2^32 cells: the total modulo 2^32.
    const uint64_t periods = 1000000;
    EXPECT_EQ(Number(MODEL_LINE_UP_MS + periods * MODEL_TRAFFIC_PERIOD_S * 1000, 0x0381),
              uint32_t(downPerPeriod * periods));
}

} // namespace
