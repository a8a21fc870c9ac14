// Every picture the windows show reads from the program's resources at both
// densities, at the layout's size times the density and with that device
// pixel ratio, so that it is drawn unscaled on screens of either density.
#include "qt/assets.h"

#include <QTest>

using namespace morvik;

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureReadsAtItsSizeForEachDensity()
    {
        for (const int density : {1, 2}) {
            QCOMPARE(assets::picture(Art::Title, -1, density).size(), QSize(468, 227) * density);
            QCOMPARE(assets::picture(Art::Logo, -1, density).size(), QSize(222, 100) * density);
            for (int i = 0; i < DenominationCount; ++i) {
                const QImage chip = assets::picture(Art::Chip, i, density);
                QCOMPARE(chip.size(), QSize(60, 60) * density);
                QCOMPARE(chip.devicePixelRatio(), density);
            }
        }
    }
};

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
