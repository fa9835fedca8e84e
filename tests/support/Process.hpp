// Child processes with redirected standard handles, for tests that look at a whole run.
#pragma once

#include <windows.h>

#include <string>

namespace support {

// The folder of the running test program; the program under test is built next to it.
inline std::string SiblingPath(const char* fileName) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + fileName;
}

inline std::string TempFilePath(const char* prefix) {
    char folder[MAX_PATH];
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, prefix, 0, path);
    return path;
}

inline HANDLE OpenInheritableForWrite(const std::string& path) {
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, TRUE};
    return CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

inline std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

// A program started with its standard output and error going to the given handles.
class Child {
public:
    Child() : m_info() {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (m_info.hProcess) {
            if (Running())
                TerminateProcess(m_info.hProcess, 99);
            CloseHandle(m_info.hProcess);
            CloseHandle(m_info.hThread);
        }
    }

    bool Start(const std::string& commandLine, HANDLE stdOut, HANDLE stdErr) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = stdOut;
        si.hStdError = stdErr;
        std::string line = commandLine;
        return CreateProcessA(NULL, &line[0], NULL, NULL, TRUE, 0, NULL, NULL, &si, &m_info) != 0;
    }

    bool Running() const { return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT; }

    // The exit status, or -1000 when the process is still running after the timeout.
    long WaitExit(DWORD timeoutMs) {
        if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
            return -1000;
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return static_cast<long>(code);
    }

    DWORD ProcessId() const { return m_info.dwProcessId; }
    DWORD ThreadId() const { return m_info.dwThreadId; }

private:
    PROCESS_INFORMATION m_info;
};

// A temporary file, deleted with the object.
struct TempFile {
    std::string path;
    explicit TempFile(const char* prefix) : path(TempFilePath(prefix)) {}
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() { DeleteFileA(path.c_str()); }
};

// A run with standard output and error captured in files. The child is declared last so
// that it is ended before its files are deleted.
struct CapturedRun {
    TempFile out{"out"};
    TempFile err{"err"};
    Child child;

    bool Start(const std::string& commandLine) {
        HANDLE outHandle = OpenInheritableForWrite(out.path);
        HANDLE errHandle = OpenInheritableForWrite(err.path);
        bool started = child.Start(commandLine, outHandle, errHandle);
        CloseHandle(outHandle);
        CloseHandle(errHandle);
        return started;
    }
    std::string Out() const { return ReadWholeFile(out.path); }
    std::string Err() const { return ReadWholeFile(err.path); }
};

}  // namespace support
