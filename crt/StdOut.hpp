// Standard output as the trace needs it, independent of the C runtime's own buffering:
// text mode (each "\n" leaves as "\r\n"); on a console every print is one write at once;
// otherwise a 512-byte buffer that only ever writes whole prints, flushed at normal exit.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace crt {

// Writes bytes somewhere; the platform part below writes them to the standard-output handle.
using WriteFn = void (*)(void* context, const char* bytes, std::size_t size);

// Pure buffering policy: which bytes are written, and in which pieces.
class LineBuffer {
public:
    static constexpr std::size_t CAPACITY = 512;

    LineBuffer(WriteFn write, void* context, bool unbuffered)
        : m_write(write), m_context(context), m_unbuffered(unbuffered), m_used(0) {}

    // One print: its bytes are never split across writes when they fit in the buffer.
    void Put(const char* text) {
        char converted[2 * CAPACITY];
        std::size_t size = 0;
        for (const char* p = text; *p; ++p) {
            if (size + 2 > sizeof converted) {
                // Longer than any trace line; emit it in pieces of at most a buffer each.
                PutConverted(converted, size);
                size = 0;
            }
            if (*p == '\n')
                converted[size++] = '\r';
            converted[size++] = *p;
        }
        PutConverted(converted, size);
    }

    void Flush() {
        if (m_used == 0)
            return;
        std::size_t used = m_used;
        m_used = 0;
        m_write(m_context, m_buffer, used);
    }

private:
    void PutConverted(const char* bytes, std::size_t size) {
        if (size == 0)
            return;
        if (m_unbuffered) {
            m_write(m_context, bytes, size);
            return;
        }
        if (size > CAPACITY - m_used)
            Flush();
        while (size > CAPACITY) {
            m_write(m_context, bytes, CAPACITY);
            bytes += CAPACITY;
            size -= CAPACITY;
        }
        std::memcpy(m_buffer + m_used, bytes, size);
        m_used += size;
    }

    WriteFn m_write;
    void* m_context;
    bool m_unbuffered;
    std::size_t m_used;
    char m_buffer[CAPACITY];
};

// "%p" as the 32-bit program prints a handle: 8 upper-case hex digits, no prefix.
// Window handles carry 32 significant bits on 64-bit Windows too.
inline void FormatHandleBits(std::uintptr_t value, char (&out)[9]) {
    static const char digits[] = "0123456789ABCDEF";
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    for (int i = 7; i >= 0; --i) {
        out[i] = digits[bits & 0xF];
        bits >>= 4;
    }
    out[8] = '\0';
}

namespace detail {

inline void WriteStdOutHandle(void*, const char* bytes, std::size_t size) {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    while (size > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes, static_cast<DWORD>(size), &written, NULL) || written == 0)
            return;
        bytes += written;
        size -= written;
    }
}

inline void FlushAtExit();

inline LineBuffer& StdOutBuffer() {
    // Decided once, at the first print, like the runtime decides its own buffering.
    static LineBuffer buffer(WriteStdOutHandle, NULL,
                             GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR);
    static bool registered = std::atexit(FlushAtExit) == 0;
    (void)registered;
    return buffer;
}

inline void FlushAtExit() { StdOutBuffer().Flush(); }

}  // namespace detail

// One trace print to standard output.
inline void PutStdOut(const char* text) { detail::StdOutBuffer().Put(text); }

inline void FlushStdOut() { detail::StdOutBuffer().Flush(); }

}  // namespace crt
