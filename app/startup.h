#pragma once

#include <functional>

// The program's entry point. The optional hook runs on the GUI thread right
// after the application object exists, before anything is shown; tests use it
// to drive the program from inside its own event loop.
int kestrixMain(int anArgc, char** apArgv, const std::function<void()>& arAfterApplication = {});
