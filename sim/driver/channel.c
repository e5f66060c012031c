/*
 * The modem channel: one buffered control code. The request and the answer
 * share the system buffer, so the command code is read before anything is
 * written. Nothing is read or written outside the lengths the caller gave.
 */
#include "simulator.h"

static void PutWord(UCHAR *at, USHORT value)
{
    at[0] = (UCHAR)value;
    at[1] = (UCHAR)(value >> 8);
}

NTSTATUS ChannelDeviceControl(SIMULATOR *simulator, PIRP irp, PIO_STACK_LOCATION stack)
{
    ULONG inputLength = stack->Parameters.DeviceIoControl.InputBufferLength;
    ULONG outputLength = stack->Parameters.DeviceIoControl.OutputBufferLength;
    UCHAR *buffer = irp->AssociatedIrp.SystemBuffer;
    USHORT code;
    USHORT status = 0;
    USHORT length = 0;
    ULONG written = 0;
    NTSTATUS result;

    if (stack->Parameters.DeviceIoControl.IoControlCode != ADSLSIM_CHANNEL_IOCTL)
        return STATUS_INVALID_DEVICE_REQUEST;
    if (inputLength < ADSLSIM_REQUEST_MIN_SIZE || outputLength < ADSLSIM_ANSWER_MIN_SIZE || buffer == NULL)
        return STATUS_BUFFER_TOO_SMALL;

    code = (USHORT)(buffer[ADSLSIM_REQUEST_COMMAND_OFFSET] | (buffer[ADSLSIM_REQUEST_COMMAND_OFFSET + 1] << 8));
    result = SimStateAnswer(&simulator->State, code, &status, &length, buffer + ADSLSIM_ANSWER_DATA_OFFSET,
                            outputLength - ADSLSIM_ANSWER_DATA_OFFSET, &written);
    if (!NT_SUCCESS(result))
        return result;

    RtlZeroMemory(buffer, ADSLSIM_ANSWER_DATA_OFFSET);
    PutWord(buffer + ADSLSIM_ANSWER_STATUS_OFFSET, status);
    PutWord(buffer + ADSLSIM_ANSWER_LENGTH_OFFSET, length);
    irp->IoStatus.Information = ADSLSIM_ANSWER_DATA_OFFSET + written;
    return STATUS_SUCCESS;
}
