#include <windows.h>

#include "core/kembo_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return kembo::RunKembo(instance); }
