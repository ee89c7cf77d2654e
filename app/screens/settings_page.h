#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/screens/layout.h"
#include "app/screens/menu_input.h"

// The pages of the options screen (Play, Controls, Display) are one mechanism: rows of a label
// and a value under each other, the Return item, a message line under the rows, the mouse, the
// keys and the pads as on every menu, each change in force at once and saved when the page is left.

// One row. choose is called with step 0 when the row is clicked or activated, -1 or +1 for Left
// or Right on it.
struct TPageRow {
    std::string label; // its trailing spaces push the words left of the value column
    std::function<std::string()> value;
    std::function<void(int32_t step)> choose;
};

struct TPageLayout {
    int32_t top = 0, pitch = 0; // the first row's top, and from one row to the next
    int32_t labelCentre = SettingLabelCentre;
    int32_t valueLeft = SettingValueLeft;
    int32_t valueWidth = 0; // the clicked width right of valueLeft
    int32_t messageY = PageMessageY;
};

class TSettingsPage {
public:
    TSettingsPage(std::vector<TPageRow> rows, TPageLayout layout);
    // Frames until the player leaves by Return, Escape or pad Back; then save, and a notice when
    // it fails. The close box ends the program unsaved, as on every screen.
    void Run(const std::function<bool()>& save);
    // The page as it stands, for a frame loop of a row's own (waiting for a key).
    void Draw() const;
    // The line under the rows until the next choice: what a choice did, or what it waits for.
    void SetMessage(std::string text) { message_ = std::move(text); }
    int32_t RowY(int32_t row) const { return layout_.top + layout_.pitch * row; }
    int32_t ReturnItem() const { return static_cast<int32_t>(rows_.size()); }

private:
    struct TChoice {
        int32_t row = -1; // none
        int32_t step = 0;
    };
    // Draws the rows and the message; returns the row this frame's click or keys chose.
    TChoice DrawRows(int32_t click) const;
    std::vector<TPageRow> rows_;
    TPageLayout layout_;
    TMenuFocus focus_;
    std::string message_;
};
