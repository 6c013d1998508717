#include "takings/SealCheck.h"

#include "store/AuditTrail.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Sha256.h"
#include "store/TextLines.h"
#include "takings/SealJournal.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// A whole file read into `buffer` in as few reads as its size allows; the
// buffer is kept from file to file, so a year of files costs no allocation
// and no clearing of memory that is read over at once.
std::optional<std::string_view> readIfThere(const std::string& path, std::vector<char>& buffer) {
    if (!FileNames::exists(path)) return std::nullopt;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw IoError(path, "Open error");
    struct stat status {};
    size_t size = 0;
    bool failed = ::fstat(fd, &status) != 0;
    if (!failed) {
        const size_t expected = static_cast<size_t>(status.st_size);
        if (buffer.size() < expected + 1) buffer.resize(expected + 1);
        for (;;) {
            if (size == buffer.size()) buffer.resize(buffer.size() * 2);
            const ssize_t n = ::read(fd, buffer.data() + size, buffer.size() - size);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) failed = true;
            if (n <= 0) break;
            size += static_cast<size_t>(n);
        }
    }
    ::close(fd);
    if (failed) throw IoError(path, "Read error");
    return std::string_view(buffer.data(), size);
}

// The first line of a file, without its line end; empty when there is none.
std::string firstLineOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&lines](std::string_view line, size_t) { lines.push_back(line); });
    return lines;
}

