#include "takings/TakingsJournal.h"

#include "platform/Regional.h"
#include "pricelist/CurrentArticle.h"
#include "store/AmountText.h"
#include "store/FileNames.h"
#include "store/FileTail.h"
#include "store/IoError.h"
#include "store/TextReader.h"
#include "takings/TakingsReader.h"
#include "takings/TakingsRecord.h"
#include "till/SaleState.h"

namespace {

struct RecordedLine {
    char marker;
    std::string code;
    LineFigures figures;
};

// The line records after the last total or start record.
std::vector<RecordedLine> linesWithoutTotal(const std::string& path) {
    std::vector<RecordedLine> lines;
    std::optional<TextReader> file = TextReader::Open(path);
    if (!file) return lines;
    TakingsReader reader(*file);
    TakingsEntry e;
    while (reader.next(e)) {
        if (e.kind != TakingsEntry::Kind::Line) {
            lines.clear();
            continue;
        }
        lines.push_back({e.marker,
                         std::string(e.code),
                         {e.quantity, e.wholesale, e.listPrice, e.unitPrice, e.amount}});
    }
    return lines;
}

// 0 - x, not -x: a price of 0.00 must not come back as "-0.00".
double opposite(double x) {
    return 0.0 - x;
}

// The line that books `line` back, as a return does. The consolidation weighs
// a line's prices by the size of its quantity, except those of a service
// booked without a sales person ("@"), which it weighs by the quantity's
// opposite; there the prices stay as they were, or they would be counted
// twice instead of netted.
std::string reversalText(const RecordedLine& line) {
    LineFigures f = line.figures;
    f.quantity = opposite(f.quantity);
    f.amount = opposite(f.amount);
    if (line.marker != '@') {
        f.wholesale = opposite(f.wholesale);
        f.listPrice = opposite(f.listPrice);
        f.unitPrice = opposite(f.unitPrice);
    }
    return LineRecordText(line.marker, line.code, f);
}

} // namespace

TakingsJournal::TakingsJournal(std::string dataDir)
    : m_dataDir(std::move(dataDir)), m_seals(m_dataDir) {}

Notices TakingsJournal::CompleteSeals() {
    close();
    // A link to a device is no day's takings, and could be read for ever.
    if (FileNames::named(path()) && !FileNames::regularFile(path())) return {};
    m_unsealed.clear();
    return m_seals.completeFromTakings(now());
}

std::string TakingsJournal::path() const {
    return FileNames::resolve(m_dataDir, "Results.dat");
}

bool TakingsJournal::open() {
    if (!m_file) m_file = TextAppender::OpenElseCreate(path());
    return m_file.has_value();
}

void TakingsJournal::close() {
    if (!m_file) return;
    std::optional<TextAppender> file = std::move(m_file);
    m_file.reset();
    file->close();
}

void TakingsJournal::record(std::string_view text, bool toDisk) {
    record(std::vector<std::string>{std::string(text)}, toDisk);
}

void TakingsJournal::record(const std::vector<std::string>& texts, bool toDisk) {
    if (!open()) throw IoError(path(), "The takings file cannot be opened");
    try {
        for (const std::string& text : texts)
            m_file->writeLine(text);
        if (toDisk)
            m_file->sync();
        else
            m_file->flush();
    } catch (const IoError&) {
        // What was buffered is dropped with the file: the caller has not
        // taken the change, and writing it again must not record it twice.
        m_file->discard();
        m_file.reset();
        throw;
    }
    // The lines are the record; their seal follows at once, handed to the
    // system but not synced: one sync a record is what a sale costs, and a
    // seal that a power cut takes is written again from the takings file by
    // the next start. A seal that cannot be written must not undo a sale the
    // takings hold: it is tried again with the next record, and the next
    // start completes it.
    m_unsealed.insert(m_unsealed.end(), texts.begin(), texts.end());
    try {
        m_seals.sealTakingsLines(m_unsealed, now());
        m_unsealed.clear();
    } catch (const IoError&) {
    }
}

Notices TakingsJournal::RepairTornEnd() {
    close();
    const std::string file = path();
    const TailRepair repair = RepairFileTail(file);
    Notices notices;
    if (repair.nulBytesCut > 0)
        notices.push_back({"The takings file " + file + " ended in " +
                               std::to_string(repair.nulBytesCut) +
                               " empty bytes left by a power cut; they are cut off.",
                           Notice::Kind::Note});
    if (repair.lineEnded)
        notices.push_back({"The last line of the takings file " + file +
                               " was cut short by a power cut; it is ended, and the next "
                               "record starts on a line of its own.",
                           Notice::Kind::Note});
    return notices;
}

std::optional<CancelledSale> TakingsJournal::CancelUnfinishedSale(const std::string& clockText) {
    close();
    // A link to a device is no day's takings, and could be read for ever.
    if (!FileNames::regularFile(path())) return std::nullopt;
    const std::vector<RecordedLine> lines = linesWithoutTotal(path());
    if (lines.empty()) return std::nullopt;
    CancelledSale cancelled;
    std::vector<std::string> texts;
    for (const RecordedLine& line : lines) {
        texts.push_back(reversalText(line));
        cancelled.amount += line.figures.amount;
    }
    texts.push_back(ResultsTotalText(SaleState{}, clockText));
    record(texts, true);
    cancelled.lines = lines.size();
    return cancelled;
}

Notice CancelledSaleNotice(const CancelledSale& sale, const RegionalFormats& formats) {
    return {"The last sale was not finished (" + std::to_string(sale.lines) +
                (sale.lines == 1 ? " line, " : " lines, ") + CurrencyText(sale.amount, formats) +
                "); it is cancelled",
            Notice::Kind::Message};
}

void TakingsJournal::WriteStartRecord(const std::string& dateTimeText) {
    record(StartRecordText(dateTimeText), true);
}

void TakingsJournal::WriteResultsLine(char bookedBy, const SaleState& sale,
                                      const CurrentArticle& article) {
    record(ResultsLineText(bookedBy, sale, article), false);
}

void TakingsJournal::WriteResultsTotal(const SaleState& sale, const std::string& clockText) {
    record(ResultsTotalText(sale, clockText), true);
}
