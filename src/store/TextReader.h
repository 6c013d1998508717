#pragma once

#include "store/TextFile.h"

#include <optional>
#include <string>

// A data file open for reading, from its first line on. One object per
// opening: it is made open by Open() and closes when it goes.
class TextReader : private TextFile {
  public:
    // Empty when the file does not exist or cannot be read.
    static std::optional<TextReader> Open(const std::string& path);

    using TextFile::check;
    using TextFile::clearIoError;
    using TextFile::eof;
    using TextFile::eoln;
    using TextFile::ioError;
    using TextFile::path;
    using TextFile::readChar;
    using TextFile::readFullLine;
    using TextFile::readInteger;
    using TextFile::readLine;
    using TextFile::readLineView;
    using TextFile::readReal;
    using TextFile::readRest;
    using TextFile::readText;
    using TextFile::skipToLineWith;

    // Closes the file and deletes it: for a work file whose use has ended.
    using TextFile::erase;

  private:
    TextReader() = default;
};
