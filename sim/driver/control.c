/*
 * The control device's requests (AdslSimProtocol.h). Each checks the lengths
 * it needs before it reads the input or writes the output; input and output
 * share the system buffer, so inputs are read first.
 */
#include "simulator.h"

static NTSTATUS ReadUlong(const void *buffer, ULONG inputLength, ULONG *value)
{
    if (buffer == NULL || inputLength < sizeof(ULONG))
        return STATUS_BUFFER_TOO_SMALL;
    RtlCopyMemory(value, buffer, sizeof(ULONG));
    return STATUS_SUCCESS;
}

static NTSTATUS GetState(SIMULATOR *simulator, void *buffer, ULONG outputLength, ULONG_PTR *information)
{
    AdslSimState state;
    if (buffer == NULL || outputLength < sizeof(state))
        return STATUS_BUFFER_TOO_SMALL;
    state.devices = SimModemLinks(simulator);
    state.overrideCount = SimStateOverrideCount(&simulator->State);
    state.modelTimeMs = SimStateModelTimeMs(&simulator->State);
    RtlCopyMemory(buffer, &state, sizeof(state));
    *information = sizeof(state);
    return STATUS_SUCCESS;
}

static NTSTATUS GetOverride(SIMULATOR *simulator, void *buffer, ULONG inputLength, ULONG outputLength,
                            ULONG_PTR *information)
{
    ULONG index;
    NTSTATUS status = ReadUlong(buffer, inputLength, &index);
    if (!NT_SUCCESS(status))
        return status;
    if (outputLength < sizeof(AdslSimOverride))
        return STATUS_BUFFER_TOO_SMALL;
    status = SimStateGetOverride(&simulator->State, index, buffer);
    if (NT_SUCCESS(status))
        *information = sizeof(AdslSimOverride);
    return status;
}

static NTSTATUS SetOverride(SIMULATOR *simulator, const void *buffer, ULONG inputLength)
{
    const AdslSimOverride *value = buffer;
    if (buffer == NULL || inputLength < ADSLSIM_OVERRIDE_HEADER_SIZE)
        return STATUS_BUFFER_TOO_SMALL;
    if (value->dataSize > ADSLSIM_MAX_DATA || inputLength < ADSLSIM_OVERRIDE_HEADER_SIZE + value->dataSize)
        return STATUS_INVALID_PARAMETER;
    if (value->kind != ADSLSIM_OVERRIDE_FIXED && value->kind != ADSLSIM_OVERRIDE_FAIL &&
        value->kind != ADSLSIM_OVERRIDE_COUNTER)
        return STATUS_INVALID_PARAMETER;
    return SimStateSetOverride(&simulator->State, value);
}

static NTSTATUS GetStats(SIMULATOR *simulator, void *buffer, ULONG outputLength, ULONG_PTR *information)
{
    if (buffer == NULL || outputLength < sizeof(AdslSimStats))
        return STATUS_BUFFER_TOO_SMALL;
    *information = SimStateGetStats(&simulator->State, buffer, outputLength);
    return STATUS_SUCCESS;
}

NTSTATUS ControlDeviceControl(SIMULATOR *simulator, PIRP irp, PIO_STACK_LOCATION stack)
{
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    void *buffer = irp->AssociatedIrp.SystemBuffer;
    ULONG_PTR *information = &irp->IoStatus.Information;
    ULONG value;
    NTSTATUS status;

    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case ADSLSIM_CTL_GET_STATE:
        return GetState(simulator, buffer, outputLength, information);
    case ADSLSIM_CTL_GET_OVERRIDE:
        return GetOverride(simulator, buffer, inputLength, outputLength, information);
    case ADSLSIM_CTL_RESET:
        SimStateReset(&simulator->State);
        return SimSetModemLinks(simulator, ADSLSIM_DEVICE_BOTH);
    case ADSLSIM_CTL_SET_DEVICES:
        status = ReadUlong(buffer, inputLength, &value);
        if (!NT_SUCCESS(status))
            return status;
        if (value > ADSLSIM_DEVICE_BOTH)
            return STATUS_INVALID_PARAMETER;
        return SimSetModemLinks(simulator, value);
    case ADSLSIM_CTL_SET_OVERRIDE:
        return SetOverride(simulator, buffer, inputLength);
    case ADSLSIM_CTL_UNSET_OVERRIDE:
        status = ReadUlong(buffer, inputLength, &value);
        if (!NT_SUCCESS(status))
            return status;
        if (value > 0xFFFF)
            return STATUS_INVALID_PARAMETER;
        SimStateUnsetOverride(&simulator->State, (USHORT)value);
        return STATUS_SUCCESS;
    case ADSLSIM_CTL_GET_STATS:
        return GetStats(simulator, buffer, outputLength, information);
    case ADSLSIM_CTL_CLEAR_STATS:
        SimStateClearStats(&simulator->State);
        return STATUS_SUCCESS;
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}
