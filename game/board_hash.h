#pragma once
#include <cstdint>

class game;

// A fingerprint of the settled blocks: their number, then each block in list order with its
// cell, colour and kind (docs/replay-format.md gives the exact words). The order counts because the rules walk the list in order, so two
// boards that look alike but would play on differently hash apart.
uint64_t BoardHash(const game& g);
