#pragma once

#include <QString>
#include <string>

// Paths cross to Qt in the file system's own encoding. Windows-1252 is for
// what the files hold, never for their names: a folder called "jörg" or
// "łódź" must be the same folder on both sides.
QString fromNativePath(const std::string& path);
std::string toNativePath(const QString& path);

// The data directory: the folder the program runs from, with a separator after it.
std::string DataDirectoryOf(const QString& programDir);
