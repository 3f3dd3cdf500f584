// Real input for the Wayland walk: a virtual pointer and a virtual keyboard
// on the compositor's seat, as a remote-desktop tool makes them. Commands
// come one a line on standard input, so that one keyboard, with one keymap,
// serves the whole walk (SDL2 2.26 crashed when tools made a new one for
// every key):
//   abs X Y        the pointer to output pixel (X, Y)
//   move DX DY     relative motion
//   button N 1|0   press or release mouse button N (1 left, 2 middle, 3 right)
//   key NAME 1|0   press or release the key of the keysym NAME (Escape, q, Return)
// Each command goes out at once; "sync" answers "ok" once the compositor has
// seen everything before it.
//   wl_input WIDTH HEIGHT   (the output's size, for absolute motion)
#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <sstream>
#include <string>

// The two protocols' interfaces, as wayland-scanner would write them from
// wlroots' virtual-pointer and the virtual-keyboard XML (requests in the
// XML's order: the opcode is the index).
namespace {

extern const wl_interface kPointer;
extern const wl_interface kKeyboard;

const wl_interface* kPointerManagerTypes[] = {&wl_seat_interface, &kPointer};
const wl_message kPointerManagerRequests[] = {{"create_virtual_pointer", "?on", kPointerManagerTypes},
                                              {"destroy", "", nullptr}};
const wl_interface kPointerManager = {"zwlr_virtual_pointer_manager_v1", 1, 2, kPointerManagerRequests,
                                      0, nullptr};

const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},         {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},         {"axis", "uuf", kNoTypes},
    {"frame", "", nullptr},              {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes},       {"axis_discrete", "uufi", kNoTypes},
    {"destroy", "", nullptr}};
const wl_interface kPointer = {"zwlr_virtual_pointer_v1", 1, 9, kPointerRequests, 0, nullptr};

const wl_interface* kKeyboardManagerTypes[] = {&wl_seat_interface, &kKeyboard};
const wl_message kKeyboardManagerRequests[] = {{"create_virtual_keyboard", "on", kKeyboardManagerTypes}};
const wl_interface kKeyboardManager = {"zwp_virtual_keyboard_manager_v1", 1, 1, kKeyboardManagerRequests,
                                       0, nullptr};

const wl_message kKeyboardRequests[] = {{"keymap", "uhu", kNoTypes},
                                        {"key", "uuu", kNoTypes},
                                        {"modifiers", "uuuu", kNoTypes},
                                        {"destroy", "", nullptr}};
const wl_interface kKeyboard = {"zwp_virtual_keyboard_v1", 1, 4, kKeyboardRequests, 0, nullptr};

enum { kPointerMotion = 0, kPointerAbsolute = 1, kPointerButton = 2, kPointerFrame = 4 };
enum { kKeyboardKeymap = 0, kKeyboardKey = 1, kKeyboardModifiers = 2 };

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* pointerManager = nullptr;
    wl_proxy* keyboardManager = nullptr;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* g = static_cast<Globals*>(data);
    if (std::strcmp(interface, "wl_seat") == 0 && !g->seat)
        g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, kPointerManager.name) == 0)
        g->pointerManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kPointerManager, 1));
    else if (std::strcmp(interface, kKeyboardManager.name) == 0)
        g->keyboardManager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kKeyboardManager, 1));
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

