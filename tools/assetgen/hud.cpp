#include "tools/assetgen/hud.h"

#include "tools/assetgen/palette.h"
#include "tools/assetgen/shapes.h"

#include <cmath>

namespace {

constexpr double kWellLeft = 96, kWellRight = 416; // the board: 20 cells of 16 pixels
constexpr double kRail = 9;                         // width of each rail outside the well
constexpr int kSide = 512;

// The centre of pixel i, in units of a picture painted at density pixels a unit.
double UnitCentre(int i, int density) { return (i + 0.5) / density; }

// A vertical metal rail: rounded across its width, lit from the left, with rivets.
void PaintRail(Image& image, double x0)
{
    const int density = image.Density();
    double x1 = x0 + kRail;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = int(x0) * density; x < int(x1) * density; ++x) {
            const double centre = UnitCentre(x, density);
            double u = (centre - x0) / kRail; // 0 to 1 across the rail
            double round = std::sin(u * 3.14159);
            double lit = 0.55 + 0.45 * std::cos((u - 0.3) * 3.14159);
            Colour c = Mix(Scaled(palette::kSteel, 0.45f), Mix(palette::kSteel, palette::kMist, 0.35f),
                           float(lit * (0.5 + 0.5 * round)));
            // The dark edges are a unit wide at any density, as the magnified rail shows them.
            const int column = int(centre);
            if (column == int(x0) || column == int(x1) - 1)
                c = Scaled(c, 0.55f);
            image.At(x, y) = Paint(c);
        }
    // Rivets every two cells, set between the board rows.
    for (int y = 16; y < kSide; y += 64) {
        Vec2 centre{x0 + kRail / 2, double(y)};
        FillField(image, {centre.x - 4, centre.y - 4, centre.x + 4, centre.y + 4},
                  [&](Vec2 p) { return CircleDistance(p, centre, 2.2); }, [&](Vec2 p) {
                      float t = Clamp01((p.x - centre.x + p.y - centre.y + 3) / 6);
                      return Paint(Mix(palette::kMist, Scaled(palette::kSteel, 0.5f), t));
                  });
    }
}

} // namespace

Image MakeHud(int density)
{
    Image image(kSide, kSide, density);
    Box all{0, 0, kSide, kSide};

    // Soft shade the rails cast onto the background beside them.
    FillSoft(image, all, Paint(palette::kInk, 0.35f), [](Vec2 p) {
        double d = std::min(std::abs(p.x - (kWellLeft - kRail)), std::abs(p.x - (kWellRight + kRail)));
        bool outside = p.x < kWellLeft - kRail || p.x > kWellRight + kRail;
        return outside ? float(std::exp(-d / 7.0)) : 0.0f;
    });

    // The well: a deep translucent slate, darker towards the floor, shaded under the rails,
    // with a faint cell grid to judge columns by.
    // The shade down the well is taken half a unit above each pixel's centre, at the top edge
    // where the picture at density 1 takes it; the grid lines stay a unit wide.
    for (int y = 0; y < image.Height(); ++y)
        for (int x = int(kWellLeft) * density; x < int(kWellRight) * density; ++x) {
            const double cx = UnitCentre(x, density), cy = UnitCentre(y, density);
            float t = float(cy - 0.5) / 511.0f;
            float a = 0.50f + 0.16f * t;
            double edge = std::min(cx - kWellLeft, kWellRight - cx);
            a += 0.25f * float(std::exp(-edge / 4.0));
            Colour c = Mix(palette::kSlate, palette::kNight, 0.55f + 0.35f * t);
            bool grid = (int(cx) - int(kWellLeft)) % 16 == 0 || int(cy) % 16 == 0;
            if (grid && edge > 1)
                c = Mix(c, palette::kPeriwinkle, 0.16f);
            image.At(x, y) = Paint(c, std::min(a, 0.95f));
        }
    PaintRail(image, kWellLeft - kRail);
    PaintRail(image, kWellRight);

    // The score plate: label at (12, 28), digits at (12, 40), each 8 pixels high.
    Vec2 centre{46, 38}, half{40, 17};
    auto plate = [&](Vec2 p) { return RoundBoxDistance(p, centre, half, 5); };
    FillSoft(image, all, Paint(palette::kInk, 0.45f),
             [&](Vec2 p) { return 1.0f - Smoothstep(-2, 6, plate(p - Vec2{1, 2})); });
    FillField(image, all, plate, [&](Vec2 p) {
        float t = Clamp01((p.y - (centre.y - half.y)) / (2 * half.y));
        return Paint(Mix(palette::kSlate, palette::kNight, 0.4f + 0.5f * t), 0.86f);
    });
    // A thin bright rim along the top, a darker one below.
    FillField(image, all, [&](Vec2 p) { return std::abs(plate(p) + 0.6) - 0.6; }, [&](Vec2 p) {
        float t = Clamp01((p.y - (centre.y - half.y)) / (2 * half.y));
        return Paint(Mix(Mix(palette::kSteel, palette::kMist, 0.3f), Scaled(palette::kSteel, 0.5f), t), 0.9f);
    });
    return image;
}
