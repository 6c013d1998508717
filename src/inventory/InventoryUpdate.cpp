#include "inventory/InventoryUpdate.h"

#include "store/AmountText.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/TextFile.h"

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
    if (!files.OpenInventoryForRead()) return numbers;
    InventoryReader reader(files.inventory);
    while (reader.next())
        if (!reader.readable() && reader.text().size() > CodeColumn &&
            reader.text().compare(CodeColumn, CodeLength, code) == 0)
            numbers.push_back(reader.lineNumber());
    files.inventory.close();
    return numbers;
}

// The first readable line of the code, passing over lines of it that cannot
// be read; false when there is none.
bool searchCode(TextFile& file, const std::string& code, InventoryLine& found,
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
    if (!files.OpenInventoryForRead()) return search;
    const std::string path = files.inventory.path();
    bool passedUnreadable = false;
    InventoryLine line;
    bool hit = false;
    try {
        hit = searchCode(files.inventory, EnteredCode, line, passedUnreadable);
    } catch (const IoError&) {
        files.inventory.discard();
        throw;
    }
    files.inventory.close();
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
        if (!files.OpenInventoryForRead()) throw IoError(files.CurrentFileName, "Open error");
        if (!files.OpenInventoryWorkForWrite()) throw IoError(files.CurrentFileName, "Open error");
        std::string text;
        while (files.inventory.readFullLine(text))
            files.inventoryWork.writeLine(text);
        if (files.inventory.ioError()) throw IoError(files.inventory.path(), "Read error");
        files.inventory.close();
        files.inventoryWork.close();
    } catch (const IoError&) {
        files.inventory.discard();
        files.inventoryWork.discard();
        FileNames::remove(workPath);
        throw;
    }
}

void AppendInventoryChange(DataFiles& files, const InventoryChange& change) {
    if (!files.OpenInventoryNewForAppend()) throw IoError(files.CurrentFileName, "Open error");
    try {
        files.inventoryNew.writeLine(FormatInventoryChange(change));
        // A change the operator confirmed is on disk before the screen says so.
        files.inventoryNew.sync();
        files.inventoryNew.close();
    } catch (const IoError&) {
        files.inventoryNew.discard();
        throw;
    }
}

Notices ApplyInventoryUpdates(DataFiles& files, size_t stopCommitAfter) {
    const std::string datPath = files.pathOf("Inventory.dat");
    const std::string newPath = files.pathOf("Inventory.new");
    TextFile journal;
    const bool hasJournal = FileNames::exists(newPath);
    if (hasJournal && !journal.openRead(newPath)) throw IoError(newPath, "Open error");
    TextFile work;
    if (!work.openRead(files.compose("Inventory.wrk"))) {
        // Without the work copy the journal cannot be applied; it waits.
        if (hasJournal) throw IoError(files.CurrentFileName, "Open error");
        return {};
    }

    std::vector<size_t> unreadableChanges;
    CodeTable<double> sums;
    if (hasJournal) {
        sums = SumInventoryChanges(journal, unreadableChanges);
        journal.close();
    }

    // The new inventory is composed in a text written in pieces that stay in
    // the caches: a string per line would cost more than the reading.
    constexpr size_t WriteEvery = 1 << 18;
    std::string content;
    content.reserve(WriteEvery + 4096);
    std::vector<size_t> unreadableLines;
    FileCommit commit(files.DataDir());
    TextFile out;
    try {
        if (!out.openRewrite(commit.stage("Inventory.dat"))) throw IoError(datPath, "Open error");
        std::string text;
        InventoryLine line;
        for (size_t number = 1; work.readFullLine(text); ++number) {
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
                line.InvOnStock += sum ? *sum : 0.0;
                AppendInventoryLine(content, line, MinMaxWidthUpdate);
            }
            content += "\r\n";
            if (content.size() >= WriteEvery) {
                out.write(content);
                content.clear();
            }
        }
        if (work.ioError()) throw IoError(work.path(), "Read error");
        work.close();
        out.write(content);
        out.close();
    } catch (const IoError&) {
        out.discard();
        throw;
    }
    commit.remove("Inventory.new");
    commit.remove("Inventory.wrk");
    commit.stopAfter(stopCommitAfter);
    commit.commit();

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
