#pragma once

#include "platform/FileLock.h"
#include "store/FileNames.h"

#include <string>
#include <string_view>

// One copy of the program per shop: two copies on one data directory would
// ring sales into the same takings file and repair each other's "unfinished"
// sales at their starts. The first copy holds the lock from its start to its
// end; the system lets go of it when the process ends, however it ends.
class ShopLock {
  public:
    static constexpr std::string_view FileName = FileNames::ProgramLock;

    // Takes the shop for this copy and notes `clockText` in the lock file as
    // the time it started. Empty when it may go on; otherwise what the
    // operator is told before this copy ends, having written nothing.
    std::string take(const std::string& dataDir, const std::string& clockText);
    bool held() const { return m_lock.held(); }

  private:
    FileLock m_lock;
};
