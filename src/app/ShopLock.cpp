#include "app/ShopLock.h"

std::string ShopLock::take(const std::string& dataDir, const std::string& clockText) {
    const std::string path = dataDir + std::string(FileName);
    if (m_lock.tryAcquire(path)) {
        m_lock.writeNote(clockText);
        return std::string();
    }
    // A folder the program cannot write in holds no lock; the start-up says
    // what that costs, and no second copy can record anything there either.
    if (!FileLock::heldElsewhere(path)) return std::string();
    // The other copy may not have noted its time yet.
    const std::string since = FileLock::readNote(path);
    return "Zorvi is already running on this shop" +
           (since.empty() ? std::string() : " (since " + since + ")");
}