std::string lowered(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Changes that explain a difference; the answer to the consolidation's
// question about one is recorded, but explains nothing.
bool explains(const AuditEntry& entry) {
    return entry.action.rfind("check", 0) != 0;
}

class Checker {
  public:
    Checker(const std::string& dir, SealCheck& out) : m_dir(dir), m_out(out) {
        for (AuditEntry& entry : ReadAuditTrail(dir))
            if (explains(entry)) m_audit[lowered(entry.file)].push_back(std::move(entry));
    }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;
    // The files with findings, in the order of their first finding, also
    // when the check stopped on a file it could not read.
    ~Checker() {
        for (const std::string& file : m_fileOfFinding)
            if (std::find(m_out.findingFiles.begin(), m_out.findingFiles.end(), file) ==
                m_out.findingFiles.end())
                m_out.findingFiles.push_back(file);
    }

    void run() {
        const std::vector<std::string> journals = journalChain();
        // Three threads share the work, none waiting for another while the
        // journals are checked. One reads each journal and its lines and
        // works out their chain, a few journals ahead: each line's chain
        // value follows from the one written on the line before, so the
        // chain needs nothing else. One hashes each archived journal whole
        // (it is sealed so by the line that continues it; the live journal
        // is continued by no line and is not hashed whole). This one takes
        // the journals in order and checks the files their lines seal.
        std::vector<std::promise<Sha256Digest>> wholes(journals.size());
        for (size_t k = 0; k + 1 < journals.size(); ++k)
            m_journalHashes.emplace(journals[k], wholes[k].get_future().share());
        std::jthread hasher([&](const std::stop_token& stop) {
            std::vector<char> buffer;
            for (size_t k = 0; k + 1 < journals.size() && !stop.stop_requested(); ++k) {
                try {
                    wholes[k].set_value(
                        Sha256(readIfThere(path(journals[k]), buffer).value_or("")));
                } catch (...) {
                    wholes[k].set_exception(std::current_exception());
                }
            }
        });
        JournalQueue queue;
        std::jthread reader([&](const std::stop_token& stop) {
            Sha256Digest previous{};
            for (const std::string& name : journals) {
                ReadJournal journal;
                try {
                    readJournal(name, journal, previous);
                } catch (...) {
                    journal.error = std::current_exception();
                }
                if (!queue.push(std::move(journal), stop)) return;
            }
        });
        for (const std::string& name : journals) {
            ReadJournal journal = queue.pop();
            if (journal.error) std::rethrow_exception(journal.error);
            checkJournal(name, journal);
        }
        checkTakings(SealedTakingsName, m_pending, true);
        checkLastingFiles();
    }

  private:
    // The last seal of a lasting file.
    struct Whole {
        std::string name;
        Sha256Digest hash{};
        bool present = true;
        bool checked = false; // a takings archive, checked line by line
    };

    // A journal as the reader leaves it: its lines, read, and the links of
    // its chain that do not hold.
    struct ReadJournal {
        struct Broken {
            size_t line;
            Sha256Digest expected;
        };
        std::vector<char> bytes; // the lines' bytes; they stay in place when moved
        std::vector<std::string_view> lines;
        std::vector<SealLine> parsed;
        std::vector<char> readable;
        std::vector<Broken> broken;
        std::exception_ptr error;
    };

    // The journals read ahead, a few at most, so a year of them is never
    // all held at once.
    class JournalQueue {
      public:
        bool push(ReadJournal journal, const std::stop_token& stop) {
            std::unique_lock lock(m_mutex);
            if (!m_changed.wait(lock, stop, [this] { return m_journals.size() < Ahead; }))
                return false;
            m_journals.push_back(std::move(journal));
            m_changed.notify_all();
            return true;
        }
        ReadJournal pop() {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [this] { return !m_journals.empty(); });
            ReadJournal journal = std::move(m_journals.front());
            m_journals.pop_front();
            m_changed.notify_all();
            return journal;
        }

      private:
        static constexpr size_t Ahead = 4;
        std::mutex m_mutex;
        std::condition_variable_any m_changed;
        std::deque<ReadJournal> m_journals;
    };

    std::string path(const std::string& name) const { return FileNames::resolve(m_dir, name); }
    void finding(const std::string& file, std::string text) {
        m_out.findings.push_back(std::move(text));
        m_fileOfFinding.push_back(file);
    }
    // A finding put in its place among those already made.
    void findingAt(size_t at, const std::string& file, std::string text) {
        m_out.findings.insert(m_out.findings.begin() + static_cast<std::ptrdiff_t>(at),
                              std::move(text));
        m_fileOfFinding.insert(m_fileOfFinding.begin() + static_cast<std::ptrdiff_t>(at), file);
    }

    // The change of Audit.dat after which `name` held `hex`, if there is one.
    const AuditEntry* explanation(const std::string& name, const std::string& hex) const {
        auto it = m_audit.find(lowered(name));
        if (it == m_audit.end()) return nullptr;
        for (auto entry = it->second.rbegin(); entry != it->second.rend(); ++entry)
            if (entry->after == hex) return &*entry;
        return nullptr;
    }

    void explained(const AuditEntry& entry, const std::string& what) {
        char when[32];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", entry.at.year,
                      entry.at.month, entry.at.day, entry.at.hour, entry.at.minute,
                      entry.at.second);
        m_out.explained.push_back("EXPLAINED " + what + " by " + entry.action + " (" + entry.who +
                                  ", " + when + ", " + std::to_string(entry.linesChanged) +
                                  " line(s))");
    }

    // The journals oldest first: each begins by naming the archive it continues.
    std::vector<std::string> journalChain() {
        std::vector<std::string> chain;
        std::set<std::string> seen;
        std::string name = SealJournalName;
        for (;;) {
            if (!seen.insert(name).second) break;
            if (!FileNames::exists(path(name))) {
                if (name != SealJournalName) finding(name, name + ": missing");
                break;
            }
            m_known.insert(lowered(name));
            chain.insert(chain.begin(), name);
            SealLine first;
            if (!ParseSealLine(firstLineOf(path(name)), first) || first.kind != 'C') break;
            name = first.file;
        }
        return chain;
    }

    // On the reader's thread: the journal's lines and its chain, which
    // continues from `previous`, the chain value of the line before.
    void readJournal(const std::string& name, ReadJournal& journal, Sha256Digest& previous) const {
        journal.lines = linesOf(readIfThere(path(name), journal.bytes).value_or(""));
        const size_t count = journal.lines.size();
        journal.parsed.resize(count);
        journal.readable.resize(count);
        for (size_t i = 0; i < count; ++i) {
            if (!ParseSealLine(journal.lines[i], journal.parsed[i])) continue;
            journal.readable[i] = 1;
            const Sha256Digest expected = ChainAfter(previous, journal.parsed[i].hash);
            if (expected != journal.parsed[i].chain) journal.broken.push_back({i, expected});
            previous = journal.parsed[i].chain;
        }
    }

    void checkJournal(const std::string& name, const ReadJournal& journal) {
        ++m_out.files;
        const size_t count = journal.lines.size();
        // A broken link is put among the findings where it belongs: after
        // the line's sequence, before its file.
        std::vector<size_t> linkPlace(count);
        for (size_t i = 0; i < count; ++i) {
            ++m_out.journalLines;
            auto where = [&name, i] { return name + " line " + std::to_string(i + 1); };
            if (!journal.readable[i]) {
                finding(name, where() + ": cannot be read");
                continue;
            }
            const SealLine& line = journal.parsed[i];
            if (m_sequence != 0 && line.sequence != m_sequence + 1)
                finding(name, where() + ": sequence " + std::to_string(line.sequence) +
                                  " follows " + std::to_string(m_sequence));
            m_sequence = line.sequence;
            linkPlace[i] = m_out.findings.size();
            switch (line.kind) {
            case 'L':
                if (line.file == SealedTakingsName) m_pending.push_back(line.hash);
                break;
            case 'F':
                checkArchive(line.file, line.hash);
                m_pending.clear();
                m_whole[lowered(line.file)] = {line.file, line.hash, true, true};
                break;
            case 'W':
            case 'D':
                m_whole[lowered(line.file)] = {line.file, line.hash, line.kind == 'W', false};
                break;
            case 'O':
                if (line.hash != Sha256Digest{})
                    m_whole[lowered(line.file)] = {line.file, line.hash, true, false};
                break;
            case 'C':
                // The archived journal it continues is sealed whole.
                if (wholeOfJournal(line.file) != line.hash)
                    finding(line.file, line.file + ": changed since it was archived");
                break;
            default:
                break;
            }
        }
        // From the last, so that the places of the earlier ones still hold.
        for (auto link = journal.broken.rbegin(); link != journal.broken.rend(); ++link)
            findingAt(linkPlace[link->line], name,
                      name + " line " + std::to_string(link->line + 1) +
                          ": chain broken (expected " + HexOf(link->expected) + ", found " +
                          HexOf(journal.parsed[link->line].chain) + ")");
        m_journalsChecked.insert(name);
    }

    // The digest of a journal checked before this one; that of no bytes for
    // any other.
    Sha256Digest wholeOfJournal(const std::string& name) const {
        const auto it = m_journalHashes.find(name);
        if (it == m_journalHashes.end() || m_journalsChecked.count(name) == 0) return Sha256("");
        return it->second.get();
    }

    void checkWhole(const std::string& name, const Sha256Digest& hash) {
        std::optional<std::string_view> text = readIfThere(path(name), m_fileBuffer);
        if (text) checkWhole(name, *text, hash);
    }

    void checkWhole(const std::string& name, std::string_view text, const Sha256Digest& hash) {
        if (m_reportedLines.count(name) != 0) return;
        const std::string found = Sha256Hex(text);
        if (found == HexOf(hash)) return;
        const std::string what =
            name + ": changed (expected " + HexOf(hash) + ", found " + found + ")";
        if (const AuditEntry* entry = explanation(name, found))
            explained(*entry, what);
        else
            finding(name, what);
    }

    // Every lasting file against its last seal, and those there without one.
    void checkLastingFiles() {
        for (const auto& [key, whole] : m_whole) {
            m_known.insert(key);
            if (whole.checked) continue;
            const bool there = FileNames::exists(path(whole.name));
            if (whole.present && !there) {
                finding(whole.name, whole.name + ": missing");
            } else if (!whole.present && there) {
                finding(whole.name, whole.name + ": added, without a seal");
            } else if (there) {
                ++m_out.files;
                checkWhole(whole.name, whole.hash);
            }
        }
        std::error_code error;
        std::vector<std::string> added;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir, error)) {
            const std::string name = entry.path().filename().string();
            if (SealedFileName(name) && m_known.count(lowered(name)) == 0) added.push_back(name);
        }
        std::sort(added.begin(), added.end());
        for (const std::string& name : added)
            finding(name, name + ": added, without a seal");
    }

    // A takings archive: its lines against their seals, then the whole file
    // against the seal of the close. A file that is exactly its sealed lines,
    // each ended by CR LF, holds the day's sales as they were sealed, so the
    // whole-file seal can tell nothing more and its bytes are not hashed a
    // second time: that halves the check of a year of archives.
    void checkArchive(const std::string& name, const Sha256Digest& hash) {
        std::optional<std::string_view> text = readIfThere(path(name), m_fileBuffer);
        if (!checkTakings(name, text, m_pending, false)) checkWhole(name, *text, hash);
    }

    void checkTakings(const std::string& name, const std::vector<Sha256Digest>& seals, bool live) {
        checkTakings(name, readIfThere(path(name), m_fileBuffer), seals, live);
    }

    // A takings file, live or archived, line by line against its seals. A
    // changed line that Audit.dat explains is passed over up to where the
    // explained change ends. True when the file is there and is exactly its
    // sealed lines, each ended by CR LF.
    bool checkTakings(const std::string& name, const std::optional<std::string_view>& text,
                      const std::vector<Sha256Digest>& seals, bool live) {
        m_known.insert(lowered(name));
        if (!text) {
            if (!seals.empty() || !live) finding(name, name + ": missing");
            return true;
        }
        ++m_out.files;
        const std::vector<std::string_view> lines = linesOf(*text);
        m_out.takingsLines += lines.size();
        size_t i = 0;
        bool explainedToEnd = false;
        for (; i < lines.size() && i < seals.size(); ++i) {
            const Sha256Digest found = Sha256(lines[i]);
            if (found == seals[i]) continue;
            const std::string what = name + " line " + std::to_string(i + 1) +
                                     ": changed (expected " + HexOf(seals[i]) + ", found " +
                                     HexOf(found) + ")";
            m_reportedLines.insert(name);
            size_t end = 0;
            if (const AuditEntry* entry = explainedUpTo(name, *text, lines, i, end)) {
                explained(*entry, what);
                i = end;
                explainedToEnd = end + 1 == lines.size();
                continue;
            }
            finding(name, what);
            return false;
        }
        if (lines.size() > seals.size() && i == seals.size()) {
            finding(name,
                    name + " line " + std::to_string(seals.size() + 1) + ": added, without a seal");
            m_reportedLines.insert(name);
        } else if (lines.size() < seals.size() && i == lines.size() && !explainedToEnd) {
            finding(name, name + " line " + std::to_string(lines.size() + 1) + ": missing");
            m_reportedLines.insert(name);
        }
        return m_reportedLines.count(name) == 0 && lines.size() == seals.size() &&
               endedByCrLf(*text, lines);
    }

    // Each line followed by CR LF and nothing after the last.
    static bool endedByCrLf(std::string_view text, const std::vector<std::string_view>& lines) {
        size_t at = 0;
        for (std::string_view line : lines) {
            if (line.data() != text.data() + at) return false;
            at += line.size();
            if (text.compare(at, 2, "\r\n") != 0) return false;
            at += 2;
        }
        return at == text.size();
    }

    // The audited change that left the file's first lines, through a line
    // from `from` on, as they stand; `end` is the index of that last line.
    const AuditEntry* explainedUpTo(const std::string& name, std::string_view text,
                                    const std::vector<std::string_view>& lines, size_t from,
                                    size_t& end) const {
        if (m_audit.find(lowered(name)) == m_audit.end()) return nullptr;
        Sha256Stream stream;
        size_t hashed = 0;
        const AuditEntry* found = nullptr;
        for (size_t i = 0; i < lines.size(); ++i) {
            const size_t stop = i + 1 < lines.size()
                                    ? static_cast<size_t>(lines[i + 1].data() - text.data())
                                    : text.size();
            stream.add(std::string_view(text).substr(hashed, stop - hashed));
            hashed = stop;
            if (i < from) continue;
            Sha256Stream copy = stream;
            if (const AuditEntry* entry = explanation(name, copy.hex())) {
                found = entry;
                end = i;
            }
        }
        return found;
    }

    const std::string& m_dir;
    SealCheck& m_out;
    std::map<std::string, std::shared_future<Sha256Digest>> m_journalHashes;
    std::set<std::string> m_journalsChecked;
    std::vector<char> m_fileBuffer;
    std::map<std::string, Whole> m_whole;
    std::map<std::string, std::vector<AuditEntry>> m_audit;
    std::set<std::string> m_known;
    std::vector<Sha256Digest> m_pending;
    std::set<std::string> m_reportedLines;
    std::vector<std::string> m_fileOfFinding;
    long m_sequence = 0;
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

int SealCheckStatus(const SealCheck& check) {
    if (check.unreadableShop) return 2;
    return check.findings.empty() ? 0 : 1;
}

std::vector<std::string> SealCheckReport(const SealCheck& check) {
    std::vector<std::string> report = check.findings;
    if (report.empty())
        report.push_back("OK: " + std::to_string(check.journalLines) + " journal lines, " +
                         std::to_string(check.takingsLines) + " takings lines in " +
                         std::to_string(check.files) + " files checked");
    report.insert(report.end(), check.explained.begin(), check.explained.end());
    return report;
}
