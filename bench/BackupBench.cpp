// Times the backup at close on a year's shop: 365 archived takings files of
// 2,000 lines each, a price list and an inventory of 100,000 articles and the
// consolidated files. Beside it, in the same run: tar --zstd of the same
// files (the peer tool, which neither syncs nor reads back), and one plain
// read of them (the floor no backup can beat). With --scale, again on ten
// years of archives and 1,000,000 articles, each figure beside its first one.

#include "BenchShop.h"
#include "BenchTiming.h"
#include "backup/BackupFolder.h"
#include "backup/ShopBackup.h"
#include "backup/ShopFiles.h"
#include "store/Options.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Articles = 100000;
constexpr int Days = 365;
constexpr int LinesPerDay = 2000;

const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "Mai", "Jun",
                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};

void writeDay(const std::string& path, unsigned seed, int ArticleCount) {
    std::ofstream out(path, std::ios::binary);
    out << "* START of SALE   05/12/26 09:00\r\n";
    char line[160];
    for (int n = 0; n < LinesPerDay; ++n) {
        seed = seed * 1103515245 + 12345;
        const int article = static_cast<int>(seed >> 8) % ArticleCount + 1;
        if (n % 4 == 3) {
            std::snprintf(line, sizeof line,
                          "# Total*** %2d:%02d %7.2f     0.00     0.00             0.00 %11.2f"
                          " %11.2f %5.2f\r\n",
                          9 + n / 250, n % 60, (seed % 5000) / 100.0, (seed % 5000) / 100.0,
                          (seed % 5000) / 100.0 + 5, 5.0);
        } else {
            std::snprintf(line, sizeof line, "A %-13s %8.2f %10.2f %12.2f %12.2f %13.2f\r\n",
                          BenchCode(article).c_str(), 1.0 + n % 3, (article % 1000) / 10.0,
                          (article % 1000) / 5.0 + 0.99, (article % 1000) / 5.0 + 0.99,
                          ((article % 1000) / 5.0 + 0.99) * (1 + n % 3));
        }
        out << line;
    }
}

// A shop of `years` years of archives, the last one 2026, and
// `ArticleCount` articles.
void layOut(const std::string& shop, int years, int ArticleCount) {
    WriteBenchSettings(shop);
    {
        std::ofstream prices(shop + "Pricelist.dat", std::ios::binary);
        std::ofstream stock(shop + "Inventory.dat", std::ios::binary);
        char line[128];
        for (int i = 1; i <= ArticleCount; ++i) {
            prices << BenchPriceLine(i) << "\r\n";
            std::snprintf(line, sizeof line, "%c%-13s %5d %10.1f %12.1f %15.1f %15.2f\r\n",
                          BenchMarker(i), BenchCode(i).c_str(), i % 100, 1.0, (i % 37) * 1.0, 12.0,
                          (i % 1000) / 10.0);
            stock << line;
        }
    }
    std::ofstream days(shop + "Daybyday.dat", std::ios::binary);
    for (int d = 0; d < Days * years; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "Res%d%s.%02d", 2027 - years + d / Days,
                      Months[d % Days / 31 % 12], d % Days % 31 + 1);
        writeDay(shop + name, static_cast<unsigned>(d) * 7919u + 1, ArticleCount);
        days << "* START of SALE    ***   05/12/26\r\n"
             << "#      1234.0      5678.90      9012.34        12.0       345.67\r\n"
             << "&       123.45       678.90        12.34        56.78      9012.34\r\n";
    }
}

// The whole bench on a shop of `years` years and `ArticleCount` articles;
// its figures for the scale run. `status` 2 when the peer could not run, 1
// when the backup failed or missed its limits.
Figures runBench(int years, int ArticleCount, int& status) {
    const std::string root = makeBenchDirectory("zbackupXXXXXX");
    if (root.empty()) {
        status = 2;
        return {};
    }
    const std::string shop = root + "/shop/";
    std::filesystem::create_directories(shop);
    layOut(shop, years, ArticleCount);
    const ShopFileList files = ShopFiles::list(shop);
    std::uintmax_t bytes = 0;
    for (const std::string& name : files.names)
        bytes += std::filesystem::file_size(shop + name);
    std::printf("A shop of %d year(s): %zu files, %.1f MB\n", years, files.names.size(),
                static_cast<double>(bytes) / 1e6);

    const Options options{}; // the backup folder Backup/ in the shop, the usual generations
    const std::string tar =
        "tar --zstd -cf " + root + "/peer.tar.zst -C " + shop + " --exclude=./Backup .";
    if (timePeer(tar) < 0) {
        std::fprintf(stderr, "tar --zstd failed: is zstd installed?\n");
        std::filesystem::remove_all(root);
        status = 2;
        return {};
    }
    std::vector<double> backups, peers, reads, ratios;
    int minute = 0;
    const int runs = years > 1 ? 3 : 5;
    for (int run = 0; run < runs; ++run) {
        reads.push_back(millisecondsOf([&] {
            for (const std::string& name : files.names)
                readOnce(shop + name);
        }));
        peers.push_back(timePeer(tar));
        ShopBackup backup;
        const BackupStamp stamp{{2026, 12, 31, 18, minute++, 0}, 0};
        backups.push_back(millisecondsOf([&] { backup = BackUpShop(shop, options, stamp); }));
        if (!backup.ok()) {
            std::fprintf(stderr, "%s\n", backup.text().c_str());
            std::filesystem::remove_all(root);
            status = 1;
            return {};
        }
        ratios.push_back(backups.back() / peers.back());
    }
    auto middle = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const auto archive = std::filesystem::file_size(root + "/peer.tar.zst");
    const auto ours = ListBackups(BackupFolderOf(shop, options)).back().size;
    print("plain read of the shop's files (floor)", middle(reads));
    print("tar --zstd of the same files (peer)", middle(peers));
    print("backup at close: write, sync, read back, check, prune", middle(backups));
    std::printf("archive sizes: ours %.1f MB, tar --zstd %.1f MB\n",
                static_cast<double>(ours) / 1e6, static_cast<double>(archive) / 1e6);
    bool within = printRatio("backup / tar --zstd (median of the paired runs)", middle(ratios), 2);
    if (years == 1) within = printRatio("backup, seconds", middle(backups) / 1000, 5) && within;
    std::filesystem::remove_all(root);
    if (!within && status == 0) status = 1;
    // One pass over the shop's files, written and read back: judged against
    // the plain read of them.
    return {{"backup at close", middle(backups), true, 1},
            {"  plain read of the shop's files (floor)", middle(reads), false},
            {"  tar --zstd of the same files (peer)", middle(peers), false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    int status = 0;
    const Figures first = runBench(1, Articles, status);
    if (status != 2 && scaleRequested(argc, argv)) {
        const Figures scaled = runBench(ScaleFactor, Articles * ScaleFactor, status);
        if (!scaled.empty() && !printScale(first, scaled) && status == 0) status = 1;
    }
    return status;
}
