#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Short lines over whatever screen shows, fading by themselves: a setting switched, a screenshot
// saved, a settings file with bad lines. They take no input, so a play goes on under them and no
// key is spent on them.

enum class TNoticeKind : int32_t { Visibility, Screenshot, BadSettings };

// How long a passing notice shows, in frames (three seconds; twice that for bad settings lines),
// the last FadeFrames of them fading.
constexpr int32_t PassingNoticeFrames = 180;
constexpr int32_t PassingNoticeFadeFrames = 45;

struct TPassingNotices {
    struct TLine {
        TNoticeKind kind;
        std::string text;
        int32_t framesLeft;
    };
    std::vector<TLine> lines; // oldest first, each kind at most once
    std::vector<std::string> badsettingsfiles;
    void Reset()
    {
        lines.clear();
        badsettingsfiles.clear();
    }
};
extern TPassingNotices passingnotices;

// Shows text from now on, in place of the notice of the same kind if one still shows.
void PostNotice(TNoticeKind kind, const std::string& text);
// Adds a settings file to the notice of files with bad lines (their details are on stderr).
void NoteBadSettingsFile(const std::string& fileName);
// The last thing drawn in a frame: the notices that still show, newest at the bottom; each
// shown frame counts.
void DrawPassingNotices();
