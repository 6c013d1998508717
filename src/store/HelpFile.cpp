#include "store/HelpFile.h"

#include "store/TextReader.h"

std::optional<std::vector<std::string>> LoadHelpLines(const std::string& path) {
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return std::nullopt;
    std::vector<std::string> lines;
    while (!file->eof()) {
        lines.push_back(file->readText(255));
        file->readLine();
    }
    return lines;
}

std::string HelpFileMissingText(const std::string& path) {
    return "Error!\r\nthe file " + path + " not found!";
}
