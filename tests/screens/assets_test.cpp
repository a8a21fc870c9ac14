// Every picture the windows show reads from the program's resources at both
// densities, at the layout's size times the density and with that device
// pixel ratio, so that it is drawn unscaled on screens of either density;
// each chip is the one of its denomination, known by its colour.
#include "qt/assets.h"

#include <QTest>

#include <cstdlib>

using namespace morvik;

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureReadsAtItsSizeForEachDensity()
    {
        for (const int density : {1, 2}) {
            QCOMPARE(assets::picture(Art::Title, -1, density).size(), QSize(468, 227) * density);
            QCOMPARE(assets::picture(Art::Logo, -1, density).size(), QSize(222, 100) * density);
            // The rim at nine o'clock, between two inserts, lit a little from the upper left.
            const QColor rims[DenominationCount]{{172, 33, 33},  {17, 131, 129}, {125, 64, 173},
                                                 {38, 135, 55},  {194, 102, 18}, {38, 85, 179}};
            for (int i = 0; i < DenominationCount; ++i) {
                const QImage chip = assets::picture(Art::Chip, i, density);
                QCOMPARE(chip.size(), QSize(60, 60) * density);
                QCOMPARE(chip.devicePixelRatio(), density);
                const QColor rim = chip.pixelColor(5 * density, 30 * density);
                QVERIFY2(std::abs(rim.red() - rims[i].red()) + std::abs(rim.green() - rims[i].green())
                             + std::abs(rim.blue() - rims[i].blue()) < 12,
                         qPrintable(QStringLiteral("chip %1 at %2x: %3").arg(ChipValues[i]).arg(density).arg(rim.name())));
            }
        }
    }
};

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
