// The real game at other window sizes, driven through the X server: the 512 by 512 drawing
// scaled into the window, clicks mapped back, fullscreen, screenshots and display.cfg.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include "app/screens/layout.h"
#include "draw2d/pixmap.h"
#include "game_run.h"

using namespace game_run;

namespace {

constexpr int ItemY(int item) { return MenuItemTop[item] + MenuItemHeight / 2; }

// Light pixels (menu text, logo letters) of a band of the picture.
int LightPixels(const std::shared_ptr<TPixmap>& picture, int left, int top, int width, int height)
{
    int count = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const uint32_t p = picture->ReadPixel(x, y);
            if (((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) / 3 > 150)
                ++count;
        }
    }
    return count;
}

bool AllBlack(const std::shared_ptr<TPixmap>& picture, int left, int top, int width, int height)
{
    for (int y = top; y < top + height; y += 3)
        for (int x = left; x < left + width; x += 3)
            if ((picture->ReadPixel(x, y) & 0xFFFFFF) != 0)
                return false;
    return true;
}

class DisplayEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string missing = CannotDriveTheGame(); !missing.empty())
            GTEST_SKIP() << missing;
        program_ = fs::path(std::getenv("BRIM_BIN_DIR")) / "brimstrand";
        temp_ = std::make_unique<TTempFolder>("brim_display");
        ASSERT_FALSE(temp_->Path().empty());
        folder_ = temp_->Path();
        data_ = folder_ / "data";
    }
    void TearDown() override
    {
        if (window_manager_ > 0) {
            kill(window_manager_, SIGTERM);
            waitpid(window_manager_, nullptr, 0);
        }
        temp_.reset();
    }

    GameLaunch Launch(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), {"--data-dir", data_.string()});
        // The title menu waits here longer than the demo's idle time; no demo may take it over.
        return {program_, folder_, arguments,
                {{"HOME", (folder_ / "home").string()}, {"XDG_DATA_HOME", std::nullopt}, {"BRIM_DEMO_IDLE_MS", "3600000"}}};
    }

    // The title menu shown and faded in, the pointer off every item. The fade counts frames, and
    // a large window on a busy machine without a graphics card may draw fewer than 60 a second,
    // so the menu's light text is watched until it stops growing.
    static void ToMenu(GameRun& game, int scale)
    {
        ASSERT_TRUE(game.EndIntro()) << game.Err();
        game.Click(1, 1); // a click on the menu's empty top corner is nothing
        const int side = 512 * scale;
        int previous = -1;
        ASSERT_TRUE(WaitFor(
            [&] {
                const auto shot = LoadPixmap(game.Screenshot("fading_menu", side, side).string());
                const int light = shot ? LightPixels(shot, 156 * scale, MenuItemTop[0] * scale, 200 * scale,
                                                     (MenuItemTop[2] + MenuItemHeight - MenuItemTop[0]) * scale)
                                       : 0;
                const bool steady = light > 0 && std::abs(light - previous) * 50 <= light;
                previous = light;
                return steady;
            }))
            << "the menu did not finish fading in";
    }

    // Escape until the game ends: it may still be loading when a test is done with it.
    static void ExpectCleanExit(GameRun& game)
    {
        game.FindWindow(); // focused again: a window manager may have moved the focus with the pointer
        game.PressUntil("Escape", [&] { return !game.Running(); });
        const std::optional<int> status = game.WaitExit(Patience);
        ASSERT_TRUE(status.has_value()) << "the game did not end";
        ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Err();
    }

    // A small window manager, for fullscreen: a bare X server has none to ask. It manages the
    // screen once it holds the root window's redirection, which no other client may then take.
    bool StartWindowManager()
    {
        if (Shell("command -v evilwm").empty())
            return false;
        window_manager_ = fork();
        if (window_manager_ == 0) {
            if (!freopen("/dev/null", "w", stderr))
                _exit(121);
            execlp("evilwm", "evilwm", "-fn", "fixed", static_cast<char*>(nullptr));
            _exit(121);
        }
        XDisplay x;
        return WaitFor([&] { return x.RootRedirected() || waitpid(window_manager_, nullptr, WNOHANG) != 0; }) &&
               waitpid(window_manager_, nullptr, WNOHANG) == 0;
    }

    fs::path program_, folder_, data_;
    std::unique_ptr<TTempFolder> temp_;
    pid_t window_manager_ = -1;
};

