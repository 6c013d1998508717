#include "inventory/InventoryUpdate.h"

#include "store/AmountText.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/TextAppender.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <optional>

namespace {

constexpr size_t CodeColumn = 1;
constexpr size_t CodeLength = 13;

std::string numberList(const std::vector<size_t>& numbers) {
    constexpr size_t Shown = 10;
    std::string list;
    for (size_t i = 0; i < numbers.size() && i < Shown; ++i)
        list += (i ? ", " : "") + std::to_string(numbers[i]);
    if (numbers.size() > Shown) list += ", ...";
    return list;
}

void reportUnreadable(Notices& notices, const std::string& path, const std::vector<size_t>& lines,
                      const std::string& outcome) {
    if (lines.empty()) return;
    notices.push_back({"The file " + path + " has lines that can't be read (" +
                       (lines.size() == 1 ? "line " : "lines ") + numberList(lines) + ").\r" +
                       outcome});
}

// Only when a line of the code could not be read: the fast search does not
// count lines, so they are counted in a second pass to name them.
std::vector<size_t> unreadableLinesOf(DataFiles& files, const std::string& code) {
    std::vector<size_t> numbers;
    std::optional<TextReader> inventory = files.OpenInventoryForRead();
    if (!inventory) return numbers;
    InventoryReader reader(*inventory);
    while (reader.next())
        if (!reader.readable() && reader.text().size() > CodeColumn &&
            reader.text().compare(CodeColumn, CodeLength, code) == 0)
            numbers.push_back(reader.lineNumber());
    return numbers;
}

// The first readable line of the code, passing over lines of it that cannot
// be read; false when there is none.
bool searchCode(TextReader& file, const std::string& code, InventoryLine& found,
                bool& passedUnreadable) {
    // The screen always asks for 13 characters; anything else could only
    // match a damaged line.
    if (code.size() != CodeLength || code.find_first_of("\r\n") != std::string::npos) return false;
    std::string text;
    while (file.skipToLineWith(CodeColumn, code)) {
        file.readFullLine(text);
        if (ParseInventoryLine(text, found)) return true;
        passedUnreadable = true;
    }
    if (file.ioError()) throw IoError(file.path(), "Read error");
    return false;
}

} // namespace

InventorySearch FindInventoryLine(DataFiles& files, const std::string& EnteredCode,
                                  InventoryLine& found) {
    InventorySearch search;
    std::string path;
    bool passedUnreadable = false;
    InventoryLine line;
    bool hit = false;
    {
        std::optional<TextReader> inventory = files.OpenInventoryForRead();
        if (!inventory) return search;
        path = inventory->path();
        hit = searchCode(*inventory, EnteredCode, line, passedUnreadable);
    }
    if (passedUnreadable)
        reportUnreadable(search.notices, path, unreadableLinesOf(files, EnteredCode),
                         "They are left as they are.");
    if (hit && line.ArticleMarker == '$') {
        search.notices.push_back({" This is an EXPENSE and can't be updated."});
        search.notices.push_back({" This code  was not found !"});
        search.result = InventoryFind::Expense;
        return search;
    }
    if (!hit) {
        search.notices.push_back({" This code " + EnteredCode + " was not found !"});
        return search;
    }
    found = line;
    search.result = InventoryFind::Found;
    return search;
}

void MakeInventoryWorkCopy(DataFiles& files) {
    const std::string workPath = files.pathOf("Inventory.wrk");
    try {
        std::optional<TextReader> inventory = files.OpenInventoryForRead();
        if (!inventory) throw IoError(files.CurrentFileName, "Open error");
        std::optional<TextRewriter> work = files.OpenInventoryWorkForWrite();
        if (!work) throw IoError(files.CurrentFileName, "Open error");
        std::string text;
        while (inventory->readFullLine(text))
            work->writeLine(text);
        if (inventory->ioError()) throw IoError(inventory->path(), "Read error");
        work->commit();
    } catch (const IoError&) {
        FileNames::remove(workPath);
        throw;
    }
}

