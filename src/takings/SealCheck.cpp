#include "takings/SealCheck.h"

#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Sha256.h"
#include "store/TextLines.h"
#include "takings/SealJournal.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>

namespace {

std::optional<std::string> readIfThere(const std::string& path) {
    if (!FileNames::exists(path)) return std::nullopt;
    return ReadWholeFile(path);
}

std::vector<std::string_view> linesOf(const std::string& text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&lines](std::string_view line, size_t) { lines.push_back(line); });
    return lines;
}

class Checker {
  public:
    Checker(const std::string& dir, SealCheck& out) : m_dir(dir), m_out(out) {}

    void run() {
        std::vector<std::string> journals = journalChain();
        for (const std::string& name : journals)
            checkJournal(name);
        checkTakings(SealedTakingsName, m_pending, true);
    }

  private:
    std::string path(const std::string& name) const { return FileNames::resolve(m_dir, name); }
    void finding(std::string text) { m_out.findings.push_back(std::move(text)); }

    // The journals oldest first: each begins by naming the archive it continues.
    std::vector<std::string> journalChain() {
        std::vector<std::string> chain;
        std::set<std::string> seen;
        std::string name = SealJournalName;
        for (;;) {
            if (!seen.insert(name).second) break;
            std::optional<std::string> text = readIfThere(path(name));
            if (!text) {
                if (name != SealJournalName) finding(name + ": missing");
                break;
            }
            m_texts[name] = *text;
            chain.insert(chain.begin(), name);
            std::vector<std::string_view> lines = linesOf(*text);
            SealLine first;
            if (lines.empty() || !ParseSealLine(lines[0], first) || first.kind != 'C') break;
            name = first.file;
        }
        return chain;
    }

    void checkJournal(const std::string& name) {
        ++m_out.files;
        const std::vector<std::string_view> lines = linesOf(m_texts[name]);
        for (size_t i = 0; i < lines.size(); ++i) {
            ++m_out.journalLines;
            const std::string where = name + " line " + std::to_string(i + 1);
            SealLine line;
            if (!ParseSealLine(lines[i], line)) {
                finding(where + ": cannot be read");
                continue;
            }
            if (m_sequence != 0 && line.sequence != m_sequence + 1)
                finding(where + ": sequence " + std::to_string(line.sequence) + " follows " +
                        std::to_string(m_sequence));
            m_sequence = line.sequence;
            if (ChainAfter(m_chain, line.hash) != line.chain)
                finding(where + ": chain broken (expected " +
                        HexOf(ChainAfter(m_chain, line.hash)) + ", found " + HexOf(line.chain) +
                        ")");
            m_chain = line.chain;
            switch (line.kind) {
            case 'L':
                if (line.file == SealedTakingsName) m_pending.push_back(line.hash);
                break;
            case 'F':
                checkTakings(line.file, m_pending, false);
                checkWhole(line.file, line.hash);
                m_pending.clear();
                break;
            case 'C':
                // The archived journal it continues is sealed whole.
                if (Sha256(m_texts[line.file]) != line.hash)
                    finding(line.file + ": changed since it was archived");
                break;
            default:
                break;
            }
        }
    }

    void checkWhole(const std::string& name, const Sha256Digest& hash) {
        std::optional<std::string> text = readIfThere(path(name));
        if (text && Sha256(*text) != hash && m_reportedLines.count(name) == 0)
            finding(name + ": changed (expected " + HexOf(hash) + ", found " +
                    HexOf(Sha256(*text)) + ")");
    }

    // A takings file, live or archived, line by line against its seals.
    void checkTakings(const std::string& name, const std::vector<Sha256Digest>& seals, bool live) {
        std::optional<std::string> text = readIfThere(path(name));
        if (!text) {
            if (!seals.empty() || !live) finding(name + ": missing");
            return;
        }
        ++m_out.files;
        const std::vector<std::string_view> lines = linesOf(*text);
        m_out.takingsLines += lines.size();
        for (size_t i = 0; i < lines.size() && i < seals.size(); ++i) {
            const Sha256Digest found = Sha256(lines[i]);
            if (found == seals[i]) continue;
            finding(name + " line " + std::to_string(i + 1) + ": changed (expected " +
                    HexOf(seals[i]) + ", found " + HexOf(found) + ")");
            m_reportedLines.insert(name);
            return;
        }
        if (lines.size() > seals.size()) {
            finding(name + " line " + std::to_string(seals.size() + 1) + ": added, without a seal");
            m_reportedLines.insert(name);
        } else if (lines.size() < seals.size()) {
            finding(name + " line " + std::to_string(lines.size() + 1) + ": missing");
            m_reportedLines.insert(name);
        }
    }

    const std::string& m_dir;
    SealCheck& m_out;
    std::map<std::string, std::string> m_texts;
    std::vector<Sha256Digest> m_pending;
    std::set<std::string> m_reportedLines;
    long m_sequence = 0;
    Sha256Digest m_chain{};
};

} // namespace

SealCheck CheckSeals(const std::string& dataDir) {
    SealCheck check;
    std::error_code error;
    if (!std::filesystem::is_directory(dataDir, error)) {
        check.unreadableShop = true;
        check.findings.push_back(dataDir + ": not a shop folder that can be read");
        return check;
    }
    try {
        Checker(dataDir, check).run();
    } catch (const IoError& e) {
        check.unreadableShop = true;
        check.findings.push_back(e.message());
    }
    return check;
}

std::vector<std::string> SealCheckReport(const SealCheck& check) {
    if (!check.findings.empty()) return check.findings;
    return {"OK: " + std::to_string(check.journalLines) + " journal lines, " +
            std::to_string(check.takingsLines) + " takings lines in " +
            std::to_string(check.files) + " files checked"};
}
