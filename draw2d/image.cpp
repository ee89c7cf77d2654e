#include "draw2d/image.h"

#include <algorithm>
#include <cmath>

#include "draw2d/draw2d.h"
#include "draw2d/graphics.h"
#include "draw2d/imageframe.h"
#include "draw2d/pixmap.h"
#include "draw2d/window.h"

namespace {

int32_t g_autoFlags = ImageFlagMasked | ImageFlagFiltered;
int g_maskR = 0, g_maskG = 0, g_maskB = 0;
bool g_autoMidHandle = false;

bool HasAlpha(int32_t format)
{
    return format == PF_A8 || format == PF_BGRA8888 || format == PF_RGBA8888;
}

// Applies the module settings to a freshly loaded image.
std::shared_ptr<TImage> Finish(std::shared_ptr<TImage> image)
{
    if (image && g_autoMidHandle)
        CentreImageHandle(image);
    return image;
}

int32_t Flags(int32_t flags)
{
    return flags == -1 ? g_autoFlags : flags;
}

} // namespace

TImage::~TImage() = default;

bool TImage::ValidIndex(int index) const
{
    return index >= 0 && static_cast<size_t>(index) < pixmaps.size();
}

void TImage::AddDenserVersion(int32_t density, TPixmapsLoader load)
{
    if (density <= 1 || !load)
        return;
    TDenserVersion version;
    version.density = density;
    version.load = std::move(load);
    const auto at = std::find_if(denser_.begin(), denser_.end(), [&](const auto& v) { return v.density >= density; });
    denser_.insert(at, std::move(version));
}

TImage::TDenserVersion* TImage::VersionForScale()
{
    if (denser_.empty())
        return nullptr;
    // A scale a hair over a whole number (rounding of the window's size) calls for that number.
    constexpr float Slack = 0.01f;
    const auto wanted = static_cast<int32_t>(std::ceil(CurrentCanvasFit().ScaleX() - Slack));
    if (wanted <= 1)
        return nullptr;
    TDenserVersion* chosen = nullptr;
    for (TDenserVersion& version : denser_) {
        if (version.load) {
            version.pixmaps = version.load();
            version.load = nullptr;
            version.usable = version.pixmaps.size() == pixmaps.size() &&
                             std::all_of(version.pixmaps.begin(), version.pixmaps.end(), [](const auto& p) { return p; });
            version.frames.resize(pixmaps.size());
            version.seqs.assign(pixmaps.size(), 0);
        }
        if (!version.usable)
            continue;
        chosen = &version;
        if (version.density >= wanted)
            break;
    }
    return chosen;
}

std::shared_ptr<TImageFrame> TImage::Frame(int index)
{
    if (!ValidIndex(index))
        return nullptr;
    const int32_t seq = GraphicsSeq();
    if (TDenserVersion* version = VersionForScale()) {
        if (version->seqs[index] == seq)
            return version->frames[index];
        TDraw2DDriver* driver = CurrentDraw2DDriver();
        if (!driver)
            return nullptr;
        auto& frame = version->frames[index];
        frame = driver->CreateFrameFromPixmap(version->pixmaps[index], flags);
        if (frame)
            frame->SetDensity(version->density);
        version->seqs[index] = frame ? seq : 0;
        return frame;
    }
    if (seqs[index] == seq)
        return frames[index];
    TDraw2DDriver* driver = CurrentDraw2DDriver();
    if (!driver)
        return nullptr;
    frames[index] = driver->CreateFrameFromPixmap(Lock(index, 1, 0), flags);
    seqs[index] = frames[index] ? seq : 0;
    return frames[index];
}

void TImage::ReleaseFrames()
{
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i].reset();
        seqs[i] = 0;
    }
    for (TDenserVersion& version : denser_) {
        std::fill(version.frames.begin(), version.frames.end(), nullptr);
        std::fill(version.seqs.begin(), version.seqs.end(), 0);
    }
}

bool TImage::HoldsFrames() const
{
    const auto any = [](const auto& list) { return std::any_of(list.begin(), list.end(), [](const auto& f) { return f; }); };
    return any(frames) || std::any_of(denser_.begin(), denser_.end(), [&](const auto& v) { return any(v.frames); });
}

std::shared_ptr<TPixmap> TImage::Lock(int index, int read, int write)
{
    if (!ValidIndex(index))
        return nullptr;
    if (write) {
        frames[index].reset();
        seqs[index] = 0;
        denser_.clear(); // painted from pixels that are about to change
    }
    if (!pixmaps[index])
        pixmaps[index] = CreatePixmap(width, height, PF_RGBA8888);
    return pixmaps[index];
}

