#include "game/game.h"

namespace morvik {

Game::Game(Services services, TableView& view)
    : services(services)
    , view(view)
{
}

void Game::load()
{
    for (auto& stock : s.PlayerChips)
        stock.fill(StartingChips);
    s.Label3 = s.PlayerChips[0];
    showCounters();
}

void Game::clickChip(int denomination)
{
    // The chip tray is hidden while the wheel spins.
    if (s.spinning() || denomination < 0 || denomination >= DenominationCount || s.Label3[denomination] == 0)
        return;
    s.ChipIndex = static_cast<std::uint8_t>(denomination);
    s.ChipValue = ChipValues[denomination];
}

void Game::clickNumber(int number)
{
    // The 0 cell takes no bets.
    if (number < 1 || number >= NumberCount)
        return;
    placeBet(static_cast<std::uint8_t>(number));
}

void Game::clickOutside(Outside cell)
{
    if (static_cast<int>(cell) >= OutsideCount)
        return;
    placeBet(cell);
}

void Game::placeBet(Target target)
{
    // No bets once the wheel spins: the second player's stock is already
    // stored, so a chip laid now would be settled without ever being paid for.
    if (s.spinning() || s.ChipValue == 0 || s.Label3[s.ChipIndex] == 0)
        return;
    const int player = s.CurrentPlayer;
    const Bet bet{target, s.ChipIndex};
    s.List1[player].push_back(bet);
    view.appendEntry(player, entryText(bet));
    --s.Label3[s.ChipIndex];
    view.showCounter(s.ChipIndex, s.Label3[s.ChipIndex]);
}

void Game::clickNext()
{
    // "Next" lies in the chip tray, which is hidden while the wheel spins.
    if (s.spinning())
        return;
    s.PlayerChips[s.CurrentPlayer] = s.Label3;
    if (s.CurrentPlayer == 0) {
        view.showPlayer(1);
        s.Label3 = s.PlayerChips[1];
        showCounters();
        // The two lists lie on the same spot: only the current player's shows.
        view.showList(0, false);
        view.showList(1, true);
        s.CurrentPlayer = 1;
    } else {
        s.SpinTicks = SpinLength;
        view.showList(0, false);
        view.showList(1, false);
        view.showTray(false);
    }
}

void Game::tick()
{
    // Both are read on every tick, so that a press seen now is not acted on
    // later, when another entry may be selected.
    const bool deletePressed = services.keys.deletePressed();
    const int row = view.selectedEntry(s.CurrentPlayer);
    // While the wheel spins the lists are hidden and the counters are about
    // to be overwritten: a withdrawal now would lose its chip.
    if (deletePressed && row >= 0 && !s.spinning())
        withdraw(row);
    if (s.spinning())
        spinStep();
}

void Game::withdraw(int row)
{
    auto& list = s.List1[s.CurrentPlayer];
    if (row >= static_cast<int>(list.size()))
        return;
    const int chip = list[row].chipIndex;
    list.erase(list.begin() + row);
    view.removeEntry(s.CurrentPlayer, row);
    s.Label3[chip] = saturatingAdd(s.Label3[chip], 1);
    view.showCounter(chip, s.Label3[chip]);
}

void Game::spinStep()
{
    services.random.seed(services.clock.timeOfDay());
    const int number = wheelNumber(services.random.next());
    s.Cislo = static_cast<std::uint8_t>(number);
    view.showDraw(number, CellColours[number]);
    if (--s.SpinTicks == 0) {
        settle();
        endRound();
    }
}

void Game::settle()
{
    // The first player bets next, so that player's stock, winnings included,
    // goes onto the counters; the second player's goes into the store.
    s.Label3 = s.PlayerChips[0];
    for (const Bet& bet : s.List1[0])
        s.Label3[bet.chipIndex] = saturatingAdd(s.Label3[bet.chipIndex], payout(bet, s.Cislo));
    for (const Bet& bet : s.List1[1])
        s.PlayerChips[1][bet.chipIndex] = saturatingAdd(s.PlayerChips[1][bet.chipIndex], payout(bet, s.Cislo));
    showCounters();
}

void Game::endRound()
{
    view.showPlayer(0);
    s.List1[0].clear();
    view.clearEntries(0);
    s.List1[1].clear();
    view.clearEntries(1);
    view.showList(0, true);
    s.CurrentPlayer = 0;
    view.showTray(true);
}

void Game::showCounters()
{
    for (int i = 0; i < DenominationCount; ++i)
        view.showCounter(i, s.Label3[i]);
}

} // namespace morvik
