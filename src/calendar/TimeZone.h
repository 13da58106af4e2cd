// The offset of local time from UTC and its text form.
#pragma once

#include <string>

namespace quillet {

// The offset in force now as a fraction of a day, positive east of UTC. Fails
// with "Failed attempting to retrieve time zone information." when the system
// gives no usable time-zone reading.
double UtcOffsetDays();

// "GMT" for a zero offset, else a sign and the hours and minutes as HHMM.
std::string GmtOffsetText(double offsetDays);

}  // namespace quillet
