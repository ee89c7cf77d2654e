#pragma once

// The Controls page of the options screen: each play action's keys and pad buttons, chosen by
// pressing the new one, the held-move repeat times and "Reset to defaults"; in force at once
// and saved in controls.cfg when the page is left.
void ControlsScreen();
