// Angles and map coordinates as the users type and read them: degrees,
// minutes and seconds with a hemisphere letter, UTM zones and meridians.
//
// Angles are signed decimal degrees, north and east positive. The double
// 222.222 stands for "no value": DegStr_Dec delivers it for text it cannot
// read, DegDec_Str writes it as an empty text.
//
// Texts written by DegDec_Str (decimals 0 / 1 / 2):
//   latitude   45.5        "45 30 00 N"     "45 30 00.0 N"     "45 30 00.00 N"
//   latitude  -0.5         "00 30 00 S"
//   longitude  0           "000 00 00  "    (the hemisphere of zero is a blank)
//   longitude -75.123456   "075 07 24 W"    "075 07 24.4 W"    "075 07 24.44 W"
//   plain     -12.5        "012 30 00"      (a plain angle shows no sign)
//   any        222.222     ""
//
// Texts read by DegStr_Dec:
//   latitude  "45 30 15 N", "45°30'15\"N", "453015"      45.504166...
//   latitude  "45 30 15 S"                               -45.504166...
//   latitude  "33 30", default north / south             33.5 / -33.5
//   latitude  "90", "", "   "                            222.222
//   longitude "180" / "181"                              180 / 222.222
//   longitude "0753015", default west                    -75.504166...
#pragma once

#include "platform/win32.h"

// The kind of an angle, which decides its digits and hemisphere letters. A
// 32-bit value; a host may pass any, and kinds other than these three are
// taken as plain angles.
enum ang_type : int { ang_latitude = 0, ang_longitude = 1, ang_plain = 2 };

namespace jx::geo {
// The double that means "no value".
constexpr double kNoValue = 222.222;
} // namespace jx::geo

// The angle rounded to the nearest hundredth of an arc-second, halves upward.
JX_API double Round_Coordinates(double angle);

// Writes the text of `angle` into `buffer` with 0, 1 or 2 decimals of the
// seconds. An angle of up to 999 degrees needs at most 15 bytes.
JX_API void DegDec_Str(char* buffer, unsigned int size, ang_type type, int decimals, double angle);

// Reads an angle text into `angle` (222.222 when the text is refused). The
// flag gives the hemisphere of a text without a letter: north for latitudes
// and west for longitudes when true. The compact forms (six digits for a
// latitude, seven for a longitude) are cut in place.
JX_API void DegStr_Dec(char* text, ang_type type, double& angle, bool default_hemisphere);

// UTM zones: 1 to 60 north, -1 to -60 south, 0 for none. The flag gives the
// hemisphere of a number without a letter: true north.
JX_API void string_to_utmzone(char* text, char& zone, bool default_north);
JX_API void utmzone_to_string(char* buffer, unsigned int size, char zone);

// Meridians in whole degrees, east positive, 0 for none. The flag gives the
// hemisphere of a number without a letter: true west. The degree sign of the
// text is the ANSI byte 0xB0.
JX_API void string_to_meridian(char* text, char& meridian, bool default_west);
JX_API void meridian_to_string(char* buffer, unsigned int size, char meridian);
