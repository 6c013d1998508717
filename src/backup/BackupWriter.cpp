#include "backup/BackupWriter.h"

#include "backup/BackupManifest.h"
#include "backup/BackupReading.h"
#include "backup/ShopFiles.h"
#include "platform/FileLock.h"
#include "platform/RawFile.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/Sha256.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr size_t BlockSize = 1 << 17;

// Stops the writing with its reason; the temporary file goes.
struct Failure {
    std::string why;
};

// The archive's bytes on their way to disk, counted into its SHA-256.
struct Sink {
    Sink(RawFile f, std::string p) : file(std::move(f)), path(std::move(p)) {}
    // The hash state first: it is the widest and most aligned member.
    Sha256Stream sum;
    RawFile file;
    std::string path;
    std::uint64_t bytes = 0;
    std::optional<std::uint64_t> space;
    std::string why;
};

la_ssize_t writeBlock(struct archive* a, void* client, const void* block, size_t size) {
    auto* sink = static_cast<Sink*>(client);
    if (sink->space && sink->bytes + size > *sink->space) {
        sink->why = std::string("cannot write ") + sink->path + ": No space left on device";
        archive_set_error(a, ENOSPC, "%s", sink->why.c_str());
        return -1;
    }
    if (!sink->file.writeAll(block, size)) {
        sink->why = "cannot write " + sink->path + ": " + sink->file.why();
        archive_set_error(a, EIO, "%s", sink->why.c_str());
        return -1;
    }
    sink->sum.add(block, size);
    sink->bytes += size;
    return static_cast<la_ssize_t>(size);
}

struct ArchiveWriter {
    struct archive* a = archive_write_new();
    struct archive_entry* entry = archive_entry_new();
    ~ArchiveWriter() {
        archive_entry_free(entry);
        archive_write_free(a);
    }
};

void check(bool good, const Sink& sink, struct archive* a) {
    if (good) return;
    if (!sink.why.empty()) throw Failure{sink.why};
    const char* text = archive_error_string(a);
    throw Failure{"cannot write " + sink.path + ": " + (text ? text : "archive error")};
}

// First pass: every file's size and SHA-256, for the manifest that leads the
// archive. A file that cannot be read is left out and named.
std::vector<ManifestEntry> takeStock(const std::string& shopDir,
                                     const std::vector<std::string>& names,
                                     std::vector<std::string>& leftOut) {
    std::vector<ManifestEntry> entries;
    std::vector<char> buffer(BlockSize);
    for (const std::string& name : names) {
        std::string why;
        std::optional<RawFile> file = RawFile::openRead(shopDir + name, why);
        Sha256Stream sum;
        std::uint64_t size = 0;
        for (long n = 0; file && (n = file->read(buffer.data(), buffer.size())) != 0;) {
            if (n < 0) {
                why = file->why();
                file.reset();
                break;
            }
            sum.add(buffer.data(), static_cast<size_t>(n));
            size += static_cast<std::uint64_t>(n);
        }
        if (!file) {
            std::string entry = name;
            leftOut.push_back(entry.append(" (").append(why).append(")"));
            continue;
        }
        entries.push_back({name, size, sum.hex()});
    }
    return entries;
}

void addMember(ArchiveWriter& w, Sink& sink, const std::string& name, std::uint64_t size,
               unsigned mode, std::int64_t modified) {
    archive_entry_clear(w.entry);
    archive_entry_set_pathname(w.entry, name.c_str());
    archive_entry_set_filetype(w.entry, AE_IFREG);
    archive_entry_set_perm(w.entry, mode);
    archive_entry_set_size(w.entry, static_cast<la_int64_t>(size));
    archive_entry_set_mtime(w.entry, modified, 0);
    check(archive_write_header(w.a, w.entry) == ARCHIVE_OK, sink, w.a);
}

void writeData(ArchiveWriter& w, Sink& sink, const void* data, size_t size) {
    check(archive_write_data(w.a, data, size) == static_cast<la_ssize_t>(size), sink, w.a);
}

// Second pass: the file again, which must still be what the manifest says.
void addFile(ArchiveWriter& w, Sink& sink, const std::string& shopDir, const ManifestEntry& e,
             std::vector<char>& buffer) {
    const std::string path = shopDir + e.name;
    std::string why;
    std::optional<RawFile> file = RawFile::openRead(path, why);
    if (!file) throw Failure{path + " cannot be read (" + why + ")"};
    const std::optional<RawFile::Status> status = file->status();
    addMember(w, sink, e.name, e.size, status ? status->mode : 0644, status ? status->modified : 0);
    Sha256Stream sum;
    std::uint64_t left = e.size;
    while (left > 0) {
        const long n = file->read(buffer.data(), std::min<std::uint64_t>(left, buffer.size()));
        if (n <= 0) break;
        sum.add(buffer.data(), static_cast<size_t>(n));
        writeData(w, sink, buffer.data(), static_cast<size_t>(n));
        left -= static_cast<std::uint64_t>(n);
    }
    if (left > 0 || file->read(buffer.data(), 1) != 0 || sum.hex() != e.sha256)
        throw Failure{e.name + " changed while it was being backed up"};
}

