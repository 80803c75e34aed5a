#include "update/UpdateInstaller.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

namespace zelvo {
namespace fs = std::filesystem;

namespace {

QString ToQString(const fs::path& path) {
    return QString::fromStdU16String(path.u16string());
}

bool WriteWholeFile(const fs::path& file, const std::string& content) {
    QSaveFile out(ToQString(file));
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(content.data(), static_cast<qint64>(content.size())) !=
        static_cast<qint64>(content.size())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace

bool MoveReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (!error) return true;
    fs::path staging = to;
    staging += ".part";
    fs::copy_file(from, staging, fs::copy_options::overwrite_existing, error);
    if (!error) fs::rename(staging, to, error);
    if (error) {
        fs::remove(staging, error);
        return false;
    }
    fs::remove(from, error);
    return true;
}

bool InstallUpdate(const InstallPaths& paths, const std::string& versionText) {
    std::error_code error;
    fs::perms runnable = fs::status(paths.executable, error).permissions();
    if (error) return false;
    fs::remove(paths.backup, error);
    // Nothing has changed yet when the executable cannot be moved aside.
    if (!MoveReplacing(paths.executable, paths.backup)) return false;
    bool installed = MoveReplacing(paths.download, paths.executable);
    if (installed) {
        fs::permissions(paths.executable, runnable, fs::perm_options::replace, error);
        installed = !error && WriteWholeFile(paths.versionFile, versionText);
    }
    if (!installed) MoveReplacing(paths.backup, paths.executable);
    return installed;
}

}  // namespace zelvo
