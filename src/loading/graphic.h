#pragma once
// Picture objects: the common base, and the class references the format registry hands out.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "base/geometry.h"

namespace kembo {

class FileSystem;
class TGraphic;

enum class ProgressStage { Starting, Running, Ending };

struct ProgressInfo {
    ProgressStage stage = ProgressStage::Starting;
    uint8_t percent = 0;
    bool redraw = false;
    Rect rect{};
    std::string message;
};

using ProgressHandler = std::function<void(TGraphic& sender, const ProgressInfo& info)>;

// A class reference: names a picture class, knows its base class and makes empty objects of it.
class PictureClass {
public:
    using Factory = std::function<std::unique_ptr<TGraphic>(FileSystem& files)>;
    PictureClass(std::string name, const PictureClass* parent, Factory factory)
        : name_(std::move(name)), parent_(parent), factory_(std::move(factory)) {}
    PictureClass(const PictureClass&) = delete;
    PictureClass& operator=(const PictureClass&) = delete;

    const std::string& Name() const { return name_; }
    // True for this class and every class derived from it.
    bool InheritsFrom(const PictureClass& other) const {
        for (const PictureClass* c = this; c; c = c->parent_)
            if (c == &other) return true;
        return false;
    }
    std::unique_ptr<TGraphic> Create(FileSystem& files) const { return factory_(files); }

private:
    std::string name_;
    const PictureClass* parent_;
    Factory factory_;
};

class TGraphic {
public:
    // Largest picture file read into memory.
    static constexpr std::size_t kMaxFileBytes = std::size_t{512} << 20;

    explicit TGraphic(FileSystem& files) : files_(files) {}
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual const PictureClass& Class() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }

    // Reads the file whole (writers kept out meanwhile) and loads it as a stream.
    virtual void LoadFromFile(const std::string& fileName);
    // Replaces the picture by the one in data; on failure the object keeps what it had.
    virtual void LoadFromStream(std::span<const uint8_t> data) = 0;

    ProgressHandler OnProgress;

protected:
    void Progress(ProgressStage stage, uint8_t percent, bool redraw);
    FileSystem& Files() const { return files_; }

private:
    FileSystem& files_;
};

}  // namespace kembo
