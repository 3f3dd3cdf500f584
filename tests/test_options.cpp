// The options screen: its click targets, what each choice writes, the
// defaults forced on rows not chosen in a visit, the click gate and its
// re-arming after the credits, and whole visits driven pass by pass.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "scripted_io.h"
#include "sdl_video_env.h"
#include "screens/options.h"
#include "screens/screens.h"
#include "screens/settings.h"

namespace {

::testing::Environment* const kSdl = ::testing::AddGlobalTestEnvironment(new SdlVideo);

enum Target {
    STANDARD, CEL_SHADING, STREET, LAWN, ENEMY_1, ENEMY_2, ENEMY_3,
    CLUB_1, CLUB_2, CLUB_3, CLUB_4, BACK, CREDITS, NO_TARGET = -1
};

struct Box {
    int left, top, right, bottom;
};

// The boxes as the screen promises them, written out independently of the
// table in the code.
const Box kExpectedBoxes[kOptionsTargetCount] = {
    {300, 60, 400, 110},  {300, 130, 450, 180}, {300, 200, 400, 250}, {300, 270, 400, 320},
    {340, 400, 370, 450}, {440, 400, 470, 450}, {540, 400, 570, 450}, {270, 500, 320, 550},
    {370, 500, 420, 550}, {470, 500, 520, 550}, {570, 500, 620, 550}, {10, 730, 100, 768},
    {900, 730, 1024, 768},
};

struct Values {
    int fieldKind, enemyLevel, clubHeight, clubSpeed, clubPrecision;
};

bool operator==(const Values& a, const Values& b) {
    return a.fieldKind == b.fieldKind && a.enemyLevel == b.enemyLevel &&
           a.clubHeight == b.clubHeight && a.clubSpeed == b.clubSpeed &&
           a.clubPrecision == b.clubPrecision;
}

std::ostream& operator<<(std::ostream& out, const Values& v) {
    return out << "(" << v.fieldKind << ", " << v.enemyLevel << ", " << v.clubHeight << ", "
               << v.clubSpeed << ", " << v.clubPrecision << ")";
}

SettingsRefs refsTo(Values& v) {
    return SettingsRefs{v.fieldKind, v.enemyLevel, v.clubHeight, v.clubSpeed, v.clubPrecision};
}

// Puts the hot spot (cursor + 25) in the middle of a target.
void pointAt(ScriptedIo& io, int target) {
    const Box& b = kExpectedBoxes[target];
    io.pushMotion((b.left + b.right) / 2 - 25, (b.top + b.bottom) / 2 - 25);
}

struct OptionsRun {
    ScriptedIo s;
    Values settings = {3, 2, 5, 10, 5};  // anything but the defaults
    void run(PassScript script) {
        Values& v = settings;
        runScripted(s, 3000, script, [&v](const GameIo& io) {
            return runOptionsScreen(0, nullptr, v.fieldKind, v.enemyLevel, v.clubHeight,
                                    v.clubSpeed, v.clubPrecision, io);
        });
    }
};

// Clicks the targets in turn (move, press, release: three passes each) with
// the gate long open, then holds Escape.
std::function<void(ScriptedIo&, int)> clickThenEscape(std::vector<int> targets) {
    return [targets](ScriptedIo& io, int pass) {
        io.now = 1000 + pass * 20;
        const size_t step = static_cast<size_t>(pass / 3);
        if (step < targets.size()) {
            if (pass % 3 == 0) pointAt(io, targets[step]);
            io.buttons = pass % 3 == 1 ? SDL_BUTTON(1) : 0;
        } else {
            io.keys.insert(SDLK_ESCAPE);
        }
    };
}

Values visit(Values before, std::vector<int> targets) {
    OptionsRun r;
    r.settings = before;
    r.run(clickThenEscape(targets));
    return r.settings;
}

const Values kDefaults = {1, 1, 6, 6, 6};

}  // namespace

