#pragma once

#include <cstring>
#include <random>
#include <string>

// A field of `width` characters for the readers of the data files: mostly a
// number right-aligned as the program writes it, sometimes pushed to either
// side, too long, or something that only looks like a number.
inline std::string RandomFieldText(std::mt19937& random, size_t width) {
    static const char* const Odd[] = {"-.5", "1.",  ".5", "1.2.3", "+1",    "1e5",  "1 2", "-",
                                      ".",   "--1", "1-", "0.00",  "-0.00", "1,50", "12a", "\t1.5"};
    std::string number;
    const unsigned kind = random() % 16;
    if (kind == 0) {
        number = Odd[random() % std::size(Odd)];
    } else if (kind == 1) {
        number = std::string(1 + random() % 17, '9'); // beyond 15 digits too
    } else {
        long long limit = 10;
        for (unsigned k = random() % 8; k > 0; --k)
            limit *= 10;
        number = std::to_string(std::uniform_int_distribution<long long>(0, limit - 1)(random));
        const size_t decimals = random() % 4;
        if (decimals && decimals < number.size()) number.insert(number.size() - decimals, ".");
        if (random() % 5 == 0) number.insert(0, "-");
    }
    // Mostly right-aligned behind a blank, sometimes pushed against either side.
    if (number.size() >= width) return number.substr(0, width);
    const size_t pad = width - number.size();
    switch (random() % 8) {
    case 0:
        return number + std::string(pad, ' ');
    case 1:
        return std::string(pad - 1, ' ') + number + " ";
    default:
        return std::string(pad, ' ') + number;
    }
}

// Two numbers alike to the last bit, the sign of a zero included.
inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
