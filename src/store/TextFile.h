#pragma once

#include <string>
#include <string_view>
#include <vector>

// One text file of the data directory, read and written by the rules of the
// program's files: Windows-1252 bytes, lines ended by CR LF (a bare LF is
// taken too). Reading follows the classic text-file rules: a text of at most
// N characters stops at the line end, numbers skip blanks and line ends.
//
// Reads never throw: a malformed number sets the error state, and while it is
// set further reads do nothing, so a caller checks once per line (ioError)
// or lets check() throw. Writes throw IoError naming the file.
//
// A file opened with rewrite is written to a temporary name and only renamed
// over the real one by close(), after it is on disk: a crash leaves the old
// file or the new one, never half of one.
//
// Files are opened through TextReader, TextAppender and TextRewriter, each
// made open in one mode for one use: only they can make and open a TextFile,
// so no handle is ever carried from one use, or one mode, to the next.
class TextFile {
  public:
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }

    // Reading
    std::string readText(size_t maxChars);
    char readChar();
    bool readInteger(long& value);
    bool readReal(double& value);
    void readLine();
    // Reads the rest of the line, however long, up to its LF (a CR before the
    // LF is dropped; any other byte is kept). False at the end of the file.
    bool readFullLine(std::string& line);
    // The same line as a view into the read buffer, without a copy: valid
    // until the next read. A line longer than the buffer grows it.
    bool readLineView(std::string_view& line);
    // Appends everything from here to the end of the file to `out`, in as
    // few reads as the file's size allows: for the readers that take a whole
    // file apart in memory. False when a read failed (ioError is then set).
    bool readRest(std::string& out);
    // Moves to the start of the first line, from here on, whose bytes from
    // `column` on are exactly `key` (a line ends at LF). The comparison is made
    // in the read buffer, so a long file is passed over at the speed of its
    // reading. False at the end of the file; `lastPassed` then receives the
    // first column + key.size() bytes of the last line passed over (fewer
    // when that line is shorter, empty when there was none).
    bool skipToLineWith(size_t column, std::string_view key, std::string* lastPassed = nullptr);
    bool eoln();
    bool eof();
    bool ioError() const { return m_error; }
    void clearIoError() { m_error = false; }
    void check() const;

    // Writing
    void write(std::string_view text);
    void writeNumber(double x, int width, int decimals);
    void writeInteger(long long n, int width);
    void writeLine(std::string_view text = {});
    void flush();
    // Flushes and waits until the lines are on disk.
    void sync();

    // Closes the file; a rewritten file replaces the old one here.
    void close();
    // Closes the file (dropping a rewrite in progress) and deletes it.
    void erase();
    // Lets go of the file without writing what is still buffered; a rewrite
    // in progress is dropped and the old file stays.
    void discard() { abandon(); }

  protected:
    TextFile() = default;
    // Moving hands the open file over; the moved-from object holds nothing.
    TextFile(TextFile&& other) noexcept;
    // The two swap: what this one held goes with the other object, and ends
    // as that object ends.
    TextFile& operator=(TextFile&& other) noexcept;

    bool openRead(const std::string& path);
    bool openRewrite(const std::string& path);
    bool openAppend(const std::string& path);
    bool openAppendElseRewrite(const std::string& path);

  private:
    enum class Mode { None, Read, Rewrite, Append };
    int peek();
    int get();
    bool fill();
    bool fillKeeping(size_t from);
    std::string readToken();
    void fail(const char* what) const;
    void writeOut(const char* bytes, size_t size);
    void syncDirectory() const;
    void abandon();

    int m_fd = -1;
    Mode m_mode = Mode::None;
    std::string m_path;
    std::string m_tempPath;
    std::vector<char> m_buf;
    size_t m_pos = 0;
    size_t m_len = 0;
    bool m_atEnd = false;
    bool m_error = false;
};
