// The four pitches. Each is drawn edge to edge at 1024 x 768 with the same
// markings: side lines at x 100 and 920 (OUT beyond them), end lines at
// y 40 (CPU's end) and 718 (player's end), a halfway line, a centre circle
// and a box with a spot and an arc in front of each end.
#include <algorithm>
#include <cmath>

#include "asset_art.h"

using namespace layout;

namespace {

constexpr double kPi = 3.14159265358979;

enum class Zone { Pitch, Side, End };

Zone zoneOf(int x, int y) {
    if (x < kPitchLeft || x >= kPitchRight) return Zone::Side;
    if (y < kPitchTop || y >= kPitchBottom) return Zone::End;
    return Zone::Pitch;
}

Rgb shade(Rgb c, double dr, double dg, double db) {
    return {clampByte(c.r + dr), clampByte(c.g + dg), clampByte(c.b + db)};
}

Rgb scale(Rgb c, double k) { return {clampByte(c.r * k), clampByte(c.g * k), clampByte(c.b * k)}; }

// Mowing stripes run across the pitch: 14 bands between the end lines.
int stripeOf(int y) {
    return static_cast<int>(std::floor((y - kPitchTop) / ((kPitchBottom - kPitchTop) / 14.0)));
}

// The markings as one path (without the end lines, which each look draws
// bolder): side lines, halfway line, centre circle, the boxes and the arcs.
void markingsPath(cairo_t* cr) {
    cairo_move_to(cr, kPitchLeft, kPitchTop);
    cairo_line_to(cr, kPitchLeft, kPitchBottom);
    cairo_move_to(cr, kPitchRight, kPitchTop);
    cairo_line_to(cr, kPitchRight, kPitchBottom);
    cairo_move_to(cr, kPitchLeft, kPitchMidY);
    cairo_line_to(cr, kPitchRight, kPitchMidY);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchMidX, kPitchMidY, 72, 0, 2 * kPi);
    const double boxW = 300, boxD = 95, innerW = 150, innerD = 38;
    const double boxX = kPitchMidX - boxW / 2, innerX = kPitchMidX - innerW / 2;
    cairo_rectangle(cr, boxX, kPitchTop, boxW, boxD);
    cairo_rectangle(cr, innerX, kPitchTop, innerW, innerD);
    cairo_rectangle(cr, boxX, kPitchBottom - boxD, boxW, boxD);
    cairo_rectangle(cr, innerX, kPitchBottom - innerD, innerW, innerD);
    // Arcs in front of the boxes, around the spots.
    const double spotTop = kPitchTop + 70, spotBottom = kPitchBottom - 70, arcR = 55;
    const double a = std::asin((kPitchTop + boxD - spotTop) / arcR);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchMidX, spotTop, arcR, a, kPi - a);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchMidX, spotBottom, arcR, kPi + a, 2 * kPi - a);
    // Corner arcs.
    const double c = 14;
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchLeft, kPitchTop, c, 0, kPi / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchRight, kPitchTop, c, kPi / 2, kPi);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchLeft, kPitchBottom, c, -kPi / 2, 0);
    cairo_new_sub_path(cr);
    cairo_arc(cr, kPitchRight, kPitchBottom, c, kPi, 1.5 * kPi);
}

void endLinesPath(cairo_t* cr) {
    cairo_move_to(cr, kPitchLeft, kPitchTop);
    cairo_line_to(cr, kPitchRight, kPitchTop);
    cairo_move_to(cr, kPitchLeft, kPitchBottom);
    cairo_line_to(cr, kPitchRight, kPitchBottom);
}

void spotsPath(cairo_t* cr, double r) {
    const double ys[3] = {kPitchTop + 70, kPitchMidY, kPitchBottom - 70};
    for (double y : ys) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, kPitchMidX, y, r, 0, 2 * kPi);
    }
}

// Plain markings in one colour.
void drawMarkings(cairo_t* cr, Rgb colour, double width, double endWidth) {
    setRgb(cr, colour);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_width(cr, width);
    markingsPath(cr);
    cairo_stroke(cr);
    cairo_set_line_width(cr, endWidth);
    endLinesPath(cr);
    cairo_stroke(cr);
    spotsPath(cr, width * 1.2);
    cairo_fill(cr);
}

void vignette(Image& img, double strength) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            const double dx = (x - img.w / 2.0) / (img.w / 2.0);
            const double dy = (y - img.h / 2.0) / (img.h / 2.0);
            const double k = 1.0 - strength * (dx * dx * 0.6 + dy * dy * 0.4);
            img.set(x, y, scale(img.at(x, y), k));
        }
}

