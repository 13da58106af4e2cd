// Setting types shared by the TCP components of the component set.
#pragma once

namespace quillet {

// What a TCP client does with a line longer than its limit: it fails.
enum class TIdMaxLineAction { maException };

}  // namespace quillet
