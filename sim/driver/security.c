/*
 * The control device admits only the local system and the Administrators
 * group: its DACL holds two allow entries, SY and BA, with full file access,
 * the rule of IoCreateDeviceSecure's SDDL_DEVOBJ_SYS_ALL_ADM_ALL.
 * IoCreateDeviceSecure lives in wdmsec.lib, which MinGW does not ship, so the
 * descriptor is built here and set through a kernel handle to the device.
 */
#include <ntifs.h>
#include "simulator.h"

#define SIM_DACL_SIZE 64 /* ACL header 8 + two ACEs of 8 + a SID of 12 or 16 bytes */

/* The well-known SIDs S-1-5-18 and S-1-5-32-544, built from constants rather
 * than read from SeExports, which Wine's kernel exports as a stub. */
typedef struct SIM_SID2 {
    UCHAR Revision;
    UCHAR SubAuthorityCount;
    SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
    ULONG SubAuthority[2];
} SIM_SID2;

static const SIM_SID2 kLocalSystem = { SID_REVISION, 1, { SECURITY_NT_AUTHORITY }, { SECURITY_LOCAL_SYSTEM_RID, 0 } };
static const SIM_SID2 kAdministrators = {
    SID_REVISION, 2, { SECURITY_NT_AUTHORITY }, { SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS }
};

NTSTATUS SimRestrictToAdministrators(PDEVICE_OBJECT device)
{
    SECURITY_DESCRIPTOR descriptor;
    ULONG aclStorage[SIM_DACL_SIZE / sizeof(ULONG)];
    PACL dacl = (PACL)aclStorage;
    HANDLE handle;
    NTSTATUS status;

    status = RtlCreateSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    if (NT_SUCCESS(status))
        status = RtlCreateAcl(dacl, sizeof(aclStorage), ACL_REVISION);
    if (NT_SUCCESS(status))
        status = RtlAddAccessAllowedAce(dacl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&kLocalSystem);
    if (NT_SUCCESS(status))
        status = RtlAddAccessAllowedAce(dacl, ACL_REVISION, FILE_ALL_ACCESS, (PSID)&kAdministrators);
    if (NT_SUCCESS(status))
        status = RtlSetDaclSecurityDescriptor(&descriptor, TRUE, dacl, FALSE);
    if (!NT_SUCCESS(status))
        return status;

    /* ObSetSecurityObjectByPointer would do this in one call, but Wine's
     * kernel exports it as a stub that raises; a handle works on both. */
    status = ObOpenObjectByPointer(device, OBJ_KERNEL_HANDLE, NULL, WRITE_DAC, NULL, KernelMode, &handle);
    if (!NT_SUCCESS(status))
        return status;
    status = ZwSetSecurityObject(handle, DACL_SECURITY_INFORMATION, &descriptor);
    ZwClose(handle);
    return status;
}
