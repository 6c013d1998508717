#include "forms/Guard.h"
#include "store/IoError.h"
#include "support/Fakes.h"

#include <gtest/gtest.h>

#include <new>

TEST(Guard, EveryErrorAbandonsTheHandlerWithAMessage) {
    FakeDialogs dialogs;
    RunGuarded(dialogs, [] { throw IoError("/shop/Results.dat", "No space left on device"); });
    RunGuarded(dialogs, [] { throw std::bad_alloc(); });
    RunGuarded(dialogs, [] { throw 42; });
    EXPECT_EQ(
        dialogs.texts(),
        (std::vector<std::string>{
            "I/O error in file /shop/Results.dat\r\nNo space left on device: /shop/Results.dat",
            "The last step could not be completed.\r\nstd::bad_alloc",
            "The last step could not be completed."}));
}
