#pragma once
// File names travel from the dialogs as QString; the core takes std::filesystem paths.

#include <QFile>
#include <QString>

#include <filesystem>

inline std::filesystem::path ToPath(const QString& fileName) {
#ifdef _WIN32
    return std::filesystem::path(fileName.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
#endif
}

inline QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
