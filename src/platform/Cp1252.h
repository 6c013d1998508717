#pragma once

#include <QString>
#include <string>

// The data files and the logic speak Windows-1252; Qt speaks Unicode.
QString fromCp1252(const std::string& bytes);
// Characters that Windows-1252 cannot hold are dropped.
std::string toCp1252(const QString& text);
// Whether the character can be typed into a data field.
bool isCp1252(QChar c);
