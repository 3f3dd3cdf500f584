// How SDL 1.2 over SDL2 (sdl12-compat) puts the game's 1024x768 picture on
// the screen. It never changes the display mode: a full-screen game gets a
// window the size of the desktop, and SDL2's renderer scales the picture
// into it, letterboxed, on every flip. On a GPU that costs the processor
// nothing, and SDL2's own choice of renderer is right. Without one, SDL2's
// OpenGL renderer runs in software and is the dearest choice; its software
// renderer with nearest-neighbour scaling is the cheapest that shows the
// whole picture in its own colours and proportions.
//
// SDL 1.2 cannot say which renderer it got, so the choice is made before
// SDL_Init from what the system shows. No SDL call here: the rule is a pure
// function of what was seen and of the environment.
#pragma once

#include <functional>
#include <string>
#include <vector>

// A DRM render node (/dev/dri/renderD*): what OpenGL draws on a GPU through.
struct RenderNode {
    std::string driver;   // the kernel driver behind it ("i915", "virtio_gpu", ...)
    bool usable = false;  // this user may open it for reading and writing
    bool virgl = false;   // virtio_gpu only: the host passes 3D through
};

struct GraphicsView {
    std::vector<RenderNode> renderNodes;
    // NVIDIA's own driver draws OpenGL through /dev/nvidiactl, with or
    // without a render node.
    bool nvidiaControl = false;
};

// Reads /dev/dri and /sys/class/drm below ROOT ("" for the real system):
// a directory listing and a link or two, well under a millisecond.
GraphicsView lookAtGraphics(const std::string& root = "");

using EnvLookup = std::function<const char*(const char*)>;

// Whether the game runs on a Wayland desktop (natively or through XWayland).
bool waylandSession(const EnvLookup& env);

// Whether OpenGL would run on a GPU for this display (see the .cpp).
bool openGlOnGpu(const GraphicsView& view, const EnvLookup& env);

// Which SDL 1.2 the game runs on: classic SDL 1.2 draws through X11 itself
// and changes the display mode; sdl12-compat (SDL 1.2 over SDL2) scales.
enum class SdlKind { classic, compat };

// The "NAME=value" settings to put in the environment before SDL_Init:
// none where OpenGL runs on a GPU; otherwise SDL2's software renderer with
// nearest scaling, or on SDL2's Wayland driver nearest scaling paced by the
// compositor. Classic SDL 1.2 on a Wayland desktop keeps the desktop's mode.
// A variable the player has set (to anything, even empty) is never in the
// list. The strings live as long as the program.
std::vector<const char*> rendererDefaults(const GraphicsView& view, const EnvLookup& env, SdlKind kind);
