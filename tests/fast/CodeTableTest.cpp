#include "fast/CodeTable.h"
#include "fast/CodeIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Against an ordered map: codes of every length up to 30, many sharing their
// first 16 bytes (which the table keeps in its entries), some with a NUL, in
// tables small and large enough to grow several times.
TEST(CodeTable, AgreesWithAMap) {
    std::mt19937 random(5);
    for (int count : {1, 7, 900, 20000}) {
        CodeTable<double> table;
        std::map<std::string, double> expected;
        std::map<std::string, double> first;
        auto codeOf = [&] {
            std::string code = "PREFIX-SIXTEEN--";
            code.resize(random() % 31);
            for (char& c : code)
                if (random() % 3 == 0) c = static_cast<char>('0' + random() % 4);
            if (random() % 50 == 0 && !code.empty()) code[random() % code.size()] = '\0';
            return code;
        };
        for (int n = 0; n < count; ++n) {
            const std::string code = codeOf();
            const double amount = static_cast<double>(random() % 1000) / 10;
            table[code] += amount;
            expected[code] += amount;
            EXPECT_EQ(table.tryEmplace(code + "!", amount),
                      first.try_emplace(code + "!", amount).second);
        }
        EXPECT_EQ(table.size(), expected.size() + first.size());
        for (const auto& [code, sum] : expected) {
            ASSERT_NE(table.find(code), nullptr) << code;
            EXPECT_EQ(*table.find(code), sum) << code;
        }
        for (const auto& [code, value] : first)
            EXPECT_EQ(*table.find(code), value) << code;
        for (int n = 0; n < 200; ++n) {
            const std::string code = codeOf() + "?";
            EXPECT_EQ(table.find(code) != nullptr, expected.count(code) + first.count(code) > 0);
        }
    }
    EXPECT_EQ(CodeTable<int>{}.find("A"), nullptr);
}

// The index against a search from the first line, on lists with many codes
// given more than once.
TEST(CodeIndex, AgreesWithASearchFromTheTop) {
    std::mt19937 random(9);
    std::vector<std::string> owned;
    for (int n = 0; n < 5000; ++n)
        owned.push_back("C" + std::to_string(random() % 3000));
    const std::vector<std::string_view> codes(owned.begin(), owned.end());
    const CodeIndex index(codes);
    auto firstOf = [&](std::string_view code) {
        const auto at = std::find(codes.begin(), codes.end(), code);
        return at == codes.end() ? std::string_view::npos : static_cast<size_t>(at - codes.begin());
    };
    for (size_t i = 0; i < codes.size(); ++i)
        ASSERT_EQ(index.firstOf(i), firstOf(codes[i])) << i;
    for (int n = 0; n < 4000; ++n) {
        const std::string code = "C" + std::to_string(n);
        ASSERT_EQ(index.find(code), firstOf(code)) << code;
    }
}