void grain(Image& img, uint64_t seed, double amount) {
    Rng rng(seed);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x) {
            const double n = rng.gauss() * amount;
            img.set(x, y, shade(img.at(x, y), n, n, n));
        }
}

// A box grown by m pixels on every side, as a cairo rectangle.
void boxPath(cairo_t* cr, Box b, double m) {
    cairo_rectangle(cr, b.x0 - m, b.y0 - m, b.x1 - b.x0 + 1 + 2 * m, b.y1 - b.y0 + 1 + 2 * m);
}

// A short label centred on x with its baseline at y.
void label(cairo_t* cr, const char* text, double size, double x, double y, Rgb colour) {
    const double w = textWidth(cr, text, size, true, false);
    textPath(cr, text, size, true, false, x - w / 2, y);
    setRgb(cr, colour);
    cairo_fill(cr);
}

double boxMidX(Box b) { return (b.x0 + b.x1) / 2.0; }

// ---------------------------------------------------------------- standard

// Floodlit spring turf, light enough to carry the match's texts anywhere in
// the middle, with painted score boxes across the right touchline.
Image standardField() {
    Image img(kScreenW, kScreenH);
    ValueNoise big(101, 190), mid(102, 36), blades(103, 3);
    Rng rng(104);
    const Rgb stripeA = {160, 216, 112}, stripeB = {146, 205, 100};
    const Rgb endA = {64, 128, 58}, endB = {72, 138, 64};
    const Rgb track = {178, 84, 62}, laneLine = {226, 218, 204};
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            Rgb c;
            const double n = (big.fractal(x, y, 3) - 0.5) * 22 + (mid.at(x, y) - 0.5) * 8 +
                             (blades.at(x * 0.6, y * 2.0) - 0.5) * 10;
            switch (zoneOf(x, y)) {
                case Zone::Pitch:
                    c = (stripeOf(y) % 2 == 0) ? stripeA : stripeB;
                    c = shade(c, n * 0.4, n * 0.6, n * 0.3);
                    break;
                case Zone::End:
                    c = (((x + y) / 16) % 2 == 0) ? endA : endB;
                    c = shade(c, n * 0.6, n, n * 0.45);
                    break;
                case Zone::Side: {
                    const double granule = rng.gauss() * 7;
                    c = shade(track, granule + n * 0.3, granule * 0.7, granule * 0.6);
                    // Two lanes each side, with lane lines.
                    const int lx = x < kPitchLeft ? x : x - static_cast<int>(kPitchRight);
                    const int lanes[2] = {x < kPitchLeft ? 32 : 36, x < kPitchLeft ? 64 : 70};
                    for (int line : lanes)
                        if (lx >= line - 1 && lx <= line) c = shade(laneLine, granule, granule, granule);
                    break;
                }
            }
            img.set(x, y, c);
        }
    // A dark rim where the track meets the grass.
    Canvas edge(kScreenW, kScreenH);
    cairo_t* cr = edge.cr();
    setRgb(cr, {40, 50, 30}, 0.35);
    cairo_rectangle(cr, kPitchLeft - 8, 0, 4, kScreenH);
    cairo_rectangle(cr, kPitchRight + 4, 0, 4, kScreenH);
    cairo_fill(cr);
    paintOver(img, edge);

    Canvas lines(kScreenW, kScreenH);
    drawMarkings(lines.cr(), {248, 248, 244}, 4, 6);
    ValueNoise wear(105, 9);
    paintOver(img, lines, [&](int x, int y) { return 0.86 + 0.14 * wear.at(x, y); });

    // Score boxes painted over the touchline: cream, edged in white paint,
    // with a navy name plate outside the figures.
    Canvas boards(kScreenW, kScreenH);
    cr = boards.cr();
    const struct {
        Box ink;
        const char* name;
        double nameY;
    } scores[2] = {{kCpuScoreInk, "CPU", kCpuScoreInk.y0 - 17.0},
                   {kPlayerScoreInk, "PLAYER 1", kPlayerScoreInk.y1 + 29.0}};
    for (const auto& sc : scores) {
        boxPath(cr, sc.ink, 13);
        setRgb(cr, {30, 40, 30}, 0.22);  // the paint's shadow on the track
        cairo_save(cr);
        cairo_translate(cr, 3, 3);
        cairo_fill(cr);
        cairo_restore(cr);
        boxPath(cr, sc.ink, 13);
        setRgb(cr, {250, 250, 246});
        cairo_fill(cr);
        boxPath(cr, sc.ink, 8);
        verticalGradient(cr, sc.ink.y0 - 8, sc.ink.y1 + 8, {244, 238, 220}, {226, 220, 200});
        cairo_fill(cr);
        // A navy keyline, clear of the figures.
        boxPath(cr, sc.ink, 5);
        setRgb(cr, {26, 40, 96}, 0.8);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        const double w = textWidth(cr, sc.name, 12, true, false) + 14;
        roundedRect(cr, boxMidX(sc.ink) - w / 2, sc.nameY - 12, w, 16, 3);
        setRgb(cr, {26, 40, 96});
        cairo_fill(cr);
        label(cr, sc.name, 12, boxMidX(sc.ink), sc.nameY, {250, 250, 246});
    }
    paintOver(img, boards);
    vignette(img, 0.08);
    grain(img, 106, 1.6);
    return img;
}

