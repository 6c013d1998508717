#include "tills/TillIdentity.h"

#include "store/Options.h"

#include <cstdlib>

int SetTillNumber(const Options& options) {
    if (!options.isSet("till")) return 0;
    // The value has passed the key's range check when it was read or set.
    return static_cast<int>(std::strtol(options.value("till").c_str(), nullptr, 10));
}

int TillNumber(const Options& options) {
    const int set = SetTillNumber(options);
    return set > 0 ? set : 1;
}
