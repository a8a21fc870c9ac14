// Form1, the table window. It shows what the game tells it and forwards every
// click and every tick of Timer1 to the game; it decides nothing itself.
#pragma once

#include "game/game.h"
#include "toolkit/picture_box.h"

#include <array>

class QLabel;
class QTimer;

namespace morvik {

class BetList;
class ClickLabel;
class ReadoutLabel;

class TableWindow : public PictureBox, public TableView {
    Q_OBJECT

public:
    // A top-level window of its own; runs the game's load step.
    explicit TableWindow(Game::Services services);

    const Game& game() const { return engine; }

    void showCounter(int denomination, Count chips) override;
    void showPlayer(int player) override;
    void appendEntry(int player, const std::string& text) override;
    void removeEntry(int player, int row) override;
    void clearEntries(int player) override;
    void showList(int player, bool visible) override;
    void showTray(bool visible) override;
    void showDraw(int number, Rgb colour) override;
    int selectedEntry(int player) const override;

signals:
    // Label7, the "X": the player wants the title window back.
    void titleRequested();

public slots:
    void timer1Tick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTable();
    void buildTray();

    void label1Click(int number);
    void label2Click(int index);
    void label5Click(int index);
    void image1Click(int denomination);
    void label6Click();

    Game engine;
    QFont captionFont;
    PictureBox* picture1 = nullptr;
    PictureBox* picture2 = nullptr;
    QLabel* label4 = nullptr;
    std::array<ClickLabel*, DenominationCount> image1{};
    std::array<QLabel*, DenominationCount> label3{};
    std::array<BetList*, PlayerCount> list1{};
    ReadoutLabel* cislo = nullptr;
    QTimer* timer1 = nullptr;
};

} // namespace morvik
