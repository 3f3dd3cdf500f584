// How long a frame takes, headless: SDL's dummy video driver stands in for
// the screen and a scripted platform for the clock and the input, so what is
// measured is the game's own work (stages, blits, flip) in real wall time.
//
//   LeastFrame   one blit of the 1024 x 768 field image to the display and
//                the flip: what every frame costs at the very least;
//   MatchFrame   one whole match frame at its heaviest: the ball in flight
//                with its shadow, the aiming overlay up, a message and both
//                scores shown, every stage run (runMatchFrame, match.h);
//   MenuPass     one pass of the main menu (gameMain);
//   OptionsPass  one pass of the options screen (runOptionsScreen).
//
// After the table the program prints MatchFrame / LeastFrame. A scripted
// delay costs no real time, so the 10 ms pacing of the loops is not measured.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/i_video.h"
#include "app/main_menu.h"
#include "match/match.h"
#include "match/match_state.h"
#include "screens/screens.h"
#include "scripted_io.h"

namespace {

using WallClock = std::chrono::steady_clock;

double secondsBetween(WallClock::time_point from, WallClock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

bool initVideo(benchmark::State& state) {
    if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    state.SkipWithError(SDL_GetError());
    return false;
}

void BM_LeastFrame(benchmark::State& state) {
    if (!initVideo(state)) return;
    SDL_Surface* display = setGameVideoMode();
    SDL_Surface* field = loadImage("data/VMFeld.bmp");
    for (auto _ : state) {
        const auto start = WallClock::now();
        blitAt(field, display, 0, 0);
        SDL_Flip(display);
        state.SetIterationTime(secondsBetween(start, WallClock::now()));
    }
    SDL_FreeSurface(field);
    SDL_Quit();
}

// The heaviest frame the drawing knows: every image of the frame is blitted.
// In play the aim and a flying ball never meet; here the player charges a
// shot while the last one still flies, so both the overlay and the ball with
// its shadow apart from it are drawn, under "POINT LINE" and both scores.
void setHeaviestFrame(MatchState& m, Clock now) {
    m.matchOver = false;
    m.frameStep = 5;
    m.pointerX = 470;
    m.pointerY = 420;
    m.aiming = true;
    m.readyToAim = false;
    m.chargeStarted = true;
    m.driftDirection = 3;
    m.aimDriftX = 12;
    m.aimDriftY = 12;
    m.barCoverX = 480;  // charging, far from the bar's end
    m.playerBallInFlight = true;
    m.shotOnTarget = true;
    m.power = 8;
    m.lift = 5;
    m.curve = 4;
    m.curveSide = 1;
    m.shotStart = now - 300;  // the shadow falls 35 pixels below the ball
    m.cpuBlockRoll = 5;       // the CPU lets it pass
    m.pointLineShown = true;
    m.outShown = false;
    m.messageArmed = false;
    m.messageStart = now;
    m.lastMessageTime = now;
    m.showScores = true;
    m.cpuScore = 3.5f;
    m.playerScore = 4.0f;
}

void BM_MatchFrame(benchmark::State& state) {
    if (!initVideo(state)) return;
    ScriptedIo s;
    s.now = 1000;
    const GameIo io = s.io_;
    MatchFrames* frames = openMatchFrames(1, 1, 6, 6, 6, io);
    MatchState& m = matchFramesState(frames);
    s.buttons = SDL_BUTTON(1);  // the left button charges
    setHeaviestFrame(m, s.now);
    runMatchFrame(frames);  // the score texts are rendered in the first frame
    int step = 0;
    for (auto _ : state) {
        // Each frame starts from the same heaviest state; the pointer moves.
        setHeaviestFrame(m, s.now);
        s.pushMotion(470 + step % 7, 420 - step % 5);
        ++step;
        const auto start = WallClock::now();
        runMatchFrame(frames);
        state.SetIterationTime(secondsBetween(start, WallClock::now()));
        if (!m.aiming || !m.playerBallInFlight || !m.pointLineShown || !m.showScores) {
            state.SkipWithError("the frame left its heaviest state");
            break;
        }
    }
    closeMatchFrames(frames);
    SDL_Quit();
}

// Times whole passes of a screen's loop from inside it: each pass is
// measured from the end of one beforePass to the start of the next, which is
// one whole pass (events, updates, drawing, flip, pacing). The script calls
// pass() last in each beforePass; once it returns false the benchmark has
// all its passes and the script makes the screen leave by one of its exits.
struct PassTimer {
    explicit PassTimer(benchmark::State& s) : state(s) {}

    benchmark::State& state;
    bool timing = false;
    bool done = false;
    WallClock::time_point last;

    // Returns false once the benchmark has all its passes.
    bool pass() {
        const auto now = WallClock::now();
        if (done) return false;
        if (timing) state.SetIterationTime(secondsBetween(last, now));
        if (!state.KeepRunning()) {
            done = true;
            return false;
        }
        timing = true;
        last = WallClock::now();
        return true;
    }
};

void BM_MenuPass(benchmark::State& state) {
    ScriptedIo s;
    s.now = 1000;
    PassTimer timer(state);
    s.beforePass = [&](ScriptedIo& io, int pass) {
        io.now += 10;
        io.keys.clear();
        if (pass == 0) {  // the intro's first pass: Return leaves it
            io.keys.insert(SDLK_RETURN);
            return;
        }
        io.pushMotion(200 + pass % 300, 600 - pass % 200);  // over no label
        if (pass > 1 && !timer.pass()) io.keys.insert(SDLK_q);  // the menu's own exit
    };
    gameMain(0, nullptr, s.io_);
    SDL_Quit();
}

void BM_OptionsPass(benchmark::State& state) {
    if (!initVideo(state)) return;
    ScriptedIo s;
    s.now = 1000;
    PassTimer timer(state);
    // Cursor places whose click point (cursor + 25) picks Cel-Shading,
    // enemy 2 and club 3, so that every marker is drawn.
    const int picks[3][2] = {{350, 130}, {430, 400}, {470, 500}};
    s.beforePass = [&](ScriptedIo& io, int pass) {
        io.now += 10;
        io.buttons = 0;
        if (pass < 6) {
            // A move, then a press one pass later: the click point is the
            // one the previous pass left.
            if (pass % 2 == 0) io.pushMotion(picks[pass / 2][0], picks[pass / 2][1]);
            else io.buttons = SDL_BUTTON(1);
            return;
        }
        io.pushMotion(700 + pass % 200, 300 - pass % 100);  // over no choice
        if (pass > 6 && !timer.pass()) io.pushQuit();  // closing the window leaves
    };
    int fieldKind = 1, enemyLevel = 1, clubHeight = 6, clubSpeed = 6, clubPrecision = 6;
    runOptionsScreen(0, nullptr, fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision,
                     s.io_);
    if (fieldKind != 2 || enemyLevel != 2 || clubSpeed != 10)
        state.SkipWithError("the options passes did not show every marker");
    SDL_Quit();
}

// The fastest repetition: another program's burst only ever adds time, so
// the least of several means is the steadiest figure on a shared machine.
double fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void timedCase(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", fastest);
}

BENCHMARK(BM_LeastFrame)->Name("LeastFrame")->Apply(timedCase);
BENCHMARK(BM_MatchFrame)->Name("MatchFrame")->Apply(timedCase);
BENCHMARK(BM_MenuPass)->Name("MenuPass")->Apply(timedCase);
BENCHMARK(BM_OptionsPass)->Name("OptionsPass")->Apply(timedCase);

// Google Benchmark 1.8 replaced the run's error flag with a skip state.
bool failedRun(const benchmark::BenchmarkReporter::Run& run) {
#if VELMORA_BENCHMARK_SKIP_STATE
    return run.skipped == benchmark::internal::SkippedWithError;
#else
    return run.error_occurred;
#endif
}

// The console table, and each case's time kept for the ratio: the fastest
// repetition's mean when there are several (bench/run.sh asks for them),
// else the one run's mean.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    std::map<std::string, double> microseconds;
    std::set<std::string> failed;

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports) {
            const std::string name = run.run_name.function_name;
            if (failedRun(run)) {
                failed.insert(name);
                continue;
            }
            const double us =
                run.GetAdjustedRealTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                microseconds[name] = us;
                fastestSeen.insert(name);
            } else if (run.run_type == Run::RT_Iteration && !fastestSeen.count(name)) {
                microseconds[name] = us;
            }
        }
    }

