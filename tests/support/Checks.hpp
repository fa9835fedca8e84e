// The exact report of a failed check in the framework header.
#pragma once

#include <string>

namespace support {

// line: where the check stands in the header, found by the build.
inline std::string CheckReport(const char* expression, int line) {
    return "\r\nAssertion failed: " + std::string(expression) + ", file MWindowBase.hpp, line " +
           std::to_string(line) + "\r\n\r\nAbnormal program termination\r\n";
}

}  // namespace support
