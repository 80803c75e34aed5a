#pragma once

#include <filesystem>
#include <string>

#include "base/Clock.h"

namespace zelvo::test {

// A fresh folder that becomes the current directory for the test's life.
class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

// A clock that says what it is told.
class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime now) : m_now(now) {}
    LocalTime Now() const override { return m_now; }
    void Set(LocalTime now) { m_now = now; }

private:
    LocalTime m_now;
};

// Installs a clock for the current scope.
class ScopedClock {
public:
    explicit ScopedClock(const Clock& clock) { InstallClock(&clock); }
    ~ScopedClock() { InstallClock(nullptr); }
};

std::string ReadFile(const std::filesystem::path& path);

// Makes the delivered database at `path` from the repository's SQL.
void MakeDeliveredDatabase(const std::filesystem::path& path);

// Runs SQL against the database file at `path`; fails the test on an error.
void RunSql(const std::filesystem::path& path, const std::string& sql);

// The first column of the first row, or "<none>" when there is no row.
std::string QueryText(const std::filesystem::path& path, const std::string& sql);

}  // namespace zelvo::test