uint32_t nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<uint32_t>(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

// The evdev code of the key that gives keysym NAME at level 0, or -1.
int evdevKey(xkb_keymap* keymap, const std::string& name) {
    const xkb_keysym_t wanted = xkb_keysym_from_name(name.c_str(), XKB_KEYSYM_NO_FLAGS);
    if (wanted == XKB_KEY_NoSymbol) return -1;
    for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code) {
        const xkb_keysym_t* syms = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms) == 1 && syms[0] == wanted)
            return static_cast<int>(code) - 8;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wl_input WIDTH HEIGHT < commands\n");
        return 2;
    }
    const uint32_t width = static_cast<uint32_t>(std::stoul(argv[1]));
    const uint32_t height = static_cast<uint32_t>(std::stoul(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wl_input: no Wayland display\n");
        return 1;
    }
    Globals g;
    static const wl_registry_listener kListener = {onGlobal, onGlobalRemove};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kListener, &g);
    wl_display_roundtrip(display);
    if (!g.seat || !g.pointerManager || !g.keyboardManager) {
        std::fprintf(stderr, "wl_input: the compositor lacks a seat or the virtual input protocols\n");
        return 1;
    }
    wl_proxy* pointer = wl_proxy_marshal_flags(g.pointerManager, 0, &kPointer, 1, 0, g.seat, nullptr);
    wl_proxy* keyboard = wl_proxy_marshal_flags(g.keyboardManager, 0, &kKeyboard, 1, 0, g.seat, nullptr);

    // A whole keymap compiled by xkbcommon from the system's rules (us),
    // as a desktop's own keyboard has.
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_rule_names names{};
    xkb_keymap* keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
    char* text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    if (!text) {
        std::fprintf(stderr, "wl_input: no keymap could be compiled\n");
        return 1;
    }
    const size_t size = std::strlen(text) + 1;
    const int fd = memfd_create("velmora-keymap", MFD_CLOEXEC);
    if (fd < 0 || write(fd, text, size) != static_cast<ssize_t>(size)) {
        std::fprintf(stderr, "wl_input: cannot hand the keymap over\n");
        return 1;
    }
    std::free(text);
    wl_proxy_marshal_flags(keyboard, kKeyboardKeymap, nullptr, 1, 0, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                           static_cast<uint32_t>(size));
    wl_proxy_marshal_flags(keyboard, kKeyboardModifiers, nullptr, 1, 0, 0u, 0u, 0u, 0u);
    wl_display_roundtrip(display);
    close(fd);

    static const uint32_t kButtons[] = {BTN_LEFT, BTN_MIDDLE, BTN_RIGHT};
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command, name;
        int a = 0, b = 0;
        in >> command;
        bool ok = true;
        if (command == "abs" && in >> a >> b) {
            wl_proxy_marshal_flags(pointer, kPointerAbsolute, nullptr, 1, 0, nowMs(), static_cast<uint32_t>(a),
                                   static_cast<uint32_t>(b), width, height);
        } else if (command == "move" && in >> a >> b) {
            wl_proxy_marshal_flags(pointer, kPointerMotion, nullptr, 1, 0, nowMs(), wl_fixed_from_int(a),
                                   wl_fixed_from_int(b));
        } else if (command == "button" && in >> a >> b && a >= 1 && a <= 3) {
            wl_proxy_marshal_flags(pointer, kPointerButton, nullptr, 1, 0, nowMs(), kButtons[a - 1],
                                   static_cast<uint32_t>(b ? WL_POINTER_BUTTON_STATE_PRESSED
                                                           : WL_POINTER_BUTTON_STATE_RELEASED));
        } else if (command == "key" && in >> name >> b && evdevKey(keymap, name) >= 0) {
            wl_proxy_marshal_flags(keyboard, kKeyboardKey, nullptr, 1, 0, nowMs(),
                                   static_cast<uint32_t>(evdevKey(keymap, name)),
                                   static_cast<uint32_t>(b ? WL_KEYBOARD_KEY_STATE_PRESSED
                                                           : WL_KEYBOARD_KEY_STATE_RELEASED));
        } else if (command == "sync") {
            wl_display_roundtrip(display);
            std::printf("ok\n");
            std::fflush(stdout);
            continue;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "wl_input: cannot do '%s'\n", line.c_str());
            return 1;
        }
        if (command == "abs" || command == "move" || command == "button")
            wl_proxy_marshal_flags(pointer, kPointerFrame, nullptr, 1, 0);
        if (wl_display_flush(display) < 0) {
            std::fprintf(stderr, "wl_input: the compositor went away\n");
            return 1;
        }
    }
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    wl_display_disconnect(display);
    return 0;
}
