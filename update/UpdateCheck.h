#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>

#include "update/HttpFetcher.h"
#include "update/UpdateResult.h"

namespace zelvo {

class UpdatePrompts;

struct UpdateCheckSetup {
    // The base address the file names are appended to, as configured (it ends with "/").
    std::string updateServer;
    std::filesystem::path executablePath;
    // Where the download is written before it is installed.
    std::filesystem::path tempFolder;
    std::function<bool()> isOnline;
    HttpOptions http;
    // A download larger than this is refused instead of filling the disk.
    qint64 maxDownloadBytes = 512LL * 1024 * 1024;
};

// One check for a newer version, and its installation when the operator agrees.
class UpdateCheck {
public:
    UpdateCheck(UpdateCheckSetup setup, UpdatePrompts& prompts);

    UpdateResult Run();

private:
    // The steps after the operator agreed: download, checks, install.
    UpdateResult DownloadAndInstall(HttpFetcher& fetcher, const std::string& versionText);
    bool SignatureAccepted(HttpFetcher& fetcher, const std::filesystem::path& download);
    QUrl ServerUrl(const char* fileName) const;
    std::filesystem::path Folder() const { return m_setup.executablePath.parent_path(); }

    UpdateCheckSetup m_setup;
    UpdatePrompts& m_prompts;
};

// The update thread's whole work: the check and, when it installed, the success message and the
// restart. Returns the check's result (a restart does not return in the program).
UpdateResult RunUpdateCheck(const UpdateCheckSetup& setup, UpdatePrompts& prompts,
                            const std::function<void()>& restart);

// The fixed file names of an update.
inline constexpr char kVersionFileName[] = "version.xml";
inline constexpr char kRemoteExecutableName[] = "Moxel.exe";
inline constexpr char kRemoteSignatureName[] = "Moxel.exe.sig";
inline constexpr char kUpdateKeyFileName[] = "update-key.pem";
std::filesystem::path BackupFileName();
std::filesystem::path DownloadFileName();

}  // namespace zelvo
