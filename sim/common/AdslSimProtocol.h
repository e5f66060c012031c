/*
 * The simulator's two protocols, shared by the driver and its user-mode tools.
 *
 * The modem channel: devices \\.\ADSLUSB and \\.\VukPciAdapter accept one
 * buffered device-control code. The request carries a 16-bit command code at
 * offset 4; the answer carries a status word at offset 2, a length word at
 * offset 6 and data from offset 8. Numbers are little-endian.
 *
 * The control device \\.\AdslSimControl configures the simulator: fixed answers
 * that override the modem model, which modem devices exist, and statistics.
 */
#ifndef ADSLSIM_PROTOCOL_H
#define ADSLSIM_PROTOCOL_H

#include <stdint.h>

/* ---- The modem channel ---------------------------------------------------- */

#define ADSLSIM_CHANNEL_IOCTL 0xCBFD23FCu

#define ADSLSIM_REQUEST_COMMAND_OFFSET 4
#define ADSLSIM_REQUEST_MIN_SIZE 6 /* the command word must lie inside the request */

#define ADSLSIM_ANSWER_STATUS_OFFSET 2
#define ADSLSIM_ANSWER_LENGTH_OFFSET 6
#define ADSLSIM_ANSWER_DATA_OFFSET 8
#define ADSLSIM_ANSWER_MIN_SIZE 8 /* room for the header */
#define ADSLSIM_CHANNEL_BUFFER_SIZE 4096
#define ADSLSIM_MAX_DATA (ADSLSIM_CHANNEL_BUFFER_SIZE - ADSLSIM_ANSWER_DATA_OFFSET) /* 4088 */

/* Status word of an answer for a command that the simulated modem does not know. */
#define ADSLSIM_STATUS_UNKNOWN_COMMAND 1

#define ADSLSIM_USB_DEVICE_PATH "\\\\.\\ADSLUSB"
#define ADSLSIM_PCI_DEVICE_PATH "\\\\.\\VukPciAdapter"

/* ---- The control device --------------------------------------------------- */

#define ADSLSIM_CONTROL_DEVICE_PATH "\\\\.\\AdslSimControl"

/* Buffered, in the vendor range of device types; every control request needs a
 * handle opened for reading and writing (FILE_READ_ACCESS | FILE_WRITE_ACCESS
 * in bits 14-15), which the device's DACL grants to administrators only. */
#define ADSLSIM_CONTROL_DEVICE_TYPE 0xA051u
#define ADSLSIM_CONTROL_ACCESS 3u
#define ADSLSIM_CONTROL_CODE(function) \
    ((ADSLSIM_CONTROL_DEVICE_TYPE << 16) | (ADSLSIM_CONTROL_ACCESS << 14) | ((uint32_t)(function) << 2))

/* in: nothing; out: AdslSimState */
#define ADSLSIM_CTL_GET_STATE ADSLSIM_CONTROL_CODE(0x900)
/* in: uint32_t index; out: AdslSimOverride (fails when index is past the last one) */
#define ADSLSIM_CTL_GET_OVERRIDE ADSLSIM_CONTROL_CODE(0x901)
/* in: nothing: default model, both devices, no overrides, statistics cleared */
#define ADSLSIM_CTL_RESET ADSLSIM_CONTROL_CODE(0x902)
/* in: uint32_t mask of ADSLSIM_DEVICE_* */
#define ADSLSIM_CTL_SET_DEVICES ADSLSIM_CONTROL_CODE(0x903)
/* in: AdslSimOverride (the header, then dataSize bytes of data) */
#define ADSLSIM_CTL_SET_OVERRIDE ADSLSIM_CONTROL_CODE(0x904)
/* in: uint32_t code */
#define ADSLSIM_CTL_UNSET_OVERRIDE ADSLSIM_CONTROL_CODE(0x905)
/* in: nothing; out: AdslSimStats followed by as many AdslSimCodeCount as fit */
#define ADSLSIM_CTL_GET_STATS ADSLSIM_CONTROL_CODE(0x906)
/* in: nothing */
#define ADSLSIM_CTL_CLEAR_STATS ADSLSIM_CONTROL_CODE(0x907)

#define ADSLSIM_DEVICE_USB 1u
#define ADSLSIM_DEVICE_PCI 2u
#define ADSLSIM_DEVICE_BOTH (ADSLSIM_DEVICE_USB | ADSLSIM_DEVICE_PCI)

#define ADSLSIM_MAX_OVERRIDES 128

enum AdslSimOverrideKind {
    ADSLSIM_OVERRIDE_FIXED = 1,   /* answer status, length and data */
    ADSLSIM_OVERRIDE_FAIL = 2,    /* the device-control call fails */
    ADSLSIM_OVERRIDE_COUNTER = 3  /* status 0, length 4, a 32-bit counter */
};

typedef struct AdslSimState {
    uint32_t devices;        /* ADSLSIM_DEVICE_* of the links that exist */
    uint32_t overrideCount;
    uint64_t modelTimeMs;    /* time since the driver started or the last reset */
} AdslSimState;

typedef struct AdslSimOverride {
    uint16_t code;
    uint16_t kind;           /* enum AdslSimOverrideKind */
    uint16_t status;         /* FIXED: the status word */
    uint16_t length;         /* FIXED: the length word */
    uint32_t counterNext;    /* COUNTER: the value of the next read */
    uint32_t counterStep;    /* COUNTER: added after each read, modulo 2^32 */
    uint32_t dataSize;       /* FIXED: bytes of data, at most ADSLSIM_MAX_DATA */
    uint8_t data[ADSLSIM_MAX_DATA];
} AdslSimOverride;

#define ADSLSIM_OVERRIDE_HEADER_SIZE ((uint32_t)(sizeof(AdslSimOverride) - ADSLSIM_MAX_DATA))

typedef struct AdslSimCodeCount {
    uint16_t code;
    uint16_t reserved;
    uint32_t count;
} AdslSimCodeCount;

typedef struct AdslSimStats {
    uint32_t opensUsb;       /* successful opens of \\.\ADSLUSB */
    uint32_t opensPci;       /* successful opens of \\.\VukPciAdapter */
    uint32_t codeTotal;      /* codes requested at least once */
    uint32_t codeReturned;   /* AdslSimCodeCount records that follow, ascending by code */
} AdslSimStats;

#define ADSLSIM_STATS_MAX_SIZE (sizeof(AdslSimStats) + 65536u * sizeof(AdslSimCodeCount))

#endif
