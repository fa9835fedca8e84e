// A run of the program with its standard output redirected, and its trace read back.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/Desktop.hpp"
#include "support/Process.hpp"

namespace support {

const char* const FRAMEWORK_CLASS = "pelmora's MWindowBase Class";

class TarvelRun {
public:
    CapturedRun run;
    HWND main = NULL;
    HWND child = NULL;

    // Starts the program (or a scenario program that runs it) and waits for its main window.
    bool Start(const std::string& commandLine = "\"" + SiblingPath("tarvel.exe") + "\"") {
        if (!run.Start(commandLine))
            return false;
        DWORD pid = run.child.ProcessId();
        if (!WaitUntil(
                [&] {
                    main = FindProcessWindow(pid, FRAMEWORK_CLASS);
                    return main && IsWindowVisible(main);
                },
                20000))
            return false;
        child = FindWindowExA(main, NULL, FRAMEWORK_CLASS, NULL);
        return child != NULL;
    }

    DWORD Thread() const { return GetWindowThreadProcessId(main, NULL); }
    HWND Capture() const { return ThreadState(Thread()).hwndCapture; }

    // Closes the main window as its close box would; returns the exit status.
    long Close() {
        PostMessageA(main, WM_CLOSE, 0, 0);
        return run.child.WaitExit(10000);
    }

    std::string Out() const { return run.Out(); }
};

// The trace as lines, without their "\r\n"; a line without it is kept with a marker.
inline std::vector<std::string> TraceLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

inline bool IsPollLine(const std::string& line) { return line.rfind("GetCapture(): ", 0) == 0; }

// The trace with every polling line that repeats the previous polling line's handle left out:
// what changed, in order, independent of how many ticks fell in between.
inline std::vector<std::string> Changes(const std::vector<std::string>& lines) {
    std::vector<std::string> changes;
    std::string lastPoll;
    for (const std::string& line : lines) {
        if (IsPollLine(line)) {
            if (line == lastPoll)
                continue;
            lastPoll = line;
        }
        changes.push_back(line);
    }
    return changes;
}

inline std::string Poll(HWND hwnd) { return "GetCapture(): " + HandleText(hwnd); }

}  // namespace support
