// Plays the steps of round.steps on a virtual X server of its own, under a
// real window manager (openbox), as a player would: the mouse, the keys and
// the desktop's close requests go through the X server (xdotool, wmctrl), and
// every check is read off screenshots (ImageMagick's import) at the places the
// layout's table of controls gives, texts through OCR (tesseract). The game is
// found only through the X server, its windows by their titles "Form2" and
// "Form1", and its display scale from their size, so any desktop front end
// can be driven at any scale.
//
//   e2e_driver <steps file> <screenshot directory> [--steps N] -- <command that starts the game...>
//
// Prints "ok N - step" per step and keeps its screenshot. Exits 0 when every
// step passed, 1 on the first failure, 77 when a tool is missing.
#include "layout/controls.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

using namespace morvik;

namespace {

// Long enough for a sanitizer build, or Wine, to start on a loaded machine.
constexpr int PatienceMs = 60'000;
constexpr QSize Screen(1920, 1440);

QRgb rgb(Rgb c) { return qRgb(c.r, c.g, c.b); }

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const QString& why) { throw Failure(why.toStdString()); }

struct Step {
    QString what;
    QStringList lines;
};

QList<Step> readSteps(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        fail("cannot read " + file);
    QList<Step> steps;
    for (const QString& raw : QString::fromUtf8(in.readAll()).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith("- "))
            steps.append({line.mid(2), {}});
        else if (!line.isEmpty() && !line.startsWith('#') && !steps.isEmpty())
            steps.last().lines << line;
    }
    return steps;
}

// The row of the layout's table that "Form1.Label1(17)" names.
int controlNamed(const QString& name)
{
    if (name == "Form1.List1") // the two lists lie on one spot: whichever shows
        return ids::table::List1;
    static const QRegularExpression pattern(R"(^(Form[12])\.(\w+)(?:\((\d+)\))?$)");
    const QRegularExpressionMatch m = pattern.match(name);
    for (int id = 0; m.hasMatch() && id < ids::Count; ++id) {
        const Control& row = Controls[id];
        if (Controls[windowOf(id)].name == m.captured(1).toStdString() && row.name == m.captured(2).toStdString()
            && row.index == (m.captured(3).isEmpty() ? -1 : m.captured(3).toInt()))
            return id;
    }
    fail("no control " + name);
}

// A control's box in its window, in layout pixels.
QRect boxInWindow(int id)
{
    QRect box;
    for (int c = id; Controls[c].parent >= 0; c = Controls[c].parent) {
        const Box b = Controls[c].box;
        box = c == id ? QRect(b.x, b.y, b.width, b.height) : box.translated(b.x, b.y);
    }
    return box;
}

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

