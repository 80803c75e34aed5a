#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "update/UpdatePrompts.h"

namespace zelvo::test {

// Answers the install question as told and counts what was shown.
class ScriptedUpdatePrompts final : public UpdatePrompts {
public:
    explicit ScriptedUpdatePrompts(bool install = true) : m_install(install) {}
    bool ConfirmInstall() override {
        ++questions;
        return m_install;
    }
    void ReportInstalled() override { ++successMessages; }

    int questions = 0;
    int successMessages = 0;

private:
    bool m_install;
};

// The bytes of a small program of this platform (the probe built beside the tests), with a
// trailing mark so that two versions differ while both still run.
std::string ProbeProgram(const std::string& mark);

void WriteFile(const std::filesystem::path& path, const std::string& content);

bool IsRunnable(const std::filesystem::path& path);

// Serves this thread's events (the test server's) until `done`; false when it did not come
// within `limitMs`.
bool PumpUntil(const std::function<bool()>& done, int limitMs = 60000);

}  // namespace zelvo::test
