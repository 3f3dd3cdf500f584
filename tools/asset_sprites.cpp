// The match sprites: the two figures, the ball and its shadow, the
// crosshair, the target window, the power bar and its cover.
#include <algorithm>
#include <cmath>

#include "asset_art.h"

using namespace layout;

namespace {

constexpr double kPi = 3.14159265358979;
constexpr Rgb kInk = {22, 20, 30};  // outlines, and the matte behind sprite edges

void fillAndOutline(cairo_t* cr, Rgb fill, double outline = 2.0, Rgb ink = kInk) {
    setRgb(cr, fill);
    cairo_fill_preserve(cr);
    setRgb(cr, ink);
    cairo_set_line_width(cr, outline);
    cairo_stroke(cr);
}

// A limb: an inked stroke with a coloured core, round at both ends.
void limb(cairo_t* cr, std::initializer_list<double> pts, double width, Rgb colour) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    auto path = [&] {
        const double* p = pts.begin();
        cairo_move_to(cr, p[0], p[1]);
        for (size_t i = 2; i + 1 < pts.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
    };
    path();
    setRgb(cr, kInk);
    cairo_set_line_width(cr, width + 4);
    cairo_stroke(cr);
    path();
    setRgb(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void disc(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
}

void ellipse(cairo_t* cr, double x, double y, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
}

// A racket: an inked oval frame around a net face, and its handle.
void racket(cairo_t* cr, double cx, double cy, double rx, double ry, double angle,
            double handleLen, Rgb frame) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    // handle
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 0, ry);
    cairo_line_to(cr, 0, ry + handleLen);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
    cairo_move_to(cr, 0, ry);
    cairo_line_to(cr, 0, ry + handleLen);
    setRgb(cr, {120, 78, 40});
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // face
    ellipse(cr, 0, 0, rx, ry);
    setRgb(cr, {150, 172, 204});
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip(cr);
    setRgb(cr, {96, 110, 146});
    cairo_set_line_width(cr, 1.2);
    for (double s = -rx; s <= rx; s += 5) {
        cairo_move_to(cr, s, -ry);
        cairo_line_to(cr, s, ry);
    }
    for (double s = -ry; s <= ry; s += 5) {
        cairo_move_to(cr, -rx, s);
        cairo_line_to(cr, rx, s);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    // frame
    ellipse(cr, 0, 0, rx, ry);
    setRgb(cr, kInk);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    ellipse(cr, 0, 0, rx, ry);
    setRgb(cr, frame);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
}

const Rgb kSkin = {234, 184, 144};
const Rgb kSkinShade = {200, 148, 112};

}  // namespace

// The CPU stands at the top of the field, seen from the front and looking
// down the field at the player; it blocks with the racket in its right hand
// (the picture's left), whose face covers the block area (ball centre about
// 10..60 right of the figure's left edge and 75..120 down), and carries the
// ball there.
Image drawCpuFigure() {
    Canvas c(kFigureW, kCpuFigureH);
    cairo_t* cr = c.cr();
    const Rgb jersey = {210, 40, 46}, jerseyDark = {150, 24, 34}, shorts = {34, 34, 52};
    const double cx = 84;

    // Legs, socks and shoes.
    limb(cr, {cx - 10, 112, cx - 13, 148}, 11, kSkin);
    limb(cr, {cx + 10, 112, cx + 13, 148}, 11, kSkin);
    limb(cr, {cx - 13, 136, cx - 13, 150}, 11, {240, 232, 214});
    limb(cr, {cx + 13, 136, cx + 13, 150}, 11, {240, 232, 214});
    ellipse(cr, cx - 15, 157, 11, 6.5);
    fillAndOutline(cr, {36, 36, 40});
    ellipse(cr, cx + 15, 157, 11, 6.5);
    fillAndOutline(cr, {36, 36, 40});
    // Shorts.
    cairo_move_to(cr, cx - 22, 100);
    cairo_line_to(cr, cx + 22, 100);
    cairo_line_to(cr, cx + 25, 124);
    cairo_line_to(cr, cx + 3, 124);
    cairo_line_to(cr, cx, 116);
    cairo_line_to(cr, cx - 3, 124);
    cairo_line_to(cr, cx - 25, 124);
    cairo_close_path(cr);
    fillAndOutline(cr, shorts);
    // Left arm (the picture's right) hangs loose.
    limb(cr, {cx + 22, 58, cx + 32, 80}, 12, jersey);
    limb(cr, {cx + 32, 80, cx + 34, 102}, 10, kSkin);
    disc(cr, cx + 34, 106, 6);
    fillAndOutline(cr, kSkin);
    // Torso: a jersey with a darker side panel and a collar.
    cairo_move_to(cr, cx - 26, 52);
    cairo_curve_to(cr, cx - 12, 46, cx + 12, 46, cx + 26, 52);
    cairo_line_to(cr, cx + 22, 104);
    cairo_line_to(cr, cx - 22, 104);
    cairo_close_path(cr);
    fillAndOutline(cr, jersey);
    cairo_move_to(cr, cx + 14, 52);
    cairo_line_to(cr, cx + 25, 54);
    cairo_line_to(cr, cx + 22, 103);
    cairo_line_to(cr, cx + 13, 103);
    cairo_close_path(cr);
    setRgb(cr, jerseyDark);
    cairo_fill(cr);
    cairo_move_to(cr, cx - 8, 49);
    cairo_line_to(cr, cx, 60);
    cairo_line_to(cr, cx + 8, 49);
    setRgb(cr, {244, 226, 196});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // "CPU" across the chest.
    const double tw = textWidth(cr, "CPU", 15, true, false);
    textPath(cr, "CPU", 15, true, false, cx - tw / 2 - 1, 86);
    setRgb(cr, kInk);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    setRgb(cr, {250, 232, 196});
    cairo_fill(cr);
    // Neck and head.
    cairo_rectangle(cr, cx - 6, 40, 12, 12);
    fillAndOutline(cr, kSkinShade);
    disc(cr, cx, 29, 19);
    fillAndOutline(cr, kSkin);
    // Hair and a headband.
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, 29, 19, kPi * 1.02, kPi * 1.98);
    cairo_curve_to(cr, cx + 12, 18, cx - 12, 18, cx - 19, 28);
    cairo_close_path(cr);
    fillAndOutline(cr, {58, 36, 24});
    cairo_move_to(cr, cx - 18, 22);
    cairo_curve_to(cr, cx - 8, 16, cx + 8, 16, cx + 18, 22);
    setRgb(cr, jersey);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    // Eyes look down the field; brows set hard.
    for (int s = -1; s <= 1; s += 2) {
        ellipse(cr, cx + s * 7, 31, 3.6, 4);
        setRgb(cr, {246, 244, 240});
        cairo_fill(cr);
        disc(cr, cx + s * 7, 33, 2.1);
        setRgb(cr, kInk);
        cairo_fill(cr);
        cairo_move_to(cr, cx + s * 3, 25.5);
        cairo_line_to(cr, cx + s * 11, 23.5);
        cairo_set_line_width(cr, 2.2);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, cx - 5, 41);
    cairo_line_to(cr, cx + 5, 41);
    cairo_set_line_width(cr, 1.8);
    cairo_stroke(cr);
    // Right arm (the picture's left) swings the racket across the block area.
    limb(cr, {cx - 22, 58, cx - 34, 80}, 12, jersey);
    racket(cr, 34, 92, 21, 25, -0.15, 22, {40, 52, 150});
    limb(cr, {cx - 34, 80, cx - 43, 121}, 10, kSkin);
    disc(cr, cx - 44, 127, 6.5);
    fillAndOutline(cr, kSkin);
    return c.keyed(kWhite, kInk);
}

