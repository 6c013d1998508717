#include "viewer/ViewedFile.h"

#include "store/IoError.h"
#include "store/TextRewriter.h"

#include <cctype>
#include <chrono>
#include <ctime>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

std::vector<FileDialog::Filter> ViewerFileFilters() {
    return {{".dat", CaseBlindPattern("*.dat")}, {".tot", CaseBlindPattern("*.tot")}};
}

std::string CaseBlindPattern(std::string_view pattern) {
    std::string out;
    for (char c : pattern) {
        unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u) && u < 0x80) {
            out += '[';
            out += static_cast<char>(std::tolower(u));
            out += static_cast<char>(std::toupper(u));
            out += ']';
        } else {
            out += c;
        }
    }
    return out;
}

ViewedText SplitLines(std::string_view bytes) {
    ViewedText text;
    text.display.reserve(bytes.size());
    size_t start = 0;
    while (start < bytes.size()) {
        size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            text.display.append(bytes.substr(start));
            text.ends.push_back(ViewedText::End::None);
            break;
        }
        bool cr = lf > start && bytes[lf - 1] == '\r';
        text.display.append(bytes.substr(start, lf - start - (cr ? 1 : 0)));
        text.ends.push_back(cr ? ViewedText::End::CrLf : ViewedText::End::Lf);
        start = lf + 1;
        if (start < bytes.size()) text.display += '\n';
    }
    return text;
}

std::string JoinLines(std::string_view edited, const ViewedText& original) {
    const bool finalEnd = !original.ends.empty() && original.ends.back() != ViewedText::End::None;
    std::string out;
    out.reserve(edited.size() + edited.size() / 16 + 2);
    size_t line = 0;
    size_t start = 0;
    while (true) {
        size_t lf = edited.find('\n', start);
        bool last = lf == std::string_view::npos;
        out.append(edited.substr(start, last ? std::string_view::npos : lf - start));
        if (last && !finalEnd) break;
        ViewedText::End end =
            line < original.ends.size() ? original.ends[line] : ViewedText::End::CrLf;
        // A line that now stands before others needs an end even where it had none.
        if (end == ViewedText::End::None) end = ViewedText::End::CrLf;
        out += end == ViewedText::End::CrLf ? "\r\n" : "\n";
        if (last) break;
        start = lf + 1;
        ++line;
    }
    return out;
}

std::uint32_t PackedDateTime(fs::file_time_type time) {
    const auto system = std::chrono::file_clock::to_sys(time);
    const std::time_t t = std::chrono::system_clock::to_time_t(system);
    std::tm local{};
    localtime_r(&t, &local);
    if (local.tm_year < 80) return 0;
    return static_cast<std::uint32_t>(local.tm_year - 80) << 25 |
           static_cast<std::uint32_t>(local.tm_mon + 1) << 21 |
           static_cast<std::uint32_t>(local.tm_mday) << 16 |
           static_cast<std::uint32_t>(local.tm_hour) << 11 |
           static_cast<std::uint32_t>(local.tm_min) << 5 |
           static_cast<std::uint32_t>(local.tm_sec / 2);
}

std::optional<FileStamp> ReadStamp(const std::string& path) {
    std::error_code error;
    fs::file_time_type time = fs::last_write_time(path, error);
    if (error) return std::nullopt;
    return FileStamp{time, PackedDateTime(time)};
}

bool RewriteKeepingStamp(const std::string& path, std::string_view bytes, const FileStamp& stamp) {
    std::error_code error;
    const fs::perms mode = fs::status(path, error).permissions();
    // The rename would replace a write-protected file as easily as any other.
    if (error || (mode & fs::perms::owner_write) == fs::perms::none) return false;
    std::optional<TextRewriter> file = TextRewriter::Open(path);
    if (!file) throw IoError(path, "The file cannot be written");
    file->write(bytes);
    file->commit();
    fs::permissions(path, mode, error);
    if (error) throw IoError(path, "The file's access rights cannot be set back");
    fs::last_write_time(path, stamp.time, error);
    if (error) throw IoError(path, "The file's date and time cannot be set back");
    return true;
}

std::string PdfPathFor(const std::string& dataDir, const std::string& path) {
    return dataDir + fs::path(path).filename().string() + ".pdf";
}