TEST_F(DisplayEndToEnd, AtScaleTwoEverythingIsAtDoubledPositionsAndClicksLandAtAnySize)
{
    // The same menu at scale 1, for the positions.
    std::shared_ptr<TPixmap> single;
    {
        GameRun game(Launch({"--scale", "1"}));
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        EXPECT_EQ(game.Geometry(), "512x512");
        ToMenu(game, 1);
        single = LoadPixmap(game.Screenshot("scale1_menu").string());
        ExpectCleanExit(game);
    }
    ASSERT_TRUE(single);

    GameRun game(Launch({"--scale", "2"}));
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    EXPECT_EQ(game.Geometry(), "1024x1024");
    ToMenu(game, 2);
    const auto doubled = LoadPixmap(game.Screenshot("scale2_menu", 1024, 1024).string());
    ASSERT_TRUE(doubled);
    ASSERT_EQ(doubled->width, 1024);

    // The logo's letters and the items' text: light where the scale 1 picture is light, at twice
    // the position. The background differs between runs, so only the light shapes are compared.
    const auto agreement = [&](int left, int top, int width, int height, int shift) {
        int light = 0, matched = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                if (LightPixels(single, x, y, 1, 1) == 0)
                    continue;
                ++light;
                matched += LightPixels(doubled, 2 * x + shift, 2 * y + shift, 1, 1);
            }
        }
        return light == 0 ? 0.0 : static_cast<double>(matched) / light;
    };
    const int logoTop = 20, logoHeight = 60;
    const int itemsTop = MenuItemTop[0], itemsHeight = MenuItemTop[2] + MenuItemHeight - itemsTop;
    EXPECT_GT(agreement(40, logoTop, 432, logoHeight, 0), 0.9);
    EXPECT_GT(agreement(156, itemsTop, 200, itemsHeight, 0), 0.9);
    EXPECT_LT(agreement(156, itemsTop, 200, itemsHeight, 12), 0.7) << "the probe tells positions apart";

    // A click at the doubled position of High Scores opens the table (made when first shown).
    const fs::path table = data_ / "highscores.dat";
    game.Click(512, 2 * ItemY(MenuHighScores));
    ASSERT_TRUE(WaitFor([&] { return fs::exists(table); })) << "the table did not open";
    game.Click(2 * (ReturnLeft + ReturnWidth / 2), 2 * (ReturnTop + ReturnHeight / 2));

    // 1200 by 800: the drawing is 800 by 800 from x 200, black bars beside it.
    Tool("xdotool windowsize --sync " + std::to_string(game.Window()) + " 1200 800");
    EXPECT_TRUE(WaitFor([&] { return game.Geometry() == "1200x800"; })) << game.Geometry();
    const auto toWindow = [](int canvas) { return canvas * 800 / 512; };
    const int itemY = toWindow(ItemY(MenuOptions));
    game.Click(1, 1);
    // The game draws at the new size once it has taken the resize.
    std::shared_ptr<TPixmap> resized;
    EXPECT_TRUE(WaitFor([&] {
        resized = LoadPixmap(game.Screenshot("resized_menu", 1200, 800).string());
        return resized && AllBlack(resized, 0, 0, 200, 800) && !AllBlack(resized, 200, 0, 800, 800);
    }));
    ASSERT_TRUE(resized);
    EXPECT_TRUE(AllBlack(resized, 0, 0, 200, 800));
    EXPECT_TRUE(AllBlack(resized, 1000, 0, 200, 800));
    const int band = toWindow(MenuItemHeight);
    const int unhovered = LightPixels(resized, 200, itemY - band / 2, 800, band);

    // Over the item Options is hovered (drawn wider); over the bar level with it, nothing is. Both
    // are waited for, as the pointer's move reaches the game in a frame of its own choosing.
    const auto light = [&](const std::string& name) {
        const auto shot = LoadPixmap(game.Screenshot(name, 1200, 800).string());
        return shot ? LightPixels(shot, 200, itemY - band / 2, 800, band) : 0;
    };
    Tool("xdotool mousemove --window " + std::to_string(game.Window()) + " 600 " + std::to_string(itemY));
    int overItem = 0;
    EXPECT_TRUE(WaitFor([&] { return (overItem = light("item_hover")) > unhovered * 5 / 4; }))
        << "hovering draws the item larger: " << overItem << " light pixels against " << unhovered;
    Tool("xdotool mousemove --window " + std::to_string(game.Window()) + " 100 " + std::to_string(itemY));
    int overBar = 0;
    EXPECT_TRUE(WaitFor([&] { return (overBar = light("bar_hover")) < unhovered * 9 / 8; }))
        << "the cursor over a bar hovers nothing: " << overBar << " light pixels against " << unhovered;

    // Clicks still land: Options, the music's left zone (volume 0), Return saves the choice.
    const fs::path prefs = data_ / "preferences.dat";
    ASSERT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{1, 1, 0}; }));
    game.Click(600, itemY);
    game.Click(200 + toWindow(325), toWindow(208));
    game.Click(200 + toWindow(ReturnLeft + ReturnWidth / 2), toWindow(ReturnTop + ReturnHeight / 2));
    EXPECT_TRUE(WaitFor([&] { return FileBytes(prefs) == std::vector<uint8_t>{0, 1, 0}; }));

    // F12: a PNG of the whole window at its pixel size, its path on stdout.
    game.Press("F12");
    ASSERT_TRUE(WaitFor([&] { return game.Out().find("Screenshot: ") != std::string::npos; })) << game.Err();
    const std::string out = game.Out();
    const size_t at = out.find("Screenshot: ") + 12;
    const fs::path shot = out.substr(at, out.find('\n', at) - at);
    EXPECT_EQ(shot.parent_path(), data_ / "screenshots");
    const auto picture = LoadPixmap(shot.string());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 1200);
    EXPECT_EQ(picture->height, 800);
    EXPECT_TRUE(AllBlack(picture, 0, 0, 200, 800));
    EXPECT_FALSE(AllBlack(picture, 200, 0, 800, 800));

    ExpectCleanExit(game);
    const std::string remembered = FileText(data_ / "display.cfg");
    EXPECT_NE(remembered.find("window_width = 1200\nwindow_height = 800\n"), std::string::npos) << remembered;
}