// The player stands at the bottom, seen from behind and facing up the field:
// a blue "1" on the back, the racket raised in the right hand (the picture's
// right), the other arm out to catch. The catch area is the chest (ball
// centre 60..80 right of the figure's left edge, 60..95 down).
Image drawPlayerFigure() {
    Canvas c(kFigureW, kPlayerFigureH);
    cairo_t* cr = c.cr();
    const Rgb jersey = {36, 92, 214}, jerseyDark = {24, 60, 150}, shorts = {228, 226, 218};
    const double cx = 72;
    // Drawn high in the picture: the power bar comes down over the figure
    // 39 rows below its top, and the head must stay clear of it.
    cairo_translate(cr, 0, -9);

    // Racket raised behind the right shoulder.
    racket(cr, 118, 40, 17, 21, 0.25, 18, {230, 150, 30});
    // Legs, socks and shoes (we see the heels).
    limb(cr, {cx - 11, 128, cx - 15, 172}, 12, kSkin);
    limb(cr, {cx + 11, 128, cx + 15, 172}, 12, kSkin);
    limb(cr, {cx - 15, 160, cx - 15, 176}, 12, {34, 60, 140});
    limb(cr, {cx + 15, 160, cx + 15, 176}, 12, {34, 60, 140});
    ellipse(cr, cx - 16, 184, 11, 8);
    fillAndOutline(cr, {40, 40, 46});
    ellipse(cr, cx + 16, 184, 11, 8);
    fillAndOutline(cr, {40, 40, 46});
    // Shorts.
    cairo_move_to(cr, cx - 24, 112);
    cairo_line_to(cr, cx + 24, 112);
    cairo_line_to(cr, cx + 27, 140);
    cairo_line_to(cr, cx + 3, 140);
    cairo_line_to(cr, cx, 131);
    cairo_line_to(cr, cx - 3, 140);
    cairo_line_to(cr, cx - 27, 140);
    cairo_close_path(cr);
    fillAndOutline(cr, shorts);
    // Arms: the left out to the side, the right up to the racket.
    limb(cr, {cx - 26, 60, cx - 44, 84}, 13, jersey);
    limb(cr, {cx - 44, 84, cx - 50, 106}, 10, kSkin);
    disc(cr, cx - 50, 110, 6.5);
    fillAndOutline(cr, kSkin);
    limb(cr, {cx + 26, 60, cx + 40, 78}, 13, jersey);
    limb(cr, {cx + 40, 78, cx + 44, 62}, 10, kSkin);
    disc(cr, cx + 44, 61, 6.5);
    fillAndOutline(cr, kSkin);
    // Back of the jersey with a number.
    cairo_move_to(cr, cx - 29, 56);
    cairo_curve_to(cr, cx - 14, 49, cx + 14, 49, cx + 29, 56);
    cairo_line_to(cr, cx + 24, 116);
    cairo_line_to(cr, cx - 24, 116);
    cairo_close_path(cr);
    fillAndOutline(cr, jersey);
    cairo_move_to(cr, cx - 29, 57);
    cairo_line_to(cr, cx - 19, 55);
    cairo_line_to(cr, cx - 17, 115);
    cairo_line_to(cr, cx - 24, 115);
    cairo_close_path(cr);
    setRgb(cr, jerseyDark);
    cairo_fill(cr);
    const double tw = textWidth(cr, "1", 38, true, false);
    textPath(cr, "1", 38, true, false, cx - tw / 2, 104);
    setRgb(cr, kInk);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 4);
    cairo_stroke_preserve(cr);
    setRgb(cr, {250, 224, 90});
    cairo_fill(cr);
    // Neck, ears and the back of the head.
    cairo_rectangle(cr, cx - 7, 40, 14, 14);
    fillAndOutline(cr, kSkinShade);
    ellipse(cr, cx - 16.5, 28, 4, 6);
    fillAndOutline(cr, kSkin);
    ellipse(cr, cx + 16.5, 28, 4, 6);
    fillAndOutline(cr, kSkin);
    disc(cr, cx, 26.5, 16);
    fillAndOutline(cr, {70, 44, 26});
    // Hair strands and a highlight.
    setRgb(cr, {104, 68, 40});
    cairo_set_line_width(cr, 2);
    for (int i = -2; i <= 2; ++i) {
        cairo_move_to(cr, cx + i * 5, 13);
        cairo_curve_to(cr, cx + i * 6, 24, cx + i * 7, 33, cx + i * 5.5, 42);
    }
    cairo_stroke(cr);
    cairo_move_to(cr, cx - 10, 16);
    cairo_curve_to(cr, cx - 4, 12, cx + 4, 12, cx + 9, 15);
    setRgb(cr, {146, 100, 62});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    return c.keyed(kWhite, kInk);
}

