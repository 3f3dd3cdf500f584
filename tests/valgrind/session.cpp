// A whole scripted session through gameMain, for valgrind's memcheck
// (run.sh): the title, the main menu, the options screen with a choice in
// every row, the credits and back, back to the menu, a whole match played to
// its win, back to the menu, and Quit. It exits 0 only when the session went
// that way: the match saw the options' choices and ended with a side at 7.
//
//   session [--shots DIR]   (DIR: a BMP of the display at each step)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_menu.h"
#include "rally_player.h"

namespace {

// Cursor places whose click point (cursor + 25) lies on a target.
struct Spot {
    int x, y;
};
constexpr Spot kMenuOptions = {450, 370};
constexpr Spot kMenuStart = {425, 300};
constexpr Spot kMenuQuit = {425, 440};
constexpr Spot kStreetField = {325, 200};
constexpr Spot kEnemy2 = {430, 400};
constexpr Spot kClub2 = {370, 500};
constexpr Spot kCredits = {935, 725};
constexpr Spot kBack = {30, 725};
constexpr Spot kNowhere = {700, 650};

enum Phase {
    TITLE,         // the slide starts, then Return
    MENU_TO_OPTIONS,
    OPTIONS,       // a choice in each row, then Credits
    CREDITS,       // a while, then Back
    OPTIONS_BACK,  // wait out the click gate, then Back
    MENU_TO_START,
    MATCH,
    MENU_TO_QUIT,
    DONE
};

struct Session {
    Phase phase = TITLE;
    int step = 0;  // passes into the phase
    RallyPlayer player{6};
    bool sawChoices = true;
    bool won = false;
    int matchFrames = 0;
    int title = 0, menu = 0, options = 0, credits = 0;
    const char* shots = nullptr;

    void next(Phase p) {
        phase = p;
        step = -1;  // the pass that follows is step 0
    }

    void shot(const char* name) {
        if (!shots) return;
        const std::string file = std::string(shots) + "/" + name + ".bmp";
        SDL_SaveBMP(SDL_GetVideoSurface(), file.c_str());
    }

    static void moveTo(ScriptedIo& io, Spot s) { io.pushMotion(s.x, s.y); }

    // A press lands one pass after the move: a pass tests the click point
    // that the pass before it left.
    void pass(ScriptedIo& io) {
        ++step;
        io.delays.clear();
        io.played.clear();
        io.now += 20;  // 20 ms a pass: frame step 10 in the match
        if (phase != MATCH) io.buttons = 0;
        switch (phase) {
            case TITLE:
                ++title;
                if (step == 110) {  // 40 ms a pass: 2 s still, then the slide moves
                    shot("1-title");
                    io.keys = {SDLK_RETURN};
                    next(MENU_TO_OPTIONS);
                }
                break;
            case MENU_TO_OPTIONS:
                ++menu;
                io.keys.clear();
                if (step == 1) moveTo(io, kMenuOptions);
                if (step == 3) shot("2-menu");
                if (step == 3) {
                    io.buttons = SDL_BUTTON(1);  // the options screen opens in this pass
                    next(OPTIONS);
                }
                break;
            case OPTIONS:
                ++options;
                if (step == 0) moveTo(io, kStreetField);
                if (step == 1) io.buttons = SDL_BUTTON(1);
                if (step == 2) moveTo(io, kEnemy2);
                if (step == 3) io.buttons = SDL_BUTTON(1);
                if (step == 4) moveTo(io, kClub2);
                if (step == 5) io.buttons = SDL_BUTTON(1);
                if (step == 6) moveTo(io, kCredits);
                if (step == 7) shot("3-options");
                if (step == 7) {
                    io.buttons = SDL_BUTTON(1);  // the credits open in this pass
                    next(CREDITS);
                }
                break;
            case CREDITS:
                ++credits;
                if (step == 0) moveTo(io, kNowhere);
                if (step == 10) moveTo(io, kBack);
                if (step == 12) shot("4-credits");
                if (step == 12) {
                    io.buttons = SDL_BUTTON(1);  // the credits close in this pass
                    next(OPTIONS_BACK);
                }
                break;
            case OPTIONS_BACK:
                ++options;
                if (step == 0) moveTo(io, kNowhere);
                if (step == 30) moveTo(io, kBack);  // 640 ms on: the click gate is open
                if (step == 32) {
                    io.buttons = SDL_BUTTON(1);
                    next(MENU_TO_START);
                }
                break;
            case MENU_TO_START:
                ++menu;
                if (step == 30) moveTo(io, kMenuStart);
                if (step == 32) {
                    io.buttons = SDL_BUTTON(1);  // the match starts in this pass
                    next(MATCH);
                }
                break;
            case MATCH:
                break;  // afterFrame plays
            case MENU_TO_QUIT:
                ++menu;
                if (step == 2) shot("6-menu-after-match");
                if (step == 2) moveTo(io, kMenuQuit);
                if (step == 4) {
                    io.buttons = SDL_BUTTON(1);
                    next(DONE);
                }
                break;
            case DONE:
                // Quit was clicked; should the menu still run, Q ends it.
                io.keys = {SDLK_q};
                break;
        }
    }

    void frame(ScriptedIo& io, const MatchState& m) {
        ++matchFrames;
        if (m.fieldKind != 3 || m.enemyLevel != 2 || m.clubHeight != 10) sawChoices = false;
        if (matchFrames == 300) shot("5-match");
        player.act(m, io);
        if (m.matchOver) {
            won = m.cpuScore >= 7.0f || m.playerScore >= 7.0f;
            std::printf("match over after %d frames: CPU %.1f, player %.1f\n", matchFrames,
                        static_cast<double>(m.cpuScore), static_cast<double>(m.playerScore));
            io.buttons = 0;
            io.events.clear();
            next(MENU_TO_QUIT);
        }
        // A match that would not end is a failed session, not a hang.
        if (matchFrames > 40000) io.keys = {SDLK_ESCAPE};
    }
};

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    Session session;
    if (argc == 3 && std::string(argv[1]) == "--shots") session.shots = argv[2];

    ScriptedIo io;
    io.now = 100;
    io.beforePass = [&](ScriptedIo& s, int pass) {
        if (pass > 60000) s.pushQuit();  // never hang
        session.pass(s);
    };
    io.afterFrame = [&](ScriptedIo& s, const MatchState& m) { session.frame(s, m); };
    const int result = gameMain(argc, argv, io.io_);

    std::printf("session: %d title passes, %d menu, %d options, %d credits, %d match frames\n",
                session.title, session.menu, session.options, session.credits,
                session.matchFrames);
    bool ok = result == 0 && session.phase == DONE && session.won && session.sawChoices &&
              session.credits > 10;
    if (!session.sawChoices) std::printf("the match did not get the options' choices\n");
    if (!session.won) std::printf("the match did not end with a win\n");
    if (session.phase != DONE) std::printf("the session stopped in phase %d\n", session.phase);
    std::printf("%s\n", ok ? "session complete" : "session FAILED");
    return ok ? 0 : 1;
}
