/*
 * The simulator's mutable state: the model's start time, the fixed answers
 * that override the model, and the statistics. Every function takes the spin
 * lock itself, so callers from several processes at once see consistent state.
 */
#ifndef ADSLSIM_SIMSTATE_H
#define ADSLSIM_SIMSTATE_H

#include <ddk/wdm.h>
#include "AdslSimProtocol.h"

typedef enum SIM_MODEM_DEVICE {
    SimModemUsb = 0,
    SimModemPci = 1,
    SimModemDeviceCount = 2
} SIM_MODEM_DEVICE;

typedef struct SIM_STATE {
    KSPIN_LOCK Lock;
    LONGLONG Frequency;                 /* performance counter ticks per second */
    LONGLONG ModelStart;                /* performance counter at start or reset */
    AdslSimOverride *Overrides[ADSLSIM_MAX_OVERRIDES]; /* pool copies, first OverrideCount used */
    ULONG OverrideCount;
    ULONG Opens[SimModemDeviceCount];
    ULONG *CodeCounts;                  /* 65536 request counts, one per command code */
} SIM_STATE;

NTSTATUS SimStateInit(SIM_STATE *state);
void SimStateFree(SIM_STATE *state);

/* Fixed answers gone, statistics cleared, the model starts again. */
void SimStateReset(SIM_STATE *state);

/*
 * Answers command `code`: status and length words, and up to `capacity` data
 * bytes. STATUS_UNSUCCESSFUL when the code is set to fail (nothing written).
 */
NTSTATUS SimStateAnswer(SIM_STATE *state, USHORT code, USHORT *status, USHORT *length,
                        UCHAR *data, ULONG capacity, ULONG *written);

void SimStateCountOpen(SIM_STATE *state, SIM_MODEM_DEVICE device);

NTSTATUS SimStateSetOverride(SIM_STATE *state, const AdslSimOverride *value);
void SimStateUnsetOverride(SIM_STATE *state, USHORT code);
/* Copies override `index` (in the order they were first set); STATUS_NO_MORE_ENTRIES past the end. */
NTSTATUS SimStateGetOverride(SIM_STATE *state, ULONG index, AdslSimOverride *value);
ULONG SimStateOverrideCount(SIM_STATE *state);
ULONGLONG SimStateModelTimeMs(SIM_STATE *state);

/* Fills `stats` and as many code records after it as `size` allows; returns the bytes written. */
ULONG SimStateGetStats(SIM_STATE *state, AdslSimStats *stats, ULONG size);
void SimStateClearStats(SIM_STATE *state);

#endif
