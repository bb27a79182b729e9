#pragma once
// The LPDUs of an MPDU, walked once the header's CRC has passed and its
// sizes fit the frame: each one's check sequence, its type, the log-on
// family's fields (which feed the registration table) and the HFNPDU it
// carries. One walk serves both directions; their few differences are
// decided by the direction. (The walk is declared in frame_walk.h.)
#include <string>

// The type's name, "" for a value outside the table.
std::string LpduTypeName(int type);
// The reason text of a Log-on Denied (type 0x2F) or Log-off Request.
std::string LpduReasonText(int type, int code);
