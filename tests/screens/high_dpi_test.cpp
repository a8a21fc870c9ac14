// The windows on a screen of any whole pixel density (QT_SCALE_FACTOR): the
// layout grows by the density, lines cover whole layout pixels without a
// smear, pictures keep the detail of their source and text is drawn at the
// screen's own resolution rather than enlarged.
#include "fakes.h"
#include "screen_checks.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "toolkit/fonts.h"

#include <QPainter>
#include <QTest>

#include <cstdlib>
#include <memory>

using namespace morvik;
using namespace morvik::testing;

namespace {

// Mean difference per colour channel of two images of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// A picture drawn over the black window at its device size.
QImage onBlack(const QImage& picture)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).drawImage(0, 0, picture);
    return image;
}

} // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup() { title.reset(); }

    void windowsGrowByTheDensity();
    void linesCoverWholeLayoutPixels_data();
    void linesCoverWholeLayoutPixels();
    void artworkKeepsTheDetailOfItsSource();
    void picturesAtTheirOwnSizeKeepTheirPixels();
    void textIsDrawnAtTheScreensResolution();

private:
    // One pixel of the layout at (x, y) as the screen shows it.
    QRect devicePixel(int x, int y) const { return QRect(x * scale, y * scale, scale, scale); }

    int scale = 1;
    FakeDesk desk;
    std::unique_ptr<TitleWindow> title;
    QImage titleImage, tableImage;
};

void HighDpiTest::initTestCase()
{
    QVERIFY(installLayoutFont(assets::Font));
    scale = qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariableIntValue("QT_SCALE_FACTOR") : 1;
    QVERIFY(scale >= 1);
}

void HighDpiTest::init()
{
    title = std::make_unique<TitleWindow>(desk.services());
    title->show();
    QTest::mouseClick(control<QWidget>(*title, "Label1(0)"), Qt::LeftButton);
    QVERIFY(title->tableWindow());
    titleImage = render(*title);
    tableImage = render(*title->tableWindow());
}

void HighDpiTest::windowsGrowByTheDensity()
{
    QCOMPARE(titleImage.devicePixelRatio(), qreal(scale));
    QCOMPARE(titleImage.size(), QSize(809, 505) * scale);
    QCOMPARE(tableImage.size(), QSize(859, 669) * scale);

    // The title frame is ten layout pixels wide, on every screen.
    const QColor yellow(255, 238, 0), black(0, 0, 0);
    QCOMPARE(titleImage.pixelColor(10 * scale - 1, 10 * scale - 1), yellow);
    QCOMPARE(titleImage.pixelColor(10 * scale, 10 * scale), black);
    QCOMPARE(titleImage.pixelColor(799 * scale, 495 * scale), yellow);
    QCOMPARE(titleImage.pixelColor(799 * scale - 1, 495 * scale - 1), black);
}

void HighDpiTest::linesCoverWholeLayoutPixels_data()
{
    QTest::addColumn<QPoint>("along"); // a layout pixel on the line, and how it runs
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<QPoint>("across");
    QTest::addColumn<QColor>("colour");

    const QColor white(255, 255, 255), grey(239, 239, 239);
    QTest::newRow("Line1, upright") << QPoint(136, 300) << QPoint(0, 1) << QPoint(1, 0) << white;
    QTest::newRow("Line2, light grey") << QPoint(376, 300) << QPoint(0, 1) << QPoint(1, 0) << grey;
    QTest::newRow("Line9, across the table") << QPoint(30, 216) << QPoint(1, 0) << QPoint(0, 1) << white;
    QTest::newRow("Line14, in the block") << QPoint(140, 416) << QPoint(1, 0) << QPoint(0, 1) << white;
}

void HighDpiTest::linesCoverWholeLayoutPixels()
{
    QFETCH(QPoint, along);
    QFETCH(QPoint, step);
    QFETCH(QPoint, across);
    QFETCH(QColor, colour);

    const QColor green(0, 128, 0);
    for (int i = 0; i < 20; ++i) {
        const QPoint at = along + i * step;
        const QRect pixel = devicePixel(at.x(), at.y());
        for (int y = pixel.top(); y <= pixel.bottom(); ++y)
            for (int x = pixel.left(); x <= pixel.right(); ++x)
                QCOMPARE(tableImage.pixelColor(x, y), colour);
        // Beside the line the table is green to the last device pixel.
        QCOMPARE(tableImage.pixelColor(pixel.topLeft() - across), green);
        QCOMPARE(tableImage.pixelColor(pixel.bottomRight() + across), green);
    }

    // Line1 ends one layout pixel past the bottom cross line, whole.
    QCOMPARE(tableImage.pixelColor(devicePixel(136, 577).bottomLeft()), QColor(255, 255, 255));
    QCOMPARE(tableImage.pixelColor(devicePixel(136, 578).topLeft()), green);
}

void HighDpiTest::artworkKeepsTheDetailOfItsSource()
{
    const QImage source = assets::picture(assets::Title);
    const QRect area(72 * scale, 40 * scale, 468 * scale, 227 * scale);
    const QImage shown = titleImage.copy(area);
    const QImage fromSource =
        onBlack(source.scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QVERIFY2(meanDifference(shown, fromSource) < 0.5, "the artwork is not resampled from its source");
    if (scale == 1)
        return;
    // The layout-sized copy, enlarged, has lost what the screen could show.
    const QImage enlarged = onBlack(source.scaled(468, 227, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                        .scaled(area.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QVERIFY(meanDifference(shown, enlarged) > 1.0);
}

void HighDpiTest::picturesAtTheirOwnSizeKeepTheirPixels()
{
    // Enlarged by whole pixels: every source pixel becomes a square of one colour.
    auto enlarged = [this](const QString& file) {
        const QImage source = assets::picture(file).convertToFormat(QImage::Format_RGB32);
        QImage image = source.scaled(source.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        image.setDevicePixelRatio(scale);
        return image;
    };
    QCOMPARE(titleImage.copy(QRect(QPoint(568, 16) * scale, QSize(222, 100) * scale)), enlarged(assets::Logo));
    for (int i = 0; i < 6; ++i) {
        const QRect chip(QPoint(8 + 136 + 104 * i, 600) * scale, QSize(60, 60) * scale);
        QVERIFY2(tableImage.copy(chip) == enlarged(assets::chip(i)), qPrintable(assets::chip(i)));
    }
}

void HighDpiTest::textIsDrawnAtTheScreensResolution()
{
    if (scale == 1)
        QSKIP("one device pixel to the layout pixel");
    // An enlarged rendering repeats every pixel `scale` times across; text
    // drawn for the screen has edges inside the layout pixels.
    for (const char* name : {"Label1(17)", "Label7", "Label4"}) {
        const QWidget* label = control<QWidget>(*title->tableWindow(), name);
        const QRect area(label->mapTo(title->tableWindow(), QPoint(0, 0)) * scale, label->size() * scale);
        int inner = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x < area.right(); x += scale)
                inner += tableImage.pixel(x, y) != tableImage.pixel(x + 1, y);
        QVERIFY2(inner > 0, name);
    }
}

QTEST_MAIN(HighDpiTest)
#include "high_dpi_test.moc"
