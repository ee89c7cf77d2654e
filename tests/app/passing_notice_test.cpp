// The passing notices' own rules: one line a kind, the files with bad lines gathered on one line,
// and every line gone by itself after its frames.
#include "app/shell/passing_notice.h"

#include <gtest/gtest.h>

namespace {

class PassingNotices : public ::testing::Test {
protected:
    void SetUp() override { passingnotices.Reset(); }
    void TearDown() override { passingnotices.Reset(); }
    static std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (const auto& line : passingnotices.lines)
            texts.push_back(line.text);
        return texts;
    }
};

TEST_F(PassingNotices, ANewNoticeOfAKindTakesTheOldOnesPlaceAndTheOthersStay)
{
    PostNotice(TNoticeKind::Visibility, "Visibility: High");
    PostNotice(TNoticeKind::Screenshot, "Screenshot saved: a.png");
    for (int frame = 0; frame < 100; ++frame)
        DrawPassingNotices();
    PostNotice(TNoticeKind::Visibility, "Visibility: Low");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Visibility: Low", "Screenshot saved: a.png"}));
    EXPECT_EQ(passingnotices.lines[0].framesLeft, PassingNoticeFrames) << "shown for its whole time again";
}

TEST_F(PassingNotices, FilesWithBadLinesShareOneLine)
{
    NoteBadSettingsFile("display.cfg");
    NoteBadSettingsFile("controls.cfg");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Skipped bad lines in display.cfg, controls.cfg"}));
}

TEST_F(PassingNotices, EveryLineGoesByItself)
{
    PostNotice(TNoticeKind::Screenshot, "Screenshot saved: a.png");
    NoteBadSettingsFile("settings.cfg");
    for (int frame = 0; frame < PassingNoticeFrames; ++frame)
        DrawPassingNotices();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Skipped bad lines in settings.cfg"}))
        << "the bad lines are told at the start, so they stay longer";
    for (int frame = 0; frame < PassingNoticeFrames; ++frame)
        DrawPassingNotices();
    EXPECT_TRUE(passingnotices.lines.empty());
}

} // namespace
