#include <windows.h>

#include "kembo/kembo_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return kembo::RunKembo(instance); }
