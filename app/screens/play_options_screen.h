#pragma once

// The play options, a page of the options screen: Handling (Classic, Modern or Custom), then each
// option of settings.cfg; saved there when the page is left.
void PlayOptionsScreen();
