// Form2, the title window: the program opens on it and ends from it. It holds
// no game state; the table window it opens keeps the game for the whole run.
#pragma once

#include "game/game.h"
#include "toolkit/picture_box.h"

#include <memory>

namespace morvik {

class TableWindow;

class TitleWindow : public PictureBox {
    Q_OBJECT

public:
    // The services are handed on to the table window when "Play" first makes it.
    explicit TitleWindow(Game::Services services);
    ~TitleWindow() override;

    // Null until the first "Play".
    TableWindow* tableWindow() const { return table.get(); }

signals:
    // "Quit": the program must end at once.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void label1Click(int index);
    void returnFromTable();

    Game::Services services;
    // The table is a window of its own with no owner, so it is not a child
    // widget; it lives as long as the title window.
    std::unique_ptr<TableWindow> table;
};

} // namespace morvik
