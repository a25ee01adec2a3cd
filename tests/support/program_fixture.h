#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    // Every event queued goes through the event loop.
    void runQueuedEvents()
    {
        try {
            for (;;)
                runEventLoopTurn(program());
        } catch (const platform::fake::NoMoreEvents&) {
        }
    }
    // The user presses a key that the focused control hands to the program;
    // it goes through the event loop with whatever else is queued.
    void pressTakenKey(const platform::KeyPress& key)
    {
        ASSERT_TRUE(platform::fake::pressKey(key)) << "the control did not take the key";
        runQueuedEvents();
    }
    // The user ends the program with "Beenden" in the tray menu.
    void quitProgram()
    {
        try {
            dispatchEvent(program(), {platform::EventKind::Menu, kMenuQuit, platform::EventSubtype::None});
        } catch (const platform::fake::ProcessExit&) {
        }
    }

    // The program's folder under "appdata" and its files.
    std::filesystem::path programFolder() const { return appdata.path() / "Brenmoor" / "Tellurix"; }
    void writeProgramFile(const char* name, const std::string& bytes) const
    {
        std::filesystem::create_directories(programFolder());
        std::ofstream(programFolder() / name, std::ios::binary) << bytes;
    }
    // What the file holds, or "<none>" when there is none.
    std::string readProgramFile(const char* name) const
    {
        std::ifstream in(programFolder() / name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
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