TEST(OptionsTargets, StrictBoundsOnEverySideInTableOrder) {
    for (int i = 0; i < kOptionsTargetCount; ++i) {
        const Box& b = kExpectedBoxes[i];
        const int midX = (b.left + b.right) / 2, midY = (b.top + b.bottom) / 2;
        EXPECT_EQ(i, optionsTargetAt(midX, midY)) << "middle of target " << i;
        EXPECT_EQ(i, optionsTargetAt(b.left + 1, b.top + 1)) << "target " << i;
        EXPECT_EQ(i, optionsTargetAt(b.right - 1, b.bottom - 1)) << "target " << i;
        EXPECT_NE(i, optionsTargetAt(b.left, midY)) << "left bound of target " << i;
        EXPECT_NE(i, optionsTargetAt(b.right, midY)) << "right bound of target " << i;
        EXPECT_NE(i, optionsTargetAt(midX, b.top)) << "top bound of target " << i;
        EXPECT_NE(i, optionsTargetAt(midX, b.bottom)) << "bottom bound of target " << i;
    }
    EXPECT_EQ(NO_TARGET, optionsTargetAt(300, 85));
    EXPECT_EQ(NO_TARGET, optionsTargetAt(400, 85));
    EXPECT_EQ(NO_TARGET, optionsTargetAt(420, 85)) << "Standard stops at 400";
    EXPECT_EQ(CEL_SHADING, optionsTargetAt(449, 155)) << "Cel-Shading reaches to 450";
    EXPECT_EQ(NO_TARGET, optionsTargetAt(405, 425)) << "between Enemy 1 and 2";
    EXPECT_EQ(NO_TARGET, optionsTargetAt(345, 525)) << "between Club 1 and 2";
    EXPECT_EQ(NO_TARGET, optionsTargetAt(25, 25)) << "the hot spot a visit starts with";
    EXPECT_EQ(CREDITS, optionsTargetAt(1023, 767));
}

TEST(OptionsChoices, EachTargetWritesItsValuesAndMovesOnlyItsMarker) {
    struct Case {
        int target;
        Values after;
        MarkerPos field, enemy, club;
    };
    const MarkerPos hid = kHiddenMarker;
    const Values start = {9, 9, 9, 9, 9};
    const Case cases[] = {
        {STANDARD, {1, 9, 9, 9, 9}, {250, 50}, hid, hid},
        {CEL_SHADING, {2, 9, 9, 9, 9}, {250, 120}, hid, hid},
        {STREET, {3, 9, 9, 9, 9}, {250, 190}, hid, hid},
        {LAWN, {4, 9, 9, 9, 9}, {250, 260}, hid, hid},
        {ENEMY_1, {9, 1, 9, 9, 9}, hid, {290, 400}, hid},
        {ENEMY_2, {9, 2, 9, 9, 9}, hid, {390, 400}, hid},
        {ENEMY_3, {9, 3, 9, 9, 9}, hid, {490, 400}, hid},
        {CLUB_1, {9, 9, 6, 6, 6}, hid, hid, {240, 500}},
        {CLUB_2, {9, 9, 10, 5, 5}, hid, hid, {340, 500}},
        {CLUB_3, {9, 9, 5, 10, 5}, hid, hid, {440, 500}},
        {CLUB_4, {9, 9, 2, 5, 10}, hid, hid, {540, 500}},
        {BACK, start, hid, hid, hid},
        {CREDITS, start, hid, hid, hid},
    };
    for (const Case& c : cases) {
        Values v = start;
        OptionsMarkers markers;
        applyOptionsChoice(kOptionsTargets[c.target], markers, refsTo(v));
        EXPECT_EQ(c.after, v) << "target " << c.target;
        EXPECT_EQ(c.field.x, markers.field.x) << "target " << c.target;
        EXPECT_EQ(c.field.y, markers.field.y) << "target " << c.target;
        EXPECT_EQ(c.enemy.x, markers.enemy.x) << "target " << c.target;
        EXPECT_EQ(c.enemy.y, markers.enemy.y) << "target " << c.target;
        EXPECT_EQ(c.club.x, markers.club.x) << "target " << c.target;
        EXPECT_EQ(c.club.y, markers.club.y) << "target " << c.target;
    }
}

TEST(OptionsDefaults, OnlyRowsWithoutAChoiceAreForcedBack) {
    OptionsMarkers none;
    Values v = {4, 3, 2, 5, 10};
    forceUnchosenDefaults(none, refsTo(v));
    EXPECT_EQ(kDefaults, v) << "markers start hidden: every row goes back";

    // Each row on its own keeps what was chosen; the others go back.
    OptionsMarkers fieldOnly;
    applyOptionsChoice(kOptionsTargets[LAWN], fieldOnly, refsTo(v));
    v.enemyLevel = 3;
    v.clubHeight = 10;
    forceUnchosenDefaults(fieldOnly, refsTo(v));
    EXPECT_EQ((Values{4, 1, 6, 6, 6}), v);

    OptionsMarkers enemyAndClub;
    applyOptionsChoice(kOptionsTargets[ENEMY_3], enemyAndClub, refsTo(v));
    applyOptionsChoice(kOptionsTargets[CLUB_3], enemyAndClub, refsTo(v));
    forceUnchosenDefaults(enemyAndClub, refsTo(v));
    EXPECT_EQ((Values{1, 3, 5, 10, 5}), v);
}

