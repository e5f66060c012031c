/*
 * The default modem model; see model.h. Written in the common subset of C and
 * C++ so that the model test can compile it as part of its own program.
 */
#include "model.h"
#include "../common/AdslSimProtocol.h"

static const char kDriverVersion[] = "ADSLSIM 2.1.7 (simulated driver)";
static const char kFirmwareVersion[] = "ADSLSIM firmware 3.40.12 (simulated)";
static const char kFeatureList[] = "Trellis,Bitswap,G.994.1";

/* A 32-bit integer hash: the simulated traffic is a fixed pseudo-random pattern. */
static uint32_t Mix(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

/* `low`..`high` per cent of `max`, chosen by `random`. */
static uint32_t Share(uint32_t max, uint32_t low, uint32_t high, uint32_t random)
{
    uint32_t percent = low + random % (high - low + 1u);
    return max * percent / 100u;
}

/*
 * The traffic comes in four-second episodes of one kind each: quiet, a download
 * (with acknowledgements upstream), a stream (downstream only), an upload
 * (upstream only), or browsing (light, with quiet seconds in between).
 */
void ModelTrafficOfSecond(uint32_t second, uint32_t *upCells, uint32_t *downCells)
{
    uint32_t slot = second % MODEL_TRAFFIC_PERIOD_S;
    uint32_t kind = Mix(slot / 4u + 0x51D0u) % 100u;
    uint32_t random = Mix(slot * 2654435761u + 7u);
    uint32_t up = 0;
    uint32_t down = 0;

    if (kind < 20u) {
        /* quiet */
    } else if (kind < 45u) {
        down = Share(MODEL_MAX_DOWN_CELLS, 55u, 95u, random);
        up = down / 48u;
    } else if (kind < 60u) {
        down = Share(MODEL_MAX_DOWN_CELLS, 15u, 35u, random);
    } else if (kind < 75u) {
        up = Share(MODEL_MAX_UP_CELLS, 60u, 95u, random);
    } else if (random % 3u != 0u) {
        down = Share(MODEL_MAX_DOWN_CELLS, 1u, 12u, random >> 8);
        up = Share(MODEL_MAX_UP_CELLS, 1u, 8u, random >> 16);
    }
    *upCells = up;
    *downCells = down;
}

static uint32_t CellsOfSecond(uint32_t second, int downstream)
{
    uint32_t up;
    uint32_t down;
    ModelTrafficOfSecond(second, &up, &down);
    return downstream ? down : up;
}

/* Cells counted since the line came up; the counter wraps modulo 2^32. */
uint32_t ModelCellCounter(uint64_t elapsedMs, int downstream)
{
    uint64_t upMs;
    uint64_t seconds;
    uint64_t periods;
    uint32_t slot;
    uint64_t perPeriod = 0;
    uint64_t total = 0;
    uint32_t i;

    if (elapsedMs < MODEL_LINE_UP_MS)
        return 0;
    upMs = elapsedMs - MODEL_LINE_UP_MS;
    seconds = upMs / 1000u;
    periods = seconds / MODEL_TRAFFIC_PERIOD_S;
    slot = (uint32_t)(seconds % MODEL_TRAFFIC_PERIOD_S);
    for (i = 0; i < MODEL_TRAFFIC_PERIOD_S; ++i) {
        uint32_t cells = CellsOfSecond(i, downstream);
        perPeriod += cells;
        if (i < slot)
            total += cells;
    }
    total += periods * perPeriod;
    total += (uint64_t)CellsOfSecond(slot, downstream) * (upMs % 1000u) / 1000u;
    return (uint32_t)total;
}

/* Start-up progress (command 0x01E6): rises through one range per phase. */
static uint32_t Progress(uint64_t ms)
{
    if (ms < MODEL_CARRIER_END_MS)
        return 1u + (uint32_t)(ms * 62u / MODEL_CARRIER_END_MS);
    if (ms < MODEL_TRAINING_END_MS)
        return 64u + (uint32_t)((ms - MODEL_CARRIER_END_MS) * 63u / (MODEL_TRAINING_END_MS - MODEL_CARRIER_END_MS));
    if (ms < MODEL_LINE_UP_MS)
        return 128u + (uint32_t)((ms - MODEL_TRAINING_END_MS) * 63u / (MODEL_LINE_UP_MS - MODEL_TRAINING_END_MS));
    return MODEL_PROGRESS_UP;
}

static void AnswerNumber(ModelAnswer *answer, uint32_t value)
{
    answer->length = 4;
    answer->dataSize = 4;
    answer->data[0] = (uint8_t)value;
    answer->data[1] = (uint8_t)(value >> 8);
    answer->data[2] = (uint8_t)(value >> 16);
    answer->data[3] = (uint8_t)(value >> 24);
}

/* A zero-terminated text; the length word leaves the terminator out. */
static void AnswerText(ModelAnswer *answer, const char *text)
{
    uint32_t n = 0;
    while (text[n] != '\0' && n + 1u < MODEL_MAX_DATA) {
        answer->data[n] = (uint8_t)text[n];
        ++n;
    }
    answer->data[n] = 0;
    answer->length = (uint16_t)n;
    answer->dataSize = n + 1u;
}

void ModelAnswerCommand(uint64_t elapsedMs, uint16_t code, ModelAnswer *answer)
{
    int up = elapsedMs >= MODEL_LINE_UP_MS;

    answer->status = 0;
    answer->length = 0;
    answer->dataSize = 0;
    switch (code) {
    case 0x0001: AnswerText(answer, kDriverVersion); break;
    case 0x0004: AnswerNumber(answer, up ? 2u : 1u); break;            /* line state */
    case 0x001A: AnswerText(answer, kFeatureList); break;
    /* Downstream: 0x0103 rate; 0x0104 selects 0x010F over 0x0112; 0x0110 divides. */
    case 0x0103: AnswerNumber(answer, up ? MODEL_DOWNSTREAM_KBPS : 0u); break;
    case 0x0104: AnswerNumber(answer, 1u); break;
    case 0x010F: AnswerNumber(answer, up ? 4u : 0u); break;
    case 0x0112: AnswerNumber(answer, up ? 12u : 0u); break;
    case 0x0110: AnswerNumber(answer, 4u); break;
    /* Upstream: 0x0107 rate; 0x0108 = 0 selects 0x010E over 0x010B; 0x010C divides. */
    case 0x0107: AnswerNumber(answer, up ? MODEL_UPSTREAM_KBPS : 0u); break;
    case 0x0108: AnswerNumber(answer, 0u); break;
    case 0x010B: AnswerNumber(answer, up ? 8u : 0u); break;
    case 0x010E: AnswerNumber(answer, up ? 16u : 0u); break;
    case 0x010C: AnswerNumber(answer, 4u); break;
    case 0x0113: AnswerNumber(answer, up ? MODEL_MODE_ADSL2PLUS : 0u); break; /* mode while up */
    case 0x01E4: AnswerText(answer, kFirmwareVersion); break;
    case 0x01E6: AnswerNumber(answer, Progress(elapsedMs)); break;
    case 0x01F5: AnswerNumber(answer, 0u); break;                      /* not dual bitmap */
    case 0x0206: AnswerNumber(answer, 0u); break;                      /* mode while not up: multimode */
    case 0x0220: AnswerNumber(answer, 0u); break;                      /* annex A */
    case 0x0301: AnswerNumber(answer, ModelCellCounter(elapsedMs, 0)); break;
    case 0x0381: AnswerNumber(answer, ModelCellCounter(elapsedMs, 1)); break;
    default: answer->status = ADSLSIM_STATUS_UNKNOWN_COMMAND; break;
    }
}
