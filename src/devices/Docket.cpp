#include "devices/Docket.h"

#include "devices/DocketLines.h"
#include "store/ProgramState.h"

namespace {

// The row whose printer codes the generated lines (articles, totals, feed) get.
const std::string ArticleRow = "4";

void writeRows(TextFile& file, const Configuration& c, std::initializer_list<int> rows) {
    for (int row : rows)
        file.writeLine(std::to_string(row) + c.DocketText[static_cast<size_t>(row)]);
}

void writeLines(TextFile& file, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        file.writeLine(line);
}

} // namespace

bool StartDocket(ProgramState& state) {
    DataFiles& files = state.files;
    state.flags.DocketOpen = files.docket.openRewrite(files.compose("Docket.Prn"));
    if (state.flags.DocketOpen) writeRows(files.docket, state.config, {1, 2, 3});
    return state.flags.DocketOpen;
}

void WriteDocketLine(ProgramState& state) {
    writeLines(state.files.docket,
               DocketLines::articleLines(state.config, state.article, state.sale));
}

void WriteDocketTotals(ProgramState& state) {
    const Configuration& c = state.config;
    TextFile& file = state.files.docket;
    writeLines(file, DocketLines::totalLines(c, state.sale));
    writeLines(file, DocketLines::tenderLines(c, state.sale));
    state.ServedByName =
        DocketLines::servedByName(c, state.sale.CurrentSalesPerson, state.ServedByName);
    file.writeLine(
        DocketLines::servedByLine(c, state.ServedByName, state.ClockText, state.DateText));
}

void FinishDocket(ProgramState& state) {
    TextFile& file = state.files.docket;
    // The docket counts as finished even when its last write fails: the next
    // sale starts a new one.
    state.flags.DocketOpen = false;
    writeRows(file, state.config, {7, 8, 9});
    for (long i = 0; i < state.config.PushOut; ++i)
        file.writeLine(ArticleRow + std::string(20, ' '));
    file.close();
}

void WriteTotalsDocket(const std::string& docketPath, const std::vector<std::string>& lines) {
    TextFile docket;
    if (!docket.openRewrite(docketPath)) {
        docket.check();
        return;
    }
    for (const std::string& line : lines)
        docket.writeLine(ArticleRow + " " + line);
    docket.close();
}