TEST(OptionsVisit, LeavingAtOnceRestoresAllDefaults) {
    {
        OptionsRun r;
        r.run([](ScriptedIo& io, int pass) {
            io.now = 1000;
            if (pass == 0) pointAt(io, BACK);
            if (pass >= 1) io.buttons = SDL_BUTTON(1);
        });
        EXPECT_EQ(kDefaults, r.settings) << "by Back";
        EXPECT_EQ(2, r.s.passes) << "Back acts on the hot spot of the previous pass";
    }
    {
        OptionsRun r;
        r.run([](ScriptedIo& io, int) {
            io.now = 1000;
            io.keys = {SDLK_ESCAPE};
        });
        EXPECT_EQ(kDefaults, r.settings) << "by Escape";
        EXPECT_EQ(1, r.s.passes);
    }
    {
        OptionsRun r;
        r.run([](ScriptedIo& io, int pass) {
            io.now = 0;  // the gate does not hold back a closed window
            if (pass == 0) io.pushQuit();
        });
        EXPECT_EQ(kDefaults, r.settings) << "by closing the window";
        EXPECT_EQ(1, r.s.passes);
    }
}

TEST(OptionsVisit, OnlyChoicesOfThisVisitCount) {
    EXPECT_EQ((Values{3, 2, 2, 5, 10}), visit(kDefaults, {STREET, ENEMY_2, CLUB_4}));
    EXPECT_EQ((Values{1, 1, 10, 5, 5}), visit({3, 2, 2, 5, 10}, {CLUB_2}))
        << "a club alone leaves field and level at their defaults";
    EXPECT_EQ((Values{4, 1, 5, 10, 5}), visit({3, 2, 2, 5, 10}, {LAWN, CLUB_3}));
    EXPECT_EQ((Values{1, 2, 6, 6, 6}), visit({3, 2, 2, 5, 10}, {ENEMY_3, CLUB_4, ENEMY_2, CLUB_1}))
        << "the last choice in a row wins";
    EXPECT_EQ((Values{2, 1, 6, 6, 6}), visit(kDefaults, {CEL_SHADING, BACK, STREET}))
        << "Back ends the visit; nothing after it is clicked";
}

TEST(OptionsVisit, ClickUsesTheHotSpotOfThePreviousPass) {
    // A left button still held from the main menu's "Options" does nothing:
    // the hot spot starts on no target.
    OptionsRun held;
    held.run([](ScriptedIo& io, int pass) {
        io.now = 1000;
        io.buttons = SDL_BUTTON(1);
        if (pass == 5) io.keys = {SDLK_ESCAPE};
    });
    EXPECT_EQ(kDefaults, held.settings);
    EXPECT_EQ(6, held.s.passes);

    // Moving onto Street while pressing acts one pass later.
    for (int escapeAt : {1, 2}) {
        OptionsRun r;
        r.run([escapeAt](ScriptedIo& io, int pass) {
            io.now = 1000;
            if (pass == 1) {
                pointAt(io, STREET);
                io.buttons = SDL_BUTTON(1);
            }
            if (pass == escapeAt) io.keys = {SDLK_ESCAPE};
        });
        EXPECT_EQ(escapeAt == 1 ? 1 : 3, r.settings.fieldKind) << "Escape in pass " << escapeAt;
    }
}

TEST(OptionsGate, ButtonAndEscapeNeedMoreThan500Ms) {
    // Each visit starts its gate at 0, so the process clock itself must have
    // passed 500 ms.
    for (int clockAt : {499, 500, 501}) {
        OptionsRun button;
        button.run([clockAt](ScriptedIo& io, int pass) {
            io.now = clockAt;
            if (pass == 0) pointAt(io, LAWN);
            if (pass == 1) io.buttons = SDL_BUTTON(1);
            if (pass == 2) {
                io.buttons = 0;
                io.now = 5000;
                io.keys = {SDLK_ESCAPE};
            }
        });
        EXPECT_EQ(clockAt > 500 ? 4 : 1, button.settings.fieldKind) << "click at " << clockAt;

        OptionsRun escape;
        escape.run([clockAt](ScriptedIo& io, int pass) {
            io.now = pass < 3 ? clockAt : 501;
            io.keys = {SDLK_ESCAPE};
        });
        EXPECT_EQ(clockAt > 500 ? 1 : 4, escape.s.passes) << "Escape at " << clockAt;
    }
}

