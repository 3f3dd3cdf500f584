#include "platform/renderer_choice.h"

#include <cctype>
#include <cstring>
#include <fstream>

#ifdef __linux__
#include <dirent.h>
#include <unistd.h>
#endif

namespace {

// Mesa's switch to software OpenGL, read as Mesa reads it.
bool mesaForcedToSoftware(const char* value) {
    if (!value) return false;
    std::string v;
    for (const char* c = value; *c; ++c) v += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return v == "1" || v == "true" || v == "y" || v == "yes";
}

// "host:0" (ssh -X, a display across the network) puts the window on
// another machine's X server, where OpenGL goes over the wire or falls back
// to software. ":0", "unix:0" and socket paths are this machine's.
bool displayElsewhere(const char* display) {
    if (!display || !*display || *display == '/') return false;
    const char* colon = std::strrchr(display, ':');
    if (!colon || colon == display) return false;
    const std::string host(display, static_cast<size_t>(colon - display));
    return host != "unix";
}

// Render nodes that draw nothing in hardware: vgem and vkms are memory-only
// devices, and a virtual machine's virtio GPU draws in 3D only where the
// host passes it through (virgl).
bool drawsOpenGl(const RenderNode& node) {
    if (node.driver == "vgem" || node.driver == "vkms") return false;
    if (node.driver == "virtio_gpu") return node.virgl;
    return true;
}

bool isSet(const char* value) { return value != nullptr; }

bool isSetToSomething(const char* value) { return value && *value; }

// Whether SDL2 will open its Wayland driver: asked for by name (first in a
// list), or the only display there is. Unasked, SDL2 (Debian 12's 2.26) prefers
// X11 (XWayland) where both are there.
bool sdl2OnWayland(const EnvLookup& env) {
    const char* driver = env("SDL_VIDEODRIVER");
    if (isSetToSomething(driver)) return std::strncmp(driver, "wayland", 7) == 0 &&
                                         (driver[7] == '\0' || driver[7] == ',');
    return waylandSession(env) && !isSetToSomething(env("DISPLAY"));
}

void addUnlessSet(std::vector<const char*>& settings, const char* setting, const EnvLookup& env) {
    const std::string name(setting, static_cast<size_t>(std::strchr(setting, '=') - setting));
    if (!isSet(env(name.c_str()))) settings.push_back(setting);
}

}  // namespace

// Its programs find the compositor by WAYLAND_DISPLAY, and the session
// manager says so in XDG_SESSION_TYPE.
bool waylandSession(const EnvLookup& env) {
    const char* type = env("XDG_SESSION_TYPE");
    return isSetToSomething(env("WAYLAND_DISPLAY")) || (type && std::strcmp(type, "wayland") == 0);
}

GraphicsView lookAtGraphics(const std::string& root) {
    GraphicsView view;
#ifdef __linux__
    const std::string dri = root + "/dev/dri";
    if (DIR* dir = opendir(dri.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.rfind("renderD", 0) != 0) continue;
            RenderNode node;
            node.usable = access((dri + "/" + name).c_str(), R_OK | W_OK) == 0;
            const std::string device = root + "/sys/class/drm/" + name + "/device";
            char target[4096];
            const ssize_t length = readlink((device + "/driver").c_str(), target, sizeof target - 1);
            if (length > 0) {
                target[length] = '\0';
                const char* slash = std::strrchr(target, '/');
                node.driver = slash ? slash + 1 : target;
            }
            // A virtio device's features, lowest bit first; bit 0 is 3D.
            if (node.driver == "virtio_gpu") {
                std::ifstream features(device + "/features");
                node.virgl = features.get() == '1';
            }
            view.renderNodes.push_back(node);
        }
        closedir(dir);
    }
    view.nvidiaControl = access((root + "/dev/nvidiactl").c_str(), R_OK | W_OK) == 0;
#else
    (void)root;
#endif
    return view;
}

// OpenGL runs on a GPU when this user can open a render node of a driver
// that draws in hardware (or NVIDIA's control device), the window is on
// this machine's display, and nothing says otherwise: Mesa told to draw in
// software, or a remote-desktop session (xrdp, X2Go, TigerVNC mark theirs),
// whose X server has no access to the GPU. A wrong "yes" costs most of a
// core at desktop sizes (software OpenGL); a wrong "no" costs the
// software renderer's share, so the rule leans to "no".
bool openGlOnGpu(const GraphicsView& view, const EnvLookup& env) {
    if (mesaForcedToSoftware(env("LIBGL_ALWAYS_SOFTWARE"))) return false;
    if (displayElsewhere(env("DISPLAY"))) return false;
    for (const char* session : {"XRDP_SESSION", "X2GO_SESSION", "VNCDESKTOP"})
        if (isSet(env(session))) return false;
    if (view.nvidiaControl) return true;
    for (const RenderNode& node : view.renderNodes)
        if (node.usable && drawsOpenGl(node)) return true;
    return false;
}

std::vector<const char*> rendererDefaults(const GraphicsView& view, const EnvLookup& env, SdlKind kind) {
    std::vector<const char*> settings;
    // Classic SDL 1.2 on XWayland: a mode change is only emulated there, by
    // stretching 1024x768 to the whole output, and the pointer's motion
    // then arrives unscaled and part of the screen may not take it. Kept at
    // the desktop's mode, the picture stands unscaled in the middle of the
    // screen, between black borders, and the pointer goes one for one.
    if (kind == SdlKind::classic && waylandSession(env))
        for (const char* setting : {"SDL_VIDEO_X11_XRANDR=0", "SDL_VIDEO_X11_VIDMODE=0"})
            addUnlessSet(settings, setting, env);
    if (openGlOnGpu(view, env)) return settings;
    // SDL2's Wayland driver has no window surface for the software renderer:
    // the picture is scaled by OpenGL in software, whatever is asked. That
    // renders the whole output each frame (about three times the XWayland
    // path's share at 1920x1080), so frames wait for the compositor's next
    // one, as often as the screen shows them and no more often.
    if (kind == SdlKind::compat && sdl2OnWayland(env)) {
        for (const char* setting : {"SDL12COMPAT_SYNC_TO_VBLANK=1", "SDL12COMPAT_SCALE_METHOD=nearest"})
            addUnlessSet(settings, setting, env);
        return settings;
    }
    // Copied straight to the window (no OpenGL, not even for the window's
    // own surface), scaled by repeating pixels: measured at 1920x1080 on a
    // machine without a GPU, about 30 % of a core against 50 % with
    // linear scaling and 65-105 % with software OpenGL.
    static const char* const kSoftware[] = {"SDL_RENDER_DRIVER=software",
                                            "SDL_FRAMEBUFFER_ACCELERATION=0",
                                            "SDL12COMPAT_SCALE_METHOD=nearest"};
    for (const char* setting : kSoftware) addUnlessSet(settings, setting, env);
    return settings;
}
