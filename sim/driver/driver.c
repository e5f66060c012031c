/*
 * adslsim.sys: a simulated ADSL modem driver. DriverEntry creates the control
 * device and the two modem devices with their links; any failure undoes what
 * was made. The modem devices always exist; `devices` adds or removes their
 * \DosDevices links, so \\.\ADSLUSB and \\.\VukPciAdapter open only when wanted.
 */
#include "simulator.h"

/* The links go to the global namespace: `devices` makes them while serving a
 * request, in the caller's context, where a plain \DosDevices name would land
 * in the caller's logon session and stay hidden from programs of other logons
 * (an elevated control tool and a monitor run as a user have different ones). */
#define CONTROL_DEVICE_NAME L"\\Device\\AdslSimControl"
#define CONTROL_LINK_NAME L"\\DosDevices\\Global\\AdslSimControl"

static const WCHAR *const kModemDeviceNames[SimModemDeviceCount] = {
    L"\\Device\\ADSLUSB", L"\\Device\\VukPciAdapter"
};
static const WCHAR *const kModemLinkNames[SimModemDeviceCount] = {
    L"\\DosDevices\\Global\\ADSLUSB", L"\\DosDevices\\Global\\VukPciAdapter"
};
static const ULONG kModemMasks[SimModemDeviceCount] = { ADSLSIM_DEVICE_USB, ADSLSIM_DEVICE_PCI };

DRIVER_INITIALIZE DriverEntry;
static DRIVER_UNLOAD DriverUnload;

NTSTATUS SimSetModemLinks(SIMULATOR *simulator, ULONG mask)
{
    NTSTATUS result = STATUS_SUCCESS;
    int i;

    KeWaitForSingleObject(&simulator->LinkMutex, Executive, KernelMode, FALSE, NULL);
    for (i = 0; i < SimModemDeviceCount; ++i) {
        BOOLEAN wanted = (mask & kModemMasks[i]) != 0;
        BOOLEAN present = (simulator->Links & kModemMasks[i]) != 0;
        UNICODE_STRING link;
        UNICODE_STRING device;
        NTSTATUS status = STATUS_SUCCESS;

        RtlInitUnicodeString(&link, kModemLinkNames[i]);
        RtlInitUnicodeString(&device, kModemDeviceNames[i]);
        if (wanted && !present) {
            status = IoCreateSymbolicLink(&link, &device);
            if (NT_SUCCESS(status))
                simulator->Links |= kModemMasks[i];
        } else if (!wanted && present) {
            status = IoDeleteSymbolicLink(&link);
            if (NT_SUCCESS(status))
                simulator->Links &= ~kModemMasks[i];
        }
        if (!NT_SUCCESS(status) && NT_SUCCESS(result))
            result = status;
    }
    KeReleaseMutex(&simulator->LinkMutex, FALSE);
    return result;
}

ULONG SimModemLinks(SIMULATOR *simulator)
{
    ULONG links;
    KeWaitForSingleObject(&simulator->LinkMutex, Executive, KernelMode, FALSE, NULL);
    links = simulator->Links;
    KeReleaseMutex(&simulator->LinkMutex, FALSE);
    return links;
}

static NTSTATUS CreateDevice(PDRIVER_OBJECT driver, const WCHAR *name, ULONG extensionSize, PDEVICE_OBJECT *device)
{
    UNICODE_STRING deviceName;
    NTSTATUS status;

    RtlInitUnicodeString(&deviceName, name);
    status = IoCreateDevice(driver, extensionSize, &deviceName, FILE_DEVICE_UNKNOWN, FILE_DEVICE_SECURE_OPEN,
                            FALSE, device);
    if (!NT_SUCCESS(status))
        return status;
    RtlZeroMemory((*device)->DeviceExtension, extensionSize);
    (*device)->Flags |= DO_BUFFERED_IO;
    (*device)->Flags &= ~DO_DEVICE_INITIALIZING;
    return STATUS_SUCCESS;
}

/* Removes the links and devices made so far; the control device goes last. */
static void DestroySimulator(PDEVICE_OBJECT control, BOOLEAN controlLinked)
{
    SIM_CONTROL_DEVICE *extension = control->DeviceExtension;
    SIMULATOR *simulator = &extension->Simulator;
    UNICODE_STRING link;
    int i;

    SimSetModemLinks(simulator, 0);
    for (i = 0; i < SimModemDeviceCount; ++i) {
        if (simulator->Modems[i] != NULL)
            IoDeleteDevice(simulator->Modems[i]);
        simulator->Modems[i] = NULL;
    }
    SimStateFree(&simulator->State);
    if (controlLinked) {
        RtlInitUnicodeString(&link, CONTROL_LINK_NAME);
        IoDeleteSymbolicLink(&link);
    }
    IoDeleteDevice(control);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath)
{
    PDEVICE_OBJECT control;
    SIM_CONTROL_DEVICE *extension;
    SIMULATOR *simulator;
    UNICODE_STRING link;
    UNICODE_STRING controlName;
    NTSTATUS status;
    int i;

    (void)registryPath;
    driver->MajorFunction[IRP_MJ_CREATE] = DispatchCreate;
    driver->MajorFunction[IRP_MJ_CLOSE] = DispatchClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DispatchDeviceControl;
    driver->DriverUnload = DriverUnload;

    status = CreateDevice(driver, CONTROL_DEVICE_NAME, sizeof(SIM_CONTROL_DEVICE), &control);
    if (!NT_SUCCESS(status))
        return status;
    extension = control->DeviceExtension;
    simulator = &extension->Simulator;
    extension->Device.Role = SimRoleControl;
    extension->Device.Simulator = simulator;
    KeInitializeMutex(&simulator->LinkMutex, 0);

    status = SimRestrictToAdministrators(control);
    if (NT_SUCCESS(status))
        status = SimStateInit(&simulator->State);
    if (!NT_SUCCESS(status)) {
        DestroySimulator(control, FALSE);
        return status;
    }
    for (i = 0; i < SimModemDeviceCount; ++i) {
        SIM_DEVICE *modem;
        status = CreateDevice(driver, kModemDeviceNames[i], sizeof(SIM_DEVICE), &simulator->Modems[i]);
        if (!NT_SUCCESS(status)) {
            simulator->Modems[i] = NULL;
            DestroySimulator(control, FALSE);
            return status;
        }
        modem = simulator->Modems[i]->DeviceExtension;
        modem->Role = SimRoleModem;
        modem->Modem = (SIM_MODEM_DEVICE)i;
        modem->Simulator = simulator;
    }
    status = SimSetModemLinks(simulator, ADSLSIM_DEVICE_BOTH);
    if (!NT_SUCCESS(status)) {
        DestroySimulator(control, FALSE);
        return status;
    }
    RtlInitUnicodeString(&link, CONTROL_LINK_NAME);
    RtlInitUnicodeString(&controlName, CONTROL_DEVICE_NAME);
    status = IoCreateSymbolicLink(&link, &controlName);
    if (!NT_SUCCESS(status)) {
        DestroySimulator(control, FALSE);
        return status;
    }
    return STATUS_SUCCESS;
}

static void NTAPI DriverUnload(PDRIVER_OBJECT driver)
{
    PDEVICE_OBJECT device;
    for (device = driver->DeviceObject; device != NULL; device = device->NextDevice) {
        SIM_DEVICE *sim = device->DeviceExtension;
        if (sim->Role == SimRoleControl) {
            DestroySimulator(device, TRUE);
            return;
        }
    }
}
