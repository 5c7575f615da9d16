#include "runlog.h"
#include "runmain.h"

#if defined(__ELF__)
namespace
{
// The shared libraries log while they load (the pixel formats they register),
// before main() runs; standard error is kept for what the user must read, so
// the program's own handler is put in place before any library initialises.
void installEarlyLog(int, char**, char**)
{
    tcRunLog::installEarly();
}
__attribute__((section(".preinit_array"), used)) void (*const gpInstallEarlyLog)(int, char**,
                                                                                 char**) = &installEarlyLog;
} // namespace
#endif

int main(int argc, char** argv)
{
    return kestrixRunMain(argc, argv);
}
