#include "print/PrintJob.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

#include "print/PrintWorker.h"

namespace zelvo {
namespace {

struct RunningJob {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
};

// Joins the jobs that have ended, so their threads do not pile up over a shift.
void ReapFinishedJobs(std::list<RunningJob>& jobs) {
    for (auto it = jobs.begin(); it != jobs.end();) {
        if (it->finished->load()) {
            it->thread.join();
            it = jobs.erase(it);
        } else {
            ++it;
        }
    }
}

// At process exit a job still waiting for the printer (or for its failure dialog) is left to
// the end of the process; a thread object still joinable would otherwise end it abruptly.
struct JobList {
    ~JobList() {
        ReapFinishedJobs(jobs);
        for (RunningJob& job : jobs) job.thread.detach();
    }
    std::list<RunningJob> jobs;
};

std::mutex g_jobsMutex;
JobList g_jobs;

}  // namespace

void StartPrintJob(PrintSettings settings) {
    RunningJob job;
    job.thread = std::thread([settings = std::move(settings), finished = job.finished]() mutable {
        PrintWorker(settings);
        finished->store(true);
    });
    std::lock_guard lock(g_jobsMutex);
    ReapFinishedJobs(g_jobs.jobs);
    g_jobs.jobs.push_back(std::move(job));
}

void WaitForPrintJobs() {
    std::list<RunningJob> jobs;
    {
        std::lock_guard lock(g_jobsMutex);
        jobs.swap(g_jobs.jobs);
    }
    for (RunningJob& job : jobs) job.thread.join();
}

}  // namespace zelvo
