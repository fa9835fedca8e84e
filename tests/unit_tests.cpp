// The pure computations: output buffering, handle and report formatting, text arguments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Trace.hpp"
#include "crt/Assert.hpp"
#include "crt/StdOut.hpp"
#include "framework/MWindowBase.hpp"

namespace {

struct Writes {
    std::vector<std::string> pieces;
    static void Record(void* context, const char* bytes, std::size_t size) {
        static_cast<Writes*>(context)->pieces.emplace_back(bytes, size);
    }
};

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

TEST(LineBuffer, ConsoleWritesEachPrintAtOnceInTextMode) {
    Writes writes;
    crt::LineBuffer out(Writes::Record, &writes, true);
    out.Put("MainWnd: WM_CANCELMODE\n");
    out.Put("a\nb\n");
    EXPECT_EQ(writes.pieces, (std::vector<std::string>{"MainWnd: WM_CANCELMODE\r\n", "a\r\nb\r\n"}));
    out.Flush();
    EXPECT_EQ(writes.pieces.size(), 2u);
}

TEST(LineBuffer, FileWritesOnlyWholePrintsOfAtMost512Bytes) {
    const std::string line24 = "GetCapture(): 00000000\r\n";  // as printed: 23 bytes, 24 written
    struct Case {
        const char* name;
        std::vector<std::string> prints;
        std::vector<std::string> writesBeforeFlush;
        std::string rest;
    };
    const std::string poll = "GetCapture(): 00000000\n";
    const std::string x510(510, 'x');
    const std::vector<Case> cases = {
        {"nothing reaches the file before the buffer is needed",
         std::vector<std::string>(21, poll), {}, Repeat(line24, 21)},
        {"the 22nd line does not fit: the 21 before it are written",
         std::vector<std::string>(22, poll), {Repeat(line24, 21)}, line24},
        {"a print that exactly fills the buffer stays in it",
         {x510 + "\n"}, {}, x510 + "\r\n"},
        {"the newline's carriage return counts: 511 bytes then 2 do not fit",
         {std::string(511, 'y'), "\n"}, {std::string(511, 'y')}, "\r\n"},
        {"a print longer than the buffer goes out in 512-byte pieces after what was buffered",
         {"a\n", std::string(600, 'z')},
         {"a\r\n", std::string(512, 'z')},
         std::string(88, 'z')},
    };
    for (const Case& c : cases) {
        Writes writes;
        crt::LineBuffer out(Writes::Record, &writes, false);
        for (const std::string& p : c.prints)
            out.Put(p.c_str());
        EXPECT_EQ(writes.pieces, c.writesBeforeFlush) << c.name;
        out.Flush();
        std::vector<std::string> all = c.writesBeforeFlush;
        all.push_back(c.rest);
        EXPECT_EQ(writes.pieces, all) << c.name;
        out.Flush();
        EXPECT_EQ(writes.pieces.size(), all.size()) << c.name << ": a second flush writes nothing";
    }
}

TEST(TraceFormat, CaptureLineShowsTheLow32BitsAsEightUpperCaseDigits) {
    struct Case {
        UINT_PTR handle;
        const char* line;
    };
    const Case cases[] = {
        {0, "GetCapture(): 00000000\n"},
        {0x2A, "GetCapture(): 0000002A\n"},
        {0x0001003C, "GetCapture(): 0001003C\n"},
        {0xDEADBEEF, "GetCapture(): DEADBEEF\n"},
#ifdef _WIN64
        {static_cast<UINT_PTR>(0xFFFFFFFF80001234ull), "GetCapture(): 80001234\n"},
#endif
    };
    for (const Case& c : cases)
        EXPECT_STREQ(FormatCaptureLine(reinterpret_cast<HWND>(c.handle)).text, c.line);
}

TEST(AssertReport, NamesTheExpressionTheFileWithoutFoldersAndTheLine) {
    struct Case {
        const char* file;
        const char* report;
    };
    const Case cases[] = {
        {"/src/tarvel/framework/MWindowBase.hpp",
         "\r\nAssertion failed: IsWindow(hwnd), file MWindowBase.hpp, line 42\r\n"
         "\r\nAbnormal program termination\r\n"},
        {"C:\\src\\framework\\MWindowBase.hpp",
         "\r\nAssertion failed: IsWindow(hwnd), file MWindowBase.hpp, line 42\r\n"
         "\r\nAbnormal program termination\r\n"},
        {"MWindowBase.hpp",
         "\r\nAssertion failed: IsWindow(hwnd), file MWindowBase.hpp, line 42\r\n"
         "\r\nAbnormal program termination\r\n"},
    };
    for (const Case& c : cases) {
        char report[256];
        crt::FormatAssertReport(report, sizeof report, "IsWindow(hwnd)", c.file, 42);
        EXPECT_STREQ(report, c.report) << c.file;
    }
}

TEST(TextArgument, ValuesBelow65536AreResourceNumbers) {
    struct Case {
        UINT_PTR value;
        bool resource;
    };
    const Case cases[] = {
        {0, false},  // null: no text at all
        {1, true},
        {0xFFFF, true},
        {0x10000, false},
        {reinterpret_cast<UINT_PTR>("Tarvel"), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MWindowBase::IsResourceNumberDx(reinterpret_cast<LPCSTR>(c.value)), c.resource)
            << std::hex << c.value;
    EXPECT_EQ(MWindowBase::ResTextDx(NULL), nullptr);
    const char* title = "Tarvel";
    EXPECT_EQ(MWindowBase::ResTextDx(title), title);
}

}  // namespace

namespace {

TEST(Centring, CentresThenClampsRightBottomLeftTopInThatOrder) {
    struct Case {
        const char* name;
        RECT around;
        SIZE own;
        RECT bounds;
        POINT corner;
    };
    const RECT work = {0, 0, 800, 560};
    const Case cases[] = {
        {"owner 400x300 at (100,100)", {100, 100, 500, 400}, {80, 80}, work, {260, 210}},
        {"odd difference of 5", {100, 100, 185, 185}, {80, 80}, work, {102, 102}},
        {"difference of -1 rounds toward zero", {100, 100, 179, 179}, {80, 80}, work, {100, 100}},
        {"difference of -3 gives -1, not -2", {100, 100, 177, 177}, {80, 80}, work, {99, 99}},
        {"right edge", {700, 100, 900, 300}, {80, 80}, work, {720, 160}},
        {"bottom edge", {100, 500, 300, 700}, {80, 80}, work, {160, 480}},
        {"left edge", {-200, 100, 0, 300}, {80, 80}, work, {0, 160}},
        {"top edge", {100, -200, 300, 0}, {80, 80}, work, {160, 0}},
        {"wider than bounds: right, then left wins", work, {900, 80}, work, {0, 240}},
        {"taller than bounds: bottom, then top wins", work, {80, 600}, work, {360, 0}},
        {"larger than bounds", {300, 300, 400, 400}, {900, 600}, work, {0, 0}},
        {"bounds off the origin", {1000, 50, 1100, 150}, {80, 80}, {810, 40, 1610, 600}, {1010, 60}},
        // A child: centred on the parent's window, kept inside its client area (screen).
        {"child inside the client area", {100, 100, 500, 400}, {80, 80}, {108, 131, 492, 392},
         {260, 210}},
        {"child wider than the client area", {100, 100, 500, 400}, {390, 80}, {108, 131, 492, 392},
         {108, 210}},
        {"child below the client area's top", {100, 100, 500, 160}, {80, 80}, {108, 131, 492, 392},
         {260, 131}},
    };
    for (const Case& c : cases) {
        POINT pt = CenteredPositionDx(c.around, c.own, c.bounds);
        EXPECT_EQ(pt.x, c.corner.x) << c.name;
        EXPECT_EQ(pt.y, c.corner.y) << c.name;
    }
}

}  // namespace
