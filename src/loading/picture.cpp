#include "loading/picture.h"

#include "base/catalog.h"
#include "base/errors.h"
#include "base/name_rules.h"
#include "loading/picture_formats.h"

namespace kembo {

void TPicture::LoadFromFile(const std::string& fileName) {
    std::string extension = ExtractFileExt(fileName);
    if (!extension.empty()) extension.erase(0, 1);
    const PictureClass* pictureClass = formats_.FindExt(extension);
    if (!pictureClass) throw PictureError(Text(TextId::UnknownPictureFormat, extension));

    std::unique_ptr<TGraphic> graphic = pictureClass->Create(files_);
    graphic->OnProgress = [this](TGraphic& sender, const ProgressInfo& info) {
        if (OnProgress) OnProgress(sender, info);
    };
    graphic->LoadFromFile(fileName);
    graphic_ = std::move(graphic);
    if (OnChange) OnChange();
}

}  // namespace kembo
