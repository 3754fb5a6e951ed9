#pragma once
// Decisions of the picture frame's window, kept apart from the window so they can be tested:
// edge zones, the z-order modes and the two size-adjustment commands.
#include <cstdint>
#include <optional>

#include "core/settings.h"

namespace kembo {

// Hit-test results (the system's values).
enum HitZone : int32_t {
    kHitClient = 1,
    kHitLeft = 10,
    kHitRight = 11,
    kHitTop = 12,
    kHitTopLeft = 13,
    kHitTopRight = 14,
    kHitBottom = 15,
    kHitBottomLeft = 16,
    kHitBottomRight = 17,
};

// The zone of a point (window coordinates) of a w × h window: 10-pixel edges, corners first;
// pasted to the wallpaper (pos 3) there are none.
HitZone EdgeZone(int32_t x, int32_t y, int32_t w, int32_t h, int32_t pos);

enum class InsertAfter { NoTopmost, Topmost, Bottom };

struct ZOrderMode {
    bool apply = false;       // whether SetWindowPos is called at all
    InsertAfter insertAfter = InsertAfter::NoTopmost;
    uint32_t flags = 0;       // SWP_ flags
    bool canDrag = true;      // moving and resizing by the user
    bool locked = false;      // the z-order lock keeps the window where it is
};

ZOrderMode ZOrderFor(int32_t pos);

// The window's new width (height) so that the window and the display rectangle have the same
// ratio, or nullopt when the command does nothing (no background picture, empty or inverted
// rectangle). The caller refuses in slideshow mode before asking.
std::optional<int32_t> WidthFromHeight(const Settings& settings);
std::optional<int32_t> HeightFromWidth(const Settings& settings);

}  // namespace kembo
