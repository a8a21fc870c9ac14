#include "qt/assets.h"
#include "session/plan.h"

#include <QFontDatabase>
#include <QImageReader>
#include <QResource>

namespace morvik {

bool installLayoutFont(const QString& fontFile)
{
    // Handed over where it lies in the program, stored uncompressed: by name,
    // Qt would first read all 300 KB of it into a copy.
    const QResource font(fontFile);
    const QStringList families = QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFontFromData(
        QByteArray::fromRawData(reinterpret_cast<const char*>(font.data()), qsizetype(font.size()))));
    if (families.isEmpty())
        return false;
    QFont::insertSubstitution(QStringLiteral("Courier New"), families.front());
    return true;
}

QFont layoutFont(int pixelSize)
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Bold);
    // Hinted glyphs advance by whole pixels, as the layout was measured:
    // "Player 1" fills 128 of Label4's 129 pixels only at 16 pixels a letter.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QImage assets::picture(Art art, int index, int density)
{
    const QString name = QString::fromStdString(pictureName(art, index));
    // Qt's reader takes the device pixel ratio from the name's "@2x".
    QImageReader reader(QStringLiteral(":/%1@%2x.ppm").arg(name).arg(density), "ppm");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        qFatal("Morvik Roulette cannot read its picture %s: %s", qPrintable(reader.fileName()),
               qPrintable(reader.errorString()));
    return image;
}

} // namespace morvik
