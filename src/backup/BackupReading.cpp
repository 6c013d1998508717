#include "backup/BackupReading.h"

#include "platform/RawFile.h"
#include "store/Sha256.h"

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <memory>
#include <vector>

namespace {

constexpr size_t BlockSize = 1 << 17;
// The manifest of even a large shop is a few hundred KiB.
constexpr std::int64_t ManifestLimit = 64 << 20;

// The archive's bytes as libarchive asks for them, each one counted into the
// archive's own SHA-256 on the way.
struct Source {
    explicit Source(RawFile f) : file(std::move(f)) {}
    RawFile file;
    Sha256Stream sum;
    std::uint64_t bytes = 0;
    bool zstd = false; // begins as zstd does
    std::vector<char> buffer = std::vector<char>(BlockSize);

    long next() {
        const long n = file.read(buffer.data(), buffer.size());
        if (n >= 4 && bytes == 0)
            zstd = static_cast<unsigned char>(buffer[0]) == 0x28 &&
                   static_cast<unsigned char>(buffer[1]) == 0xb5 &&
                   static_cast<unsigned char>(buffer[2]) == 0x2f &&
                   static_cast<unsigned char>(buffer[3]) == 0xfd;
        if (n > 0) {
            sum.add(buffer.data(), static_cast<size_t>(n));
            bytes += static_cast<std::uint64_t>(n);
        }
        return n;
    }
    void drain() {
        while (next() > 0) {
        }
    }
};

la_ssize_t readBlock(struct archive* a, void* client, const void** block) {
    auto* source = static_cast<Source*>(client);
    const long n = source->next();
    if (n < 0) {
        archive_set_error(a, EIO, "%s", source->file.why().c_str());
        return -1;
    }
    *block = source->buffer.data();
    return n;
}

struct ArchiveReader {
    struct archive* a = archive_read_new();
    ~ArchiveReader() { archive_read_free(a); }
    std::string error() const {
        const char* text = archive_error_string(a);
        return text ? text : "it cannot be read";
    }
};

bool cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load();
}

std::optional<std::string> readManifest(ArchiveReader& reader, std::string& why) {
    struct archive_entry* entry = nullptr;
    const int r = archive_read_next_header(reader.a, &entry);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        why = r == ARCHIVE_EOF ? "the archive is empty" : reader.error();
        return std::nullopt;
    }
    if (BackupManifest::MemberName != archive_entry_pathname(entry)) {
        why = "it does not begin with its manifest";
        return std::nullopt;
    }
    const std::int64_t size = archive_entry_size(entry);
    if (size < 0 || size > ManifestLimit) {
        why = "its manifest is too large";
        return std::nullopt;
    }
    std::string text(static_cast<size_t>(size), '\0');
    if (archive_read_data(reader.a, text.data(), text.size()) != static_cast<la_ssize_t>(size)) {
        why = reader.error();
        return std::nullopt;
    }
    return text;
}

// Reads one listed file; false with the reason when it differs or reading
// must stop.
bool readMember(ArchiveReader& reader, const ManifestEntry& listed, BackupMemberSink* sink,
                const std::atomic<bool>* cancel, std::string& why) {
    struct archive_entry* entry = nullptr;
    const int r = archive_read_next_header(reader.a, &entry);
    if (r == ARCHIVE_EOF) {
        why = "it is missing: the archive ends before it";
        return false;
    }
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) {
        why = reader.error();
        return false;
    }
    const std::string name = archive_entry_pathname(entry);
    if (name != listed.name) {
        why = "it is missing: the archive holds " + name + " in its place";
        return false;
    }
    if (sink && !sink->begin(listed, archive_entry_perm(entry), archive_entry_mtime(entry), why))
        return false;
    Sha256Stream sum;
    std::uint64_t size = 0;
    std::vector<char> buffer(BlockSize);
    for (;;) {
        if (cancelled(cancel)) {
            why = "the reading was stopped";
            return false;
        }
        const la_ssize_t n = archive_read_data(reader.a, buffer.data(), buffer.size());
        if (n < 0) {
            why = reader.error();
            return false;
        }
        if (n == 0) break;
        sum.add(buffer.data(), static_cast<size_t>(n));
        size += static_cast<std::uint64_t>(n);
        if (sink && !sink->data(buffer.data(), static_cast<size_t>(n), why)) return false;
    }
    if (size != listed.size) {
        why = "it holds " + std::to_string(size) + " bytes, its manifest says " +
              std::to_string(listed.size);
        return false;
    }
    if (sum.hex() != listed.sha256) {
        why = "its content differs from its manifest";
        return false;
    }
    return !sink || sink->end(why);
}

} // namespace

BackupReading ReadBackup(const std::string& path, BackupMemberSink* sink,
                         const std::atomic<bool>* cancel) {
    BackupReading result;
    std::string why;
    std::optional<RawFile> file = RawFile::openRead(path, why);
    if (!file) {
        result.unusable = path + " cannot be read (" + why + ")";
        return result;
    }
    Source source(std::move(*file));
    {
        ArchiveReader reader;
        archive_read_support_filter_zstd(reader.a);
        archive_read_support_format_tar(reader.a);
        if (archive_read_open(reader.a, &source, nullptr, readBlock, nullptr) != ARCHIVE_OK) {
            // A small archive is decompressed whole as it is opened: damage
            // anywhere in it stops the reading before its first member.
            if (source.zstd) {
                result.firstDifference = std::string(BackupManifest::MemberName);
                result.why = reader.error();
            } else {
                result.unusable = path + " is not a backup (" + reader.error() + ")";
            }
        } else if (std::optional<std::string> text = readManifest(reader, why); !text) {
            result.firstDifference = std::string(BackupManifest::MemberName);
            result.why = why;
        } else if (!(result.manifest = BackupManifest::parse(*text))) {
            result.firstDifference = std::string(BackupManifest::MemberName);
            result.why = "it cannot be read as a manifest";
        } else {
            for (const ManifestEntry& listed : *result.manifest) {
                if (!readMember(reader, listed, sink, cancel, why)) {
                    result.firstDifference = listed.name;
                    result.why = why;
                    break;
                }
            }
            struct archive_entry* extra = nullptr;
            const int r = result.firstDifference.empty()
                              ? archive_read_next_header(reader.a, &extra)
                              : ARCHIVE_EOF;
            if (r == ARCHIVE_OK || r == ARCHIVE_WARN) {
                result.firstDifference = archive_entry_pathname(extra);
                result.why = "it is in the archive but not in its manifest";
            } else if (r != ARCHIVE_EOF) {
                result.firstDifference = "(the end of the archive)";
                result.why = reader.error();
            }
        }
    }
    source.drain();
    result.archiveSha256 = source.sum.hex();
    result.archiveBytes = source.bytes;
    return result;
}

std::string FileSha256(const std::string& path, std::string& why) {
    std::optional<RawFile> file = RawFile::openRead(path, why);
    if (!file) return {};
    Sha256Stream sum;
    std::vector<char> buffer(BlockSize);
    for (;;) {
        const long n = file->read(buffer.data(), buffer.size());
        if (n < 0) {
            why = file->why();
            return {};
        }
        if (n == 0) break;
        sum.add(buffer.data(), static_cast<size_t>(n));
    }
    return sum.hex();
}