// The ball; its centre is the pixel (25, 25).
Image drawBall() {
    Canvas c(kSpriteSize, kSpriteSize);
    const double m = kSpriteSize / 2.0;
    paintBall(c.cr(), m, m, 13.5);
    return c.keyed(kWhite, {60, 38, 6}, 128, true);
}

// A dark ellipse, darkest in the middle; the game draws it half transparent.
Image drawBallShadow() {
    Canvas c(kSpriteSize, kSpriteSize);
    cairo_t* cr = c.cr();
    const double m = kSpriteSize / 2.0;
    cairo_pattern_t* p = cairo_pattern_create_radial(m, m, 0, m, m, 14.5);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.04, 0.05, 0.07);
    cairo_pattern_add_color_stop_rgb(p, 0.6, 0.12, 0.13, 0.15);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.28, 0.29, 0.30);
    cairo_save(cr);
    cairo_translate(cr, m, m);
    cairo_scale(cr, 1.0, 0.66);
    cairo_translate(cr, -m, -m);
    disc(cr, m, m, 14.5);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(p);
    return c.keyed(kWhite, {60, 62, 64}, 128, true);
}

// A red ring with four ticks and a centre dot exactly at (25, 25), inked so
// that it shows on grass, asphalt, the target window and the menu blue.
Image drawCrosshair() {
    Canvas c(kSpriteSize, kSpriteSize);
    cairo_t* cr = c.cr();
    const double m = kSpriteSize / 2.0;
    const Rgb red = {240, 44, 40};
    auto ticks = [&](double width) {
        cairo_set_line_width(cr, width);
        cairo_move_to(cr, m, m - 24);
        cairo_line_to(cr, m, m - 7);
        cairo_move_to(cr, m, m + 7);
        cairo_line_to(cr, m, m + 24);
        cairo_move_to(cr, m - 24, m);
        cairo_line_to(cr, m - 7, m);
        cairo_move_to(cr, m + 7, m);
        cairo_line_to(cr, m + 24, m);
        cairo_stroke(cr);
    };
    setRgb(cr, kInk);
    disc(cr, m, m, 15);
    cairo_set_line_width(cr, 5);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    ticks(3);
    cairo_rectangle(cr, m - 2.5, m - 2.5, 5, 5);
    cairo_fill(cr);
    setRgb(cr, red);
    disc(cr, m, m, 15);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    ticks(1);
    cairo_rectangle(cr, m - 1.5, m - 1.5, 3, 3);
    cairo_fill(cr);
    return c.keyed(kWhite, kInk, 128, true);
}

