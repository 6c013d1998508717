#pragma once

#include <string>
#include <vector>

struct Configuration;
struct CurrentArticle;
struct SaleState;

// The text of the docket's generated lines, each led by its row digit and
// without line end. Kept apart from the file so every layout can be checked
// on its own.
namespace DocketLines {

bool isWide(const Configuration& config);
std::vector<std::string> articleLines(const Configuration& config, const CurrentArticle& article,
                                      const SaleState& sale);
std::vector<std::string> totalLines(const Configuration& config, const SaleState& sale);
std::vector<std::string> tenderLines(const Configuration& config, const SaleState& sale);
std::string servedByLine(const Configuration& config, const std::string& servedByName,
                         const std::string& clockText, const std::string& dateText);
// "Till n" in the served-by row, for a shop with more than one till.
std::string tillLine(int till);
// The name of the sales person with this code; `previous` when none has it.
std::string servedByName(const Configuration& config, const std::string& salesPerson,
                         const std::string& previous);

} // namespace DocketLines
