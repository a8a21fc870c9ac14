// Stand-ins for the desk the game runs on, so a test decides exactly what the
// clock says, what the wheel draws, when Delete is pressed and which entry is
// selected, and sees everything the game shows.
#pragma once

#include "game/game.h"

#include <deque>
#include <string>
#include <vector>

namespace morvik::testing {

class FakeClock : public Clock {
public:
    float now = 43200.5f;
    float timeOfDay() override { return now; }
};

// Draws come from a script; once it runs out, every draw is `fallback`.
// Remembers the seeds it was given.
class FakeRandom : public RandomSource {
public:
    std::deque<float> script;
    float fallback = 0.0f;
    std::vector<float> seeds;
    int draws = 0;

    void seed(float s) override { seeds.push_back(s); }
    float next() override
    {
        ++draws;
        if (script.empty())
            return fallback;
        float r = script.front();
        script.pop_front();
        return r;
    }
    // The draw that yields `number` from the wheel.
    static float drawFor(int number) { return (number + 0.5f) / 37.0f; }
};

class FakeKeys : public KeyState {
public:
    bool pressed = false;
    bool deletePressed() override { return pressed; }
};

// Mirrors the table window: what each control shows, plus a log of the calls
// in order for the tests that care about the order of steps.
class FakeView : public TableView {
public:
    std::array<std::string, DenominationCount> counters;
    std::string player = "Player 1";
    std::array<std::vector<std::string>, PlayerCount> lists;
    std::array<int, PlayerCount> selected{-1, -1};
    std::array<bool, PlayerCount> listVisible{true, false};
    bool trayVisible = true;
    std::string cislo = "1";
    Rgb cisloColour = CellRed;
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
    void appendEntry(int p, const std::string& text) override
    {
        lists[p].push_back(text);
        log.push_back("List1(" + std::to_string(p) + ")+" + text);
    }
    void removeEntry(int p, int row) override
    {
        lists[p].erase(lists[p].begin() + row);
        selected[p] = -1;
        log.push_back("List1(" + std::to_string(p) + ")-" + std::to_string(row));
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

// A game on fakes, loaded, with helpers that read like a player's actions.
struct Table {
    FakeClock clock;
    FakeRandom random;
    FakeKeys keys;
    FakeView view;
    Game game{{clock, random, keys}, view};

    Table() { game.load(); }
    const GameState& state() const { return game.state(); }

    void bet(int chip, int number) { game.clickChip(chip); game.clickNumber(number); }
    void bet(int chip, Outside cell) { game.clickChip(chip); game.clickOutside(cell); }
    void withdraw(int row)
    {
        view.selected[state().CurrentPlayer] = row;
        keys.pressed = true;
        game.tick();
        keys.pressed = false;
    }
    // Both players hand over and the wheel stops on `number`.
    void spinTo(int number)
    {
        if (state().CurrentPlayer == 0)
            game.clickNext();
        game.clickNext();
        random.fallback = FakeRandom::drawFor(number);
        for (int t = 0; t < SpinLength; ++t)
            game.tick();
    }
};

} // namespace morvik::testing