// ---------------------------------------------------------------- window

namespace {

// Curve strength by crosshair-centre x, as the shot evaluation gives it.
int curveAt(int cx) {
    static const int leftTable[10] = {10, 9, 8, 7, 6, 5, 2, 3, 2, 1};
    if (cx > kHalvesLeft && cx < kHalvesMid) return leftTable[(cx - kHalvesLeft) / 15];
    if (cx > kHalvesMid && cx < kHalvesRight) return (cx - kHalvesMid) / 15;
    return 0;
}

// Window pixels from screen coordinates.
double wx(double screenX) { return screenX - kWindowX; }
double wy(double screenY) { return screenY - kWindowY; }

void centredText(cairo_t* cr, const char* text, double size, double x, double y, Rgb fill) {
    const double w = textWidth(cr, text, size, true, false);
    textPath(cr, text, size, true, false, x - w / 2, y);
    setRgb(cr, kInk);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 3);
    cairo_stroke_preserve(cr);
    setRgb(cr, fill);
    cairo_fill(cr);
}

}  // namespace

// The target window, drawn at (250, 150). The area where a released
// crosshair centre hits is solid glass, so no marking of the field shows
// through it. Each half has its own tint, blue on the left and orange on the
// right, split by a white divider at x 485, the middle column, which misses.
// Within a half the bands are told apart by shade: the upper band (flat,
// less power) dark and hatched, the lower band in lift steps from light to
// deep, the strips outside both bands greyed. Each 15-pixel column is lit by
// its curve strength, strongest at the outer edges. A bar chart under the
// halves repeats the curve strengths; above each half an arrow and a label
// say which way it bends the ball. Everything else is the key colour,
// except the frame and the labels.
Image drawTargetWindow() {
    Canvas c(kWindowW, kWindowH);
    cairo_t* cr = c.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    struct Tint {
        Rgb liftTop, liftBottom, flat, hatch, strip;
    };
    const Tint left = {{150, 214, 252}, {26, 70, 168}, {54, 96, 150}, {40, 72, 118}, {104, 124, 146}};
    const Tint right = {{255, 214, 140}, {178, 70, 16}, {150, 90, 44}, {118, 68, 32}, {148, 126, 106}};
    const int halvesW = kHalvesRight - kHalvesLeft, halvesH = kHalvesBottom - kHalvesTop;
    auto mix = [](Rgb a, Rgb b, double t) {
        return Rgb{clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
                   clampByte(a.b + (b.b - a.b) * t)};
    };

    // Fill, pixel by pixel, from the hit rules.
    for (int sy = kHalvesTop + 1; sy < kHalvesBottom; ++sy)
        for (int sx = kHalvesLeft + 1; sx < kHalvesRight; ++sx) {
            const Tint& tint = sx < kHalvesMid ? left : right;
            Rgb col;
            const bool inBands = sx > kBandLeft && sx < kBandRight;
            if (inBands && sy > kBandSplit) {
                col = mix(tint.liftTop, tint.liftBottom, ((sy - kBandSplit) / 20) / 9.0);
            } else if (inBands && sy < kBandSplit) {
                col = ((sx + sy) / 5) % 2 == 0 ? tint.hatch : tint.flat;
            } else {
                col = tint.strip;
            }
            double k = 0.86 + 0.22 * curveAt(sx) / 13.0;
            // Glass: a faint sheen stripe.
            const double diag = (sx - kHalvesLeft) + (sy - kHalvesTop) * 0.8;
            if (std::fmod(diag, 220.0) < 40.0) k += 0.06;
            setRgb(cr, {clampByte(col.r * k), clampByte(col.g * k), clampByte(col.b * k)});
            cairo_rectangle(cr, wx(sx), wy(sy), 1, 1);
            cairo_fill(cr);
        }
    // Lift steps: a darker line at the top of each 20-row step.
    setRgb(cr, {30, 30, 60});
    for (int step = 1; step <= 9; ++step)
        cairo_rectangle(cr, wx(kBandLeft + 1), wy(kBandSplit + 20 * step), kBandRight - kBandLeft - 1,
                        1);
    cairo_fill(cr);
    // The row between the bands (no lift, full power) and the band edges.
    setRgb(cr, {30, 30, 40});
    cairo_rectangle(cr, wx(kHalvesLeft + 1), wy(kBandSplit), halvesW - 1, 1);
    cairo_rectangle(cr, wx(kBandLeft), wy(kHalvesTop + 1), 1, halvesH - 1);
    cairo_rectangle(cr, wx(kBandRight), wy(kHalvesTop + 1), 1, halvesH - 1);
    cairo_fill(cr);

    // Frame just outside the hit area, starting on the off-target border.
    const double fx = wx(kHalvesLeft) - 3, fy = wy(kHalvesTop) - 3;
    setRgb(cr, kInk);
    cairo_rectangle(cr, fx, fy, halvesW + 7, 4);
    cairo_rectangle(cr, fx, wy(kHalvesBottom), halvesW + 7, 4);
    cairo_rectangle(cr, fx, fy, 4, halvesH + 7);
    cairo_rectangle(cr, wx(kHalvesRight), fy, 4, halvesH + 7);
    cairo_fill(cr);
    setRgb(cr, {200, 214, 230});
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, fx + 1.5, fy + 1.5, halvesW + 4, halvesH + 4);
    cairo_stroke(cr);

    // Curve strength of each column: a bar chart above the frame, in the
    // tint of its half. Nothing of the window lies below the frame, where
    // the player's head shows between it and the power bar.
    const double chartH = 16, chartTop = fy - 8 - chartH;
    setRgb(cr, kInk);
    cairo_rectangle(cr, fx, chartTop - 2, halvesW + 7, chartH + 4);
    cairo_fill(cr);
    for (int sx = kHalvesLeft + 1; sx < kHalvesRight; ++sx) {
        if (sx == kHalvesMid || (sx - kHalvesLeft) % 15 == 0 || (sx - kHalvesMid) % 15 == 0)
            continue;  // a gap between columns
        const int curve = curveAt(sx);
        const double h = 2 + curve;
        const Tint& tint = sx < kHalvesMid ? left : right;
        setRgb(cr, mix(tint.liftTop, tint.liftBottom, 0.25 + 0.5 * curve / 13.0));
        cairo_rectangle(cr, wx(sx), chartTop + chartH - h, 1, h);
        cairo_fill(cr);
    }
    // The divider on the middle column, from the chart down through the
    // frame: white between two inked columns.
    const double divTop = chartTop - 4, divBottom = wy(kHalvesBottom) + 4;
    setRgb(cr, kInk);
    cairo_rectangle(cr, wx(kHalvesMid) - 1, divTop, 3, divBottom - divTop);
    cairo_fill(cr);
    setRgb(cr, {250, 250, 250});
    cairo_rectangle(cr, wx(kHalvesMid), divTop + 1, 1, divBottom - divTop - 2);
    cairo_fill(cr);

    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    // Labels.
    const double upperY = wy((kHalvesTop + kBandSplit) / 2.0) + 5;
    centredText(cr, "FLAT", 15, wx((kBandLeft + kHalvesMid) / 2.0), upperY, {255, 236, 200});
    centredText(cr, "POWER -3", 15, wx((kHalvesMid + kBandRight) / 2.0), upperY, {255, 236, 200});
    // Lift numbers beside the left half, one per 20-row step.
    const double plateX = wx(kHalvesLeft) - 31;
    roundedRect(cr, plateX, wy(kBandSplit) - 2, 24, 204, 5);
    setRgb(cr, kInk);
    cairo_fill(cr);
    centredText(cr, "LIFT", 12, plateX + 12, wy(kBandSplit) - 8, {214, 246, 250});
    for (int lift = 0; lift <= 9; ++lift) {
        const char digit[2] = {static_cast<char>('0' + lift), 0};
        const double t = lift / 9.0;
        centredText(cr, digit, 13, plateX + 12, wy(kBandSplit + 20 * lift) + 15,
                    {clampByte(150 + 90 * t), clampByte(230 - 40 * t), 250});
    }
    // Over each half, which way it curves the ball: aimed in the left half
    // the ball bends right, in the right half left. The arrows point that way
    // and thicken towards the strong outer edge.
    auto arrow = [&](double x0, double x1, double y, Rgb fill) {
        const double dir = x1 > x0 ? 1 : -1;
        for (int pass = 0; pass < 2; ++pass) {
            setRgb(cr, pass == 0 ? kInk : fill);
            const double grow = pass == 0 ? 2.5 : 0.0;
            cairo_move_to(cr, x0, y + 12 + grow);
            cairo_curve_to(cr, x0 + (x1 - x0) * 0.3, y - 12, x0 + (x1 - x0) * 0.7, y - 8, x1, y + 1.5);
            cairo_line_to(cr, x1, y - 1.5);
            cairo_curve_to(cr, x0 + (x1 - x0) * 0.7, y - 14, x0 + (x1 - x0) * 0.3, y - 18,
                           x0 - dir * 2, y + 12 - 7 - grow);
            cairo_close_path(cr);
            cairo_move_to(cr, x1 + dir * (6 + grow), y);
            cairo_line_to(cr, x1 - dir * (5 + grow), y - 9 - grow);
            cairo_line_to(cr, x1 - dir * (3 + grow), y + 9 + grow);
            cairo_close_path(cr);
            if (pass == 0) {
                cairo_set_line_width(cr, 3);
                cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
                cairo_stroke_preserve(cr);
            }
            cairo_fill(cr);
        }
    };
    const double arrowY = chartTop - 22;
    arrow(wx(kHalvesLeft + 12), wx(kHalvesMid - 14), arrowY, left.liftTop);
    arrow(wx(kHalvesRight - 12), wx(kHalvesMid + 14), arrowY, right.liftTop);
    centredText(cr, "CURVES RIGHT", 12, wx((kHalvesLeft + kHalvesMid) / 2.0), arrowY - 22,
                left.liftTop);
    centredText(cr, "CURVES LEFT", 12, wx((kHalvesMid + kHalvesRight) / 2.0), arrowY - 22,
                right.liftTop);
    return c.keyed(kWindowKey, kInk);
}

