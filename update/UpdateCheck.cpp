#include "update/UpdateCheck.h"

#include <fstream>

#include <QFile>

#include "update/ExecutableHeader.h"
#include "update/UpdateInstaller.h"
#include "update/UpdatePrompts.h"
#include "update/UpdateSignature.h"
#include "update/VersionCompare.h"

namespace zelvo {
namespace fs = std::filesystem;

namespace {

// The remote version file is read once, this far; so are a signature and the local line.
constexpr qint64 kSmallFileBytes = 4096;

QString ToQString(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

// The first line of the local version file; empty when it is missing or empty.
std::string ReadFirstLine(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string head(kSmallFileBytes, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return head.substr(0, head.find_first_of("\r\n"));
}

}  // namespace

fs::path BackupFileName() {
    return fs::path(u"Zelvo桌面版.bak");
}

fs::path DownloadFileName() {
    return fs::path(u"Zelvo桌面版.exe");
}

UpdateCheck::UpdateCheck(UpdateCheckSetup setup, UpdatePrompts& prompts)
    : m_setup(std::move(setup)), m_prompts(prompts) {}

QUrl UpdateCheck::ServerUrl(const char* fileName) const {
    QUrl url(QString::fromUtf8(m_setup.updateServer) + QString::fromLatin1(fileName),
             QUrl::TolerantMode);
    bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}

UpdateResult UpdateCheck::Run() {
    std::error_code error;
    fs::remove(Folder() / BackupFileName(), error);
    if (!m_setup.isOnline || !m_setup.isOnline()) return kUpdateNoInternet;

    HttpFetcher fetcher(m_setup.http);
    QUrl versionUrl = ServerUrl(kVersionFileName);
    if (versionUrl.isEmpty()) return kUpdateOpenFailed;
    HttpFetcher::Fetched remote = fetcher.FetchStart(versionUrl, kSmallFileBytes);
    if (!remote.opened) return kUpdateOpenFailed;
    // A version file that broke off may have lost digits: it counts as nothing read.
    if (remote.body.isEmpty() || !remote.complete) return kUpdateNothingRead;
    std::string remoteText = remote.body.toStdString();

    std::string localLine = ReadFirstLine(Folder() / kVersionFileName);
    if (localLine.empty()) return kUpdateNoLocalVersion;
    if (!IsNewerVersion(remoteText, localLine)) return kUpdateNotNewer;

    QUrl executableUrl = ServerUrl(kRemoteExecutableName);
    if (executableUrl.isEmpty() || !fetcher.Probe(executableUrl)) return kUpdateOpenFailed;
    if (!m_prompts.ConfirmInstall()) return kUpdateDeclinedOrInstallFailed;
    return DownloadAndInstall(fetcher, remoteText);
}

UpdateResult UpdateCheck::DownloadAndInstall(HttpFetcher& fetcher, const std::string& versionText) {
    fs::path download = m_setup.tempFolder / DownloadFileName();
    auto discard = [&](UpdateResult result) {
        std::error_code error;
        fs::remove(download, error);
        return result;
    };
    {
        QFile out(ToQString(download));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return discard(kUpdateDownloadFailed);
        }
        HttpFetcher::Download got =
            fetcher.DownloadTo(ServerUrl(kRemoteExecutableName), out, m_setup.maxDownloadBytes);
        out.close();
        if (got != HttpFetcher::Download::kDone || out.error() != QFileDevice::NoError) {
            return discard(kUpdateDownloadFailed);
        }
    }
    // Nothing is moved unless the download is a program this machine runs, signed when a key
    // is installed.
    if (!IsExecutableFileForThisPlatform(download) || !SignatureAccepted(fetcher, download)) {
        return discard(kUpdateDeclinedOrInstallFailed);
    }
    InstallPaths paths{m_setup.executablePath, Folder() / BackupFileName(), download,
                       Folder() / kVersionFileName};
    if (!InstallUpdate(paths, versionText)) return discard(kUpdateDeclinedOrInstallFailed);
    return kUpdateInstalled;
}

bool UpdateCheck::SignatureAccepted(HttpFetcher& fetcher, const fs::path& download) {
    fs::path key = Folder() / kUpdateKeyFileName;
    std::error_code error;
    if (!fs::exists(key, error)) return true;
    HttpFetcher::Fetched signature =
        fetcher.FetchStart(ServerUrl(kRemoteSignatureName), kSmallFileBytes);
    if (!signature.opened || !signature.complete) return false;
    std::string content;
    if (!ReadWholeFile(download, static_cast<size_t>(m_setup.maxDownloadBytes), content)) {
        return false;
    }
    return VerifyUpdateSignature(
        key, content, std::string_view(signature.body.constData(), signature.body.size()));
}

UpdateResult RunUpdateCheck(const UpdateCheckSetup& setup, UpdatePrompts& prompts,
                            const std::function<void()>& restart) {
    UpdateResult result = UpdateCheck(setup, prompts).Run();
    if (result == kUpdateInstalled) {
        prompts.ReportInstalled();
        restart();
    }
    return result;
}

}  // namespace zelvo
