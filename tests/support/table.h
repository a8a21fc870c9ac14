// Stand-ins for the clock and the wheel, and a game driven by lines of a player's actions as raw events.
#pragma once

#include "session/session.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvik {
struct LookOf { // what a control shows, which front ends learn only from the plan
    static const Look& of(const Session& session, int id) { return session.look(id); }
};
} // namespace morvik

namespace morvik::testing {

// The time of day from whole milliseconds since midnight, `stepMs` later at every reading.
struct FakeClock : Clock {
    std::int64_t ms = 43'200'500;
    std::int64_t stepMs = 0;
    float timeOfDay() override
    {
        const float seconds = static_cast<float>(ms) / 1000.0f;
        ms = (ms + stepMs) % 86'400'000;
        return seconds;
    }
};

// The draw that stops the wheel on `number`.
inline float drawFor(int number) { return (static_cast<float>(number) + 0.5f) / 37.0f; }

// What each outside cell does for every number of the wheel: B Big, S Small,
// E Even, O Odd, K Black, R Red, '.' loses. 0 wins Even and Small only.
inline constexpr std::array<const char*, 37> Outcomes{
    ".SE...", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R", ".SE.K.", ".S.O.R",
    ".SE.K.", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", ".S.OK.", ".SE..R", "B..O.R",
    "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..O.R", "B.E.K.", "B..OK.",
    "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R", "B..OK.", "B.E..R"};

// Every draw stops the wheel on the number of `draw`; every seed is kept.
struct FakeRandom : RandomSource {
    float draw = drawFor(18);
    std::vector<float> seeds;
    void seed(float s) override { seeds.push_back(s); }
    float next() override { return draw; }
};

struct Desk {
    FakeClock clock;
    FakeRandom random;
    Session::Services services() { return {clock, random}; }
};

// The windows as a front end shows them: each control's look as of its last redraw, and a log of windows and
// controls shown and hidden.
// "Play $5 17 Red Next": controls by their caption, "$5" the 5-chip; "t49" 49 ticks, "spin7" a spin ending on 7;
// "del1" Delete on row 1 of the current list; Tab, S-Tab, Enter, Space, arrows, Delete, Backspace are keys.
struct Table : Display {
    Desk desk;
    Session session;
    std::array<Look, ids::Count> looks{};
    std::array<std::string, ids::Count> descriptions; // as told at the last redraw
    int tablesMade = 0;
    bool quitted = false;
    std::vector<std::string> log;

    explicit Table(const std::string& actions = "Play", RandomSource* wheel = nullptr, const std::string& languages = "")
        : session({desk.clock, wheel ? *wheel : desk.random}, *this, languages)
    {
        session.start();
        play(actions);
    }

    void makeTable() override { ++tablesMade; }
    void show(int id, bool v) override { log.push_back(layoutName(id) + (v ? " shown" : " hidden")); }
    void redraw(int id) override
    {
        looks[id] = LookOf::of(session, id);
        descriptions[id] = session.accessible(id).description;
    }
    void announce(int) override {}
    void quit() override { quitted = true; }

    const std::string& counter(int denomination) const { return looks[ids::table::Label3 + denomination].lines[0]; }
    const std::vector<std::string>& list(int player) const { return looks[ids::table::List1 + player].entries; }
    const GameState& state() const { return session.game()->state(); }

    void click(int control)
    {
        session.press(control);
        session.release(control);
    }
    // A button or cell by the first word a player reads on it or hears it called: "Play", "X", "Big", "17".
    static int named(const std::string& word)
    {
        for (int id = 0; id < ids::Count; ++id) {
            const Control& c = Controls[id];
            std::istringstream said{std::string(c.spokenName.empty() ? c.text : c.spokenName)};
            if (std::string first; c.clickable && said >> first && first == word)
                return id;
        }
        return -1;
    }
    void play(const std::string& actions)
    {
        namespace b = ids::table;
        static const std::vector<std::string> keys{"Delete", "Backspace", "Tab", "S-Tab", "Enter",
                                                   "Space", "Left", "Right", "Up", "Down"};
        auto at = [](const auto& words, const auto& word) {
            return static_cast<int>(std::find(words.begin(), words.end(), word) - words.begin());
        };
        std::istringstream in(actions);
        for (std::string a; in >> a;) {
            const std::size_t digits = std::min(a.find_first_of("-0123456789"), a.size());
            const std::string verb = a.substr(0, digits);
            const int n = std::atoi(a.c_str() + digits);
            if (const int key = at(keys, a); key < 10) {
                session.key(static_cast<Key>(key), true);
                session.key(static_cast<Key>(key), false);
            } else if (const int id = named(a); id >= 0) {
                click(id);
            } else if (verb == "$" && at(ChipValues, n) < DenominationCount) {
                click(b::Image1 + at(ChipValues, n));
            } else if (verb == "t" || verb == "spin") {
                if (verb == "spin")
                    desk.random.draw = drawFor(n);
                for (int i = verb == "t" ? n : 50; i > 0; --i)
                    session.tick();
            } else if (verb == "del") {
                session.pressEntry(b::List1 + state().CurrentPlayer, n);
                session.key(Key::Delete, true);
                session.tick();
                session.key(Key::Delete, false);
            } else {
                throw std::invalid_argument("no action " + a);
            }
        }
    }
};

} // namespace morvik::testing
