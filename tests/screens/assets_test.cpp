// The pictures the game draws are decoded when it is built; what it reads
// back from its resources must be every pixel of the committed files.
#include "screens/assets.h"

#include <QImageReader>
#include <QTest>

using namespace morvik;

class AssetsTest : public QObject {
    Q_OBJECT

private slots:
    void picturesAreTheDecodedFiles_data();
    void picturesAreTheDecodedFiles();
    void unknownPictureIsNull();
};

void AssetsTest::picturesAreTheDecodedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("title") << assets::Title << QStringLiteral("title.gif");
    QTest::newRow("logo") << assets::Logo << QStringLiteral("logo.bmp");
    for (int i = 0; i < 6; ++i)
        QTest::newRow(qPrintable(assets::chip(i)))
            << assets::chip(i) << QStringLiteral("chip-%1.bmp").arg(ChipValues[i]);
}

void AssetsTest::picturesAreTheDecodedFiles()
{
    QFETCH(QString, name);
    QFETCH(QString, file);

    const QImage decoded = QImageReader(QStringLiteral(MORVIK_ASSETS_DIR "/") + file).read();
    QVERIFY(!decoded.isNull());
    const QImage picture = assets::picture(name);
    // Transparent pictures come premultiplied, the form Qt scales and draws.
    QCOMPARE(picture.format(), decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QCOMPARE(picture, decoded.convertToFormat(picture.format()));
}

void AssetsTest::unknownPictureIsNull()
{
    QVERIFY(assets::picture(QStringLiteral(":/pictures/none")).isNull());
    // The font is a resource but no picture.
    QVERIFY(assets::picture(assets::Font).isNull());
}

QTEST_GUILESS_MAIN(AssetsTest)
#include "assets_test.moc"
