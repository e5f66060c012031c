/*
 * The default modem model: a lifelike ADSL2+ line as a pure function of the
 * time since the driver started (or was last reset). No kernel headers here,
 * so that a test program can compile the model on its own.
 *
 * Timeline: carrier detection, training, firmware loading (line state 1 with
 * the start-up progress rising through 1..63, 64..127, 128..191), then the line
 * stays up (line state 2) with fixed rates and cell counters that follow a
 * repeating pattern of simulated traffic.
 */
#ifndef ADSLSIM_MODEL_H
#define ADSLSIM_MODEL_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MODEL_CARRIER_END_MS 3000u  /* detecting carrier until here */
#define MODEL_TRAINING_END_MS 6000u /* then training until here */
#define MODEL_LINE_UP_MS 7000u      /* then loading firmware; the line is up from here on */

#define MODEL_DOWNSTREAM_KBPS 8128u /* command 0x0103 */
#define MODEL_UPSTREAM_KBPS 864u    /* command 0x0107 */
#define MODEL_MODE_ADSL2PLUS 5u     /* command 0x0113 while up: list entry "ADSL2+" */
#define MODEL_PROGRESS_UP 0xC0u     /* command 0x01E6 while up */

/* A 53-byte cell is 424 bits: the most cells a second each direction can carry. */
#define MODEL_MAX_DOWN_CELLS (MODEL_DOWNSTREAM_KBPS * 1000u / 424u)
#define MODEL_MAX_UP_CELLS (MODEL_UPSTREAM_KBPS * 1000u / 424u)

/* The traffic pattern repeats after this many seconds of line up. */
#define MODEL_TRAFFIC_PERIOD_S 120u

#define MODEL_MAX_DATA 64u

typedef struct ModelAnswer {
    uint16_t status;   /* 0, or a driver error for a code the modem does not know */
    uint16_t length;   /* the length word: texts do not count their terminator */
    uint32_t dataSize; /* bytes of data, texts with their terminator */
    uint8_t data[MODEL_MAX_DATA];
} ModelAnswer;

/* The model's answer to command `code` at `elapsedMs`. */
void ModelAnswerCommand(uint64_t elapsedMs, uint16_t code, ModelAnswer *answer);

/* Cells the simulated traffic carries in one second of line up (0-based). */
void ModelTrafficOfSecond(uint32_t second, uint32_t *upCells, uint32_t *downCells);

/* The 32-bit cell counters: upstream (0x0301) and downstream (0x0381). */
uint32_t ModelCellCounter(uint64_t elapsedMs, int downstream);

#ifdef __cplusplus
}
#endif

#endif
