#include "replay.h"

#include <cstdio>
#include <sstream>

#include "platform/i_video.h"
#include "app/main_menu.h"
#include "match/match.h"
#include "screens/screens.h"

namespace {

// FNV-1a: a short, stable digest of a text.
uint32_t digest(const std::string& text, uint32_t h = 2166136261u) {
    for (unsigned char c : text) h = (h ^ c) * 16777619u;
    return h;
}

std::string hex(uint32_t value) {
    char out[9];
    std::snprintf(out, sizeof out, "%08x", value);
    return out;
}

// Every field of the record, in a fixed order.
std::string stateText(const MatchState& m) {
    std::ostringstream o;
    auto put = [&o](auto value) { o << +value << ' '; };
    for (int v : {m.fieldKind, m.enemyLevel, m.clubHeight, m.clubSpeed, m.clubPrecision})
        put(v);
    for (bool b : {m.matchOver, m.aiming, m.readyToAim, m.charging, m.chargeStarted, m.released,
                   m.shotOnTarget, m.playerBallInFlight, m.cpuBallInFlight, m.playerReturning,
                   m.playerCarriesBall, m.cpuRecovering, m.cpuCarriesBall, m.cpuServePending,
                   m.cpuReadsSides, m.cpuReadsHeight, m.outShown, m.pointLineShown,
                   m.showScores, m.messageArmed})
        put(b);
    auto putAll = [&o](auto... values) { ((o << +values << ' '), ...); };
    putAll(m.frameStart, m.frameStep, m.pointerX, m.pointerY, m.ballCentreX,
                  m.ballCentreY, m.crosshairRect.x, m.crosshairRect.y,
                  m.crosshairCentreX, m.crosshairCentreY, m.aimDriftRate, m.cpuClubSpeed,
                  m.cpuClubHeight, m.aimDriftX, m.aimDriftY, m.driftDirection, m.power, m.lift,
                  m.curve, m.curveSide, m.crosshairX, m.crosshairY, m.barCoverX, m.playerX,
                  m.ballX, m.ballY, m.shadowY, m.flightSpeed, m.flightHeight, m.flightTime,
                  m.curveStep, m.shotStart, m.cpuX, m.cpuBlockRoll, m.cpuRecoverEnd,
                  m.rightShots, m.leftShots, m.centreShots, m.heightTendency, m.lastSideCount,
                  m.lastHeightCount, m.lastBlockRoll, m.lastPlayerShotScore, m.lastCpuShotScore,
                  m.lastZoneSound, m.lastMessageTime, m.messageStart);
    o << m.cpuScore << ' ' << m.playerScore << ' ' << m.cpuScoreText << ' ' << m.playerScoreText;
    return o.str();
}

// What a reader of the trace follows a match by.
std::string matchSummary(const MatchState& m) {
    std::ostringstream o;
    o << "step " << m.frameStep << " ball " << m.ballX << ',' << m.ballY << '/' << m.shadowY
      << " player " << m.playerX << " cpu " << m.cpuX << " score " << m.cpuScore << '/'
      << m.playerScore;
    const std::pair<bool, const char*> flags[] = {
        {m.aiming, "aiming"},         {m.charging, "charging"},
        {m.playerBallInFlight, "shot"}, {m.cpuBallInFlight, "cpu-shot"},
        {m.playerReturning, "walk"},  {m.cpuRecovering, "cpu-walk"},
        {m.cpuServePending, "serve"}, {m.outShown, "OUT"},
        {m.pointLineShown, "POINT-LINE"}, {m.showScores, "scores"},
        {m.matchOver, "over"}};
    for (const auto& f : flags)
        if (f.first) o << ' ' << f.second;
    return o.str();
}

const char* const kSoundNames[SOUND_COUNT] = {"charge", "shot",          "cpu-block",
                                              "catch",  "player-scores", "cpu-scores"};

constexpr int kCheckpointEvery = 100;

// Builds the trace from the video watch and the platform's hooks.
struct Tracer {
    ScriptedIo& s;
    std::ostringstream out;
    uint32_t chain = 2166136261u;
    std::vector<std::string> drawn;  // since the last flip: fills and blits, in order
    std::vector<std::string> flipped;  // what the pending flip showed
    std::string lastDrawn, lastShape, lastSummary;
    bool pending = false;           // a flip whose line is not written yet
    int pendingPass = 0;
    Clock pendingClock = 0;
    size_t soundsSeen = 0;
    int haltsSeen = 0;
    int lines = 0;
    bool everyFrame = false;  // a line for every match frame, for writing demos

    explicit Tracer(ScriptedIo& io) : s(io) {}

