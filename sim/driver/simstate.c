/*
 * The simulator's state; see simstate.h. Pool memory is allocated and freed
 * outside the spin lock; under it only pointers and counters change.
 */
#include "simstate.h"
#include "model.h"

#define SIM_POOL_TAG 0x6D695341u /* "ASim" in pool dumps */
#define SIM_CODE_COUNT 65536u

static LONGLONG PerformanceCounter(LONGLONG *frequency)
{
    LARGE_INTEGER freq;
    LARGE_INTEGER now = KeQueryPerformanceCounter(&freq);
    if (frequency != NULL)
        *frequency = freq.QuadPart;
    return now.QuadPart;
}

NTSTATUS SimStateInit(SIM_STATE *state)
{
    RtlZeroMemory(state, sizeof(*state));
    KeInitializeSpinLock(&state->Lock);
    state->CodeCounts = ExAllocatePoolWithTag(NonPagedPoolNx, SIM_CODE_COUNT * sizeof(ULONG), SIM_POOL_TAG);
    if (state->CodeCounts == NULL)
        return STATUS_INSUFFICIENT_RESOURCES;
    RtlZeroMemory(state->CodeCounts, SIM_CODE_COUNT * sizeof(ULONG));
    state->ModelStart = PerformanceCounter(&state->Frequency);
    if (state->Frequency <= 0)
        state->Frequency = 1;
    return STATUS_SUCCESS;
}

void SimStateFree(SIM_STATE *state)
{
    ULONG i;
    for (i = 0; i < state->OverrideCount; ++i)
        ExFreePoolWithTag(state->Overrides[i], SIM_POOL_TAG);
    state->OverrideCount = 0;
    if (state->CodeCounts != NULL)
        ExFreePoolWithTag(state->CodeCounts, SIM_POOL_TAG);
    state->CodeCounts = NULL;
}

/* Caller holds the lock. */
static LONG FindOverride(const SIM_STATE *state, USHORT code)
{
    ULONG i;
    for (i = 0; i < state->OverrideCount; ++i) {
        if (state->Overrides[i]->code == code)
            return (LONG)i;
    }
    return -1;
}

/* Caller holds the lock. */
static ULONGLONG ElapsedMs(const SIM_STATE *state, LONGLONG now)
{
    ULONGLONG ticks = now > state->ModelStart ? (ULONGLONG)(now - state->ModelStart) : 0;
    ULONGLONG frequency = (ULONGLONG)state->Frequency;
    return ticks / frequency * 1000u + ticks % frequency * 1000u / frequency;
}

void SimStateReset(SIM_STATE *state)
{
    AdslSimOverride *removed[ADSLSIM_MAX_OVERRIDES];
    ULONG removedCount;
    ULONG i;
    KIRQL irql;
    LONGLONG now = PerformanceCounter(NULL);

    KeAcquireSpinLock(&state->Lock, &irql);
    removedCount = state->OverrideCount;
    for (i = 0; i < removedCount; ++i)
        removed[i] = state->Overrides[i];
    state->OverrideCount = 0;
    state->Opens[SimModemUsb] = 0;
    state->Opens[SimModemPci] = 0;
    RtlZeroMemory(state->CodeCounts, SIM_CODE_COUNT * sizeof(ULONG));
    state->ModelStart = now;
    KeReleaseSpinLock(&state->Lock, irql);

    for (i = 0; i < removedCount; ++i)
        ExFreePoolWithTag(removed[i], SIM_POOL_TAG);
}

static void CopyData(UCHAR *to, ULONG capacity, const UCHAR *from, ULONG size, ULONG *written)
{
    ULONG n = size < capacity ? size : capacity;
    RtlCopyMemory(to, from, n);
    *written = n;
}

NTSTATUS SimStateAnswer(SIM_STATE *state, USHORT code, USHORT *status, USHORT *length,
                        UCHAR *data, ULONG capacity, ULONG *written)
{
    ModelAnswer model;
    ULONGLONG elapsedMs;
    KIRQL irql;
    LONG index;
    LONGLONG now = PerformanceCounter(NULL);

    *written = 0;
    KeAcquireSpinLock(&state->Lock, &irql);
    state->CodeCounts[code]++;
    index = FindOverride(state, code);
    if (index >= 0) {
        AdslSimOverride *fixed = state->Overrides[index];
        NTSTATUS result = STATUS_SUCCESS;
        switch (fixed->kind) {
        case ADSLSIM_OVERRIDE_FAIL:
            result = STATUS_UNSUCCESSFUL;
            break;
        case ADSLSIM_OVERRIDE_COUNTER: {
            ULONG value = fixed->counterNext;
            UCHAR bytes[4] = { (UCHAR)value, (UCHAR)(value >> 8), (UCHAR)(value >> 16), (UCHAR)(value >> 24) };
            fixed->counterNext = value + fixed->counterStep; /* wraps modulo 2^32 */
            *status = 0;
            *length = 4;
            CopyData(data, capacity, bytes, sizeof(bytes), written);
            break;
        }
        default:
            *status = fixed->status;
            *length = fixed->length;
            CopyData(data, capacity, fixed->data, fixed->dataSize, written);
            break;
        }
        KeReleaseSpinLock(&state->Lock, irql);
        return result;
    }
    elapsedMs = ElapsedMs(state, now);
    KeReleaseSpinLock(&state->Lock, irql);

    ModelAnswerCommand(elapsedMs, code, &model);
    *status = model.status;
    *length = model.length;
    CopyData(data, capacity, model.data, model.dataSize, written);
    return STATUS_SUCCESS;
}