void AppendInventoryChange(DataFiles& files, const InventoryChange& change) {
    std::optional<TextAppender> journal = files.OpenInventoryNewForAppend();
    if (!journal) throw IoError(files.CurrentFileName, "Open error");
    try {
        journal->writeLine(FormatInventoryChange(change));
        // A change the operator confirmed is on disk before the screen says so.
        journal->sync();
        journal->close();
    } catch (const IoError&) {
        journal->discard();
        throw;
    }
}

Notices ApplyInventoryUpdates(DataFiles& files, size_t stopCommitAfter,
                              std::vector<InventoryChange>* applied) {
    const std::string datPath = files.pathOf("Inventory.dat");
    const std::string newPath = files.pathOf("Inventory.new");
    std::optional<TextReader> journal;
    const bool hasJournal = FileNames::exists(newPath);
    if (hasJournal) {
        journal = TextReader::Open(newPath);
        if (!journal) throw IoError(newPath, "Open error");
    }
    std::optional<TextReader> work = files.OpenInventoryWorkForRead();
    if (!work) {
        // Without the work copy the journal cannot be applied; it waits.
        if (hasJournal) throw IoError(files.CurrentFileName, "Open error");
        return {};
    }

    std::vector<size_t> unreadableChanges;
    CodeTable<double> sums;
    if (hasJournal) {
        sums = SumInventoryChanges(*journal, unreadableChanges);
        journal.reset();
    }

    // The new inventory is composed in a text written in pieces that stay in
    // the caches: a string per line would cost more than the reading.
    constexpr size_t WriteEvery = 1 << 18;
    std::string content;
    content.reserve(WriteEvery + 4096);
    std::vector<size_t> unreadableLines;
    std::vector<InventoryChange> changes;
    FileCommit commit(files.DataDir());
    {
        std::optional<TextRewriter> out = TextRewriter::Open(commit.stage("Inventory.dat"));
        if (!out) throw IoError(datPath, "Open error");
        std::string text;
        InventoryLine line;
        for (size_t number = 1; work->readFullLine(text); ++number) {
            // Most lines keep their stock, and a line as this apply writes
            // them would be written again byte for byte.
            if (InventoryLineWrittenAsRead(text, MinMaxWidthUpdate) &&
                !sums.find(std::string_view(text).substr(CodeColumn, CodeLength))) {
                content += text;
            } else if (!ParseInventoryLine(text, line)) {
                if (!text.empty()) unreadableLines.push_back(number);
                content += text;
            } else {
                const double* sum = sums.find(line.ArticleCode);
                if (sum) changes.push_back({line.ArticleCode, *sum});
                line.InvOnStock += sum ? *sum : 0.0;
                AppendInventoryLine(content, line, MinMaxWidthUpdate);
            }
            content += "\r\n";
            if (content.size() >= WriteEvery) {
                out->write(content);
                content.clear();
            }
        }
        if (work->ioError()) throw IoError(work->path(), "Read error");
        work.reset();
        out->write(content);
        out->commit();
    }
    commit.remove("Inventory.new");
    commit.remove("Inventory.wrk");
    commit.stopAfter(stopCommitAfter);
    commit.commit();
    if (applied) *applied = std::move(changes);

    Notices notices;
    reportUnreadable(notices, datPath, unreadableLines, "They are kept unchanged.");
    reportUnreadable(notices, newPath, unreadableChanges, "They were left out.");
    return notices;
}

std::string InventoryLineDisplay(const InventoryLine& line, double stock) {
    auto shortest = [](double x) { return GeneralText(x, 15); };
    return line.ArticleMarker + line.ArticleCode + PadLeft(std::to_string(line.InvMinMax), 5) +
           PadLeft(shortest(line.InvSold), 10) + PadLeft(shortest(stock), 12) +
           PadLeft(shortest(line.InvTotalSold), 13);
}