// ---------------------------------------------------------------- cel-shaded

// The stands' shadow: a hard-edged polygon over the top-left of the field.
bool inCelShadow(double x, double y) {
    // Edge from (470, 0) down to (150, 768).
    const double edgeX = 470 - (470 - 150) * (y / kScreenH);
    return x < edgeX;
}

Image celShadedField() {
    Image img(kScreenW, kScreenH);
    const Rgb grassA = {124, 212, 92}, grassB = {106, 194, 78};
    const Rgb side = {70, 132, 226}, sideRim = {128, 186, 252};
    const Rgb checkA = {252, 212, 78}, checkB = {236, 124, 52};
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            Rgb c;
            switch (zoneOf(x, y)) {
                case Zone::Pitch:
                    c = (stripeOf(y) % 2 == 0) ? grassA : grassB;
                    break;
                case Zone::End:
                    c = (((x - static_cast<int>(kPitchLeft)) / 20 + (y + 40) / 20) % 2 == 0) ? checkA
                                                                                           : checkB;
                    break;
                case Zone::Side: {
                    const double d = x < kPitchLeft ? kPitchLeft - x : x - kPitchRight;
                    c = d < 16 ? sideRim : side;
                    // A second, darker cel band at the outer edge.
                    const double outer = x < kPitchLeft ? x : kScreenW - 1 - x;
                    if (outer < 22) c = scale(side, 0.78);
                    break;
                }
            }
            if (inCelShadow(x, y)) {
                c = {clampByte(c.r * 0.70), clampByte(c.g * 0.78), clampByte(c.b * 0.92 + 14)};
                // Half-tone dots, the comic-book way.
                const int row = y / 7;
                const double cx = (row % 2 ? 3.5 : 0.0) + std::floor((x - (row % 2 ? 3.5 : 0.0)) / 7.0) * 7 + 3.5;
                const double cy = row * 7 + 3.5;
                if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) < 2.6)
                    c = scale(c, 0.86);
            }
            img.set(x, y, c);
        }
    // Black ink: the shadow's edge, the zone borders, then the markings
    // drawn as thick black strokes under white ones.
    Canvas ink(kScreenW, kScreenH);
    cairo_t* cr = ink.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    setRgb(cr, {20, 24, 40});
    cairo_set_line_width(cr, 3);
    cairo_move_to(cr, 470, 0);
    cairo_line_to(cr, 150, kScreenH);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 4);
    cairo_move_to(cr, 22, 0);
    cairo_line_to(cr, 22, kScreenH);
    cairo_move_to(cr, kScreenW - 22, 0);
    cairo_line_to(cr, kScreenW - 22, kScreenH);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    cairo_set_line_width(cr, 12);
    markingsPath(cr);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 14);
    endLinesPath(cr);
    cairo_stroke(cr);
    spotsPath(cr, 8);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    setRgb(cr, {250, 250, 246});
    cairo_set_line_width(cr, 5);
    markingsPath(cr);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 7);
    endLinesPath(cr);
    cairo_stroke(cr);
    spotsPath(cr, 4.5);
    cairo_fill(cr);
    paintOver(img, ink);

    // A lit band across the middle, inked above and below like a comic
    // panel; inside it the halfway line and the circle are drawn in white
    // only, so the message over it stands on light colour.
    Canvas band(kScreenW, kScreenH);
    cr = band.cr();
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    const double bandTop = kMessageInk.y0 - 14, bandBottom = kMessageInk.y1 + 14;
    cairo_rectangle(cr, kPitchLeft + 6, bandTop, kPitchRight - kPitchLeft - 12, bandBottom - bandTop);
    setRgb(cr, {214, 248, 160});
    cairo_fill(cr);
    setRgb(cr, {20, 24, 40});
    cairo_rectangle(cr, kPitchLeft + 6, bandTop - 4, kPitchRight - kPitchLeft - 12, 4);
    cairo_rectangle(cr, kPitchLeft + 6, bandBottom, kPitchRight - kPitchLeft - 12, 4);
    cairo_fill(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    cairo_rectangle(cr, kPitchLeft + 6, bandTop, kPitchRight - kPitchLeft - 12, bandBottom - bandTop);
    cairo_clip(cr);
    // Light blue takes the place of the black ink here.
    setRgb(cr, {110, 176, 255});
    cairo_set_line_width(cr, 10);
    markingsPath(cr);
    cairo_stroke(cr);
    spotsPath(cr, 7);
    cairo_fill(cr);
    setRgb(cr, {250, 250, 246});
    cairo_set_line_width(cr, 5);
    markingsPath(cr);
    cairo_stroke(cr);
    spotsPath(cr, 4.5);
    cairo_fill(cr);
    cairo_reset_clip(cr);

    // Score panels: yellow, inked, with a hard comic shadow and a name tag.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    const struct {
        Box ink;
        const char* name;
        double nameY;
    } scores[2] = {{kCpuScoreInk, "CPU", kCpuScoreInk.y0 - 18.0},
                   {kPlayerScoreInk, "PLAYER 1", kPlayerScoreInk.y1 + 33.0}};
    for (const auto& sc : scores) {
        cairo_save(cr);
        cairo_translate(cr, 6, 6);
        boxPath(cr, sc.ink, 15);
        setRgb(cr, {20, 24, 40});
        cairo_fill(cr);
        cairo_restore(cr);
        boxPath(cr, sc.ink, 15);
        setRgb(cr, {20, 24, 40});
        cairo_fill(cr);
        boxPath(cr, sc.ink, 11);
        setRgb(cr, {255, 232, 120});
        cairo_fill(cr);
        // A lighter cel highlight along the top.
        cairo_rectangle(cr, sc.ink.x0 - 11, sc.ink.y0 - 11, sc.ink.x1 - sc.ink.x0 + 23, 7);
        setRgb(cr, {255, 246, 196});
        cairo_fill(cr);
        const double w = textWidth(cr, sc.name, 13, true, false) + 14;
        cairo_rectangle(cr, boxMidX(sc.ink) - w / 2, sc.nameY - 14, w, 19);
        setRgb(cr, {20, 24, 40});
        cairo_fill(cr);
        label(cr, sc.name, 13, boxMidX(sc.ink), sc.nameY, {255, 232, 120});
    }
    paintOver(img, band);
    return img;
}

