#pragma once

#include "store/TextFile.h"

#include <optional>
#include <string>

// A data file written anew. The lines go to a temporary name; commit() puts
// them on disk and renames them over the old file, so a crash leaves the old
// file or the new one. An object that goes without commit() leaves the old
// file as it was.
class TextRewriter : private TextFile {
  public:
    // Empty when the temporary file cannot be created.
    static std::optional<TextRewriter> Open(const std::string& path);
    ~TextRewriter();
    TextRewriter(TextRewriter&&) noexcept = default;
    TextRewriter& operator=(TextRewriter&&) noexcept = default;

    using TextFile::path;
    using TextFile::write;
    using TextFile::writeInteger;
    using TextFile::writeLine;
    using TextFile::writeNumber;

    // Replaces the old file by the lines written; throws IoError on failure,
    // and the old file stays.
    void commit() { close(); }
    // Drops what was written; the old file stays.
    using TextFile::discard;

  private:
    TextRewriter() = default;
};
