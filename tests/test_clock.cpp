// The game clock after weeks of running: the library's 32-bit tick counter
// carried into the wide clock, and the menu and a whole match played with
// the clock past 2^31 ms (24.9 days) and across 2^32 (49.7 days), where a
// 32-bit signed clock used to freeze every gate.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/main_menu.h"
#include "rally_player.h"
#include "scripted_io.h"

namespace {

constexpr Clock kPast31 = Clock{1} << 31;
constexpr Clock kPast32 = Clock{1} << 32;

}  // namespace

TEST(TickExtender, CarriesTheWrapOfTheTickCounter) {
    TickExtender ext;
    EXPECT_EQ(5u, extendTicks(ext, 5));
    EXPECT_EQ(0x80000001u, extendTicks(ext, 0x80000001u));
    EXPECT_EQ(0xFFFFFFF0u, extendTicks(ext, 0xFFFFFFF0u));
    EXPECT_EQ(0xFFFFFFF0u, extendTicks(ext, 0xFFFFFFF0u)) << "the same reading twice is no wrap";
    EXPECT_EQ(kPast32 + 0x10, extendTicks(ext, 0x10));
    EXPECT_EQ(kPast32 + 0x20, extendTicks(ext, 0x20));
    EXPECT_EQ(kPast32 + 0x80000000u, extendTicks(ext, 0x80000000u));
    EXPECT_EQ(2 * kPast32 + 3, extendTicks(ext, 3)) << "a second wrap adds another 2^32";
}

namespace {

// A few values of each frame, enough to tell two matches apart.
using FrameTrace = std::array<int, 8>;

std::vector<FrameTrace> playFrom(Clock start, int level) {
    ScriptedIo s;
    MatchIo io = s.matchIo();
    s.now = start;
    MatchState m;
    setUpMatchState(m, io, 1, level, 6, 6, 6);
    // The seed comes from the clock; fix the draws so that only the clock's
    // offset differs between the runs.
    s.generator = 12345;
    m.cpuClubSpeed = 7;
    m.cpuClubHeight = 7;
    RallyPlayer player(7);
    std::vector<FrameTrace> trace;
    while (!m.matchOver && trace.size() < 200000) {
        m.frameStart = s.now;
        const RallyPlayer::Move move = player.decide(m);
        s.buttons = move.buttons;
        if (move.moves) {
            m.pointerX = move.x;
            m.pointerY = move.y;
        }
        if (runFrameStages(m, io) != WINNER_NONE) s.now += 2000;
        refreshDrawPositions(m);
        s.now += 10;
        m.frameStep = 5;
        trace.push_back({static_cast<int>(m.cpuScore * 2), static_cast<int>(m.playerScore * 2),
                         m.ballX, m.ballY, m.cpuX, m.playerX,
                         m.showScores << 3 | m.outShown << 2 | m.pointLineShown << 1 |
                             m.cpuServePending,
                         m.cpuBlockRoll});
    }
    return trace;
}

size_t firstDifference(const std::vector<FrameTrace>& a, const std::vector<FrameTrace>& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

TEST(ClockPastTheWrap, AWholeMatchPlaysFrameForFrameAsOnTheFirstDay) {
    for (int level = 1; level <= 3; ++level) {
        const std::vector<FrameTrace> firstDay = playFrom(4000, level);
        ASSERT_LT(firstDay.size(), 200000u) << "level " << level << ": the reference match must end";
        // Begun after 24.9 days; begun shortly before 2^31 and 2^32 so that
        // the match runs across them.
        for (Clock start : {kPast31 + 4000, kPast31 - 60000, kPast32 - 60000}) {
            const std::vector<FrameTrace> later = playFrom(start, level);
            EXPECT_EQ(firstDay.size(), later.size()) << "level " << level << ", clock from " << start;
            EXPECT_EQ(firstDay.size(), firstDifference(firstDay, later))
                << "level " << level << ", clock from " << start << ": first different frame";
        }
    }
}

TEST(ClockPastTheWrap, MainMenuTakesClicksAfter25Days) {
    ScriptedIo s;
    int pressedAt = -1;
    s.beforePass = [&](ScriptedIo& io, int pass) {
        if (pass > 400) io.pushQuit();  // never hang a failing test
        io.keys = {SDLK_RETURN};         // past the title
        io.now = kPast31 + 86400000 + static_cast<Clock>(pass) * 10;
        if (pass == 2) io.pushMotion(425, 440);  // the hot spot on "Quit"
        if (pass == 5) {
            io.buttons = SDL_BUTTON(1);
            pressedAt = pass;
        }
    };
    EXPECT_EQ(0, gameMain(0, nullptr, s.io_));
    EXPECT_EQ(pressedAt + 1, s.passes) << "the press on Quit ends the menu in its own pass";
}
