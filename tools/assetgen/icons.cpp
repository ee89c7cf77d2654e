#include "tools/assetgen/icons.h"

#include "tools/assetgen/palette.h"
#include "tools/assetgen/png_writer.h"
#include "tools/assetgen/shapes.h"
#include "tools/assetgen/sprites.h"

#include <filesystem>

namespace {

// The picture is laid out on a 16-unit grid and scaled to the size asked for.
constexpr double kUnits = 16;
constexpr double kCell = 3;      // a block, in units
const Vec2 kGridCorner{2, 2.2}; // top left of the 4 × 4 cells
constexpr int kGrid = 4;

// The stack, row by row from the top: a T piece falling onto a floor with a gap, a blast
// power-up ('X') among the settled blocks. Letters pick the piece colour.
const char* const kLayout[kGrid] = {
    ".MMM",
    "..M.",
    "P..S",
    "GGXS",
};

Colour PieceColour(char letter)
{
    switch (letter) {
    case 'M': return palette::kMauve;
    case 'P': return palette::kPeriwinkle;
    case 'S': return palette::kSand;
    default: return palette::kSage;
    }
}

void PaintPlate(Image& image, double k)
{
    const auto field = [&](Vec2 p) { return RoundBoxDistance(p, Vec2{8, 8} * k, Vec2{7.7, 7.7} * k, 2.6 * k); };
    const Vec2 light{-0.6, -0.8};
    FillField(image, {0, 0, kUnits * k, kUnits * k}, field, [&](Vec2 p) {
        Colour c = Mix(palette::kSlate, palette::kNight, float(p.y / (kUnits * k)));
        const double depth = -field(p) / k;
        if (depth < 0.45) {
            const Vec2 g = Gradient(field, p, 0.3 * k);
            const double facing = g.x * light.x + g.y * light.y;
            c = facing > 0 ? Mix(c, palette::kSteel, float(facing)) : Mix(c, palette::kInk, float(-facing));
        }
        return Paint(c);
    });
}

// Blocks throw shadows on the cells below them, as on the board.
void PaintShadow(Image& image, Vec2 corner, double cell)
{
    FillSoft(image, {corner.x, corner.y + cell, corner.x + cell, corner.y + 2 * cell}, Paint({0, 0, 0}),
             [&](Vec2 p) { return 0.55f * Clamp01(1 - (p.y - corner.y - cell) / cell); });
}

} // namespace

const std::vector<int>& IconSizes()
{
    static const std::vector<int> sizes = {16, 32, 48, 64, 128, 256, 512};
    return sizes;
}

Image MakeIcon(int size)
{
    const double k = size / kUnits;
    Image image(size, size);
    PaintPlate(image, k);
    const double cell = kCell * k;
    for (int row = 0; row < kGrid; ++row)
        for (int column = 0; column < kGrid; ++column) {
            const char letter = kLayout[row][column];
            const Vec2 corner = (kGridCorner + Vec2{column * kCell, row * kCell}) * k;
            if (letter == '.')
                continue;
            if (row + 1 < kGrid && kLayout[row + 1][column] == '.')
                PaintShadow(image, corner, cell);
            if (letter == 'X') {
                PaintPowerupCell(image, corner, cell, 2);
                continue;
            }
            // Blocks are the white cell tinted by their piece's colour, as the board draws them.
            const Colour colour = PieceColour(letter);
            PaintBevelCell(image, corner, cell, Scaled(colour, 0.96f), Scaled(colour, 0.81f), uint32_t(30 + row * kGrid + column));
        }
    return image;
}

void WriteIcons(const std::string& folder)
{
    for (int size : IconSizes()) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path dir = std::filesystem::path(folder) / "hicolor" / name / "apps";
        std::filesystem::create_directories(dir);
        const Image icon = MakeIcon(size);
        WritePng((dir / "brimstrand.png").string(), size, size, 4, ToRgba8(icon));
    }
}
