#pragma once
// The monitors as the system has them now, and where the program's windows open among them.
#include <windows.h>

#include <vector>

#include "toolkit/monitors.h"

namespace kembo {

class Application;

// Every monitor's work area, in screen pixels.
std::vector<Monitor> CurrentMonitors();

// The work area of the monitor the program's windows open on: the one that holds the main
// window, the primary one before the main window exists.
Rect OpeningWorkArea(const Application& app);

// Moves a window, keeping its size, to the middle of the opening monitor's work area.
void CentreOnOpeningMonitor(HWND window, const Application& app);

}  // namespace kembo
