// The one set of stand-ins for the desk the game runs on, so that a test
// decides what the clock says and what the wheel draws, and sees everything
// the front end is told to show; and the one way the tests drive a game: a
// line of a player's actions, played through the session as raw events.
#pragma once

#include "session/session.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <deque>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace morvik::testing {

// Reads the time of day as the game's clock does, from whole milliseconds
// since midnight, and moves on by `stepMs` after every reading.
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

// Draws from a script; once it runs out, every draw is `fallback`.
struct FakeRandom : RandomSource {
    std::deque<float> script;
    float fallback = drawFor(18);
    std::vector<float> seeds;
    int draws = 0;

    void seed(float s) override { seeds.push_back(s); }
    float next() override
    {
        ++draws;
        const float r = script.empty() ? fallback : script.front();
        if (!script.empty())
            script.pop_front();
        return r;
    }
    // The draw that stops the wheel on `number`.
    static float drawFor(int number) { return (static_cast<float>(number) + 0.5f) / 37.0f; }
};

struct Desk {
    FakeClock clock;
    FakeRandom random;
    Session::Services services() { return {clock, random}; }
};

// Mirrors the front end: what each control shows, read from the session when
// it asks for a redraw, and a log of the calls for the tests that care about
// their order.
struct RecordingDisplay : Display {
    const Session* session = nullptr;
    std::array<std::string, ids::Count> texts;
    std::array<Rgb, ids::Count> colours{};
    std::array<int, ids::Count> pixelSizes{};
    std::array<std::string, ids::Count> descriptions;
    std::array<bool, ids::Count> visible{};
    std::array<std::vector<std::string>, ids::Count> entries;
    std::array<int, ids::Count> selected{};
    int tablesMade = 0;
    int announced = 0;
    bool quitted = false;
    std::vector<std::string> log;

    RecordingDisplay()
    {
        for (int id = 0; id < ids::Count; ++id) {
            texts[id] = Controls[id].text;
            colours[id] = Controls[id].colour;
            selected[id] = -1;
        }
    }

    void makeTable() override { ++tablesMade; }
    void show(int id, bool v) override
    {
        visible[id] = v;
        log.push_back(layoutName(id) + (v ? " shown" : " hidden"));
    }
    void redraw(int id) override
    {
        const Look& look = session->look(id);
        const std::string text = look.lines[0] + (look.lines[1].empty() ? "" : " " + look.lines[1]);
        if (Controls[id].kind != Kind::List && text != texts[id] && id != ids::table::Cislo)
            log.push_back(layoutName(id) + "=" + text); // Cislo changes every tick of a spin: read it from `texts`
        if (look.entries.empty() && !entries[id].empty())
            log.push_back(layoutName(id) + " cleared");
        texts[id] = text;
        colours[id] = look.colour;
        pixelSizes[id] = look.pixels;
        descriptions[id] = session->accessible(id).description;
        entries[id] = look.entries;
        selected[id] = look.selected;
    }
    void announce(int) override { ++announced; }
    void quit() override { quitted = true; }

    std::array<std::string, DenominationCount> counters() const
    {
        std::array<std::string, DenominationCount> shown;
        for (int i = 0; i < DenominationCount; ++i)
            shown[i] = texts[ids::table::Label3 + i];
        return shown;
    }
    const std::vector<std::string>& list(int player) const { return entries[ids::table::List1 + player]; }
};

// A game on the fakes, started with "Play" and played by lines of a player's
// actions such as "$5 17 Red Next": "$5" takes the 5-chip, "17" lays it on 17,
// "Red" (or Big, Small, Even, Odd, Black) on that outside cell, "Next" hands
// over, "t49" lets Timer1 tick 49 times, "spin7" ticks a whole spin of 50
// that ends on 7, "del1" selects row 1 of the current list and presses Delete
// for a tick, "hold0" holds it down for 20 ticks. Every click is a press and
// a release on the control.
struct Table {
    Desk desk;
    RecordingDisplay display;
    Session session{desk.services(), display};

    Table()
    {
        display.session = &session;
        session.start();
        click(ids::title::Label1);
    }
    const GameState& state() const { return session.game()->state(); }

    void click(int control)
    {
        session.press(control);
        session.release(control);
    }

    // Keys pressed and let go in turn: "Tab S-Tab Enter Space Left Right Up Down Delete Backspace".
    void keys(const std::string& names)
    {
        static const std::array<std::string, 10> words{"Delete", "Backspace", "Tab", "S-Tab", "Enter", "Space",
                                                       "Left", "Right", "Up", "Down"};
        std::istringstream in(names);
        for (std::string name; in >> name;) {
            const auto k = std::find(words.begin(), words.end(), name);
            if (k == words.end())
                throw std::invalid_argument("no key " + name);
            session.key(static_cast<Key>(k - words.begin()), true);
            session.key(static_cast<Key>(k - words.begin()), false);
        }
    }

    void play(const std::string& actions)
    {
        static const std::array<std::string, OutsideCount> words{"Big", "Small", "Even", "Odd", "Black", "Red"};
        std::istringstream in(actions);
        for (std::string a; in >> a;) {
            auto number = [&](std::size_t from) { return std::stoi(a.substr(from)); };
            if (a[0] == '$') {
                int chip = 0;
                while (chip < DenominationCount && ChipValues[chip] != number(1))
                    ++chip;
                if (chip == DenominationCount)
                    throw std::invalid_argument("no chip " + a);
                click(ids::table::Image1 + chip);
            } else if (std::isdigit(static_cast<unsigned char>(a[0]))) {
                click(ids::table::Label1 + number(0));
            } else if (a == "Next") {
                click(ids::table::Label6);
            } else if (a[0] == 't' || a.starts_with("spin")) {
                if (a[0] == 's')
                    desk.random.fallback = FakeRandom::drawFor(number(4));
                for (int i = a[0] == 's' ? 50 : number(1); i > 0; --i)
                    session.tick();
            } else if (a.starts_with("del") || a.starts_with("hold")) {
                session.pressEntry(ids::table::List1 + state().CurrentPlayer, number(a[0] == 'd' ? 3 : 4));
                session.key(Key::Delete, true);
                for (int i = a[0] == 'd' ? 1 : 20; i > 0; --i)
                    session.tick();
                session.key(Key::Delete, false);
            } else {
                int cell = 0;
                while (cell < OutsideCount && words[cell] != a)
                    ++cell;
                if (cell == OutsideCount)
                    throw std::invalid_argument("no action " + a);
                click(cell < 4 ? ids::table::Label2 + cell : ids::table::Label5 + cell - 4);
            }
        }
    }
};

} // namespace morvik::testing
