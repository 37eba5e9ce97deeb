// Starting a program of the game folder as the Windows shell's "open" would: a process of its
// own that outlives the game, shown minimised in a terminal window on a desktop, else detached.
#pragma once

#include <string>

// Starts the program (a native path, relative to the working folder or absolute) with no
// arguments, in the working folder. When a desktop is there (DISPLAY or WAYLAND_DISPLAY set)
// and x-terminal-emulator is on PATH, the program runs inside one (iconic where the emulator
// is of the xterm family, known by its program's own name); otherwise it runs detached, as
// SysStartProgramDetached starts it. Either way it is no child of the caller. The process id
// of the started program (the terminal's when there is one), or 0 when it could not be
// started. The terminal's program name goes to terminalName, "" when the program runs detached.
int SysStartProgram(const char* program, std::string* terminalName = nullptr);
// Starts the program in a session of its own with its standard streams on /dev/null, desktop
// or not: no child of the caller. Its process id, or 0 when it could not be started.
int SysStartProgramDetached(const char* program);
// Whether a program started by SysStartProgram (by the id it gave) still runs. It is no child
// of the caller, so nothing can wait for it: the system reaps it once it ends.
int SysProgramRunning(int pid);
