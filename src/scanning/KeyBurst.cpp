#include "scanning/KeyBurst.h"

#include "store/Options.h"

#include <cstdlib>

bool KeyBurst::follows(unsigned long ms) const {
    // A clock that went backwards, or an unknown time, breaks the burst.
    return ms != 0 && m_last != 0 && ms >= m_last && ms - m_last <= m_gap;
}

void KeyBurst::press(unsigned long ms, bool counts) {
    if (!follows(ms)) m_keys = 0;
    m_last = ms;
    if (counts && ms != 0) ++m_keys;
}

unsigned long ScannerGapMs(const Options& options) {
    const unsigned long gap = std::strtoul(options.value("scanner-gap-ms").c_str(), nullptr, 10);
    return gap > 0 ? gap : 30;
}
