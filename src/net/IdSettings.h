// Setting types shared by the TCP components of the component set.
#pragma once

namespace quillet {

// What a TCP client does with a line longer than its limit: split it, or fail.
enum class TIdMaxLineAction { maSplit, maException };

}  // namespace quillet
