#pragma once

#include "platform/DateTime.h"
#include "store/Notice.h"
#include "store/Sha256.h"
#include "store/TextAppender.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Journal.dat: the seal of the takings. Every line written to the takings
// file gets one journal line, and the day's close one for the archive it
// makes; each journal line carries a chain value that depends on every line
// before it, so no line of the takings can be changed, added or taken away
// without the check finding it. CR LF, fixed columns:
//
//   col   1-10   sequence number, right-aligned; it never starts again
//   col  12      kind: L a line of the takings file; F the takings file
//                archived whole under its new name; W a lasting file written
//                whole; D a lasting file deleted; O the chain opened here
//                (zero hash), or a lasting file found without a seal when it
//                was, sealed as found; C the chain continued from the
//                archived journal named
//   col  14-23   date (YYYY-MM-DD), col 25-32 time (HH:MM:SS)
//   col  34-47   file name, left-aligned (an archive's name has 14 letters)
//   col  49-112  SHA-256 of the line's bytes without its line end, of the
//                whole file, or of the archived journal (C); zeros for D and
//                for the O that opens the chain
//   col 114-177  chain value: SHA-256 of the previous chain value's 32 bytes
//                and this line's 32 hash bytes; before the first line, zeros
//
// This module is the file's only reader and writer.

struct SealLine {
    long sequence = 0;
    char kind = 'L';
    DateTime at;
    std::string file;
    Sha256Digest hash{};
    Sha256Digest chain{};
};

std::string SealLineText(const SealLine& line);
bool ParseSealLine(std::string_view text, SealLine& line);
Sha256Digest ChainAfter(const Sha256Digest& previous, const Sha256Digest& hash);

inline constexpr const char* SealJournalName = "Journal.dat";
inline constexpr const char* SealedTakingsName = "Results.dat";

// The lasting files sealed whole: the day-by-day, sales-person, balance and
// inventory files, the archives of the takings, the day-by-day, the sales
// persons, the drawer counts and the journal, and the stocktake's files.
// Matched without regard to case, like every data file.
bool SealedFileName(std::string_view name);

// A file a change of several files writes ('W'), deletes ('D') or, for the
// takings file, archives ('F'), with the bytes it gets.
struct FileSeal {
    char kind = 'W';
    std::string name;
    std::string_view bytes;
};

class SealJournal {
  public:
    explicit SealJournal(std::string dataDir) : m_dataDir(std::move(dataDir)) {}

    // Appends the seals of `lines`, just written to the takings file, and
    // hands them to the system (flushed, not synced): the takings file's own
    // sync is what makes a sale last, and a seal lost with the power is
    // written again from the takings file by the next start. The journal is
    // kept open from one seal to the next, and opened again when someone
    // else replaced or added to it. Throws IoError when it cannot.
    void sealTakingsLines(const std::vector<std::string>& lines, const DateTime& at);

    // At start: takings lines that a stop left without their seal are sealed
    // now, from the takings file itself, with a note; a shop without a
    // journal opens its chain first, even with no takings yet. A last journal line that a power cut
    // left half written (or a tail of NUL bytes) is cut off first, with a
    // note: the takings line it sealed is sealed again. A takings file
    // shorter than its seals, or one whose sealed lines differ, is left for
    // the check to report.
    Notices completeFromTakings(const DateTime& at);

    // The journal's text with the seals of `files` added, for a change of
    // several files to stage with them, so both are in place or neither.
    std::string withSeals(const std::vector<FileSeal>& files, const DateTime& at);

    // The lines the close adds, in its commit: the day's files and the
    // takings archive sealed whole and the journal archived under
    // `journalArchive`, and the text of the new journal that continues the
    // chain from it.
    struct Close {
        std::string archivedJournal; // the journal with the archive's seal
        std::string newJournal;      // the continuing line
    };
    Close closeDay(const std::string& takingsArchive, std::string_view takingsBytes,
                   const std::string& journalArchive, const DateTime& at,
                   const std::vector<FileSeal>& files = {});

  private:
    struct State {
        long sequence = 0;
        Sha256Digest chain{};
        std::vector<Sha256Digest> takingsSeals; // since the last archive
        std::string text;                       // the file as read
    };
    // Where the journal stood when it was last read or written: another
    // writer (the close's commit, a restore) changes its size or its file.
    struct Mark {
        unsigned long long device = 0, inode = 0;
        long long size = -1;
        bool operator==(const Mark&) const = default;
    };
    std::optional<Mark> markNow() const;
    // The journal as it stands; read again only when its mark changed.
    State& current();
    void forget();
    Notices cutTornEnd();
    static State parse(const std::string& text);
    std::string path() const;
    void append(const std::vector<SealLine>& lines, bool toDisk);
    static SealLine next(State& state, char kind, const DateTime& at, std::string file,
                         const Sha256Digest& hash);
    // When the chain opens: the lasting files already there, sealed as found.
    void openingSeals(State& state, const DateTime& at, std::vector<SealLine>& seals) const;
    static void addSeals(State& state, const std::vector<FileSeal>& files, const DateTime& at,
                         std::string& text);

    std::string m_dataDir;
    State m_state;
    std::optional<Mark> m_mark; // of m_state; none when it must be read again
    std::optional<TextAppender> m_file;
};
