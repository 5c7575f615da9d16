#pragma once

// The entry point of kestrix-run; returns the exit status.
int kestrixRunMain(int anArgc, char** apArgv);
