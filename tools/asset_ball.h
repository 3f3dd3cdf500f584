// The game ball, drawn by the sprite generator and the icon drawer.
#pragma once

#include <cairo.h>

// The ball, shaded, with its seam and outline, centred at (cx, cy).
void paintBall(cairo_t* cr, double cx, double cy, double r);
