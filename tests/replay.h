// Replays: a demo (recorded input, start clock and pass times) drives the
// real screens and the real runMatch through the scripted platform, and the
// trace tells what every pass did: the MatchState of each match frame, what
// was drawn where and in which order, and the sounds.
//
// A demo file (tests/demos/*.demo):
//   run game | intro | options | credits | match FIELD LEVEL HEIGHT SPEED PRECISION
//   clock MS      the clock when the run starts (the match seeds from it)
//   work MS       how long each pass works before the loop's own pacing
//   @PASS ACTION  input at the start of pass PASS (0 is the first pass of
//                 the run, counted over every screen):
//     buttons MASK       the mouse button state from now on (1 left, 4 right)
//     motion X Y         a mouse motion event
//     key NAME down|up   escape, return or q held or let go
//     quit               the window is closed
//     work MS            the pass time from this pass on
// Lines starting with # are comments.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "scripted_io.h"

struct Demo {
    std::string run = "game";
    int settings[5] = {1, 1, 6, 6, 6};  // fieldKind, enemyLevel, club height, speed, precision
    Clock clock = 1000;
    int work = 0;
    std::string comment;  // leading # lines, kept when a demo is written back
    std::map<int, std::vector<std::string>> actions;
};

// Returns an empty string, or what is wrong with the text.
std::string parseDemo(const std::string& text, Demo& demo);
std::string formatDemo(const Demo& demo);

// Called after each match frame; may add actions for the coming passes
// (the recorder's scripted player does).
using DemoPlayer = std::function<void(ScriptedIo&, const MatchState&, Demo&)>;

// Plays the demo and returns its trace. SDL's video must be up (dummy
// driver); the run leaves it up.
// everyFrame writes a line for every match frame (for writing a demo).
// platform, when given, hands the screens another platform over the
// scripted one (the pad layer's idle check).
using DemoPlatform = std::function<const GameIo&(ScriptedIo&)>;
std::string replayDemo(Demo& demo, const DemoPlayer& player = nullptr, bool everyFrame = false,
                       const DemoPlatform& platform = nullptr);

// The first line where two traces part, as "line N:\n- expected\n+ actual",
// or an empty string when they agree.
std::string firstDifference(const std::string& expected, const std::string& actual);