// ---------------------------------------------------------------- street

void crack(cairo_t* cr, Rng& rng, double x, double y, double angle, int steps, double width) {
    cairo_move_to(cr, x, y);
    for (int i = 0; i < steps; ++i) {
        angle += rng.range(-0.6, 0.6);
        x += std::cos(angle) * rng.range(4, 9);
        y += std::sin(angle) * rng.range(4, 9);
        cairo_line_to(cr, x, y);
        if (rng.uniform() < 0.08 && width > 0.9) {
            cairo_set_line_width(cr, width);
            cairo_stroke(cr);
            crack(cr, rng, x, y, angle + rng.range(-1.2, 1.2), steps / 2, width * 0.7);
            cairo_move_to(cr, x, y);
        }
    }
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

Image streetField() {
    Image img(kScreenW, kScreenH);
    ValueNoise big(301, 150), mid(302, 30), slabTone(303, 1);
    Rng rng(304);
    const Rgb asphalt = {128, 128, 132};
    const Rgb slab = {176, 172, 164}, joint = {112, 108, 104};
    const Rgb kerb = {204, 200, 190};
    const Rgb brick = {158, 74, 54}, mortar = {118, 108, 100};
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            Rgb c;
            const double n = (big.fractal(x, y, 3) - 0.5) * 18 + (mid.at(x, y) - 0.5) * 8;
            switch (zoneOf(x, y)) {
                case Zone::Pitch: {
                    const double speck = rng.uniform();
                    double v = n + rng.gauss() * 5;
                    if (speck < 0.05) v += rng.range(18, 42);
                    else if (speck < 0.10) v -= rng.range(16, 34);
                    c = shade(asphalt, v, v, v + 1);
                    break;
                }
                case Zone::End: {
                    // Running-bond brick paving, 36 x 18.
                    const int row = (y + 4) / 18;
                    const int bx = x - static_cast<int>(kPitchLeft) + (row % 2) * 18;
                    const bool isMortar = (y + 4) % 18 < 2 || ((bx % 36) + 36) % 36 < 2;
                    if (isMortar) {
                        c = shade(mortar, n * 0.4, n * 0.4, n * 0.4);
                    } else {
                        const double t = (slabTone.at(bx / 36 * 7.0, row * 3.0) - 0.5) * 34;
                        const double v = t + n * 0.5 + rng.gauss() * 5;
                        c = shade(brick, v, v * 0.55, v * 0.45);
                    }
                    break;
                }
                case Zone::Side: {
                    const bool left = x < kPitchLeft;
                    const int d = left ? static_cast<int>(kPitchLeft) - 1 - x
                                       : x - static_cast<int>(kPitchRight);
                    if (d < 14) {  // kerb stones along the side line
                        const bool gap = (y % 64) < 2;
                        c = gap ? joint : shade(kerb, n * 0.5 + rng.gauss() * 4, n * 0.5, n * 0.5);
                        if (d >= 12) c = scale(c, 0.7);  // the kerb's outer face
                    } else {      // pavement slabs, 52 px square
                        const int sx = left ? x : x - static_cast<int>(kPitchRight) - 14;
                        const bool isJoint = (sx % 52) < 2 || (y % 52) < 2;
                        if (isJoint) {
                            c = joint;
                        } else {
                            const double t = (slabTone.at((sx / 52) * 5.0 + (left ? 0 : 40), (y / 52) * 5.0) - 0.5) * 22;
                            const double v = t + n * 0.6 + rng.gauss() * 4;
                            c = shade(slab, v, v, v);
                        }
                    }
                    break;
                }
            }
            img.set(x, y, c);
        }

    // Patches of newer asphalt, cracks and oil stains.
    Canvas wear(kScreenW, kScreenH);
    cairo_t* cr = wear.cr();
    const double patches[3][4] = {{150, 455, 150, 88}, {690, 150, 120, 70}, {600, 520, 92, 60}};
    for (const auto& p : patches) {
        setRgb(cr, {92, 92, 98}, 0.25);
        cairo_rectangle(cr, p[0], p[1], p[2], p[3]);
        cairo_fill_preserve(cr);
        setRgb(cr, {60, 60, 64}, 0.45);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setRgb(cr, {48, 48, 52}, 0.85);
    const double cracks[6][3] = {{140, 120, 0.3}, {860, 300, 2.2}, {300, 700, -0.9},
                                 {780, 640, -2.4}, {560, 90, 1.6}, {240, 300, -0.2}};
    for (const auto& k : cracks) crack(cr, rng, k[0], k[1], k[2], 22, 1.6);
    for (int i = 0; i < 5; ++i) {
        const double ox = rng.range(160, 860), oy = rng.range(80, 690), r = rng.range(14, 30);
        cairo_pattern_t* pat = cairo_pattern_create_radial(ox, oy, 0, ox, oy, r);
        cairo_pattern_add_color_stop_rgba(pat, 0, 0.18, 0.17, 0.2, 0.55);
        cairo_pattern_add_color_stop_rgba(pat, 1, 0.18, 0.17, 0.2, 0.0);
        cairo_save(cr);
        cairo_translate(cr, ox, oy);
        cairo_scale(cr, 1.0, 0.7);
        cairo_translate(cr, -ox, -oy);
        cairo_set_source(cr, pat);
        cairo_arc(cr, ox, oy, r, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(pat);
    }
    // A manhole cover.
    const double mx = 214, my = 584;
    setRgb(cr, {70, 70, 74});
    cairo_arc(cr, mx, my, 27, 0, 2 * kPi);
    cairo_fill(cr);
    setRgb(cr, {104, 102, 100});
    cairo_arc(cr, mx, my, 23, 0, 2 * kPi);
    cairo_fill(cr);
    setRgb(cr, {80, 78, 78});
    cairo_set_line_width(cr, 2);
    for (int i = -3; i <= 3; ++i) {
        const double off = i * 6.0, half = std::sqrt(std::max(0.0, 21.0 * 21.0 - off * off));
        cairo_move_to(cr, mx - half, my + off);
        cairo_line_to(cr, mx + half, my + off);
    }
    cairo_stroke(cr);
    cairo_arc(cr, mx, my, 23, 0, 2 * kPi);
    cairo_stroke(cr);
    // Drain grates in the kerbs.
    for (double gy : {200.0, 540.0}) {
        setRgb(cr, {40, 40, 42});
        cairo_rectangle(cr, kPitchLeft - 12, gy, 10, 34);
        cairo_rectangle(cr, kPitchRight + 2, gy + 60, 10, 34);
        cairo_fill(cr);
    }
    paintOver(img, wear);

    // The court is painted: a pale blue key at each end, deep enough for the
    // winner's line, and a band across the middle for the messages. The
    // paint covers the asphalt's cracks and stains; it has its own wear.
    Canvas court(kScreenW, kScreenH);
    cr = court.cr();
    const double keyX0 = kWinnerInk.x0 - 14, keyX1 = kWinnerInk.x1 + 14;
    const double keyDepth = kPitchBottom - (kWinnerInk.y0 - 14);
    const Rgb courtBlue = {140, 190, 214};
    roundedRect(cr, keyX0, kPitchBottom - keyDepth, keyX1 - keyX0, keyDepth + 30, 22);
    roundedRect(cr, keyX0, kPitchTop - 30, keyX1 - keyX0, keyDepth + 30, 22);
    cairo_rectangle(cr, kPitchLeft, kMessageInk.y0 - 14, kPitchRight - kPitchLeft,
                    kMessageInk.y1 - kMessageInk.y0 + 29);
    setRgb(cr, courtBlue);
    cairo_fill_preserve(cr);
    setRgb(cr, {232, 238, 240});
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    ValueNoise rollers(308, 14), scuffs(309, 40);
    paintOver(img, court, [&](int x, int y) {
        if (y < kPitchTop || y >= kPitchBottom) return 0.0;  // not on the bricks
        return 0.9 + 0.06 * rollers.at(x, y * 0.2) + 0.04 * scuffs.at(x, y);
    });

    // Plywood score boards leaning over the kerb, screwed at the corners.
    Canvas boards(kScreenW, kScreenH);
    cr = boards.cr();
    const struct {
        Box ink;
        const char* name;
        double nameY;
    } scores[2] = {{kCpuScoreInk, "CPU", kCpuScoreInk.y0 - 12.0},
                   {kPlayerScoreInk, "PLAYER 1", kPlayerScoreInk.y1 + 25.0}};
    ValueNoise grainNoise(310, 3);
    for (const auto& sc : scores) {
        const double top = sc.ink.y0 - (sc.ink.y0 == kCpuScoreInk.y0 ? 26 : 12);
        const double bottom = sc.ink.y1 + (sc.ink.y0 == kCpuScoreInk.y0 ? 12 : 28);
        const double left = sc.ink.x0 - 12, right = sc.ink.x1 + 12;
        cairo_rectangle(cr, left + 5, top + 6, right - left, bottom - top);
        setRgb(cr, {20, 20, 24}, 0.45);
        cairo_fill(cr);
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        setRgb(cr, {226, 200, 150});
        cairo_fill_preserve(cr);
        setRgb(cr, {96, 70, 40});
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        // Wood grain: long, faint, wavy strokes.
        cairo_save(cr);
        cairo_rectangle(cr, left + 1, top + 1, right - left - 2, bottom - top - 2);
        cairo_clip(cr);
        setRgb(cr, {196, 164, 114}, 0.55);
        cairo_set_line_width(cr, 1);
        for (double gy = top + 4; gy < bottom; gy += rng.range(5, 11)) {
            cairo_move_to(cr, left, gy);
            for (double gx = left; gx <= right; gx += 8)
                cairo_line_to(cr, gx, gy + 2.5 * std::sin(gx / 23.0 + gy) + rng.range(-0.6, 0.6));
            cairo_stroke(cr);
        }
        cairo_restore(cr);
        for (double sx : {left + 6, right - 6})
            for (double sy : {top + 6, bottom - 6}) {
                cairo_arc(cr, sx, sy, 2.2, 0, 2 * kPi);
                setRgb(cr, {120, 120, 126});
                cairo_fill(cr);
            }
        label(cr, sc.name, 12, boxMidX(sc.ink), sc.nameY, {60, 40, 24});
    }

    // Yellow paint, worn through in places.
    Canvas paint(kScreenW, kScreenH);
    drawMarkings(paint.cr(), {236, 198, 46}, 5, 8);
    ValueNoise flakes(305, 5), patchy(306, 60);
    paintOver(img, paint, [&](int x, int y) {
        const double f = flakes.at(x, y) * 0.6 + patchy.at(x, y) * 0.4;
        return f < 0.3 ? 0.35 : 0.92;
    });
    paintOver(img, boards);
    vignette(img, 0.12);
    grain(img, 307, 1.5);
    return img;
}

// ---------------------------------------------------------------- lawn

// How far (x, y) lies from the nearest box of the match's texts, in pixels;
// the trees' shade keeps off the sunlit lawn under them.
double distanceToTexts(int x, int y) {
    double best = 1e9;
    for (const Box& b : {kMessageInk, kWinnerInk, kCpuScoreInk, kPlayerScoreInk}) {
        const double dx = std::max({b.x0 - x, 0, x - b.x1}), dy = std::max({b.y0 - y, 0, y - b.y1});
        best = std::min(best, std::sqrt(dx * dx + dy * dy));
    }
    return best;
}

Image lawnField() {
    Image img(kScreenW, kScreenH);
    ValueNoise big(401, 220), mid(402, 45), dapple(403, 120);
    Rng rng(404);
    const Rgb grass = {158, 206, 90}, soil = {104, 76, 50}, gravel = {198, 184, 152};
    for (int y = 0; y < kScreenH; ++y)
        for (int x = 0; x < kScreenW; ++x) {
            Rgb c;
            const double n = (big.fractal(x, y, 3) - 0.5) * 20 + (mid.at(x, y) - 0.5) * 10;
            const Zone z = zoneOf(x, y);
            const bool soilStrip = (x >= kPitchLeft - 8 && x < kPitchLeft) ||
                                   (x >= kPitchRight && x < kPitchRight + 8);
            if (z == Zone::Pitch || (z == Zone::Side && soilStrip)) {
                if (soilStrip) {
                    const double v = n * 0.5 + rng.gauss() * 8;
                    c = shade(soil, v, v * 0.8, v * 0.6);
                } else {
                    const int cx = static_cast<int>(std::floor((x - kPitchLeft) / 68.0));
                    const int cy = static_cast<int>(std::floor((y - kPitchTop) / 67.8));
                    const double check = ((cx + cy) % 2 == 0) ? 9 : -7;
                    c = shade(grass, (check + n * 0.6) * 0.75, check + n * 0.6, (check + n * 0.6) * 0.4);
                }
            } else if (z == Zone::End) {
                const double v = n * 0.6 + rng.gauss() * 9;
                c = shade(gravel, v, v * 0.95, v * 0.85);
            } else {
                c = {44, 84, 40};  // hedge base, leaves drawn below
            }
            // Dappled shade of trees, away from the texts' sunny ground.
            const double d = dapple.fractal(x + 500, y, 2);
            const double sun = std::clamp(distanceToTexts(x, y) / 40.0 - 0.5, 0.0, 1.0);
            if (d > 0.56) c = scale(c, 1.0 - sun * std::min(0.16, (d - 0.56) * 1.3));
            img.set(x, y, c);
        }

    // Grass blades and a few daisies over the lawn and the hedge leaves.
    Canvas leaves(kScreenW, kScreenH);
    cairo_t* cr = leaves.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 42000; ++i) {
        const double x = rng.range(kPitchLeft, kPitchRight);
        const double y = rng.range(0, kScreenH);
        if (y < kPitchTop || y > kPitchBottom) continue;
        const double a = -kPi / 2 + rng.range(-0.55, 0.55), len = rng.range(2.5, 6);
        const double t = rng.uniform();
        cairo_set_source_rgba(cr, (116 + 90 * t) / 255.0, (172 + 64 * t) / 255.0,
                              (56 + 44 * t) / 255.0, 0.42);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + std::cos(a) * len, y + std::sin(a) * len);
        cairo_stroke(cr);
    }
    // Hedges: layers of leaf clusters, darker inside, lit on top.
    for (int side = 0; side < 2; ++side) {
        const double x0 = side == 0 ? 0 : kPitchRight + 8;
        const double x1 = side == 0 ? kPitchLeft - 8 : kScreenW;
        for (int i = 0; i < 2600; ++i) {
            const double x = rng.range(x0 - 4, x1 + 2), y = rng.range(-6, kScreenH + 6);
            const double r = rng.range(3, 8), t = rng.uniform();
            cairo_set_source_rgb(cr, (26 + 40 * t) / 255.0, (62 + 70 * t) / 255.0,
                                 (26 + 30 * t) / 255.0);
            cairo_arc(cr, x, y, r, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_set_source_rgba(cr, (90 + 60 * t) / 255.0, (150 + 50 * t) / 255.0,
                                  (60 + 30 * t) / 255.0, 0.55);
            cairo_arc(cr, x - r * 0.3, y - r * 0.35, r * 0.45, 0, 2 * kPi);
            cairo_fill(cr);
        }
        // The hedge's inner edge in shade, so it reads as a wall of leaves.
        cairo_pattern_t* pat = cairo_pattern_create_linear(side == 0 ? x1 : x0, 0,
                                                           side == 0 ? x1 - 30 : x0 + 30, 0);
        cairo_pattern_add_color_stop_rgba(pat, 0, 0.05, 0.12, 0.04, 0.45);
        cairo_pattern_add_color_stop_rgba(pat, 1, 0.05, 0.12, 0.04, 0.0);
        cairo_set_source(cr, pat);
        cairo_rectangle(cr, x0, 0, x1 - x0, kScreenH);
        cairo_fill(cr);
        cairo_pattern_destroy(pat);
    }
    // Pebbles on the gravel paths.
    for (int i = 0; i < 2400; ++i) {
        const double x = rng.range(kPitchLeft, kPitchRight);
        const double y = rng.uniform() < 0.45 ? rng.range(0, kPitchTop - 1)
                                              : rng.range(kPitchBottom + 1, kScreenH);
        const double t = rng.uniform();
        cairo_set_source_rgba(cr, (150 + 90 * t) / 255.0, (140 + 80 * t) / 255.0,
                              (120 + 70 * t) / 255.0, 0.9);
        cairo_arc(cr, x, y, rng.range(0.8, 2.2), 0, 2 * kPi);
        cairo_fill(cr);
    }
    for (int i = 0; i < 70; ++i) {
        const double x = rng.range(kPitchLeft + 10, kPitchRight - 10);
        const double y = rng.range(kPitchTop + 10, kPitchBottom - 10);
        setRgb(cr, {246, 244, 236});
        for (int p = 0; p < 5; ++p) {
            const double a = p * 2 * kPi / 5;
            cairo_arc(cr, x + std::cos(a) * 1.6, y + std::sin(a) * 1.6, 1.1, 0, 2 * kPi);
            cairo_fill(cr);
        }
        setRgb(cr, {240, 200, 40});
        cairo_arc(cr, x, y, 1.0, 0, 2 * kPi);
        cairo_fill(cr);
    }
    paintOver(img, leaves);

    // Chalk lines, patchy where the chalk went on thin.
    Canvas chalk(kScreenW, kScreenH);
    drawMarkings(chalk.cr(), {246, 246, 240}, 4, 5);
    ValueNoise thin(405, 7);
    paintOver(img, chalk, [&](int x, int y) { return 0.62 + 0.38 * thin.at(x, y); });

    // White-painted scoreboards set into the right hedge, cricket style:
    // slatted boards in a green frame, each with its name plate.
    Canvas boards(kScreenW, kScreenH);
    cr = boards.cr();
    const struct {
        Box ink;
        const char* name;
        double nameY;
    } scores[2] = {{kCpuScoreInk, "CPU", kCpuScoreInk.y0 - 17.0},
                   {kPlayerScoreInk, "PLAYER 1", kPlayerScoreInk.y1 + 30.0}};
    for (const auto& sc : scores) {
        const double left = sc.ink.x0 - 14, top = sc.ink.y0 - 14;
        const double w = sc.ink.x1 - sc.ink.x0 + 29, h = sc.ink.y1 - sc.ink.y0 + 29;
        roundedRect(cr, left + 4, top + 5, w, h, 5);
        setRgb(cr, {10, 30, 8}, 0.4);
        cairo_fill(cr);
        roundedRect(cr, left, top, w, h, 5);
        setRgb(cr, {34, 84, 44});
        cairo_fill(cr);
        cairo_rectangle(cr, left + 5, top + 5, w - 10, h - 10);
        setRgb(cr, {246, 246, 238});
        cairo_fill(cr);
        // Slats.
        setRgb(cr, {214, 218, 206});
        for (double sy = top + 5 + 16; sy < top + h - 8; sy += 16) {
            cairo_rectangle(cr, left + 5, sy, w - 10, 1);
            cairo_fill(cr);
        }
        const double pw = textWidth(cr, sc.name, 12, true, false) + 16;
        roundedRect(cr, boxMidX(sc.ink) - pw / 2, sc.nameY - 12, pw, 16, 8);
        setRgb(cr, {34, 84, 44});
        cairo_fill(cr);
        label(cr, sc.name, 12, boxMidX(sc.ink), sc.nameY, {246, 246, 238});
    }
    paintOver(img, boards);
    grain(img, 406, 1.8);
    return img;
}

}  // namespace

Image drawField(int kind) {
    switch (kind) {
        case 2: return celShadedField();
        case 3: return streetField();
        case 4: return lawnField();
        default: return standardField();
    }
}
