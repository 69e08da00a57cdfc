#pragma once

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

// The base of every test that drives windows without a display: an answer
// the test scripted and the program never asked for is a message or dialog
// that did not appear, and fails the test.
class HeadlessTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(platform.scriptDone()) << "scripted but never asked for:\n"
                                           << platform.unusedScript();
    }

    tosbel::HeadlessPlatform platform;
};
