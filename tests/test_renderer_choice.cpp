// The renderer sdl12-compat is told to use: SDL2's own choice on a GPU, the
// software renderer with nearest scaling elsewhere, and never over a
// variable the player set.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/renderer_choice.h"

namespace {

namespace fs = std::filesystem;

using Env = std::map<std::string, std::string>;

std::vector<std::string> defaultsFor(const GraphicsView& view, const Env& env = {},
                                     SdlKind kind = SdlKind::compat) {
    const EnvLookup lookup = [&env](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    std::vector<std::string> out;
    for (const char* setting : rendererDefaults(view, lookup, kind)) out.emplace_back(setting);
    return out;
}

const std::vector<std::string> kSoftware = {"SDL_RENDER_DRIVER=software",
                                            "SDL_FRAMEBUFFER_ACCELERATION=0",
                                            "SDL12COMPAT_SCALE_METHOD=nearest"};

GraphicsView withNode(const std::string& driver, bool usable = true, bool virgl = false) {
    GraphicsView view;
    view.renderNodes.push_back({driver, usable, virgl});
    return view;
}

TEST(RendererChoice, AGpuThisUserCanOpenLeavesSdlsChoiceAlone) {
    EXPECT_TRUE(defaultsFor(withNode("i915")).empty());
    EXPECT_TRUE(defaultsFor(withNode("amdgpu"), {{"DISPLAY", ":0"}}).empty());
    GraphicsView nvidia;
    nvidia.nvidiaControl = true;
    EXPECT_TRUE(defaultsFor(nvidia, {{"DISPLAY", "unix:1.0"}}).empty());
    // A memory-only device beside a real GPU does not hide it.
    GraphicsView both = withNode("vgem");
    both.renderNodes.push_back({"nouveau", true, false});
    EXPECT_TRUE(defaultsFor(both).empty());
}

TEST(RendererChoice, WithoutAGpuTheSoftwareRendererScalesByNearestPixels) {
    EXPECT_EQ(defaultsFor(GraphicsView{}), kSoftware);
    EXPECT_EQ(defaultsFor(withNode("i915", false)), kSoftware) << "a node this user cannot open";
    EXPECT_EQ(defaultsFor(withNode("vgem")), kSoftware);
    EXPECT_EQ(defaultsFor(withNode("virtio_gpu")), kSoftware) << "a virtual GPU without 3D";
    EXPECT_TRUE(defaultsFor(withNode("virtio_gpu", true, true)).empty()) << "with 3D passed through";
}

TEST(RendererChoice, SoftwareOpenGlAndRemoteDisplaysCountAsNoGpu) {
    const GraphicsView gpu = withNode("i915");
    EXPECT_EQ(defaultsFor(gpu, {{"LIBGL_ALWAYS_SOFTWARE", "1"}}), kSoftware);
    EXPECT_EQ(defaultsFor(gpu, {{"LIBGL_ALWAYS_SOFTWARE", "Yes"}}), kSoftware);
    EXPECT_TRUE(defaultsFor(gpu, {{"LIBGL_ALWAYS_SOFTWARE", "0"}}).empty());
    EXPECT_EQ(defaultsFor(gpu, {{"DISPLAY", "localhost:10.0"}}), kSoftware) << "ssh -X";
    EXPECT_EQ(defaultsFor(gpu, {{"DISPLAY", "192.168.1.5:0"}}), kSoftware);
    EXPECT_TRUE(defaultsFor(gpu, {{"DISPLAY", "/private/tmp/launch-x/org.xquartz:0"}}).empty());
    for (const char* session : {"XRDP_SESSION", "X2GO_SESSION", "VNCDESKTOP"})
        EXPECT_EQ(defaultsFor(gpu, {{session, "1"}, {"DISPLAY", ":10"}}), kSoftware) << session;
}

TEST(RendererChoice, ThePlayersOwnVariablesAlwaysWin) {
    EXPECT_EQ(defaultsFor(GraphicsView{}, {{"SDL_RENDER_DRIVER", "opengl"}}),
              std::vector<std::string>(kSoftware.begin() + 1, kSoftware.end()));
    EXPECT_EQ(defaultsFor(GraphicsView{}, {{"SDL12COMPAT_SCALE_METHOD", "linear"}}),
              std::vector<std::string>(kSoftware.begin(), kSoftware.begin() + 2));
    // Set to nothing is still the player's setting.
    EXPECT_EQ(defaultsFor(GraphicsView{}, {{"SDL_FRAMEBUFFER_ACCELERATION", ""}}),
              (std::vector<std::string>{kSoftware[0], kSoftware[2]}));
}

TEST(RendererChoice, OnAWaylandDesktopEachLibraryGetsWhatKeepsItsPictureAndPointerRight) {
    using V = std::vector<std::string>;
    const V keepMode = {"SDL_VIDEO_X11_XRANDR=0", "SDL_VIDEO_X11_VIDMODE=0"};
    const V paced = {"SDL12COMPAT_SYNC_TO_VBLANK=1", "SDL12COMPAT_SCALE_METHOD=nearest"};
    const GraphicsView gpu = withNode("i915"), none;
    const Env session = {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}};
    const Env native = {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"SDL_VIDEODRIVER", "wayland"}};
    V classicNoGpu = keepMode;
    classicNoGpu.insert(classicNoGpu.end(), kSoftware.begin(), kSoftware.end());
    const struct {
        const char* what;
        GraphicsView view;
        Env env;
        SdlKind kind;
        V expected;
    } cases[] = {
        {"classic SDL on XWayland keeps the desktop's mode", gpu, session, SdlKind::classic, keepMode},
        {"told by the session type", gpu, {{"XDG_SESSION_TYPE", "wayland"}}, SdlKind::classic, keepMode},
        {"and without a GPU too", none, session, SdlKind::classic, classicNoGpu},
        {"the player's own mode settings win", gpu,
         {{"WAYLAND_DISPLAY", "w"}, {"SDL_VIDEO_X11_VIDMODE", "1"}}, SdlKind::classic, {keepMode[0]}},
        {"an X11 desktop changes nothing", gpu, {{"DISPLAY", ":0"}, {"XDG_SESSION_TYPE", "x11"}},
         SdlKind::classic, {}},
        {"sdl12-compat on XWayland: as on X11", none, session, SdlKind::compat, kSoftware},
        {"sdl12-compat on Wayland itself, paced by the compositor", none, native, SdlKind::compat, paced},
        {"a list that names Wayland first", none, {{"SDL_VIDEODRIVER", "wayland,x11"}}, SdlKind::compat, paced},
        {"a name that only starts so", none, {{"SDL_VIDEODRIVER", "waylandx"}}, SdlKind::compat, kSoftware},
        {"Wayland as the only display", none, {{"WAYLAND_DISPLAY", "wayland-1"}}, SdlKind::compat, paced},
        {"on a GPU SDL2 chooses", gpu, native, SdlKind::compat, {}},
        {"the player's own scaling wins", none,
         {{"SDL_VIDEODRIVER", "wayland"}, {"SDL12COMPAT_SCALE_METHOD", "linear"}}, SdlKind::compat, {paced[0]}},
    };
    for (const auto& c : cases) EXPECT_EQ(defaultsFor(c.view, c.env, c.kind), c.expected) << c.what;
}

