#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "app/event_loop.h"
#include "app/program.h"
#include "core/numbers.h"
#include "fake_platform/fake_toolkit.h"
#include "fake_platform/fault_injection.h"
#include "temp_folder.h"

namespace tellurix::testing {

// A fresh program process whose "appdata" is an empty temporary folder.
class ProgramFixture : public ::testing::Test {
protected:
    // The program of this process, made on first use.
    Program& program()
    {
        if (!program_)
            program_.emplace();
        return *program_;
    }
    // A new process: the platform and the program forget everything but what
    // is on disk.
    void restartProcess()
    {
        platform::fake::reset();
        program_.reset();
    }

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

    // The user types into the search field: it has the focus, its text is
    // `text`, and it tells the program so, as an edit control does.
    void typeInField(const std::string& text)
    {
        platform::fake::setFocusedControl(kSearchField);
        platform::fake::typeText(kSearchField, text);
        dispatchEvent(program(), {platform::EventKind::Control, kSearchField, platform::EventSubtype::TextChanged});
    }

    // Index of a call in the toolkit's log, or -1.
    static long callIndex(const std::string& call)
    {
        const auto& log = platform::fake::callLog();
        auto it = std::find(log.begin(), log.end(), call);
        return it == log.end() ? -1 : static_cast<long>(it - log.begin());
    }

    TempFolder appdata;

private:
    std::optional<Program> program_;
};

}  // namespace tellurix::testing