void TImage::SetPixmap(int index, const std::shared_ptr<TPixmap>& pixmap)
{
    if (!ValidIndex(index))
        return;
    if ((flags & ImageFlagMasked) && pixmap && !HasAlpha(pixmap->format))
        pixmaps[index] = MaskPixmap(pixmap, mask_r, mask_g, mask_b);
    else
        pixmaps[index] = pixmap;
    frames[index].reset();
    seqs[index] = 0;
    denser_.clear();
}

std::shared_ptr<TImage> TImage::Create(int w, int h, int count, int32_t flags, int r, int g, int b)
{
    auto image = std::make_shared<TImage>();
    image->width = w;
    image->height = h;
    image->flags = flags;
    image->mask_r = r, image->mask_g = g, image->mask_b = b;
    const size_t n = static_cast<size_t>(std::max(count, 0));
    image->pixmaps.resize(n);
    image->frames.resize(n);
    image->seqs.assign(n, 0);
    return image;
}

std::shared_ptr<TImage> TImage::Load(const std::string& url, int32_t flags, int r, int g, int b)
{
    return Load(LoadPixmap(url), flags, r, g, b);
}

std::shared_ptr<TImage> TImage::Load(const std::shared_ptr<TPixmap>& pixmap, int32_t flags, int r, int g, int b)
{
    if (!pixmap)
        return nullptr;
    auto image = Create(pixmap->width, pixmap->height, 1, flags, r, g, b);
    image->SetPixmap(0, pixmap);
    return image;
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::string& url, int cw, int ch, int first, int count,
                                         int32_t flags, int r, int g, int b)
{
    return LoadAnim(LoadPixmap(url), cw, ch, first, count, flags, r, g, b);
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::shared_ptr<TPixmap>& pixmap, int cw, int ch, int first,
                                         int count, int32_t flags, int r, int g, int b)
{
    if (!pixmap || cw < 1 || ch < 1 || first < 0 || count < 0)
        return nullptr;
    const int across = pixmap->width / cw, down = pixmap->height / ch;
    if (static_cast<int64_t>(first) + count > static_cast<int64_t>(across) * down)
        return nullptr;
    auto image = Create(cw, ch, count, flags, r, g, b);
    for (int cell = first; cell < first + count; ++cell) {
        const int x = cell % across * cw, y = cell / across * ch;
        image->SetPixmap(cell - first, pixmap->Window(x, y, cw, ch)->Copy());
    }
    return image;
}

// ---- free functions ----

std::shared_ptr<TImage> LoadImageFile(const std::string& url, int32_t flags)
{
    return Finish(TImage::Load(url, Flags(flags), g_maskR, g_maskG, g_maskB));
}

std::shared_ptr<TImage> LoadImageFile(const std::shared_ptr<TPixmap>& pixmap, int32_t flags)
{
    return Finish(TImage::Load(pixmap, Flags(flags), g_maskR, g_maskG, g_maskB));
}

std::shared_ptr<TImage> LoadAnimStrip(const std::string& url, int cw, int ch, int first, int count, int32_t flags)
{
    return Finish(TImage::LoadAnim(url, cw, ch, first, count, Flags(flags), g_maskR, g_maskG, g_maskB));
}

std::shared_ptr<TImage> LoadAnimStrip(const std::shared_ptr<TPixmap>& pixmap, int cw, int ch, int first, int count,
                                      int32_t flags)
{
    return Finish(TImage::LoadAnim(pixmap, cw, ch, first, count, Flags(flags), g_maskR, g_maskG, g_maskB));
}

void SetAutoImageFlags(int32_t flags)
{
    if (flags != -1)
        g_autoFlags = flags;
}

void SetMaskColor(int r, int g, int b)
{
    g_maskR = r, g_maskG = g, g_maskB = b;
}

void SetAutoMidHandle(int on)
{
    g_autoMidHandle = on != 0;
}

void CentreImageHandle(const std::shared_ptr<TImage>& image)
{
    if (image)
        SetImageHandle(image, image->width * 0.5f, image->height * 0.5f);
}

void SetImageHandle(const std::shared_ptr<TImage>& image, float x, float y)
{
    if (!image)
        return;
    image->handle_x = x;
    image->handle_y = y;
}

int ImageWidth(const std::shared_ptr<TImage>& image)
{
    return image ? image->width : 0;
}

int ImageHeight(const std::shared_ptr<TImage>& image)
{
    return image ? image->height : 0;
}
