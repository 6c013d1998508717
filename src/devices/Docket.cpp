#include "devices/Docket.h"

#include "devices/DocketFile.h"
#include "devices/DocketLines.h"
#include "pricelist/CurrentArticle.h"
#include "store/Configuration.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "till/SaleState.h"

namespace {

// The row whose printer codes the generated lines (articles, totals, feed) get.
const std::string ArticleRow = "4";

} // namespace

bool DocketFile::StartDocket(const std::string& dataDir, const Configuration& config) {
    m_file = TextRewriter::Open(FileNames::resolve(dataDir, "Docket.Prn"));
    if (!m_file) return false;
    for (int row : {1, 2, 3})
        m_file->writeLine(std::to_string(row) + config.DocketText[static_cast<size_t>(row)]);
    return true;
}

void DocketFile::writeLine(const std::string& line) {
    if (m_file) m_file->writeLine(line);
}

void DocketFile::WriteDocketLine(const Configuration& config, const CurrentArticle& article,
                                 const SaleState& sale) {
    for (const std::string& line : DocketLines::articleLines(config, article, sale))
        writeLine(line);
}

void DocketFile::WriteDocketTotals(const Configuration& config, const SaleState& sale,
                                   const std::string& clockText, const std::string& dateText,
                                   int till) {
    for (const std::string& line : DocketLines::totalLines(config, sale))
        writeLine(line);
    for (const std::string& line : DocketLines::tenderLines(config, sale))
        writeLine(line);
    m_servedByName = DocketLines::servedByName(config, sale.CurrentSalesPerson, m_servedByName);
    writeLine(DocketLines::servedByLine(config, m_servedByName, clockText, dateText));
    if (till > 0) writeLine(DocketLines::tillLine(till));
}

void DocketFile::FinishDocket(const Configuration& config) {
    if (!m_file) return;
    std::optional<TextRewriter> file = std::move(m_file);
    m_file.reset();
    for (int row : {7, 8, 9})
        file->writeLine(std::to_string(row) + config.DocketText[static_cast<size_t>(row)]);
    for (long i = 0; i < config.PushOut; ++i)
        file->writeLine(ArticleRow + std::string(20, ' '));
    file->commit();
}

void WriteTotalsDocket(const std::string& docketPath, const std::vector<std::string>& lines) {
    std::optional<TextRewriter> docket = TextRewriter::Open(docketPath);
    if (!docket) throw IoError(docketPath, "File cannot be created");
    for (const std::string& line : lines)
        docket->writeLine(std::string(ArticleRow).append(" ").append(line));
    docket->commit();
}
