#include "ui/file_names.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace tal {

std::string systemFileName(const QString& name) {
    const QString native = QDir::toNativeSeparators(name);
    const std::string bytes = QFile::encodeName(native).toStdString();
    std::error_code ec;
    if (name.isEmpty() || std::filesystem::exists(bytes, ec))
        return bytes;
    const QFileInfo info(name);
    const std::string folder = systemFileName(info.absolutePath());
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string entryName = entry.path().filename().string();
        if (QFile::decodeName(QByteArray::fromStdString(entryName)) == info.fileName())
            return (std::filesystem::path(folder) / entryName).string();
    }
    return bytes;  // a new file: its name as Qt spells it
}

QString shownFileName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

}  // namespace tal
