#pragma once

#include "platform/DirectoryLock.h"

#include <string>
#include <string_view>
#include <vector>

// A change of several files of the data directory that takes effect all at
// once. The new files are written in full under staging names first; then one
// small journal listing the operations is renamed into place, and from that
// moment the change counts as made: the operations are carried out, and if
// the program dies half way the next start finishes them. A crash before the
// journal is in place leaves every file as it was, and the next start throws
// the staging files away. Each operation can be repeated without harm, so
// finishing a journal twice gives the same files as finishing it once.
//
// Names are plain file names in the data directory, matched without regard
// to case like every data file; a name with a directory part is refused.
class FileCommit {
  public:
    explicit FileCommit(std::string dataDir);
    ~FileCommit();
    FileCommit(const FileCommit&) = delete;
    FileCommit& operator=(const FileCommit&) = delete;

    // A target the shop has made read-only is refused here (IoError), before
    // anything changes; a replaced file keeps the old one's permissions.
    //
    // The staging path to write the new content of `target` to (with a
    // TextRewriter, which puts it on disk when committed). At commit the
    // target is replaced by it.
    std::string stage(std::string_view target);
    // Stages the whole new content of `target` at once.
    void replace(std::string_view target, std::string_view content);
    // Deletes `name` at commit; a file that is not there is no error.
    void remove(std::string_view name);
    // Renames `from` to `to` at commit; `to` must not exist (the caller picks a
    // free name). A `from` that is not there is no error.
    void move(std::string_view from, std::string_view to);

    // A line of text kept in the journal (no line breaks or tabs), which
    // RecoverFileCommit returns when it finishes this change after a crash:
    // what the operator is told was completed.
    void setNote(std::string note);

    // Puts the change into effect. An IoError before the journal is in place
    // leaves every file as it was and the staging files gone; one after it is
    // finished by the next start.
    void commit();
    // Throws the staged files away; nothing changes.
    void cancel();

    // True once the journal is in place: from then on the change counts as
    // made, even when commit() throws while carrying it out.
    bool committed() const { return m_committed; }

    // For measurements only: leaves out every sync to disk.
    void skipSyncs() { m_sync = false; }

    // For tests: carry out only the first `count` operations of the commit and
    // stop there, as a crash would.
    void stopAfter(size_t count) { m_stopAfter = count; }

    // The staging files end in this, so a start can find the leftovers of a
    // change that never reached its commit.
    static constexpr std::string_view StagingSuffix = ".~stg";
    static constexpr std::string_view JournalName = "Commit.jnl";

  private:
    struct Operation {
        char kind; // 'R' replace, 'D' delete, 'M' move
        std::string first;
        std::string second;
    };
    std::string checkedName(std::string_view name) const;

    std::string m_dir;
    DirectoryLock m_directoryLock;
    std::vector<Operation> m_operations;
    std::string m_note;
    size_t m_stopAfter = static_cast<size_t>(-1);
    bool m_done = false;
    bool m_committed = false;
    bool m_sync = true;
};

// At program start, before any data file is read: finishes a change whose
// journal is in place, then clears away the staging files of one that never
// got there and every other file our code keeps only while it works (see
// FileNames), unless a running process still holds it. While another copy of
// the program is in the middle of a change, leaves everything to it. Returns
// the note of the change it finished (empty when there was none, or it had no
// note). Throws IoError when an operation cannot be finished; the journal then
// stays for the next start.
std::string RecoverFileCommit(const std::string& dataDir);