TEST_F(DisplayEndToEnd, F11AndAltEnterFillTheScreenAndComeBackToTheSameSize)
{
    if (!StartWindowManager())
        GTEST_SKIP() << "needs evilwm (scripts/deps.sh installs it)";
    const std::string screen = [] {
        const std::string text = Tool("xdotool getdisplaygeometry");
        return text.substr(0, text.find(' ')) + "x" + text.substr(text.find(' ') + 1, text.find('\n') - text.find(' ') - 1);
    }();
    {
        GameRun game(Launch({"--scale", "1"}));
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        ASSERT_TRUE(WaitFor([&] { return game.Geometry() == "512x512"; })) << game.Geometry();
        game.Press("F11");
        EXPECT_TRUE(WaitFor([&] { return game.Geometry() == screen; })) << game.Geometry() << " " << screen;
        game.Press("F11");
        EXPECT_TRUE(WaitFor([&] { return game.Geometry() == "512x512"; })) << game.Geometry();
        game.Press("alt+Return");
        EXPECT_TRUE(WaitFor([&] { return game.Geometry() == screen; })) << game.Geometry();
        ExpectCleanExit(game);
    }
    EXPECT_NE(FileText(data_ / "display.cfg").find("fullscreen = yes"), std::string::npos);

    // Remembered: the next run starts fullscreen, unless told otherwise.
    {
        GameRun game(Launch({}));
        ASSERT_TRUE(game.FindWindow()) << game.Err();
        EXPECT_TRUE(WaitFor([&] { return game.Geometry() == screen; })) << game.Geometry();
        ExpectCleanExit(game);
    }
    GameRun game(Launch({"--windowed"}));
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    EXPECT_TRUE(WaitFor([&] { return game.Geometry() == "512x512"; })) << game.Geometry();
    ExpectCleanExit(game);
}

// Each bad line is one warning naming display.cfg; a width without its height is no size.
TEST_F(DisplayEndToEnd, ADamagedDisplayFileWarnsOncePerBadLineAndStartsWithWhatIsLeft)
{
    fs::create_directories(data_);
    {
        std::ofstream out(data_ / "display.cfg", std::ios::binary);
        out << "window_width = 3000\nwindow_height\n\x01\x02\x03\xff\nfullscreen = maybe\n";
    }
    GameRun game(Launch({}));
    ASSERT_TRUE(game.FindWindow()) << game.Err();
    // The X server's screen is 1024 lines high: three quarters of it hold scale 1.
    EXPECT_EQ(game.Geometry(), "512x512");
    ASSERT_TRUE(WaitFor([&] { return game.Out().starts_with("Yo. "); })) << game.Err();
    const std::string err = game.Err();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 4) << err;
    for (const char* line : {"display.cfg:2: ", "display.cfg:3: ", "display.cfg:4: fullscreen must be",
                             "display.cfg: window_width and window_height come together"})
        EXPECT_NE(err.find(line), std::string::npos) << line << " in " << err;
    ExpectCleanExit(game);
}

} // namespace
