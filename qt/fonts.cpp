#include "qt/fonts.h"

#include <QFontDatabase>
#include <QResource>
#include <QStringList>

namespace morvik {

bool installLayoutFont(const QString& fontFile)
{
    // A font stored uncompressed in the resources is handed over where it
    // lies; by name, Qt would first read all 300 KB of it into a copy.
    const QResource resource(fontFile);
    const int id = resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression
                       ? QFontDatabase::addApplicationFontFromData(QByteArray::fromRawData(
                             reinterpret_cast<const char*>(resource.data()), qsizetype(resource.size())))
                       : QFontDatabase::addApplicationFont(fontFile);
    if (id < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
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

} // namespace morvik
