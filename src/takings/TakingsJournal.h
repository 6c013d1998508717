#pragma once

#include "store/Notice.h"
#include "store/TextAppender.h"
#include "takings/SealJournal.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CurrentArticle;
struct RegionalFormats;
struct SaleState;

// A sale whose lines were recorded but never its total, as the start found
// and cancelled it.
struct CancelledSale {
    size_t lines = 0;
    // The sum of its line amounts.
    double amount = 0;
};

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

    // The start's repairs, before its start record. A power cut can leave the
    // file ending in NUL bytes or in half a line, onto which the next record
    // would be glued; the tail is cut and the line ended, each with a note.
    Notices RepairTornEnd();
    // Lines at the end of the file without their total record (the program
    // ended, crashed or lost its power mid-sale) would count as sold. Each is
    // booked back by a line record with the opposite figures, and a total
    // record of 0.00 at `clockText` closes the group, so every reader of the
    // file nets the sale to nothing.
    std::optional<CancelledSale> CancelUnfinishedSale(const std::string& clockText);

    void WriteStartRecord(const std::string& dateTimeText);
    void WriteResultsLine(char bookedBy, const SaleState& sale, const CurrentArticle& article);
    void WriteResultsTotal(const SaleState& sale, const std::string& clockText);

    // The time the journal's seals carry; without it they carry none.
    void setClock(std::function<DateTime()> now) { m_now = std::move(now); }
    // The start's completion of the seals, after its repairs.
    Notices CompleteSeals();

  private:
    void record(std::string_view text, bool toDisk);
    void record(const std::vector<std::string>& texts, bool toDisk);
    DateTime now() const { return m_now ? m_now() : DateTime{}; }

    std::string m_dataDir;
    std::optional<TextAppender> m_file;
    SealJournal m_seals;
    // Lines written whose seal could not be: sealed before the next ones,
    // or by the next start.
    std::vector<std::string> m_unsealed;
    std::function<DateTime()> m_now;
};

// What the operator is told of a cancelled sale, its amount in the screens'
// currency text.
Notice CancelledSaleNotice(const CancelledSale& sale, const RegionalFormats& formats);