private:
    std::set<std::string> fastestSeen;
};

// Callers give --benchmark_min_time in seconds as a bare number, the only
// form Google Benchmark 1.7 reads; 1.8 and later want a unit ("0.2s") and
// warn about a bare number, so it gets one there.
std::vector<std::string> minTimeWithUnit(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
#if VELMORA_BENCHMARK_SKIP_STATE
    static const char kFlag[] = "--benchmark_min_time=";
    for (std::string& a : args) {
        if (a.compare(0, sizeof kFlag - 1, kFlag) != 0) continue;
        const std::string value = a.substr(sizeof kFlag - 1);
        char* end = nullptr;
        std::strtod(value.c_str(), &end);
        if (!value.empty() && end && *end == '\0') a += 's';
    }
#endif
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    // The cost of drawing is what is measured: every pass draws and flips,
    // still or not.
    restStillPictures(false);
    std::vector<std::string> args = minTimeWithUnit(argc, argv);
    std::vector<char*> argPointers;
    for (std::string& a : args) argPointers.push_back(a.data());
    argPointers.push_back(nullptr);
    argc = static_cast<int>(args.size());
    argv = argPointers.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    const size_t ran = benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (ran == 0) {
        std::printf("FAILED: no benchmark ran\n");
        return 1;
    }
    int status = 0;
    for (const std::string& name : reporter.failed) {
        std::printf("FAILED: %s did not run\n", name.c_str());
        status = 1;
    }
    // A filter may have left out one of the two; then there is no ratio.
    const auto least = reporter.microseconds.find("LeastFrame");
    const auto match = reporter.microseconds.find("MatchFrame");
    if (least == reporter.microseconds.end() || match == reporter.microseconds.end()) return status;

    std::printf("\n");
    for (const char* name : {"LeastFrame", "MatchFrame", "MenuPass", "OptionsPass"}) {
        const auto it = reporter.microseconds.find(name);
        if (it != reporter.microseconds.end()) std::printf("%-12s %8.1f us\n", name, it->second);
    }
    const double ratio = match->second / least->second;
    std::printf("ratio MatchFrame / LeastFrame = %.2f (target: at most 1.5, and a match frame "
                "well under 2000 us)\n",
                ratio);
    if (ratio > 1.5 || match->second >= 2000.0)
        std::printf("note: above the target on this machine\n");
    return status;
}
