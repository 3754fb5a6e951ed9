#include "loading/picture_formats.h"

#include "base/text.h"
#include "loading/bitmap.h"
#include "loading/icon.h"
#include "loading/metafile.h"

namespace kembo {

PictureFormats::PictureFormats() {
    RegisterFileFormat("wmf", "メタファイル", TMetafile::StaticClass());
    RegisterFileFormat("emf", "エンハンス メタファイル", TMetafile::StaticClass());
    RegisterFileFormat("ico", "アイコン", TIcon::StaticClass());
    RegisterFileFormat("bmp", "ビットマップ", TBitmap::StaticClass());
}

PictureFormats& PictureFormats::Global() {
    static PictureFormats formats;
    return formats;
}

void PictureFormats::RegisterFileFormat(std::string_view extension, std::string_view description,
                                        const PictureClass& pictureClass) {
    entries_.push_back(FormatEntry{AsciiLower(extension), std::string(description), &pictureClass});
}

void PictureFormats::UnregisterGraphicClass(const PictureClass& pictureClass) {
    for (auto i = entries_.size(); i-- > 0;) {
        if (entries_[i].pictureClass->InheritsFrom(pictureClass)) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

const PictureClass* PictureFormats::FindExt(std::string_view extension) const {
    const std::string wanted = AsciiLower(extension);
    for (auto i = entries_.rbegin(); i != entries_.rend(); ++i) {
        if (i->extension == wanted) return i->pictureClass;
    }
    return nullptr;
}

}  // namespace kembo
