// Runs of the framework and the program that a test can only watch from outside:
// they end the process, or set the platform up before the program starts.
#include <windows.h>

#include <cstring>

#include "app/Trace.hpp"
#include "framework/MWindowBase.hpp"

namespace {

// A window of a framework class made without the object as creation parameter.
int CreateWithoutParameter() {
    MWindowBase registrar;
    if (!registrar.CreateWindowDx(NULL, NULL, WS_OVERLAPPED, 0, 0, 0, 50, 50, NULL))
        return 10;
    TracePrint("printed before the check\n");
    CreateWindowExA(0, registrar.ClassNameDx(), NULL, WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                    GetModuleHandleA(NULL), NULL);
    return 11;  // not reached: the check ends the process
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "create-without-parameter") == 0)
        return CreateWithoutParameter();
    return 2;
}
