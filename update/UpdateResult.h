#pragma once

namespace zelvo {

// The outcome of one update check; the numbers are those the check has always reported.
enum UpdateResult : int {
    kUpdateInstalled = 0,
    kUpdateNoInternet = 1,
    kUpdateOpenFailed = 2,
    kUpdateNothingRead = 3,
    kUpdateDownloadFailed = 4,
    kUpdateNoLocalVersion = 5,
    kUpdateNotNewer = 6,
    kUpdateDeclinedOrInstallFailed = 7,
};

}  // namespace zelvo
