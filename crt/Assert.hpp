// Assertions with the report of the classic console runtime, the same on every build:
// "Assertion failed: EXPR, file FILE, line N" and "Abnormal program termination" on
// standard error, then exit status 3 at once.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdio>

#include "crt/StdOut.hpp"

namespace crt {

// The file name without its folders, so the report does not depend on where the tree was built.
constexpr const char* BaseFileName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    return name;
}

// Each text framed by line breaks; standard error is in text mode too.
inline int FormatAssertReport(char* out, std::size_t size, const char* expression, const char* file,
                              int line) {
    return std::snprintf(out, size,
                         "\r\nAssertion failed: %s, file %s, line %d\r\n"
                         "\r\nAbnormal program termination\r\n",
                         expression, BaseFileName(file), line);
}

[[noreturn]] inline void AssertFailed(const char* expression, const char* file, int line) {
    // Trace lines already printed must not be lost with the process.
    FlushStdOut();
    char report[1024];
    int length = FormatAssertReport(report, sizeof report, expression, file, line);
    if (length > static_cast<int>(sizeof report) - 1)
        length = static_cast<int>(sizeof report) - 1;
    DWORD written = 0;
    if (length > 0)
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), report, static_cast<DWORD>(length), &written, NULL);
    TerminateProcess(GetCurrentProcess(), 3);
    ExitProcess(3);
}

}  // namespace crt

#define DX_ASSERT(expression) \
    ((expression) ? static_cast<void>(0) : ::crt::AssertFailed(#expression, __FILE__, __LINE__))
