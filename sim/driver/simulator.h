/*
 * The driver's devices: one control device, which owns the simulator, and the
 * two modem devices, which point to it. Each device extension starts with
 * SIM_DEVICE so that a dispatch routine can tell the devices apart.
 */
#ifndef ADSLSIM_SIMULATOR_H
#define ADSLSIM_SIMULATOR_H

#include <ddk/wdm.h>
#include "simstate.h"

typedef enum SIM_DEVICE_ROLE {
    SimRoleControl,
    SimRoleModem
} SIM_DEVICE_ROLE;

struct SIMULATOR;

typedef struct SIM_DEVICE {
    SIM_DEVICE_ROLE Role;
    SIM_MODEM_DEVICE Modem;     /* which modem device, for SimRoleModem */
    struct SIMULATOR *Simulator;
} SIM_DEVICE;

typedef struct SIMULATOR {
    SIM_STATE State;
    KMUTEX LinkMutex;           /* serialises link changes; waiting keeps PASSIVE_LEVEL for the Io calls */
    ULONG Links;                /* ADSLSIM_DEVICE_* whose \DosDevices link exists */
    PDEVICE_OBJECT Modems[SimModemDeviceCount];
} SIMULATOR;

/* The control device's extension: the simulator lives here. */
typedef struct SIM_CONTROL_DEVICE {
    SIM_DEVICE Device;
    SIMULATOR Simulator;
} SIM_CONTROL_DEVICE;

/* Creates or deletes the \DosDevices links of the modem devices so that exactly `mask` open. */
NTSTATUS SimSetModemLinks(SIMULATOR *simulator, ULONG mask);
ULONG SimModemLinks(SIMULATOR *simulator);

/* Sets a DACL on `device` that admits only the local system and the Administrators group. */
NTSTATUS SimRestrictToAdministrators(PDEVICE_OBJECT device);

/* Device control on the modem devices (channel.c) and on the control device (control.c). */
NTSTATUS ChannelDeviceControl(SIMULATOR *simulator, PIRP irp, PIO_STACK_LOCATION stack);
NTSTATUS ControlDeviceControl(SIMULATOR *simulator, PIRP irp, PIO_STACK_LOCATION stack);

DRIVER_DISPATCH DispatchCreate;
DRIVER_DISPATCH DispatchClose;
DRIVER_DISPATCH DispatchDeviceControl;

#endif
