#pragma once
#include "tools/assetgen/image.h"

// One palette for every picture, built around the colours of the seven piece templates:
// muted silver, sage, periwinkle, sand and mauve, set against deep slate and indigo.
namespace palette {

inline const Colour kSilver = Rgb8(189, 189, 189);    // the bar
inline const Colour kSage = Rgb8(148, 167, 148);      // S and Z forms
inline const Colour kPeriwinkle = Rgb8(124, 143, 216); // J and L forms
inline const Colour kSand = Rgb8(199, 176, 157);      // the square
inline const Colour kMauve = Rgb8(149, 122, 167);     // T form

inline const Colour kInk = Rgb8(18, 16, 30);        // outlines and shadows
inline const Colour kNight = Rgb8(26, 28, 46);      // deepest background
inline const Colour kSlate = Rgb8(52, 58, 84);      // panels
inline const Colour kSteel = Rgb8(120, 130, 160);   // frame metal
inline const Colour kMist = Rgb8(226, 230, 242);    // light lettering
inline const Colour kGlow = Rgb8(255, 236, 170);    // warm light of blasts and highlights

// Power-up faces: brighter than the pieces so they stand out, same softness.
inline const Colour kSlowTeal = Rgb8(84, 178, 176);
inline const Colour kBlastEmber = Rgb8(222, 104, 72);
inline const Colour kCollapseGold = Rgb8(214, 176, 74);
inline const Colour kFlipViolet = Rgb8(150, 112, 214);

} // namespace palette
