#pragma once
#include <cstdint>

// Menus without a mouse: the keys and gamepad buttons of every menu screen, and the highlight
// they move over a screen's items, which the screens mark with the focus marker.

// One frame's menu presses from the keyboard and the gamepads.
struct TMenuKeys {
    int32_t up = 0, down = 0;       // Up / Down, D-pad or stick up / down
    int32_t left = 0, right = 0;    // Left / Right, D-pad or stick left / right
    int32_t activate = 0;           // Return, Enter, Space or pad A
    int32_t back = 0;               // pad Back: Escape's part on a menu
    static TMenuKeys Take();        // the presses since the previous Take
    bool Any() const { return up || down || left || right || activate || back; }
};

// Whether the keys or a pad lead the menus: since a menu key was pressed and the mouse has not
// moved. A screen opened then starts with its first item focused.
struct TMenuLead {
    bool keys = false;
    void Reset() { keys = false; }
};
extern TMenuLead menulead;
inline bool MenuKeysLead() { return menulead.keys; }

// Where the key highlight of a new screen starts.
enum class TFocusStart {
    FirstItem, // the first item when the keys lead, else nothing
    Nothing,   // the title menu, whose Return without a highlight is Play
};

// The highlight of one menu screen. Until Up or Down is pressed, and again whenever the mouse
// moves, the mouse hover is the highlight, as it always was. A screen opened by key starts with
// its first item focused: Return, Left and Right act on it, and the first Down keeps it, so the
// arrows count from the top as they always did.
class TMenuFocus {
public:
    explicit TMenuFocus(int32_t count, TFocusStart start = TFocusStart::FirstItem)
        : count_(count), entry_(start == TFocusStart::FirstItem && MenuKeysLead() && count > 0)
    {
    }
    // At the start of every frame: takes the frame's menu presses and moves the highlight.
    void Update();
    // What the item shows as hovered: the key highlight when there is one, else the mouse.
    int32_t Shows(int32_t item, int32_t mouseOver) const;
    // The item carries the key highlight, and so the focus marker.
    bool Focuses(int32_t item) const { return item >= 0 && item == Highlighted(); }
    // The item is chosen this frame: clicked with the mouse over it, or activated by key.
    bool Chosen(int32_t item, bool clicked, int32_t mouseOver) const;
    // Left (-1) or Right (+1) pressed this frame on the item; 0 otherwise.
    int32_t Step(int32_t item) const;
    bool Back() const { return keys_.back != 0; }
    // Return, Enter, Space or pad A pressed this frame, whatever is highlighted.
    bool Activated() const { return keys_.activate != 0; }
    // The item under the key highlight, or -1 while the mouse leads.
    int32_t Highlighted() const { return item_ >= 0 ? item_ : entry_ ? 0 : -1; }

private:
    int32_t count_;
    int32_t item_ = -1;
    bool entry_; // the first item is focused as the screen opened, before any arrow
    TMenuKeys keys_;
    bool tracking_ = false; // lastX_ and lastY_ hold the cursor at the previous Update
    int32_t lastX_ = 0, lastY_ = 0;
};
