#pragma once
// The user's files as they were before a fault, so a test can tell that each is byte for byte the
// same after it, and which files a folder gained meanwhile.

#include <QDir>
#include <QFile>
#include <QStringList>

#include <map>
#include <optional>

class SavedFiles {
public:
    // The file's bytes now; none when it cannot be read.
    static std::optional<QByteArray> Bytes(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    void Keep(const QString& path) { kept[path] = Bytes(path); }
    // The folder's files now, to tell later which ones are new.
    void KeepListing(const QString& folder) { listings[folder] = QDir(folder).entryList(QDir::Files); }

    // The kept files that are not byte for byte as they were (one that is gone counts too).
    QStringList Changed() const {
        QStringList changed;
        for (const auto& [path, bytes] : kept)
            if (Bytes(path) != bytes)
                changed << path;
        return changed;
    }
    // The folder's files that were not there when its listing was kept, as full paths.
    QStringList NewFiles(const QString& folder) const {
        const auto before = listings.find(folder);
        QStringList fresh;
        for (const QString& name : QDir(folder).entryList(QDir::Files))
            if (before == listings.end() || !before->second.contains(name))
                fresh << QDir(folder).filePath(name);
        return fresh;
    }

private:
    std::map<QString, std::optional<QByteArray>> kept;
    std::map<QString, QStringList> listings;
};
