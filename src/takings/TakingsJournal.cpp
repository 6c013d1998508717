#include "takings/TakingsJournal.h"

#include "pricelist/CurrentArticle.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "takings/TakingsRecord.h"
#include "till/SaleState.h"

TakingsJournal::TakingsJournal(std::string dataDir) : m_dataDir(std::move(dataDir)) {}

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
    if (!open()) throw IoError(path(), "The takings file cannot be opened");
    try {
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
