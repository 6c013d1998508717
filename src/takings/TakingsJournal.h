#pragma once

#include "store/TextAppender.h"

#include <optional>
#include <string>
#include <string_view>

struct CurrentArticle;
struct SaleState;

// The day's takings file, Results.dat, as the till writes it: a start record
// at each program start, then each sale's or expense's line records and its
// total record. The file is held open from the first record of a sale to its
// end (or until the screen is left), and opened again by the next record.
//
// A record is on disk when its call returns: lines are flushed, a total is
// synced, so a power cut loses at most the line being typed. A record that
// cannot be written throws IoError; nothing of it stays behind, the file is
// let go and the next record opens it afresh, so a record written again once
// the cause is fixed is recorded once.
class TakingsJournal {
  public:
    explicit TakingsJournal(std::string dataDir);

    // The file's full path (an existing file keeps its own spelling).
    std::string path() const;

    // Opens the file for the records to come; false when it cannot be
    // opened (the first record then says so).
    bool open();
    bool isOpen() const { return m_file.has_value(); }
    // Lets go of the file; what was recorded is already on disk.
    void close();

    void WriteStartRecord(const std::string& dateTimeText);
    void WriteResultsLine(char bookedBy, const SaleState& sale, const CurrentArticle& article);
    void WriteResultsTotal(const SaleState& sale, const std::string& clockText);

  private:
    void record(std::string_view text, bool toDisk);

    std::string m_dataDir;
    std::optional<TextAppender> m_file;
};