    static void onFill(void* ctx, Uint8 r, Uint8 g, Uint8 b) {
        static_cast<Tracer*>(ctx)->drawn.push_back("fill " + std::to_string(r) + "," +
                                                   std::to_string(g) + "," + std::to_string(b));
    }
    static void onBlit(void* ctx, const char* image, int, int, int x, int y) {
        std::string name;
        for (const char* c = image; *c; ++c) {
            // Texts are Latin-1; the trace stays ASCII.
            const unsigned char byte = static_cast<unsigned char>(*c);
            if (byte < 0x80) {
                name += *c;
            } else {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
                name += escaped;
            }
        }
        if (name.compare(0, 5, "data/") == 0) name.erase(0, 5);
        // By name and place only: redrawn art of another size leaves the
        // traces as they are.
        static_cast<Tracer*>(ctx)->drawn.push_back(name + " @" + std::to_string(x) + "," +
                                                   std::to_string(y));
    }
    static void onFlip(void* ctx) {
        Tracer& t = *static_cast<Tracer*>(ctx);
        t.finishScreenPass();
        t.flipped.swap(t.drawn);
        t.drawn.clear();
        t.pending = true;
        t.pendingPass = t.s.passes - 1;
        t.pendingClock = t.s.now;
    }

    std::string drawList() const {
        std::string list;
        for (const std::string& d : flipped) list += (list.empty() ? "" : "; ") + d;
        return list;
    }

    // The names in order, without places: changes when something appears,
    // goes or is drawn in another order.
    std::string shape() const {
        std::string names;
        for (const std::string& d : flipped) names += d.substr(0, d.find(" @")) + ";";
        return names;
    }

    std::string soundsSinceLast() {
        std::string text;
        for (; soundsSeen < s.played.size(); ++soundsSeen) {
            const int id = s.played[soundsSeen];
            text += std::string(" +") + (id >= 0 && id < SOUND_COUNT ? kSoundNames[id] : "?");
        }
        for (; haltsSeen < s.halts; ++haltsSeen) text += " halt";
        return text;
    }

    void line(const std::string& text) {
        out << "p" << pendingPass << " t" << pendingClock << " " << hex(chain) << " " << text
            << "\n";
        ++lines;
    }

    // A pass of a menu, the intro or a winner's text: a line when what is
    // drawn changes, and every so often.
    void finishScreenPass() {
        if (!pending) return;
        pending = false;
        const std::string list = drawList();
        chain = digest(list, chain);
        const std::string sounds = soundsSinceLast();
        if (list != lastDrawn || !sounds.empty() || pendingPass % kCheckpointEvery == 0)
            line("draw: " + list + sounds);
        lastDrawn = list;
        lastShape.clear();
    }

    // A match frame: a line when its state changes in a way a reader
    // follows, when a sound plays, when the drawing changes its make-up,
    // and every so often; the chain covers every frame whole.
    void matchFrame(const MatchState& m) {
        if (!pending) return;
        pending = false;
        const std::string list = drawList();
        chain = digest(stateText(m) + "|" + list, chain);
        const std::string summary = matchSummary(m);
        const std::string sounds = soundsSinceLast();
        const std::string now = shape();
        // The score and the flags, not the moving positions.
        auto flags = [](const std::string& text) {
            const size_t at = text.find(" score ");
            return at == std::string::npos ? std::string() : text.substr(at);
        };
        if (everyFrame || flags(summary) != flags(lastSummary) || !sounds.empty() || now != lastShape ||
            pendingPass % kCheckpointEvery == 0)
            line(summary + sounds);
        if (now != lastShape) out << "  draw: " << list << "\n";
        lastSummary = summary;
        lastShape = now;
        lastDrawn.clear();
    }

    std::string finish() {
        finishScreenPass();
        out << "end t" << s.now << " passes " << s.passes << " " << hex(chain) << soundsSinceLast()
            << "\n";
        return out.str();
    }
};

SDLKey keyNamed(const std::string& name) {
    if (name == "escape") return SDLK_ESCAPE;
    if (name == "return") return SDLK_RETURN;
    if (name == "q") return SDLK_q;
    return SDLK_UNKNOWN;
}

void applyAction(ScriptedIo& s, int& work, const std::string& action) {
    std::istringstream in(action);
    std::string verb;
    in >> verb;
    if (verb == "buttons") {
        int mask = 0;
        in >> mask;
        s.buttons = static_cast<uint8_t>(mask);
    } else if (verb == "motion") {
        int x = 0, y = 0;
        in >> x >> y;
        s.pushMotion(x, y);
    } else if (verb == "key") {
        std::string name, how;
        in >> name >> how;
        if (how == "down")
            s.keys.insert(keyNamed(name));
        else
            s.keys.erase(keyNamed(name));
    } else if (verb == "quit") {
        s.pushQuit();
    } else if (verb == "work") {
        in >> work;
    }
}

bool knownAction(const std::string& action) {
    std::istringstream in(action);
    std::string verb;
    in >> verb;
    if (verb == "buttons" || verb == "work") {
        int n;
        return static_cast<bool>(in >> n);
    }
    if (verb == "motion") {
        int x, y;
        return static_cast<bool>(in >> x >> y);
    }
    if (verb == "key") {
        std::string name, how;
        return (in >> name >> how) && keyNamed(name) != SDLK_UNKNOWN && (how == "down" || how == "up");
    }
    return verb == "quit";
}

}  // namespace

