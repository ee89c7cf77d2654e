#include "draw2d/graphics.h"

#include <cstdlib>
#include <exception>
#include <utility>

#include "system/clock.h"
#include "system/hook.h"
#include "system/input.h"
#include "system/sysdriver.h"

namespace {

TGraphicsDriver* driver_ = nullptr;
int32_t default_flags_ = 0;

std::shared_ptr<TGraphics> graphics_;
int32_t width_ = 0, height_ = 0, depth_ = 0, hertz_ = 0, flags_ = 0;

std::shared_ptr<TGraphics> opened_;
bool exit_action_registered_ = false;

std::vector<TGraphicsMode> modes_;
bool modes_cached_ = false;

int32_t seq_ = 1;

bool soft_pacing_ = false;
bool vsync_ = false;
TFramePacer pacer_;

TPacingTimer timer_{ElapsedMillis, SleepMillis};

std::string& Title()
{
    static std::string title;
    return title;
}

std::shared_ptr<TPixmap>& Icon()
{
    static std::shared_ptr<TPixmap> icon;
    return icon;
}

// Wrapping 32-bit sum: the millisecond clock and the sequence number both wrap.
int32_t WrapAdd(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

void BumpSeq() { seq_ = NextGraphicsSeq(seq_); }

void ClearSettings()
{
    graphics_.reset();
    width_ = height_ = depth_ = hertz_ = flags_ = 0;
}

void ReleaseCurrentFromDriver()
{
    if (driver_ && graphics_)
        driver_->SetGraphics(nullptr);
}

void MakeDriverCurrent(TGraphicsDriver* driver)
{
    if (driver == driver_)
        return;
    ReleaseCurrentFromDriver();
    modes_.clear();
    modes_cached_ = false;
    driver_ = driver;
}

} // namespace

std::string TGraphicsMode::ToString() const
{
    return std::to_string(width) + "," + std::to_string(height) + "," + std::to_string(depth) + " " +
           std::to_string(hertz) + "Hz";
}

void SetGraphicsDriver(TGraphicsDriver* driver, int32_t defaultFlags)
{
    BumpSeq();
    MakeDriverCurrent(driver);
    default_flags_ = defaultFlags;
    ClearSettings();
}

TGraphicsDriver* GetGraphicsDriver() { return driver_; }

int32_t DefaultGraphicsFlags() { return default_flags_; }

const std::vector<TGraphicsMode>& GraphicsModes()
{
    if (!modes_cached_ && driver_) {
        modes_ = driver_->GraphicsModes();
        modes_cached_ = true;
    }
    return modes_;
}

int32_t CountGraphicsModes() { return static_cast<int32_t>(GraphicsModes().size()); }

void GetGraphicsMode(int32_t index, int32_t& width, int32_t& height, int32_t& depth, int32_t& hertz)
{
    const TGraphicsMode& mode = GraphicsModes().at(static_cast<size_t>(index));
    width = mode.width;
    height = mode.height;
    depth = mode.depth;
    hertz = mode.hertz;
}

int32_t GraphicsModeExists(int32_t width, int32_t height, int32_t depth, int32_t hertz)
{
    for (const TGraphicsMode& mode : GraphicsModes()) {
        if ((width == 0 || width == mode.width) && (height == 0 || height == mode.height) &&
            (depth == 0 || depth == mode.depth) && (hertz == 0 || hertz == mode.hertz))
            return 1;
    }
    return 0;
}

std::shared_ptr<TGraphics> CreateGraphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                          int32_t flags)
{
    if (!driver_)
        return nullptr;
    try {
        return driver_->CreateGraphics(width, height, depth, hertz, flags | default_flags_);
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::shared_ptr<TGraphics> AttachGraphics(void* widget, int32_t flags)
{
    if (!driver_)
        return nullptr;
    try {
        return driver_->AttachGraphics(widget, flags | default_flags_);
    } catch (const std::exception&) {
        return nullptr;
    }
}

void SetGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    // Closed graphics have no driver left; selecting them selects nothing.
    if (!graphics || !graphics->Driver()) {
        ReleaseCurrentFromDriver();
        ClearSettings();
        return;
    }
    MakeDriverCurrent(graphics->Driver());
    graphics->GetSettings(width_, height_, depth_, hertz_, flags_);
    driver_->SetGraphics(graphics);
    graphics_ = graphics;
}

void CloseGraphics(const std::shared_ptr<TGraphics>& graphics)
{
    if (!graphics)
        return;
    std::shared_ptr<TGraphics> keep = graphics; // the caller may have passed one of ours
    if (keep == opened_)
        opened_.reset();
    if (keep == graphics_)
        SetGraphics(nullptr);
    keep->Close();
}

std::shared_ptr<TGraphics> CurrentGraphics() { return graphics_; }

int32_t GraphicsWidth() { return width_; }
int32_t GraphicsHeight() { return height_; }
int32_t GraphicsDepth() { return depth_; }
int32_t GraphicsHertz() { return hertz_; }
int32_t GraphicsFlags() { return flags_; }

void CloseOpenedGraphics()
{
    if (!opened_)
        return;
    BumpSeq();
    StopInputPolling();
    CloseGraphics(opened_);
}

std::shared_ptr<TGraphics> OpenGraphics(int32_t width, int32_t height, int32_t depth, int32_t hertz,
                                        int32_t flags)
{
    CloseOpenedGraphics();
    std::shared_ptr<TGraphics> graphics = CreateGraphics(width, height, depth, hertz, flags);
    if (!graphics)
        return nullptr;
    BumpSeq();
    SetGraphics(graphics);

    if (depth != 0) {
        soft_pacing_ = false;
        vsync_ = hertz != 0;
        if (TSystemDriver* system = SystemDriver())
            system->MoveMouse(width / 2, height / 2);
    } else {
        vsync_ = false;
        soft_pacing_ = hertz > 0; // a negative rate paces nothing rather than garbage
    }
    if (soft_pacing_)
        pacer_.Start(hertz, timer_.now());

    StartInputPolling(nullptr);
    opened_ = graphics;
    if (!exit_action_registered_) {
        exit_action_registered_ = true;
        std::atexit(CloseOpenedGraphics);
    }
    return graphics;
}

namespace {

void Swap(int32_t sync)
{
    if (sync != -1) {
        driver_->Flip(sync);
        return;
    }
    if (graphics_ != opened_) {
        driver_->Flip(1);
        return;
    }
    if (soft_pacing_ && ShowsFramesOnRetrace(pacer_.Hertz(), driver_->DisplayHertz())) {
        driver_->Flip(1);
        pacer_.GuardSwap(timer_);
    } else if (soft_pacing_) {
        pacer_.WaitForFrame(timer_);
        driver_->Flip(0);
    } else {
        driver_->Flip(vsync_ ? 1 : 0);
    }
}

} // namespace

void Flip(int32_t sync)
{
    RunHookChain(FlipHookId(), nullptr);
    if (!driver_)
        return;
    Swap(sync);
    RunHookChain(ShownHookId(), nullptr);
}

int32_t GraphicsSeq() { return seq_; }

int32_t NextGraphicsSeq(int32_t seq)
{
    // 0 never names a live sequence: frames use it for "not made".
    const int32_t next = WrapAdd(seq, 1);
    return next == 0 ? 1 : next;
}

int32_t FlipHookId()
{
    static const int32_t id = NewHookId();
    return id;
}

int32_t ShownHookId()
{
    static const int32_t id = NewHookId();
    return id;
}

void SetAppTitle(const std::string& title) { Title() = title; }

const std::string& AppTitle() { return Title(); }

void SetAppIcon(std::shared_ptr<TPixmap> icon) { Icon() = std::move(icon); }

const std::shared_ptr<TPixmap>& AppIcon() { return Icon(); }

void SetPacingTimer(TPacingClock clock, TPacingSleep sleep)
{
    timer_ = {clock ? clock : ElapsedMillis, sleep ? sleep : SleepMillis};
}
