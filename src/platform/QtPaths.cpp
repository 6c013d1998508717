#include "platform/QtPaths.h"

#include <QDir>
#include <QFile>

QString fromNativePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string toNativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

std::string DataDirectoryOf(const QString& programDir) {
    return toNativePath(QDir::toNativeSeparators(programDir)) + "/";
}
