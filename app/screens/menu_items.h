#pragma once
#include <cstdint>
#include <string>

#include "app/screens/menu_input.h"

// Items of the menu screens: where the pointer is, how a hovered or highlighted item looks, the
// marker of the key focus, and the "Return" item of the table and options screens.

// 1 when the cursor lies strictly inside the box, else 0.
int32_t MouseInRect(int32_t x, int32_t y, int32_t width, int32_t height);
// MouseInRect, also setting the colour of a text item: darker when hovered.
int32_t HoverItem(int32_t x, int32_t y, int32_t width, int32_t height);
// Sets the colour of a text item: darker when shown as hovered by the mouse.
void ItemColour(int32_t hovered);
// The marker of the key focus: a bright bar with a dark rim just left of an item whose first
// character's top left is (textLeft, top). The hover darkening stays the mouse's.
void DrawFocusMarker(int32_t textLeft, int32_t top);
// Colours a text item for the focus: plain with the marker beside it when it has the key
// highlight, else as hovered by the mouse. Returns mouseOver.
int32_t FocusedItem(const TMenuFocus& focus, int32_t item, int32_t mouseOver, int32_t textLeft, int32_t top);
// A row of a settings screen, item number `item` of its focus: the label centred on x = 250 (its
// trailing spaces push the words left of the value column at x = 320) and the value; returns
// whether the mouse is over the value, width pixels wide.
int32_t SettingRow(const TMenuFocus& focus, const char* label, const std::string& value, int32_t y, int32_t item,
                   int32_t width);
// The "Return" item of the table and options screens, item number `item` of their focus; true
// (after the blip) when clicked or activated.
bool ReturnClicked(int32_t click, const TMenuFocus& focus, int32_t item);
// The end of a menu screen's frame: true when "Return" was chosen (the frame is then not shown),
// else the frame is finished and true when Escape or pad Back asks to leave.
bool MenuFrameLeaves(int32_t click, const TMenuFocus& focus, int32_t returnItem);
