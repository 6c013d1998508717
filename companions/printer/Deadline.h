#pragma once

#include <algorithm>
#include <chrono>

// A point in time that a device talk must be done by, so that no printer,
// queue or network can hold a companion program up for longer.
class Deadline {
  public:
    explicit Deadline(int ms)
        : m_end(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {}
    int msLeft() const {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        m_end - std::chrono::steady_clock::now())
                        .count();
        return static_cast<int>(std::max<long long>(0, left));
    }
    bool passed() const { return std::chrono::steady_clock::now() >= m_end; }

  private:
    std::chrono::steady_clock::time_point m_end;
};