std::string parseDemo(const std::string& text, Demo& demo) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    bool body = false;
    while (std::getline(in, raw)) {
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (raw.empty()) continue;
        if (raw[0] == '#') {
            if (!body) demo.comment += raw + "\n";
            continue;
        }
        body = true;
        std::istringstream line(raw);
        std::string word;
        line >> word;
        if (word == "run") {
            line >> demo.run;
            if (demo.run == "match") {
                for (int& v : demo.settings)
                    if (!(line >> v)) return where + "run match needs five numbers";
            } else if (demo.run != "game" && demo.run != "intro" && demo.run != "options" &&
                       demo.run != "credits") {
                return where + "unknown run " + demo.run;
            }
        } else if (word == "clock") {
            if (!(line >> demo.clock)) return where + "clock needs a number";
        } else if (word == "work") {
            if (!(line >> demo.work)) return where + "work needs a number";
        } else if (word.size() > 1 && word[0] == '@') {
            int pass = -1;
            try {
                pass = std::stoi(word.substr(1));
            } catch (...) {
            }
            std::string action;
            std::getline(line >> std::ws, action);
            if (pass < 0 || !knownAction(action)) return where + "bad action: " + raw;
            demo.actions[pass].push_back(action);
        } else {
            return where + "unknown: " + raw;
        }
    }
    return "";
}

std::string formatDemo(const Demo& demo) {
    std::ostringstream o;
    o << demo.comment << "run " << demo.run;
    if (demo.run == "match")
        for (int v : demo.settings) o << ' ' << v;
    o << "\nclock " << demo.clock << "\nwork " << demo.work << "\n";
    for (const auto& [pass, actions] : demo.actions)
        for (const std::string& a : actions) o << '@' << pass << ' ' << a << "\n";
    return o.str();
}

std::string replayDemo(Demo& demo, const DemoPlayer& player, bool everyFrame,
                       const DemoPlatform& platform) {
    ScriptedIo s;
    s.now = demo.clock;
    Tracer tracer(s);
    tracer.everyFrame = everyFrame;
    int work = demo.work;
    // A run that has strayed from its recorded input (the rules changed)
    // ends soon after the input runs out instead of playing on unattended.
    const int lastPass = demo.actions.empty() ? 0 : demo.actions.rbegin()->first;
    const int passLimit = player ? 200000 : lastPass + 1000;
    s.beforePass = [&demo, &work, passLimit](ScriptedIo& io, int pass) {
        auto it = demo.actions.find(pass);
        if (it != demo.actions.end())
            for (const std::string& action : it->second) applyAction(io, work, action);
        io.now += work;
        if (pass >= passLimit) io.pushQuit();
    };
    s.afterFrame = [&tracer, &player, &demo](ScriptedIo& io, const MatchState& m) {
        tracer.matchFrame(m);
        if (player) player(io, m, demo);
    };
    const VideoWatch watch = {&tracer, Tracer::onFill, Tracer::onBlit, Tracer::onFlip};
    watchVideo(&watch);

    const GameIo& io = platform ? platform(s) : s.io_;
    int* v = demo.settings;
    if (demo.run == "game") {
        gameMain(0, nullptr, io);
    } else if (demo.run == "intro") {
        runIntroScreen(0, nullptr, io);
    } else if (demo.run == "options") {
        runOptionsScreen(0, nullptr, v[0], v[1], v[2], v[3], v[4], io);
    } else if (demo.run == "credits") {
        runCreditsScreen(0, nullptr, io);
    } else if (demo.run == "match") {
        runMatch(0, nullptr, v[0], v[1], v[2], v[3], v[4], io);
    }
    watchVideo(nullptr);
    std::string trace = tracer.finish();
    if (demo.run == "options") {
        trace += "settings";
        for (int i = 0; i < 5; ++i) trace += " " + std::to_string(v[i]);
        trace += "\n";
    }
    return trace;
}

std::string firstDifference(const std::string& expected, const std::string& actual) {
    std::istringstream a(expected), b(actual);
    std::string la, lb;
    for (int n = 1;; ++n) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreB = static_cast<bool>(std::getline(b, lb));
        if (!moreA && !moreB) return "";
        if (!moreA) la = "(end)";
        if (!moreB) lb = "(end)";
        if (la != lb || !moreA || !moreB)
            return "line " + std::to_string(n) + ":\n- " + la + "\n+ " + lb;
    }
}
