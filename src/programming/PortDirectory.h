#pragma once

// Port names to devices, from the [Ports] group of "CorvaneVeskar.ini" in the
// working directory and the ports the system lists.

#include <string>
#include <string_view>

namespace veskar {

[[nodiscard]] std::string ResolvePortDevice(std::string_view name);

}  // namespace veskar
