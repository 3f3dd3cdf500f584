// The game ball, shared by the sprite generator and the icon drawer
// (make_icon.cpp), so the icons are the ball drawn at their own
// size rather than the small sprite scaled up.
#include "asset_ball.h"

#include <algorithm>

namespace {

void ballDisc(cairo_t* cr, double x, double y, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * 3.14159265358979);
}

}  // namespace

void paintBall(cairo_t* cr, double cx, double cy, double r) {
    cairo_pattern_t* p =
        cairo_pattern_create_radial(cx - r / 3, cy - r * 0.37, r * 0.07, cx, cy, r + 0.5);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 1.0, 0.97, 0.70);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.98, 0.83, 0.22);
    cairo_pattern_add_color_stop_rgb(p, 0.80, 0.84, 0.56, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.56, 0.34, 0.04);
    ballDisc(cr, cx, cy, r);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // Seam: two arcs, as on a tennis ball.
    cairo_save(cr);
    ballDisc(cr, cx, cy, r - r * 0.11);
    cairo_clip(cr);
    cairo_set_line_width(cr, r * 0.12);
    cairo_set_source_rgba(cr, 1.0, 0.97, 0.82, 0.9);
    ballDisc(cr, cx - r * 1.26, cy, r * 0.93);
    cairo_stroke(cr);
    ballDisc(cr, cx + r * 1.26, cy, r * 0.93);
    cairo_stroke(cr);
    cairo_restore(cr);
    ballDisc(cr, cx, cy, r);
    cairo_set_source_rgb(cr, 0.30, 0.18, 0.02);
    cairo_set_line_width(cr, std::max(1.5, r * 0.08));
    cairo_stroke(cr);
}