int luminance(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

struct Driver {
    QDir shots;
    QStringList command;
    QProcess server, windowManager, game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir scratch;
    QRect title, table; // on the screen, once found
    double scale = 1;
    QPoint pointer{-1, -1};
    QImage shot; // the last screenshot
    bool frozen = false;

    ~Driver()
    {
        thaw();
        for (QProcess* process : {&game, &windowManager, &server}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished(5000);
        }
    }

    QString run(const QString& program, const QStringList& args, QByteArray* out = nullptr)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        if (!process.waitForFinished(PatienceMs) || process.exitStatus() != QProcess::NormalExit)
            fail(program + ' ' + args.join(' ') + " did not finish");
        const QByteArray output = process.readAllStandardOutput();
        if (out)
            *out = output;
        return process.exitCode() == 0 ? QString::fromUtf8(output).trimmed() : QString();
    }

    void start()
    {
        shots.removeRecursively();
        if (!QDir().mkpath(shots.path()))
            fail("cannot make " + shots.path());
        // -displayfd picks a free display and tells its number on standard output.
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0",
                              QStringLiteral("%1x%2x24").arg(Screen.width()).arg(Screen.height()), "-nolisten", "tcp",
                              "-br", "-noreset"});
        QByteArray number;
        while (!number.contains('\n')) {
            if (!server.waitForReadyRead(PatienceMs))
                fail("Xvfb told no display number");
            number += server.readAllStandardOutput();
        }
        env.insert("DISPLAY", ':' + QString::fromLatin1(number.trimmed()));
        env.remove("XAUTHORITY");
        env.remove("QT_QPA_PLATFORM");
        std::printf("# Xvfb on display %s; %s\n", number.trimmed().constData(), qPrintable(command.join(' ')));
        windowManager.setProcessEnvironment(env);
        windowManager.start("openbox", {});
        if (!windowManager.waitForStarted(PatienceMs))
            fail("cannot start openbox");
        // Taken as ready once it owns the screen: wmctrl then answers.
        QElapsedTimer clock;
        clock.start();
        while (run("wmctrl", {"-m"}).isEmpty() && clock.elapsed() < PatienceMs)
            QThread::msleep(50);
        launch();
    }

    void launch()
    {
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::ForwardedChannels);
        game.start(command.front(), command.mid(1));
        if (!game.waitForStarted(PatienceMs))
            fail("cannot start " + command.join(' '));
    }

    // --- Where things are on the screen ---

    QRect windowOnScreen(int window) const { return window == ids::title::Form2 ? title : table; }
    int px(double layout) const { return static_cast<int>(std::lround(layout * scale)); }
    QRect onScreen(int window, QRect box) const
    {
        const QPoint origin = windowOnScreen(window).topLeft();
        return QRect(QPoint(px(box.left()), px(box.top())) + origin,
                     QPoint(px(box.right() + 1) - 1, px(box.bottom() + 1) - 1) + origin);
    }
    QRect onScreen(int id) const { return onScreen(windowOf(id), boxInWindow(id)); }
    QRect listArea() const { return onScreen(ids::table::List1).adjusted(px(4), px(4), -px(4), -px(4)); }

    // The point a control name stands for: the middle of the control, of an
    // entry of the shown list, of the list's empty part or of the bare cloth.
    QPoint pointOf(const QString& name)
    {
        if (name == "Form1.cloth")
            return table.topLeft() + QPoint(px(20), px(20));
        if (name == "Form1.List1.below")
            return QPoint(listArea().center().x(), listArea().bottom() - px(8));
        if (name.startsWith("Form1.List1.")) {
            const QList<QRect> rows = listRows(screenshot());
            const int row = name.section('.', 2).toInt();
            if (row >= rows.size())
                fail(QStringLiteral("no entry %1 to click").arg(row));
            return rows[row].center();
        }
        return onScreen(controlNamed(name)).center();
    }

    // The visible window of that title, of the layout's size at the display's
    // scale, in the middle of the screen.
    QRect findWindow(int window)
    {
        const QString name = QString::fromLatin1(Controls[window].name.data(), Controls[window].name.size());
        QElapsedTimer clock;
        clock.start();
        QString id;
        while ((id = visibleWindow(name)).isEmpty()) {
            if (game.state() == QProcess::NotRunning || clock.elapsed() > PatienceMs)
                fail("no window " + name);
            QThread::msleep(50);
        }
        QRect found;
        for (const QString& line : run("xdotool", {"getwindowgeometry", "--shell", id}).split('\n')) {
            const int value = line.section('=', 1).toInt();
            if (line.startsWith("X=")) found.moveLeft(value);
            if (line.startsWith("Y=")) found.moveTop(value);
            if (line.startsWith("WIDTH=")) found.setWidth(value);
            if (line.startsWith("HEIGHT=")) found.setHeight(value);
        }
        if (window == ids::title::Form2)
            scale = double(found.width()) / Controls[window].box.width;
        const QSize size(px(Controls[window].box.width), px(Controls[window].box.height));
        const QPoint middle((Screen.width() - size.width()) / 2, (Screen.height() - size.height()) / 2);
        if ((QPoint(found.width(), found.height()) - QPoint(size.width(), size.height())).manhattanLength() > 2
            || (found.topLeft() - middle).manhattanLength() > 3)
            fail(QStringLiteral("%1 is %2x%3 at %4,%5").arg(name).arg(found.width()).arg(found.height()).arg(found.x()).arg(found.y()));
        return found;
    }
    QString visibleWindow(const QString& name)
    {
        return run("xdotool", {"search", "--onlyvisible", "--name", '^' + name + '$'}).section('\n', 0, 0);
    }

    // --- Reading the screen ---

    QImage screenshot()
    {
        QByteArray ppm;
        run("import", {"-window", "root", "ppm:-"}, &ppm);
        shot = QImage::fromData(ppm, "PPM").convertToFormat(QImage::Format_RGB32);
        return shot;
    }

    // Waits until `holds` is true of a screenshot. While the game is frozen it
    // runs a tenth of a millisecond at a time between screenshots. A loaded
    // machine may stop it later than that, but a spin's 50 ticks still leave
    // several screenshots to see it in.
    void waitFor(const QString& what, const std::function<bool(const QImage&)>& holds, const QString* seen = nullptr)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < PatienceMs) {
            if (holds(screenshot()))
                return;
            if (frozen) {
                signalGame(SIGCONT);
                QThread::usleep(100);
                signalGame(SIGSTOP);
            } else {
                QThread::msleep(30);
            }
        }
        fail(seen ? what + " (saw " + *seen + ')' : what);
    }

    // The smallest rectangle around every pixel of `area` that `inked` holds for.
    static QRect ink(const QImage& s, QRect area, const std::function<bool(QRgb)>& inked)
    {
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (inked(s.pixel(x, y)))
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    // The text in `area`, inked where `inked` says, read by tesseract.
    QString read(const QImage& s, QRect area, const std::function<bool(QRgb)>& inked)
    {
        QImage page(area.size() + QSize(20, 20), QImage::Format_Grayscale8);
        page.fill(255);
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (inked(s.pixel(area.topLeft() + QPoint(x, y))))
                    page.setPixel(x + 10, y + 10, qRgb(0, 0, 0));
        const QString file = scratch.filePath("text.png");
        page.save(file);
        return run("tesseract", {file, "-", "--psm", "7"}).simplified();
    }

    // A number's ink, as a mask: where the caption's colour covers more than
    // half of the ground, whatever the two colours are.
    QImage numberInk(const QImage& s, QRect area, QRgb text, QRgb ground) const
    {
        const auto inked = [&](QRgb c) { return 2 * distance(c, ground) > distance(text, ground); };
        const QRect box = ink(s, area, inked);
        QImage mask(box.size(), QImage::Format_Mono);
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                mask.setPixel(x, y, inked(s.pixel(box.topLeft() + QPoint(x, y))));
        return mask;
    }

    // Whether every inked pixel of `a` lies within a pixel of one of `b`, the
    // two centred on each other, but for a few.
    static bool near(const QImage& a, const QImage& b)
    {
        const QPoint shift((b.width() - a.width()) / 2, (b.height() - a.height()) / 2);
        int inked = 0, astray = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                if (!a.pixelIndex(x, y))
                    continue;
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx) {
                        const QPoint p = QPoint(x + dx, y + dy) + shift;
                        found = b.valid(p) && b.pixelIndex(p);
                    }
                ++inked;
                astray += !found;
            }
        return astray * 12 <= inked;
    }

    // Whether a caption shows `number` in `colour`: the shape of that
    // number's cell on the table. Read so rather than by OCR, which takes the
    // font's dotted 0 for an 8. The shapes need not match to the pixel: at a
    // fractional scale the two may stand a fraction of a pixel apart, and
    // where the system blends the edges of letters with a gamma (Windows,
    // Wine), light letters on dark come out a pixel bolder than dark on light.
    bool showsNumber(const QImage& s, int id, int number, QRgb colour)
    {
        const int cell = ids::table::Label1 + number;
        const QImage shown = numberInk(s, onScreen(id).adjusted(px(1), px(1), -px(1), -px(1)), colour, rgb(fillUnder(id)));
        const QImage wanted = numberInk(s, onScreen(cell), rgb(CellColours[number]), rgb(fillUnder(cell)));
        return !shown.isNull() && std::abs(shown.width() - wanted.width()) <= 2
            && std::abs(shown.height() - wanted.height()) <= 2 && near(shown, wanted) && near(wanted, shown);
    }

    QString captionText(const QImage& s, int id)
    {
        const QRgb under = rgb(fillUnder(id));
        const QRect area = Controls[id].kind == Kind::Readout ? onScreen(id).adjusted(px(1), px(1), -px(1), -px(1))
                                                              : onScreen(id);
        return read(s, area, [&](QRgb c) { return distance(c, under) > 100; });
    }

    // The entries of the shown list, top to bottom: bands of light text.
    QList<QRect> listRows(const QImage& s, int* selected = nullptr) const
    {
        const QRect area = listArea();
        QList<QRect> rows;
        int top = -1;
        if (selected)
            *selected = -1;
        for (int y = area.top(); y <= area.bottom() + 1; ++y) {
            bool inked = false;
            for (int x = area.left(); y <= area.bottom() && x < area.right() && !inked; ++x)
                inked = luminance(s.pixel(x, y)) > 128;
            if (inked && top < 0)
                top = y;
            if (!inked && top >= 0) {
                // A selected entry lies on a background of its own.
                if (selected && s.pixel(area.right(), (top + y) / 2) != rgb(table::Black))
                    *selected = static_cast<int>(rows.size());
                rows << QRect(area.left(), top, area.width(), y - top);
                top = -1;
            }
        }
        return rows;
    }
    QStringList entries(const QImage& s)
    {
        QStringList texts;
        for (const QRect& row : listRows(s))
            texts << read(s, row.adjusted(0, -px(3), 0, px(3)), [](QRgb c) { return luminance(c) > 128; });
        return texts;
    }

    bool shown(const QImage& s, int id) const
    {
        if (id == ids::table::List1) // the sunken edge of a list, on the black window
            return s.pixel(onScreen(id).topLeft() + QPoint(0, px(100))) != rgb(table::Black);
        if (id == ids::table::Picture2)
            return !ink(s, onScreen(ids::table::Label4), [](QRgb c) { return c != rgb(table::Black); }).isNull();
        fail("cannot tell whether " + QString::number(id) + " shows");
    }

    bool titleUp(const QImage& s) const
    {
        const QRgb frame = rgb(title::Shape1.colour);
        return s.pixel(title.topLeft()) == frame && s.pixel(title.bottomRight()) == frame;
    }
    bool tableUp(const QImage& s) const
    {
        return s.pixel(table.topLeft() + QPoint(px(20), px(20))) == rgb(table::Picture1Colour) && !titleUp(s);
    }

    // The layout's own figures where it puts them, and every caption whole in
    // its box, at the size that fits: as wide as its widest line, give or take
    // the room beside the first and the last letter.
    QString laidOut(const QImage& s, int window)
    {
        auto near = [&](QPoint at, QRgb colour) {
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (s.pixel(at + QPoint(dx, dy)) == colour)
                        return true;
            return false;
        };
        const QPoint origin = windowOnScreen(window).topLeft();
        auto at = [&](double x, double y) { return origin + QPoint(px(x), px(y)); };
        if (window == ids::title::Form2) {
            const int w = title::Shape1.penWidth;
            if (s.pixel(at(w / 2.0, 200)) != rgb(title::Shape1.colour) || s.pixel(at(w + 2, 200)) != rgb(title::Background)
                || s.pixel(at(title::Width - w / 2.0, 300)) != rgb(title::Shape1.colour))
                return "the title's frame";
        } else {
            for (const LineFigure& line : table::Lines)
                if (!near(at((line.from.x + line.to.x) / 2.0 + 0.5, (line.from.y + line.to.y) / 2.0 + 0.5), rgb(line.colour)))
                    return QStringLiteral("the line from %1,%2").arg(line.from.x).arg(line.from.y);
            for (const DiscFigure& disc : table::Shape1)
                if (s.pixel(at(disc.bounds.x + disc.bounds.width / 2.0, disc.bounds.y + disc.bounds.height / 2.0)) != rgb(disc.colour))
                    return "a disc's colour";
        }
        for (int id = 0; id < ids::Count; ++id) {
            const Control& row = Controls[id];
            if (windowOf(id) != window || row.kind != Kind::Caption || row.text.empty())
                continue;
            const QRgb under = rgb(fillUnder(id));
            const QRect box = onScreen(id);
            const QRect inked = ink(s, box, [&](QRgb c) { return c != under; });
            const int pixels = fittingPixelSize(row.lines, box.width(), px(row.fontPixels));
            int letters = 0;
            for (int i = 0; i < row.lines.count; ++i) {
                const std::string_view line = row.lines.line[i];
                letters = std::max(letters, length(line.substr(line.find_first_not_of(' '))));
            }
            if (inked.width() < (letters - 1) * advance(pixels) || inked.width() > letters * advance(pixels) + advance(pixels) / 4)
                return QStringLiteral("the caption %1 is %2 pixels wide")
                    .arg(QString::fromUtf8(row.text.data(), row.text.size())).arg(inked.width());
        }
        return {};
    }

    // --- Acting ---

    void click(QPoint at, const QStringList& then = {"click", "1"})
    {
        QStringList args;
        // --sync waits for the pointer to move, which it never does when it is there already.
        if (at != pointer)
            args << "mousemove" << "--sync" << QString::number(at.x()) << QString::number(at.y());
        pointer = at;
        run("xdotool", args + then);
    }

    // The game and every process it started: Wine runs the program in one of them.
    QList<qint64> gameProcesses() const
    {
        QList<qint64> tree{game.processId()};
        for (int i = 0; i < tree.size(); ++i) {
            for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
                QFile stat("/proc/" + pid + "/stat");
                if (stat.open(QIODevice::ReadOnly)
                    && QString::fromLatin1(stat.readAll()).section(')', -1).section(' ', 2, 2).toLongLong() == tree[i])
                    tree << pid.toLongLong();
            }
        }
        return tree;
    }
    void signalGame(int signal)
    {
        for (qint64 pid : gameProcesses())
            ::kill(static_cast<pid_t>(pid), signal);
    }
    void thaw()
    {
        if (frozen)
            signalGame(SIGCONT);
        frozen = false;
    }

    void play(const QString& line)
    {
        QStringList words = line.split(' ', Qt::SkipEmptyParts);
        const QString verb = words.takeFirst();
        if (verb == "click") {
            for (const QString& name : words)
                click(pointOf(name));
        } else if (verb == "drag") {
            click(pointOf(words[0]), {"mousedown", "1"});
            click(pointOf(words[1]), {"mouseup", "1"});
        } else if (verb == "key") {
            run("xdotool", {"key", words[0] == "Backspace" ? "BackSpace" : words[0]});
        } else if (verb == "close") {
            run("wmctrl", {"-F", "-c", words[0]});
        } else if (verb == "freeze") {
            signalGame(SIGSTOP);
            frozen = true;
        } else if (verb == "thaw") {
            thaw();
        } else if (verb == "start") {
            launch();
        } else if (verb == "ended") {
            if (!game.waitForFinished(PatienceMs))
                fail("the game did not end");
            if (game.exitStatus() != QProcess::NormalExit || game.exitCode() != 0)
                fail(QStringLiteral("the game ended with status %1").arg(game.exitCode()));
        } else if (verb == "shows") {
            const bool titleWanted = words[0] == "Form2";
            QRect& found = titleWanted ? title : table;
            if (found.isNull())
                found = findWindow(titleWanted ? ids::title::Form2 : ids::table::Form1);
            waitFor(line, [&](const QImage& s) {
                return (titleWanted ? titleUp(s) : tableUp(s)) && visibleWindow(titleWanted ? "Form1" : "Form2").isEmpty();
            });
        } else if (verb == "drawn-as-laid-out") {
            const int window = tableUp(screenshot()) ? ids::table::Form1 : ids::title::Form2;
            QString wrong;
            waitFor(line, [&](const QImage& s) { return (wrong = laidOut(s, window)).isEmpty(); }, &wrong);
        } else if (verb == "text") {
            const int id = controlNamed(words.takeFirst());
            QString seen;
            bool number = false;
            const int value = words[0].toInt(&number);
            waitFor(line, [&](const QImage& s) {
                if (number && value >= 0 && value < NumberCount)
                    return showsNumber(s, id, value, rgb(id == ids::table::Cislo ? CellColours[value] : Controls[id].colour));
                return (seen = captionText(s, id)) == words.join(' ');
            }, &seen);
        } else if (verb == "entries") {
            QString seen;
            waitFor(line, [&](const QImage& s) {
                const QStringList texts = entries(s);
                seen = texts.join(' ');
                return texts == words;
            }, &seen);
        } else if (verb == "selected") {
            int selected = -1;
            waitFor(line, [&](const QImage& s) {
                listRows(s, &selected);
                return selected == (words[0] == "none" ? -1 : words[0].toInt());
            });
        } else if (verb == "hidden" || verb == "shown") {
            waitFor(line, [&](const QImage& s) {
                for (const QString& name : words)
                    if (shown(s, controlNamed(name)) != (verb == "shown"))
                        return false;
                return true;
            });
        } else if (verb == "spinning") {
            waitFor(line, [&](const QImage& s) {
                if (shown(s, ids::table::Picture2) || shown(s, ids::table::List1))
                    return false;
                for (int number = 0; number < NumberCount; ++number)
                    if (showsNumber(s, ids::table::Cislo, number, rgb(CellColours[number])))
                        return true;
                return false;
            });
        } else {
            fail("no action or check " + verb);
        }
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const qsizetype dashes = args.indexOf("--");
    if (args.size() < 4 || dashes < 3) {
        std::fprintf(stderr, "usage: %s <steps file> <screenshot directory> [--steps N] -- <command...>\n", argv[0]);
        return 2;
    }
    for (const char* tool : {"Xvfb", "openbox", "wmctrl", "xdotool", "import", "tesseract"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::printf("# skipped: %s is not installed (xvfb, openbox, wmctrl, xdotool, imagemagick, tesseract-ocr)\n", tool);
            return 77;
        }
    }
    Driver driver;
    driver.shots.setPath(args[2]);
    driver.command = args.mid(dashes + 1);
    const qsizetype limit = args.indexOf("--steps") > 0 ? args[args.indexOf("--steps") + 1].toInt() : -1;
    int passed = 0;
    auto save = [&](const char* how) {
        driver.shot.save(driver.shots.filePath(QStringLiteral("%1-%2.png").arg(passed, 2, 10, QChar('0')).arg(how)));
    };
    QString line;
    try {
        const QList<Step> steps = readSteps(args[1]);
        driver.start();
        for (const Step& step : steps) {
            if (passed == limit)
                break;
            for (const QString& each : step.lines) {
                line = each;
                driver.play(line);
            }
            ++passed;
            save("ok");
            std::printf("ok %d - %s\n", passed, qPrintable(step.what));
            std::fflush(stdout);
        }
    } catch (const Failure& failure) {
        ++passed;
        save("failed");
        std::printf("not ok %d - %s: %s\n", passed, qPrintable(line), failure.what());
        return 1;
    }
    return 0;
}
