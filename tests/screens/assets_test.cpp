// Every picture the windows show reads from the program's resources, at the
// size the layout and the Windows front end expect.
#include "qt/assets.h"

#include <QTest>

using namespace morvik;

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureReadsAtItsSize()
    {
        QCOMPARE(assets::picture(assets::title(1)).size(), QSize(468, 227));
        QCOMPARE(assets::picture(assets::title(2)).size(), QSize(936, 454));
        QCOMPARE(assets::picture(assets::Logo).size(), QSize(222, 100));
        for (int i = 0; i < DenominationCount; ++i)
            QCOMPARE(assets::picture(assets::chip(i)).size(), QSize(60, 60));
    }
};

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