void SimStateCountOpen(SIM_STATE *state, SIM_MODEM_DEVICE device)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->Lock, &irql);
    state->Opens[device]++;
    KeReleaseSpinLock(&state->Lock, irql);
}

NTSTATUS SimStateSetOverride(SIM_STATE *state, const AdslSimOverride *value)
{
    ULONG size = ADSLSIM_OVERRIDE_HEADER_SIZE + value->dataSize;
    AdslSimOverride *copy;
    AdslSimOverride *replaced = NULL;
    NTSTATUS result = STATUS_SUCCESS;
    KIRQL irql;
    LONG index;

    copy = ExAllocatePoolWithTag(NonPagedPoolNx, sizeof(AdslSimOverride), SIM_POOL_TAG);
    if (copy == NULL)
        return STATUS_INSUFFICIENT_RESOURCES;
    RtlZeroMemory(copy, sizeof(*copy));
    RtlCopyMemory(copy, value, size);

    KeAcquireSpinLock(&state->Lock, &irql);
    index = FindOverride(state, copy->code);
    if (index >= 0) {
        replaced = state->Overrides[index];
        state->Overrides[index] = copy;
    } else if (state->OverrideCount < ADSLSIM_MAX_OVERRIDES) {
        state->Overrides[state->OverrideCount++] = copy;
    } else {
        replaced = copy; /* table full: nothing kept */
        result = STATUS_INSUFFICIENT_RESOURCES;
    }
    KeReleaseSpinLock(&state->Lock, irql);

    if (replaced != NULL)
        ExFreePoolWithTag(replaced, SIM_POOL_TAG);
    return result;
}

void SimStateUnsetOverride(SIM_STATE *state, USHORT code)
{
    AdslSimOverride *removed = NULL;
    KIRQL irql;
    LONG index;
    ULONG i;

    KeAcquireSpinLock(&state->Lock, &irql);
    index = FindOverride(state, code);
    if (index >= 0) {
        removed = state->Overrides[index];
        for (i = (ULONG)index; i + 1 < state->OverrideCount; ++i)
            state->Overrides[i] = state->Overrides[i + 1];
        state->OverrideCount--;
    }
    KeReleaseSpinLock(&state->Lock, irql);

    if (removed != NULL)
        ExFreePoolWithTag(removed, SIM_POOL_TAG);
}

NTSTATUS SimStateGetOverride(SIM_STATE *state, ULONG index, AdslSimOverride *value)
{
    NTSTATUS result = STATUS_NO_MORE_ENTRIES;
    KIRQL irql;

    KeAcquireSpinLock(&state->Lock, &irql);
    if (index < state->OverrideCount) {
        RtlCopyMemory(value, state->Overrides[index], sizeof(*value));
        result = STATUS_SUCCESS;
    }
    KeReleaseSpinLock(&state->Lock, irql);
    return result;
}

ULONG SimStateOverrideCount(SIM_STATE *state)
{
    ULONG count;
    KIRQL irql;
    KeAcquireSpinLock(&state->Lock, &irql);
    count = state->OverrideCount;
    KeReleaseSpinLock(&state->Lock, irql);
    return count;
}

ULONGLONG SimStateModelTimeMs(SIM_STATE *state)
{
    ULONGLONG elapsed;
    KIRQL irql;
    LONGLONG now = PerformanceCounter(NULL);
    KeAcquireSpinLock(&state->Lock, &irql);
    elapsed = ElapsedMs(state, now);
    KeReleaseSpinLock(&state->Lock, irql);
    return elapsed;
}

ULONG SimStateGetStats(SIM_STATE *state, AdslSimStats *stats, ULONG size)
{
    AdslSimCodeCount *records = (AdslSimCodeCount *)(stats + 1);
    ULONG room = (size - sizeof(*stats)) / sizeof(AdslSimCodeCount);
    ULONG code;
    KIRQL irql;

    KeAcquireSpinLock(&state->Lock, &irql);
    stats->opensUsb = state->Opens[SimModemUsb];
    stats->opensPci = state->Opens[SimModemPci];
    stats->codeTotal = 0;
    stats->codeReturned = 0;
    for (code = 0; code < SIM_CODE_COUNT; ++code) {
        if (state->CodeCounts[code] == 0)
            continue;
        stats->codeTotal++;
        if (stats->codeReturned < room) {
            records[stats->codeReturned].code = (USHORT)code;
            records[stats->codeReturned].reserved = 0;
            records[stats->codeReturned].count = state->CodeCounts[code];
            stats->codeReturned++;
        }
    }
    KeReleaseSpinLock(&state->Lock, irql);
    return sizeof(*stats) + stats->codeReturned * sizeof(AdslSimCodeCount);
}

void SimStateClearStats(SIM_STATE *state)
{
    KIRQL irql;
    KeAcquireSpinLock(&state->Lock, &irql);
    state->Opens[SimModemUsb] = 0;
    state->Opens[SimModemPci] = 0;
    RtlZeroMemory(state->CodeCounts, SIM_CODE_COUNT * sizeof(ULONG));
    KeReleaseSpinLock(&state->Lock, irql);
}
