// Quenlo: splits a text file into numbered files of a fixed number of lines.
#include <windows.h>

#include "main_window/program.h"
#include "platform/system_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    // Before anything can load a DLL on the program's behalf.
    quenlo::RestrictDllSearchToSystem();
    quenlo::WindowServices services;
    services.quitOnDestroy = true;
    services.commandLine = GetCommandLineW();
    return quenlo::RunQuenlo(std::move(services), showCommand);
}