// ---------------------------------------------------------------- bar

// The power bar: a frame around a green-yellow-red gradient with a notch at
// every power step (each 40 pixels of cover travel).
Image drawPowerBar() {
    Canvas c(kBarW, kBarH);
    cairo_t* cr = c.cr();
    setRgb(cr, {26, 28, 36});
    cairo_paint(cr);
    const double insideW = kBarW - kBarFrame - kBarEndCap, insideH = kBarH - 2 * kBarFrame;
    cairo_pattern_t* p = cairo_pattern_create_linear(kBarFrame, 0, kBarFrame + insideW, 0);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.16, 0.72, 0.24);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.95, 0.86, 0.16);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.92, 0.14, 0.10);
    cairo_rectangle(cr, kBarFrame, kBarFrame, insideW, insideH);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Gloss on top, shade at the bottom.
    cairo_pattern_t* g = cairo_pattern_create_linear(0, kBarFrame, 0, kBarFrame + insideH);
    cairo_pattern_add_color_stop_rgba(g, 0.0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(g, 0.4, 1, 1, 1, 0.08);
    cairo_pattern_add_color_stop_rgba(g, 0.55, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(g, 1.0, 0, 0, 0, 0.35);
    cairo_rectangle(cr, kBarFrame, kBarFrame, insideW, insideH);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    setRgb(cr, {26, 28, 36}, 0.75);
    for (int step = 1; step <= 10; ++step) {
        const double x = kPowerStepX + kPowerStep * step - kBarX;
        cairo_rectangle(cr, x, kBarFrame, 1, 7);
        cairo_rectangle(cr, x, kBarH - kBarFrame - 7, 1, 7);
    }
    cairo_fill(cr);
    return c.flatten();
}

// The cover: the empty part of the bar, with a bright leading edge that
// moves right as the bar fills.
Image drawBarCover() {
    Canvas c(kCoverW, kCoverH);
    cairo_t* cr = c.cr();
    verticalGradient(cr, 0, kCoverH, {22, 24, 32}, {48, 52, 64});
    cairo_paint(cr);
    setRgb(cr, {70, 76, 92}, 0.5);
    cairo_rectangle(cr, 0, kCoverH / 2.0 - 1, kCoverW, 1);
    cairo_fill(cr);
    cairo_pattern_t* e = cairo_pattern_create_linear(0, 0, 10, 0);
    cairo_pattern_add_color_stop_rgba(e, 0.0, 1.0, 0.96, 0.80, 1.0);
    cairo_pattern_add_color_stop_rgba(e, 0.3, 0.9, 0.7, 0.3, 0.7);
    cairo_pattern_add_color_stop_rgba(e, 1.0, 0.9, 0.5, 0.2, 0.0);
    cairo_rectangle(cr, 0, 0, 10, kCoverH);
    cairo_set_source(cr, e);
    cairo_fill(cr);
    cairo_pattern_destroy(e);
    return c.flatten();
}
