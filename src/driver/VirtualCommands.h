// Command codes 0x10000 to 0x10005, answered inside the program with the
// arguments and result convention of requestCommand:
//   0x10000  start-up text "State (0xVALUE)" from 0x01E6 and the line state
//   0x10001  combined rate from 0x0104, 0x010F/0x0112, 0x0110 and 0x0103
//   0x10002  combined rate from 0x0108, 0x010B/0x010E, 0x010C and 0x0107
//   0x10003  the program version text
//   0x10004  PackageVersion from the installer's vavevida.ini (no device opened)
//   0x10005  "Toggle,-1" and a name,index pair per name of 0x001A
// Raises XVuk for other codes and for buffers that cannot take 0x10000's
// text or the 4 bytes of a combined rate.
#pragma once

#include <cstdint>

bool requestVirtualCommand(uint32_t command, uint16_t& status, uint16_t& length, void* buffer, uint32_t size);

// The version text of 0x10003: the release version of the file VERSION,
// which the build passes in.
constexpr char kProgramVersionText[] = MODAVI_VERSION_TEXT;
