#pragma once
// The picture-format registry: file-name extension → picture class, newest entry first.
#include <string>
#include <string_view>
#include <vector>

#include "loading/graphic.h"

namespace kembo {

struct FormatEntry {
    std::string extension;  // lower case, no leading dot
    std::string description;
    const PictureClass* pictureClass;
};

class PictureFormats {
public:
    // Starts with the built-in formats: wmf, emf, ico, bmp, in that order.
    PictureFormats();
    // The one registry of the process, made on first use.
    static PictureFormats& Global();

    void RegisterFileFormat(std::string_view extension, std::string_view description,
                            const PictureClass& pictureClass);
    // Removes every entry of the class or of a class derived from it.
    void UnregisterGraphicClass(const PictureClass& pictureClass);
    // The class of the newest entry with this extension (any case, no dot), or nullptr.
    const PictureClass* FindExt(std::string_view extension) const;
    const std::vector<FormatEntry>& Entries() const { return entries_; }

private:
    std::vector<FormatEntry> entries_;
};

}  // namespace kembo
