// The channel to the modem driver. Each request opens a control device,
// makes exactly one device-control call and closes the device again; no
// handle survives between requests. Results are "failed" flags: a request
// is good only when the result is false and the status word is 0.
#pragma once

#include "driver/CommandLayout.h"
#include "driver/DeviceIo.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Status words the program produces itself (the driver may report others).
constexpr uint16_t kStatusAnswered = 0;
constexpr uint16_t kStatusTextEmpty = 2;       // the requested text is empty
constexpr uint16_t kStatusRequestFailed = 3;   // a field's request failed, or it was never fetched
constexpr uint16_t kStatusBufferTooSmall = 4;  // the caller's buffer cannot take the text
constexpr uint16_t kStatusNoDevice = 0xFFFF;   // no control device opened

// Control devices, tried in this order.
constexpr size_t kDeviceCount = 2;
extern const char* const DeviceNames[kDeviceCount]; // \\.\ADSLUSB, \\.\VukPciAdapter

// The process-wide index of the device that opened last; 0 at start. The
// channel rewrites it only when a scan finds a device. Setting it is for
// tests; values out of range are taken as 0.
uint32_t getRememberedDeviceIndex();
void setRememberedDeviceIndex(uint32_t index);

// The remembered device, else the first of DeviceNames that opens (which is
// then remembered); an unopened ScopedDevice when none opens.
ScopedDevice openDriver();

// Sends the low 16 bits of command to the driver and copies status, length
// and min(size, 4088) data bytes of the answer out, whatever the length says.
// No device: status 0xFFFF, result true, length and buffer untouched.
// Codes of 0x10000 and above are answered by requestVirtualCommand (which
// may raise XVuk). Result: true when the request failed.
bool requestCommand(uint32_t command, uint16_t& status, uint16_t& length, void* buffer, uint32_t size);

// The 4 answer bytes as a number (0 when no device opened). Result true
// unless the request is good.
bool requestDword(uint32_t command, uint32_t& value);
// The same, telling also whether it failed because no control device opened.
bool requestDword(uint32_t command, uint32_t& value, bool& noDevice);

// Line state (0x0004) is 2.
bool isLineUp();
// Annex (0x0220): "A", "B", "C", or empty for other values and bad requests.
std::string getAnnexLetter();
// Bitmap flag (0x01F5) is 1.
bool isDualBitmap();
// The free-running cell counters; 0 when the request is not good.
uint32_t getUpstreamCellCount();
uint32_t getDownstreamCellCount();
