#pragma once
// Mouse cursors: the named system cursors, and the screen-wide cursor that, while set, shows
// over every window of the program instead of the windows' own.
#include <windows.h>

namespace kembo {

enum class Cursor { Default, Arrow, Cross, HandPoint, Wait };

// The system cursor; Default is the arrow.
HCURSOR CursorHandle(Cursor cursor);

Cursor ScreenCursor();
// Takes effect at once, also while a window holds the mouse capture; back at Default, the
// window under the pointer shows its own cursor again.
void SetScreenCursor(Cursor cursor);

// Asks the window of this thread under the pointer to set its cursor now, as after a move;
// false when the pointer is over no window of this thread.
bool RefreshCursor();

}  // namespace kembo