// A system's /dev and /sys as the kernel lays them out, below a folder.
class FakeSystem : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmora-gpu.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    void touch(const std::string& path, const std::string& text = "") {
        fs::create_directories(fs::path(root + path).parent_path());
        std::ofstream(root + path) << text;
    }
    // renderD<N>, its device and that device's driver, as links like the
    // kernel's.
    void renderNode(int minor, const std::string& device, const std::string& driver) {
        const std::string node = "renderD" + std::to_string(minor);
        touch("/dev/dri/" + node);
        fs::create_directories(root + "/sys/devices/" + device);
        fs::create_directories(root + "/sys/bus/drivers/" + driver);
        fs::create_directory_symlink("../../../bus/drivers/" + driver,
                                     root + "/sys/devices/" + device + "/driver");
        fs::create_directories(root + "/sys/class/drm/" + node);
        fs::create_directory_symlink("../../../devices/" + device,
                                     root + "/sys/class/drm/" + node + "/device");
    }

    std::string root;
};

TEST_F(FakeSystem, RenderNodesAreNamedByTheirDriverAndCardsAreNotRenderNodes) {
    touch("/dev/dri/card0");
    touch("/dev/dri/by-path/pci-0000:00:02.0-render");
    renderNode(128, "pci0000:00/0000:00:02.0", "i915");
    renderNode(129, "virtio1", "virtio_gpu");
    touch("/sys/devices/virtio1/features", "1000000000000000000000000000000000000000000000000000000000000000\n");
    renderNode(130, "virtio2", "virtio_gpu");
    touch("/sys/devices/virtio2/features", "0100000000000000000000000000000000000000000000000000000000000000\n");

    GraphicsView view = lookAtGraphics(root);
    std::map<std::string, RenderNode> byDriver;
    ASSERT_EQ(view.renderNodes.size(), 3u);
    int virgl = 0;
    for (const RenderNode& node : view.renderNodes) {
        EXPECT_TRUE(node.usable) << node.driver;
        if (node.driver == "virtio_gpu") virgl += node.virgl;
        else EXPECT_EQ(node.driver, "i915");
    }
    EXPECT_EQ(virgl, 1) << "one virtio GPU has 3D (bit 0), the other not";
    EXPECT_FALSE(view.nvidiaControl);
}

TEST_F(FakeSystem, NoRenderNodeMeansNoGpuUnlessNvidiasDriverIsThere) {
    touch("/dev/dri/card0");
    EXPECT_TRUE(lookAtGraphics(root).renderNodes.empty());
    EXPECT_EQ(defaultsFor(lookAtGraphics(root)), kSoftware);
    EXPECT_TRUE(lookAtGraphics(root + "/nothing-here").renderNodes.empty());

    touch("/dev/nvidiactl");
    EXPECT_TRUE(lookAtGraphics(root).nvidiaControl);
    EXPECT_TRUE(defaultsFor(lookAtGraphics(root)).empty());
}

}  // namespace
