// The program's trace: one print per line, on standard output.
#pragma once

#include <windows.h>

#include "crt/StdOut.hpp"

inline void TracePrint(const char* line) { crt::PutStdOut(line); }

// "GetCapture(): %p\n", with the handle in the 32-bit program's %p form.
struct CaptureLine {
    char text[32];
};

inline CaptureLine FormatCaptureLine(HWND capture) {
    static const char prefix[] = "GetCapture(): ";
    CaptureLine line;
    char digits[9];
    crt::FormatHandleBits(reinterpret_cast<UINT_PTR>(capture), digits);
    char* out = line.text;
    for (const char* p = prefix; *p; ++p)
        *out++ = *p;
    for (const char* p = digits; *p; ++p)
        *out++ = *p;
    *out++ = '\n';
    *out = '\0';
    return line;
}
