// Times the backup at close on a year's shop: 365 archived takings files of
// 2,000 lines each, a price list and an inventory of 100,000 articles and the
// consolidated files. Beside it, in the same run: tar --zstd of the same
// files (the peer tool, which neither syncs nor reads back), and one plain
// read of them (the floor no backup can beat).

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

void writeDay(const std::string& path, unsigned seed) {
    std::ofstream out(path, std::ios::binary);
    out << "* START of SALE   05/12/26 09:00\r\n";
    char line[160];
    for (int n = 0; n < LinesPerDay; ++n) {
        seed = seed * 1103515245 + 12345;
        const int article = static_cast<int>(seed >> 8) % Articles + 1;
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

void layOut(const std::string& shop) {
    WriteBenchSettings(shop);
    {
        std::ofstream prices(shop + "Pricelist.dat", std::ios::binary);
        std::ofstream stock(shop + "Inventory.dat", std::ios::binary);
        char line[128];
        for (int i = 1; i <= Articles; ++i) {
            prices << BenchPriceLine(i) << "\r\n";
            std::snprintf(line, sizeof line, "%c%-13s %5d %10.1f %12.1f %15.1f %15.2f\r\n",
                          BenchMarker(i), BenchCode(i).c_str(), i % 100, 1.0, (i % 37) * 1.0, 12.0,
                          (i % 1000) / 10.0);
            stock << line;
        }
    }
    std::ofstream days(shop + "Daybyday.dat", std::ios::binary);
    for (int d = 0; d < Days; ++d) {
        char name[32];
        std::snprintf(name, sizeof name, "Res2026%s.%02d", Months[d / 31 % 12], d % 31 + 1);
        writeDay(shop + name, static_cast<unsigned>(d) * 7919u + 1);
        days << "* START of SALE    ***   05/12/26\r\n"
             << "#      1234.0      5678.90      9012.34        12.0       345.67\r\n"
             << "&       123.45       678.90        12.34        56.78      9012.34\r\n";
    }
}

} // namespace

int main() {
    const std::string root = makeBenchDirectory("zbackupXXXXXX");
    if (root.empty()) return 2;
    const std::string shop = root + "/shop/";
    std::filesystem::create_directories(shop);
    layOut(shop);
    const ShopFileList files = ShopFiles::list(shop);
    std::uintmax_t bytes = 0;
    for (const std::string& name : files.names)
        bytes += std::filesystem::file_size(shop + name);
    std::printf("A year's shop: %zu files, %.1f MB\n", files.names.size(),
                static_cast<double>(bytes) / 1e6);

    const Options options{}; // the backup folder Backup/ in the shop, the usual generations
    const std::string tar =
        "tar --zstd -cf " + root + "/peer.tar.zst -C " + shop + " --exclude=./Backup .";
    if (timePeer(tar) < 0) {
        std::fprintf(stderr, "tar --zstd failed: is zstd installed?\n");
        return 2;
    }
    std::vector<double> backups, peers, reads, ratios;
    int minute = 0;
    for (int run = 0; run < 5; ++run) {
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
            return 1;
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
    bool within = printRatio("backup / tar --zstd (median of 5 paired runs)", middle(ratios), 2);
    within = printRatio("backup, seconds", middle(backups) / 1000, 5) && within;
    std::filesystem::remove_all(root);
    return within ? 0 : 1;
}
