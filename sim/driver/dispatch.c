/*
 * One dispatch routine per major function. Each completes the request through
 * one exit with the status and byte count its handler chose.
 */
#include "simulator.h"

static NTSTATUS Complete(PIRP irp, NTSTATUS status)
{
    irp->IoStatus.Status = status;
    if (!NT_SUCCESS(status))
        irp->IoStatus.Information = 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

NTSTATUS NTAPI DispatchCreate(PDEVICE_OBJECT device, PIRP irp)
{
    SIM_DEVICE *sim = device->DeviceExtension;
    irp->IoStatus.Information = 0;
    if (sim->Role == SimRoleModem)
        SimStateCountOpen(&sim->Simulator->State, sim->Modem);
    return Complete(irp, STATUS_SUCCESS);
}

NTSTATUS NTAPI DispatchClose(PDEVICE_OBJECT device, PIRP irp)
{
    (void)device;
    irp->IoStatus.Information = 0;
    return Complete(irp, STATUS_SUCCESS);
}

NTSTATUS NTAPI DispatchDeviceControl(PDEVICE_OBJECT device, PIRP irp)
{
    SIM_DEVICE *sim = device->DeviceExtension;
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    NTSTATUS status;

    irp->IoStatus.Information = 0;
    if (sim->Role == SimRoleModem)
        status = ChannelDeviceControl(sim->Simulator, irp, stack);
    else
        status = ControlDeviceControl(sim->Simulator, irp, stack);
    return Complete(irp, status);
}
