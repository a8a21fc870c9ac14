// The one set of stand-ins for the desk the game runs on, so that a test
// decides what the clock says, what the wheel draws and when Delete is
// pressed, and sees everything the game shows; and the one way the tests
// drive a game: a line of a player's actions.
#pragma once

#include "game/game.h"

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

struct FakeKeys : KeyState {
    bool pressed = false;
    bool deletePressed() override { return pressed; }
};

struct Desk {
    FakeClock clock;
    FakeRandom random;
    FakeKeys keys;
    Game::Services services() { return {clock, random, keys}; }
};

// Mirrors the table window: what each control shows, and a log of the calls
// for the tests that care about their order.
struct RecordingView : TableView {
    std::array<std::string, DenominationCount> counters;
    std::string player = "Player 1";
    std::array<std::vector<std::string>, PlayerCount> lists;
    std::array<int, PlayerCount> selected{-1, -1};
    std::array<bool, PlayerCount> listVisible{true, false};
    bool trayVisible = true;
    std::string cislo = "1";
    Rgb cisloColour{192, 0, 0};
    std::vector<std::string> log;

    void showCounter(int i, Count chips) override
    {
        counters[i] = std::to_string(chips);
        log.push_back("Label3(" + std::to_string(i) + ")=" + counters[i]);
    }
    void showPlayer(int p) override
    {
        player = playerName(p);
        log.push_back("Label4=" + player);
    }
    void appendEntry(int p, const std::string& text) override { lists[p].push_back(text); }
    void removeEntry(int p, int row) override
    {
        lists[p].erase(lists[p].begin() + row);
        selected[p] = -1;
    }
    void clearEntries(int p) override
    {
        lists[p].clear();
        selected[p] = -1;
        log.push_back("List1(" + std::to_string(p) + ") cleared");
    }
    void showList(int p, bool visible) override
    {
        listVisible[p] = visible;
        log.push_back("List1(" + std::to_string(p) + (visible ? ") shown" : ") hidden"));
    }
    void showTray(bool visible) override
    {
        trayVisible = visible;
        log.push_back(visible ? "Picture2 shown" : "Picture2 hidden");
    }
    void showDraw(int number, Rgb colour) override
    {
        cislo = std::to_string(number);
        cisloColour = colour;
    }
    int selectedEntry(int p) const override { return selected[p]; }
};

// A loaded game on the fakes, played by lines of actions such as
// "$5 17 Red Next": "$5" takes the 5-chip, "17" lays it on 17, "Red" (or Big,
// Small, Even, Odd, Black) on that outside cell, "Next" hands over, "t49"
// lets Timer1 tick 49 times, "spin7" ticks a whole spin of 50 that ends on 7,
// "del1" presses Delete for a tick with row 1 selected, "hold0" holds it
// down for 20 ticks.
struct Table {
    Desk desk;
    RecordingView view;
    Game game{desk.services(), view};

    Table() { game.load(); }
    const GameState& state() const { return game.state(); }

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
                game.clickChip(chip);
            } else if (a[0] == '-' || std::isdigit(static_cast<unsigned char>(a[0]))) {
                game.clickNumber(number(0));
            } else if (a == "Next") {
                game.clickNext();
            } else if (a[0] == 't' || a.starts_with("spin")) {
                if (a[0] == 's')
                    desk.random.fallback = FakeRandom::drawFor(number(4));
                for (int i = a[0] == 's' ? 50 : number(1); i > 0; --i)
                    game.tick();
            } else if (a.starts_with("del") || a.starts_with("hold")) {
                view.selected[state().CurrentPlayer] = number(a[0] == 'd' ? 3 : 4);
                desk.keys.pressed = true;
                for (int i = a[0] == 'd' ? 1 : 20; i > 0; --i)
                    game.tick();
                desk.keys.pressed = false;
            } else {
                int cell = 0;
                while (cell < OutsideCount && words[cell] != a)
                    ++cell;
                if (cell == OutsideCount)
                    throw std::invalid_argument("no action " + a);
                game.clickOutside(Outside(cell));
            }
        }
    }
};

} // namespace morvik::testing
