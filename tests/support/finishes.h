#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

// Runs `body` in a child process that is killed when it takes longer than `seconds`, so that a
// read that hangs fails the test instead of hanging the run. The child exits 0 when `body`
// returns true.
inline void ExpectFinishesWithin(unsigned seconds, const std::function<bool()>& body) {
    EXPECT_EXIT(
        {
            ::alarm(seconds);
            _exit(body() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
