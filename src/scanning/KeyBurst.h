#pragma once

#include <cstddef>

class Options;

// Tells a scanner's keys from a person's by their timing: a scanner types a
// whole code as a burst of keys at most `gap` milliseconds apart, which no
// person manages for four keys in a row. Times are the key events' own
// (milliseconds on any running clock); a key whose time is unknown (0) is
// always taken as typed by a person.
class KeyBurst {
  public:
    static constexpr size_t ScannedKeys = 4;

    explicit KeyBurst(unsigned long gapMs = 30) : m_gap(gapMs) {}
    void setGap(unsigned long gapMs) { m_gap = gapMs; }
    unsigned long gap() const { return m_gap; }

    // A key pressed at `ms` joins the burst when it follows the last key in
    // time, else it starts a new one. A key that types nothing (Shift) keeps
    // the burst going but does not count as one of its keys.
    void press(unsigned long ms, bool counts = true);
    // Whether a key at `ms` would belong to the burst so far.
    bool follows(unsigned long ms) const;
    // The counted keys of the current burst.
    size_t keys() const { return m_keys; }
    // The burst so far is a scanner's.
    bool scanned() const { return m_keys >= ScannedKeys; }
    // The last key's time (0 when unknown).
    unsigned long last() const { return m_last; }
    void reset() { m_last = 0, m_keys = 0; }

  private:
    unsigned long m_gap;
    unsigned long m_last = 0;
    size_t m_keys = 0;
};

// The burst gap the shop set (`scanner-gap-ms=`), 30 ms when unset.
unsigned long ScannerGapMs(const Options& options);
