#include "window/composition.h"

#include <algorithm>
#include <utility>

#include "base/catalog.h"
#include "base/errors.h"
#include "image/brightness.h"
#include "image/pixel_ops.h"
#include "loading/bitmap.h"
#include "loading/file_system.h"
#include "loading/picture.h"

namespace kembo {

void ComposePixels(const PixelBuffer& picture, PixelBuffer& work, const CompositionParams& params) {
    const int32_t wt = work.Width();
    const int32_t ht = work.Height();
    const Rect r = NormaliseDisplayRect(params.sx, params.sy, params.ex, params.ey, picture.Width(),
                                        picture.Height());
    const bool fit = params.scalingType != 0;
    // The part the picture covers: a stretch of a rectangle inside the picture covers all of it.
    const int32_t cw = r.Empty() ? 0 : fit ? wt : static_cast<int32_t>(std::min<int64_t>(r.Width(), wt));
    const int32_t ch = r.Empty() ? 0 : fit ? ht : static_cast<int32_t>(std::min<int64_t>(r.Height(), ht));

    // The brightness pass covers the margin too; scaling its colour once is the same.
    Bgr margin = ToBgr(params.margin);
    if (params.brightness != 100) {
        margin = Bgr{ScaleByte(margin.b, params.brightness), ScaleByte(margin.g, params.brightness),
                     ScaleByte(margin.r, params.brightness)};
    }
    FillRect(work, Rect{cw, 0, wt, ch}, margin);
    FillRect(work, Rect{0, ch, wt, ht}, margin);
    if (cw == 0 || ch == 0) return;

    if (fit) {
        StretchRect(picture, r, work, Rect{0, 0, wt, ht}, params.brightness);
    } else if (params.brightness == 100) {
        CopyRect(picture, r.left, r.top, cw, ch, work, 0, 0);
    } else {
        // One to one: the stretch copies and scales each row in one go.
        StretchRect(picture, Rect{r.left, r.top, r.left + cw, r.top + ch}, work, Rect{0, 0, cw, ch},
                    params.brightness);
    }
}

namespace {

PixelBuffer ReadBitmapPixels(const std::string& path, const PictureSource& source) {
    TPicture picture(source.formats, source.files);
    picture.LoadFromFile(path);
    auto* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
    if (!bitmap) {
        // Icons and metafiles load, but only a bitmap can be composed.
        throw PictureError(Text(TextId::CannotAssignToBitmap, picture.Graphic()->Class().Name()));
    }
    return std::move(bitmap->Pixels());
}

}  // namespace

void ComposePicture(PixelBuffer& target, const std::string& path, const CompositionParams& params,
                    const PictureSource& source) {
    if (!source.files.FileExists(path)) RaiseMessage(Text(TextId::PictureFileMissing));
    const PixelBuffer picture = ReadBitmapPixels(path, source);
    PixelBuffer work(target.Width(), target.Height());
    ComposePixels(picture, work, params);
    target = std::move(work);
}

bool KeptPicture::Compose(PixelBuffer& target, std::string& path, const CompositionParams& params,
                          const PictureSource& source, PictureReading reading) {
    // Taken before any reading: a file changed meanwhile then differs from it next time.
    const std::optional<FileSystem::Stamp> stamp = source.files.FileStamp(path);
    if (!stamp) {
        Release();
        return false;
    }
    try {
        if (reading == PictureReading::fromFile || !kept_ || kept_->path != path || kept_->stamp != *stamp) {
            Release();  // before reading: never two decoded pictures at once
            kept_ = Kept{path, *stamp, ReadBitmapPixels(path, source)};
        }
        ComposePixels(kept_->pixels, target, params);
        return true;
    } catch (const Abort&) {
        // The reading was abandoned (the program is ending, or another reading is under way):
        // nothing is known about the file.
        Release();
        throw;
    } catch (...) {
        // Whatever went wrong, the picture is not shown again and nobody is told.
        Release();
        path.clear();
        return false;
    }
}

}  // namespace kembo
