#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fault_injection.h"
#include "temp_folder.h"

namespace tellurix::testing {

// A fresh program process whose "appdata" is an empty temporary folder.
class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::fake::reset();
        platform::fake::resetEnvironment();
        platform::fake::resetFaults();
        platform::fake::setEnvironmentVariable("appdata", appdata.string());
    }
    void TearDown() override
    {
        platform::fake::resetEnvironment();
        platform::fake::resetFaults();
    }

    // Index of a call in the toolkit's log, or -1.
    static long callIndex(const std::string& call)
    {
        const auto& log = platform::fake::callLog();
        auto it = std::find(log.begin(), log.end(), call);
        return it == log.end() ? -1 : static_cast<long>(it - log.begin());
    }

    TempFolder appdata;
};

}  // namespace tellurix::testing
