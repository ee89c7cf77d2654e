#pragma once

// The table screen of the title menu: the ten best scores, each with its replay when one is kept.
void ScoreScreen();
