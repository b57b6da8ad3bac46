// Program entry: the three windows, the message loop, and the guard around them.
#pragma once

#include <functional>

// Runs steps inside the entry guard: an error that escapes is shown in the standard exception
// display (a value that is no error object, with an empty message) and ends the program.
// Returns 0 either way.
int RunGuarded(const std::function<void()> &steps);

// Creates the main window, the configuration dialog and the splash, in that order, and runs the
// message loop until the main window has been closed. QApplication must exist.
void RunProgram();