void writeArchive(Sink& sink, const std::string& shopDir, const std::vector<ManifestEntry>& entries,
                  const std::atomic<bool>* cancel, const BackupTestHooks& hooks) {
    ArchiveWriter w;
    archive_write_add_filter_zstd(w.a);
    archive_write_set_format_pax_restricted(w.a);
    archive_write_set_bytes_in_last_block(w.a, 1);
    check(archive_write_open(w.a, &sink, nullptr, writeBlock, nullptr) == ARCHIVE_OK, sink, w.a);
    const std::string manifest = BackupManifest::text(entries);
    addMember(w, sink, std::string(BackupManifest::MemberName), manifest.size(), 0644, 0);
    writeData(w, sink, manifest.data(), manifest.size());
    std::vector<char> buffer(BlockSize);
    for (const ManifestEntry& e : entries) {
        if (cancel && cancel->load()) throw Failure{"it was stopped before it was finished"};
        addFile(w, sink, shopDir, e, buffer);
        if (hooks.step) hooks.step("file");
    }
    check(archive_write_close(w.a) == ARCHIVE_OK, sink, w.a);
}

// The archive as it is on disk, read back through the one reader.
void checkWritten(const std::string& part, const std::string& archiveSha,
                  const std::vector<ManifestEntry>& entries, const std::atomic<bool>* cancel) {
    BackupReading reading = ReadBackup(part, nullptr, cancel);
    if (!reading.unusable.empty()) throw Failure{reading.unusable};
    if (!reading.firstDifference.empty())
        throw Failure{"the written backup does not read back: " + reading.firstDifference + ": " +
                      reading.why};
    if (reading.archiveSha256 != archiveSha || reading.manifest->size() != entries.size())
        throw Failure{"the written backup does not read back as it was written"};
}

// Writes a small file in full under a temporary name and renames it.
void writeSmallFile(const std::string& path, const std::string& text) {
    const std::string temp = path + std::string(BackupNames::PartSuffix);
    std::string why;
    std::optional<RawFile> file = RawFile::createNew(temp, 0644, why);
    if (!file) throw Failure{"cannot create " + temp + ": " + why};
    if (!file->writeAll(text.data(), text.size()) || !file->sync() || !file->close()) {
        why = file->why();
        FileNames::remove(temp);
        throw Failure{"cannot write " + temp + ": " + why};
    }
    std::error_code error;
    fs::rename(temp, path, error);
    if (error) {
        FileNames::remove(temp);
        throw Failure{"cannot rename " + temp + ": " + error.message()};
    }
}

// What a kill left behind: temporary files that no running backup holds.
void clearLeftovers(const std::string& backupDir) {
    std::error_code error;
    for (const fs::directory_entry& e : fs::directory_iterator(backupDir, error)) {
        const std::string name = e.path().filename().string();
        if (!name.ends_with(BackupNames::PartSuffix)) continue;
        std::string base = name.substr(0, name.size() - BackupNames::PartSuffix.size());
        if (base.ends_with(BackupNames::SideSuffix))
            base.resize(base.size() - BackupNames::SideSuffix.size());
        if (ParseBackupFileName(base)) FileLock::removeUnlessHeld(e.path().string());
    }
}

void requireFolder(const std::string& dir) {
    std::error_code error;
    // Without its "/": "file/" is no folder, but it is not missing either.
    const fs::file_status status = fs::status(fs::path(dir).parent_path(), error);
    if (!fs::exists(status)) throw Failure{"the backup folder " + dir + " is missing"};
    if (!fs::is_directory(status)) throw Failure{"the backup folder " + dir + " is a file"};
}

} // namespace

BackupWritten WriteBackup(const BackupRequest& request, const std::atomic<bool>* cancel,
                          const BackupTestHooks& hooks) {
    BackupWritten result;
    const std::string name = BackupFileName(request.stamp);
    const std::string path = request.backupDir + name;
    const std::string part = path + std::string(BackupNames::PartSuffix);
    const std::string side = path + std::string(BackupNames::SideSuffix);
    bool partMade = false;
    bool sideMade = false;
    try {
        requireFolder(request.backupDir);
        // A change whose journal waits for the next start would be saved half made.
        if (FileNames::exists(FileNames::resolve(request.shopDir, FileCommit::JournalName)))
            throw Failure{"a change of several files waits to be finished by the next start of "
                          "Zorvi (Commit.jnl)"};
        clearLeftovers(request.backupDir);
        ShopFileList listed = ShopFiles::list(request.shopDir, request.backupDir);
        result.leftOut = listed.unreadable;
        const std::vector<ManifestEntry> entries =
            takeStock(request.shopDir, listed.names, result.leftOut);

        std::string why;
        std::optional<RawFile> file = RawFile::createNew(part, 0644, why);
        if (!file) throw Failure{"cannot create a file in " + request.backupDir + ": " + why};
        partMade = true;
        Sink sink(std::move(*file), part);
        sink.space = hooks.diskSpace;
        writeArchive(sink, request.shopDir, entries, cancel, hooks);
        if (!sink.file.sync() || !sink.file.close())
            throw Failure{"cannot write " + part + ": " + sink.file.why()};
        if (hooks.step) hooks.step("written");

        const std::string archiveSha = sink.sum.hex();
        checkWritten(part, archiveSha, entries, cancel);
        if (hooks.step) hooks.step("checked");
        writeSmallFile(side, BackupManifest::sideFileText(archiveSha, name));
        sideMade = true;
        if (hooks.step) hooks.step("side file");
        std::error_code error;
        fs::rename(part, path, error);
        if (error) throw Failure{"cannot rename " + part + ": " + error.message()};
        partMade = false;
        FileNames::syncDirectory(request.backupDir);
        if (hooks.step) hooks.step("named");
        result.name = name;
        result.files = entries.size();
        result.bytes = sink.bytes;
    } catch (const Failure& failure) {
        result.failure = failure.why;
    } catch (const std::exception& e) {
        result.failure = e.what();
    }
    if (!result.ok() && partMade) {
        FileNames::remove(part);
        if (sideMade) FileNames::remove(side);
    }
    return result;
}
