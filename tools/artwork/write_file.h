// Both encoders build the whole file in memory and store it in one go.
#pragma once

#include <QFile>
#include <QString>

#include <cstdint>
#include <vector>

namespace artwork {

// Returns false if the file cannot be written whole.
inline bool writeFile(const QString& path, const std::vector<std::uint8_t>& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

}  // namespace artwork
