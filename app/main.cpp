// Morvik Roulette: two players, one table, one mouse.
#include "fonts.h"
#include "assets.h"
#include "services.h"
#include "title_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik Game"));
    QCoreApplication::setApplicationName(QStringLiteral("Morvik Roulette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVIK_VERSION));
#ifdef MORVIK_APP_ID
    // The name of the installed desktop entry: the desktop shows its icon
    // and name for the game's windows.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVIK_APP_ID));
#endif
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
