// The preset catalogue: each row names the routine and the parameters it sets; every other field
// keeps its value. W and H are newPicture's size when the preset is selected, SW and SH the
// screen's; k counts from the row's first number. Divisions cut toward zero.
#include "splash/effect_engine.h"

namespace kembo {

namespace {

struct PresetArgs {
    int32_t k, w, h, sw, sh;
};

struct PresetRow {
    int32_t first, last;
    void (*apply)(AMTEffect1& e, const PresetArgs& a);
};

void Strips(AMTEffect1& e, int32_t routine, int32_t periodX, int32_t periodY, int32_t stepX, int32_t stepY,
            int32_t reverseX, int32_t reverseY) {
    e.routine = routine;
    e.periodX = periodX;
    e.periodY = periodY;
    e.stepX = stepX;
    e.stepY = stepY;
    e.reverseX = reverseX;
    e.reverseY = reverseY;
}

// Right, left, down, up by 16 pixels a step, for j = 0 ... 3.
void Axis(AMTEffect1& e, int32_t j) {
    e.stepX = j < 2 ? 16 : 0;
    e.stepY = j < 2 ? 0 : 16;
    e.reverseX = j == 1 ? 1 : 0;
    e.reverseY = j == 3 ? 1 : 0;
    e.variant = 0;
}

void Start(AMTEffect1& e, Point p) {
    e.startX = p.x;
    e.startY = p.y;
}

void Moves(AMTEffect1& e, int32_t routine, int32_t k) {
    e.routine = routine;
    Axis(e, k);
}

const PresetRow kPresets[] = {
    {0, 0, [](AMTEffect1& e, const PresetArgs&) {
         e.numbering = 0;
         e.routine = 1;
     }},
    {1, 2, [](AMTEffect1& e, const PresetArgs& a) { Strips(e, 1, a.w, 0, a.w / 16 + 1, 0, a.k, 0); }},
    {3, 3, [](AMTEffect1& e, const PresetArgs&) { Strips(e, 1, 16, 0, 1, 0, 0, 0); }},
    {4, 4, [](AMTEffect1& e, const PresetArgs&) { Strips(e, 1, 0, 16, 0, 1, 0, 1); }},
    {5, 6, [](AMTEffect1& e, const PresetArgs& a) { Strips(e, 2, a.w / 2 + 1, 0, a.w / 16 + 1, 0, a.k, 0); }},
    {7, 8, [](AMTEffect1& e, const PresetArgs& a) { Strips(e, 2, 0, a.h / 2 + 1, 0, a.h / 16 + 1, 0, a.k); }},
    {9, 9, [](AMTEffect1& e, const PresetArgs&) { Strips(e, 2, 16, 16, 1, 2, 0, 1); }},
    {10, 13, [](AMTEffect1& e, const PresetArgs& a) { Moves(e, 3, a.k); }},
    {14, 17, [](AMTEffect1& e, const PresetArgs& a) { Moves(e, 4, a.k); }},
    {18, 29,
     [](AMTEffect1& e, const PresetArgs& a) {
         e.routine = 5;
         e.rate = 16;
         e.variant = a.k % 4;
         e.fillColor = 0;
         e.oldMode = a.k < 4 ? 0 : 1;
         e.style = a.k < 8 ? 0 : 3;
         e.skipInitialCopy = a.k >= 8 ? 1 : 0;
     }},
    {30, 31, [](AMTEffect1& e, const PresetArgs& a) {
         e.routine = 6;
         e.bitsPerStep = 3;
         e.variant = a.k;
     }},
    {32, 32, [](AMTEffect1& e, const PresetArgs&) {
         e.routine = 7;
         e.rate = 20;
     }},
    {33, 44,
     [](AMTEffect1& e, const PresetArgs& a) {
         Moves(e, 8, a.k % 4);
         e.oldMode = a.k / 4;
     }},
    {45, 56,
     [](AMTEffect1& e, const PresetArgs& a) {
         e.routine = 9;
         e.rate = 16;
         e.variant = a.k % 4;
         e.oldMode = a.k / 4;
         e.fillColor = 0;
     }},
    {57, 72,
     [](AMTEffect1& e, const PresetArgs& a) {
         const Point starts[4] = {{a.sw / 2, 0}, {a.sw / 2, a.sh}, {0, a.sh / 2}, {a.sw, a.sh / 2}};
         e.routine = 10;
         e.rate = 200;
         Start(e, starts[a.k % 4]);
         e.direction = (a.k / 4) % 2;
         e.style = a.k / 8;
     }},
    {73, 120,
     [](AMTEffect1& e, const PresetArgs& a) {
         const Point starts[4] = {{0, 0}, {a.sw, 0}, {a.sw, a.sh}, {0, a.sh}};
         e.routine = 11;
         e.rate = 20;
         Start(e, starts[a.k % 4]);
         e.direction = (a.k / 4) % 2;
         e.bladeCount = (a.k / 8) % 3 + 1;
         e.style = a.k / 24;
     }},
    {121, 136,
     [](AMTEffect1& e, const PresetArgs& a) {
         e.routine = 12;
         e.blockWidth = 32;
         e.blockHeight = 32;
         e.startCorner = a.k % 4;
         e.direction = (a.k / 4) % 2 == 0 ? 1 : 0;
         e.style = a.k / 8;
     }},
    {137, 137, [](AMTEffect1& e, const PresetArgs&) { Strips(e, 1, 16, 0, 4, 0, 0, 0); }},
};

}  // namespace

void AMTEffect1::SelectEffect(int32_t preset, int32_t screenWidth, int32_t screenHeight) {
    for (const PresetRow& row : kPresets) {
        if (preset < row.first || preset > row.last) continue;
        if (row.first > 0) numbering = 3;
        const int32_t w = newPicture ? newPicture->Width() : 0;
        const int32_t h = newPicture ? newPicture->Height() : 0;
        row.apply(*this, PresetArgs{preset - row.first, w, h, screenWidth, screenHeight});
        return;
    }
}

}  // namespace kembo
