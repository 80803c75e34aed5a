#pragma once

#include <filesystem>
#include <string>

namespace zelvo {

// Moves `from` to `to`, replacing `to`. Where a rename cannot (another drive), the file is
// copied beside `to` and renamed into place, so `to` is never left half written.
bool MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

struct InstallPaths {
    std::filesystem::path executable;
    std::filesystem::path backup;
    std::filesystem::path download;
    std::filesystem::path versionFile;
};

// Puts the download in place of the executable, keeping the old one as the backup, and writes
// `versionText` into the version file. The new executable gets the old one's permissions, so it
// runs. On any failure the backup goes back in place and false is returned.
bool InstallUpdate(const InstallPaths& paths, const std::string& versionText);

}  // namespace zelvo
