#pragma once

#include "store/TextFile.h"

#include <optional>
#include <string>

// A data file open for adding lines at its end. What is written stays in
// memory until flush(), sync() or the end of the object; an append that
// fails is cut back, so a full disk leaves no half line behind.
class TextAppender : private TextFile {
  public:
    // Empty when the file does not exist or cannot be written.
    static std::optional<TextAppender> Open(const std::string& path);
    // Creates the file when it does not exist yet.
    static std::optional<TextAppender> OpenElseCreate(const std::string& path);

    using TextFile::close;
    using TextFile::discard;
    using TextFile::flush;
    using TextFile::path;
    using TextFile::sync;
    using TextFile::write;
    using TextFile::writeInteger;
    using TextFile::writeLine;
    using TextFile::writeNumber;

    // Closes the file and deletes it: for a work file whose use has ended.
    using TextFile::erase;

  private:
    TextAppender() = default;
};
