// Morvik Roulette: two players, one table, one mouse.
#include "game/wheel.h"
#include "screens/assets.h"
#include "screens/title_window.h"
#include "toolkit/fonts.h"
#include "toolkit/services.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    morvik::assets::readTitleAhead();
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik Game"));
    QCoreApplication::setApplicationName(QStringLiteral("Morvik Roulette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVIK_VERSION));
    // The name of the installed desktop entry: the desktop shows its icon
    // and name for the game's windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVIK_APP_ID));
    // The two windows take turns on the screen; a hidden window must never end
    // the program. Only "Quit" does.
    QApplication::setQuitOnLastWindowClosed(false);

    morvik::installLayoutFont(morvik::assets::Font);

    morvik::SystemClock clock;
    morvik::WheelRandom random;
    auto* keys = new morvik::DeleteKeyWatch(&app);

    morvik::TitleWindow title({clock, random, *keys});
    QObject::connect(&title, &morvik::TitleWindow::quitRequested, &app, &QCoreApplication::quit);
    title.show();

    return app.exec();
}
