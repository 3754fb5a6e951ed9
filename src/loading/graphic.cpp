#include "loading/graphic.h"

#include "loading/file_system.h"

namespace kembo {

void TGraphic::LoadFromFile(const std::string& fileName) {
    const std::vector<uint8_t> data = files_.ReadWholeFile(fileName, kMaxFileBytes);
    LoadFromStream(data);
}

void TGraphic::Progress(ProgressStage stage, uint8_t percent, bool redraw) {
    if (!OnProgress) return;
    ProgressInfo info;
    info.stage = stage;
    info.percent = percent;
    info.redraw = redraw;
    info.rect = Rect{0, 0, Width(), Height()};
    OnProgress(*this, info);
}

}  // namespace kembo
