// How a C library date format (nl_langinfo's D_FMT, in strftime notation)
// maps onto the short date model of the regional settings.
#pragma once

#include <string>
#include <string_view>

namespace quillet::platform {

// %d -> dd, %e -> d, %m -> MM, %y -> yy, %Y -> yyyy, %b/%h -> MMM, %B -> MMMM,
// %a -> ddd, %A -> dddd, %D -> MM/dd/yy, %F -> yyyy-MM-dd, %% -> %, %n and %t
// -> a blank; E and O modifiers are ignored; other conversions (times) are
// left out. Literal text is kept, quoted where it holds letters.
std::string ShortDateFormatFromStrftime(std::string_view format);

// The first literal character after the first number of the format; "/"
// when there is none.
char DateSeparatorFromStrftime(std::string_view format);

}  // namespace quillet::platform
