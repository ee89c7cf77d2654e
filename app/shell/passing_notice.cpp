#include "app/shell/passing_notice.h"

#include <algorithm>

#include "app/shell/canvas.h"
#include "app/shell/text.h"
#include "draw2d/draw2d.h"

TPassingNotices passingnotices;

namespace {

// Under the board's middle and the menus' items, above the title's credit line.
constexpr int32_t BottomLineY = 474;
constexpr int32_t LinePitch = 14;
constexpr float NoticeScale = 0.75f;
// A dark band behind each line keeps it readable on the white of the title's intro too.
constexpr float BandOpacity = 0.6f;
constexpr int32_t BandMargin = 4;
constexpr int32_t BandHeight = 13;
// Files with bad lines are told once at the start, over the intro: a while longer.
constexpr int32_t BadSettingsFrames = 2 * PassingNoticeFrames;

TPassingNotices::TLine* LineOf(TNoticeKind kind)
{
    auto& lines = passingnotices.lines;
    const auto at = std::find_if(lines.begin(), lines.end(), [kind](const auto& line) { return line.kind == kind; });
    return at == lines.end() ? nullptr : &*at;
}

} // namespace

void PostNotice(TNoticeKind kind, const std::string& text)
{
    const int32_t frames = kind == TNoticeKind::BadSettings ? BadSettingsFrames : PassingNoticeFrames;
    if (TPassingNotices::TLine* line = LineOf(kind)) {
        line->text = text;
        line->framesLeft = frames;
        return;
    }
    passingnotices.lines.push_back({kind, text, frames});
}

void NoteBadSettingsFile(const std::string& fileName)
{
    passingnotices.badsettingsfiles.push_back(fileName);
    std::string files;
    for (const std::string& name : passingnotices.badsettingsfiles)
        files += (files.empty() ? "" : ", ") + name;
    // The lines themselves are told on stderr, where there is room for them.
    PostNotice(TNoticeKind::BadSettings, "Skipped bad lines in " + files);
}

void DrawPassingNotices()
{
    auto& lines = passingnotices.lines;
    int32_t y = BottomLineY - LinePitch * (static_cast<int32_t>(lines.size()) - 1);
    for (auto& line : lines) {
        const float fade = std::min(1.0f, static_cast<float>(line.framesLeft) / PassingNoticeFadeFrames);
        SetScale(NoticeScale, NoticeScale);
        const int32_t left = FontCharLeft(line.text, 0, WindowWidth / 2, 1, 0);
        const int32_t right = FontCharLeft(line.text, line.text.size(), WindowWidth / 2, 1, 0);
        SetScale(1, 1);
        SetColor(0, 0, 0);
        SetAlpha(fade * BandOpacity);
        DrawRect(left - BandMargin, y - 1, right - left + 2 * BandMargin, BandHeight);
        SetAlpha(fade);
        DrawShadowedLine(line.text, WindowWidth / 2, y, NoticeScale);
        --line.framesLeft;
        y += LinePitch;
    }
    SetAlpha(1);
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const auto& line) { return line.framesLeft <= 0; }),
                lines.end());
}
