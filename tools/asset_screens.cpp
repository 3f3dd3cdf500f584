// Pictures of the menus, the title sequence and the credits.
#include <algorithm>
#include <cmath>

#include "asset_art.h"

namespace {

constexpr double kPi = 3.14159265358979;
// The intro's sliding pictures: black in their top rows, fading into the
// picture below.
constexpr double kIntroBlackRows = 40, kIntroFadeEnd = 72;

void addStop(cairo_pattern_t* p, double at, Rgb c, double alpha = 1.0) {
    cairo_pattern_add_color_stop_rgba(p, at, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

// The word "VELMORA" in chrome letters over a dark outline and a drop
// shadow; (x, baseline) is where the text starts.
void chromeWordmark(cairo_t* cr, double x, double baseline, double size, Rgb ink, Rgb shadow) {
    const char* word = "VELMORA";
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    const double off = size * 0.06;
    textPath(cr, word, size, true, true, x + off, baseline + off);
    setRgb(cr, shadow);
    cairo_set_line_width(cr, size * 0.1);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    textPath(cr, word, size, true, true, x, baseline);
    setRgb(cr, ink);
    cairo_set_line_width(cr, size * 0.1);
    cairo_stroke(cr);
    const double top = baseline - size * 0.73;
    cairo_pattern_t* p = cairo_pattern_create_linear(0, top, 0, baseline);
    addStop(p, 0.0, {232, 246, 255});
    addStop(p, 0.30, {140, 196, 250});
    addStop(p, 0.50, {40, 84, 190});
    addStop(p, 0.52, {30, 26, 70});
    addStop(p, 0.56, {200, 80, 60});
    addStop(p, 0.80, {250, 170, 60});
    addStop(p, 1.0, {255, 226, 140});
    textPath(cr, word, size, true, true, x, baseline);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A swoosh: the path of a curved shot, a tapered band from (x0, y0) to the
// ball.
void swoosh(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb a, Rgb b) {
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    addStop(p, 0, a);
    addStop(p, 1, b);
    const double mx = (x0 + x1) / 2, my = std::min(y0, y1) - (x1 - x0) * 0.15;
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, mx - 20, my, mx + 20, my, x1, y1 - width / 2);
    cairo_line_to(cr, x1, y1 + width / 2);
    cairo_curve_to(cr, mx + 20, my + width * 1.2, mx - 20, my + width * 1.2, x0, y0);
    cairo_close_path(cr);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

// The options screen's marker: a small ball with speed lines, on the menu
// blue.
Image drawMenuMarker() {
    Canvas c(40, 40);
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double lines[3][2] = {{13, 9}, {20, 4}, {27, 9}};
    for (const auto& l : lines) {
        cairo_move_to(cr, l[1], l[0]);
        cairo_line_to(cr, 14, l[0]);
        setRgb(cr, {12, 20, 40});
        cairo_set_line_width(cr, 5);
        cairo_stroke_preserve(cr);
        setRgb(cr, {250, 170, 50});
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    paintBall(cr, 25, 20, 13);
    return c.keyed(kWhite, kMenuBlue);
}

// The title, drawn at (300, 7) on black.
Image drawTitle() {
    const int w = 424, h = 300;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    swoosh(cr, 40, 150, 220, 70, 16, {120, 20, 80}, {250, 120, 40});
    paintBall(cr, 250, 66, 42);
    const double size = 80;
    const double tw = textWidth(cr, "VELMORA", size, true, true);
    chromeWordmark(cr, (w - tw) / 2 - 4, 200, size, {10, 14, 44}, {110, 18, 70});
    // Sub-title with spread letters.
    const char* sub = "ARCADE  BALL";
    const double ss = 22;
    double x = 0;
    for (const char* p = sub; *p; ++p) {
        const char one[2] = {*p, 0};
        x += textWidth(cr, one, ss, true, false) + 4;
    }
    x = (w - x) / 2;
    for (const char* p = sub; *p; ++p) {
        const char one[2] = {*p, 0};
        textPath(cr, one, ss, true, false, x, 250);
        setRgb(cr, {10, 14, 44});
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_set_line_width(cr, 4);
        cairo_stroke_preserve(cr);
        setRgb(cr, {250, 150, 50});
        cairo_fill(cr);
        x += textWidth(cr, one, ss, true, false) + 4;
    }
    // A laser rule under it.
    cairo_pattern_t* rule = cairo_pattern_create_linear(60, 0, w - 60, 0);
    addStop(rule, 0.0, {120, 10, 90});
    addStop(rule, 0.5, {255, 80, 200});
    addStop(rule, 1.0, {120, 10, 90});
    cairo_rectangle(cr, 60, 268, w - 120, 3);
    cairo_set_source(cr, rule);
    cairo_fill(cr);
    cairo_pattern_destroy(rule);
    return c.keyed(kWhite, kBlack, 96);
}

// The intro's curtain, 1024 x 868: starting at (0, -100) it covers the
// whole display, then slides down and off it. A night sky with a striped
// sun over a neon grid floor.
Image drawIntroCurtain() {
    const int w = layout::kScreenW, h = 868;
    const double horizon = 560;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, horizon);
    addStop(sky, 0.0, {6, 4, 26});
    addStop(sky, 0.6, {38, 10, 72});
    addStop(sky, 1.0, {150, 36, 120});
    cairo_rectangle(cr, 0, 0, w, horizon);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    // Stars.
    Rng rng(701);
    for (int i = 0; i < 420; ++i) {
        const double x = rng.range(0, w), y = rng.range(0, horizon - 60);
        const double b = rng.range(0.35, 1.0) * (1.0 - y / horizon * 0.6);
        cairo_set_source_rgba(cr, 1.0, 0.92, 1.0, b);
        cairo_arc(cr, x, y, rng.uniform() < 0.08 ? 1.5 : 0.8, 0, 2 * kPi);
        cairo_fill(cr);
    }
    // Sun glow and the striped sun.
    const double sx = w / 2.0, sr = 170;
    cairo_pattern_t* glow = cairo_pattern_create_radial(sx, horizon - 40, sr * 0.8, sx, horizon - 40, sr * 1.9);
    addStop(glow, 0, {255, 90, 160}, 0.35);
    addStop(glow, 1, {255, 90, 160}, 0.0);
    cairo_rectangle(cr, 0, 0, w, horizon);
    cairo_set_source(cr, glow);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
    cairo_pattern_t* sun = cairo_pattern_create_linear(0, horizon - sr, 0, horizon);
    addStop(sun, 0.0, {255, 236, 110});
    addStop(sun, 0.5, {255, 140, 80});
    addStop(sun, 1.0, {240, 50, 150});
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w, horizon);
    cairo_clip(cr);
    cairo_arc(cr, sx, horizon, sr, 0, 2 * kPi);
    cairo_set_source(cr, sun);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    cairo_pattern_destroy(sun);
    for (int k = 0; k < 8; ++k) {  // the stripes widen towards the horizon
        const double y = horizon - 92 + k * 12.5, gap = 1.5 + k * 1.0;
        cairo_rectangle(cr, sx - sr, y, 2 * sr, gap);
    }
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(sky);
    // Mountains.
    cairo_move_to(cr, 0, horizon);
    double x = 0;
    Rng hills(702);
    cairo_line_to(cr, 0, horizon - 30);
    while (x < w) {
        x += hills.range(30, 80);
        const double centre = std::fabs(x - sx) / sx;
        cairo_line_to(cr, x, horizon - hills.range(10, 70) * (0.35 + centre));
    }
    cairo_line_to(cr, w, horizon);
    cairo_close_path(cr);
    setRgb(cr, {26, 8, 46});
    cairo_fill_preserve(cr);
    setRgb(cr, {255, 80, 200}, 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Floor and grid.
    cairo_pattern_t* floor = cairo_pattern_create_linear(0, horizon, 0, h);
    addStop(floor, 0, {30, 6, 50});
    addStop(floor, 1, {8, 2, 20});
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    cairo_set_source(cr, floor);
    cairo_fill(cr);
    cairo_pattern_destroy(floor);
    cairo_save(cr);
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    cairo_clip(cr);
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 0) {
            setRgb(cr, {255, 40, 200}, 0.25);
            cairo_set_line_width(cr, 6);
        } else {
            setRgb(cr, {255, 70, 210});
            cairo_set_line_width(cr, 1.8);
        }
        for (int i = -24; i <= 24; ++i) {
            cairo_move_to(cr, sx + i * 6.0, horizon);
            cairo_line_to(cr, sx + i * 130.0, h);
        }
        for (double d = 1.6; d < 80; d *= 1.36) {
            const double y = horizon + 6 * d;
            if (y > h) break;
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, w, y);
        }
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    setRgb(cr, {255, 150, 230});
    cairo_rectangle(cr, 0, horizon - 1, w, 2);
    cairo_fill(cr);
    // The top rows blend into the black: the screen holds the picture of
    // the pass before the slide ended, in which a long pass can leave the
    // curtain's top edge inside the display.
    cairo_pattern_t* fade = cairo_pattern_create_linear(0, 0, 0, kIntroFadeEnd);
    addStop(fade, 0, kBlack);
    addStop(fade, kIntroBlackRows / kIntroFadeEnd, kBlack);
    addStop(fade, 1, kBlack, 0.0);
    cairo_rectangle(cr, 0, 0, w, kIntroFadeEnd);
    cairo_set_source(cr, fade);
    cairo_fill(cr);
    cairo_pattern_destroy(fade);
    return c.flatten();
}

// The lasers that ride on the curtain: a fan of cyan beams rising from the
// sun to a magenta scan line just under the curtain's black top, which
// sweeps down the display and uncovers the title behind it as the curtain
// slides away.
Image drawIntroLasers() {
    const int w = layout::kScreenW, h = 868;
    const double horizon = 560, scan = kIntroFadeEnd - 4;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_rectangle(cr, 0, scan, w, h - scan);
    cairo_clip(cr);
    const double sx = w / 2.0;
    // The beams start at the rim of the sun, as if it shone them.
    const double angles[8] = {-1.25, -0.95, -0.62, -0.3, 0.3, 0.62, 0.95, 1.25};
    const Rgb beam[3] = {{16, 70, 140}, {40, 200, 255}, {200, 250, 255}};
    const double widths[3] = {7, 3.5, 1.2};
    for (int layer = 0; layer < 3; ++layer) {
        setRgb(cr, beam[layer]);
        cairo_set_line_width(cr, widths[layer]);
        for (double a : angles) {
            cairo_move_to(cr, sx + std::sin(a) * 185, horizon - std::cos(a) * 185);
            cairo_line_to(cr, sx + std::sin(a) * 1500, horizon - std::cos(a) * 1500);
        }
        cairo_stroke(cr);
    }
    cairo_reset_clip(cr);
    const Rgb glow[3] = {{90, 10, 90}, {255, 60, 190}, {255, 210, 240}};
    // Scan line with flares.
    const double half[3] = {8, 5, 2};
    for (int layer = 0; layer < 3; ++layer) {
        setRgb(cr, glow[layer]);
        cairo_rectangle(cr, 0, scan - half[layer], w, 2 * half[layer]);
        cairo_fill(cr);
    }
    const double flares[5] = {120, 330, 512, 700, 905};
    for (double fx : flares) {
        for (int layer = 0; layer < 3; ++layer) {
            setRgb(cr, glow[layer]);
            const double len = 34 - layer * 9.0, thick = half[layer] + 1;
            cairo_move_to(cr, fx - len, scan);
            cairo_line_to(cr, fx, scan - thick);
            cairo_line_to(cr, fx + len, scan);
            cairo_line_to(cr, fx, scan + thick);
            cairo_close_path(cr);
            cairo_move_to(cr, fx, scan - len * 0.3);
            cairo_line_to(cr, fx + thick * 0.7, scan);
            cairo_line_to(cr, fx, scan + len * 0.3);
            cairo_line_to(cr, fx - thick * 0.7, scan);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
    }
    return c.keyed(kWhite, {30, 4, 40});
}

// The credits logo, drawn at (250, 520) on the menu blue. Its top rows are
// clear so that the credit line at y 550 stays readable; the wordmark sits
// under it.
Image drawCreditsLogo() {
    const int w = 524, h = 190;
    Canvas c(w, h);
    cairo_t* cr = c.cr();
    const double size = 60;
    const double tw = textWidth(cr, "VELMORA", size, true, true);
    const double left = (w - tw - 60) / 2;
    swoosh(cr, left - 6, 168, left + 40, 120, 8, {20, 60, 120}, {250, 120, 40});
    paintBall(cr, left + 40, 122, 20);
    chromeWordmark(cr, left + 70, 160, size, {6, 16, 40}, {0, 24, 60});
    return c.keyed(kWhite, kMenuBlue, 96);
}