// The credits screen runs inside the options screen's pass; the scripted
// passes number both screens' passes in one sequence.
TEST(OptionsGate, RearmedWhenTheCreditsReturnAfterEscape) {
    for (int wait : {500, 501}) {
        OptionsRun r;
        int creditsPass = -1;
        r.run([&creditsPass, wait](ScriptedIo& io, int pass) {
            if (pass == 0) {
                io.now = 1000;
                pointAt(io, CREDITS);
            }
            if (pass == 1) io.buttons = SDL_BUTTON(1);
            if (pass == 2) {  // the credits' first pass: Escape leaves them
                creditsPass = pass;
                io.buttons = 0;
                io.keys = {SDLK_ESCAPE};
                io.now = 2000;
            }
            if (pass == 3) io.now = 2000 + wait;  // Escape is still held
            if (pass == 4) io.now = 2000 + wait + 1;
        });
        EXPECT_EQ(2, creditsPass);
        const int expectedPasses = wait > 500 ? 4 : 5;
        EXPECT_EQ(expectedPasses, r.s.passes) << "Escape " << wait << " ms after the credits";
        EXPECT_EQ(kDefaults, r.settings);
    }
}

TEST(OptionsGate, RearmedWhenTheCreditsReturnByBack) {
    for (int wait : {500, 501}) {
        OptionsRun r;
        r.run([wait](ScriptedIo& io, int pass) {
            if (pass == 0) {
                io.now = 1000;
                pointAt(io, CREDITS);
            }
            if (pass == 1) io.buttons = SDL_BUTTON(1);  // opens the credits
            if (pass == 2) {                            // credits: onto their Back
                io.buttons = 0;
                pointAt(io, BACK);
            }
            if (pass == 3) {  // credits: press Back, at 2000
                io.buttons = SDL_BUTTON(1);
                io.now = 2000;
            }
            // Options again, the button still held over its own Back.
            if (pass == 4) pointAt(io, BACK);
            if (pass >= 5) io.now = 2000 + wait;
            if (pass >= 6) io.now = 2000 + wait + 1;
        });
        // 501 ms: the click leaves in pass 5. 500 ms: held until pass 6.
        EXPECT_EQ(wait > 500 ? 6 : 7, r.s.passes) << "button " << wait << " ms after the credits";
    }
}

TEST(OptionsVisit, ClosingTheWindowOnTheCreditsEndsOnlyThem) {
    OptionsRun r;
    r.run([](ScriptedIo& io, int pass) {
        io.now = pass < 4 ? 1000 + pass : 2000 + pass;  // the gate opens again at pass 4
        if (pass == 0) pointAt(io, CREDITS);
        if (pass == 1) io.buttons = SDL_BUTTON(1);
        if (pass == 2) {  // the credits
            io.buttons = 0;
            io.pushQuit();
        }
        if (pass == 3) pointAt(io, ENEMY_3);
        if (pass == 5) io.buttons = SDL_BUTTON(1);
        if (pass == 6) io.keys = {SDLK_ESCAPE};
    });
    EXPECT_EQ(7, r.s.passes);
    EXPECT_EQ(3, r.settings.enemyLevel) << "the options went on after the credits closed";
}

TEST(OptionsVisit, EachPassLastsAtLeastTenMilliseconds) {
    OptionsRun idle;
    idle.s.now = 1000;
    idle.run([](ScriptedIo& io, int pass) {
        if (pass == 8) io.keys = {SDLK_ESCAPE};
    });
    ASSERT_EQ(9, idle.s.passes);
    EXPECT_EQ(std::vector<uint32_t>(9, 10), idle.s.delays);

    OptionsRun slow;
    slow.s.now = 1000;
    slow.run([](ScriptedIo& io, int pass) {
        io.now += 4;  // each pass already took 4 ms
        if (pass == 3) io.keys = {SDLK_ESCAPE};
    });
    EXPECT_EQ(std::vector<uint32_t>(4, 6), slow.s.delays);
}
