#include "session/photograph_in_preparation.h"

#include <csignal>
#include <mutex>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <utility>

namespace tessera {

struct PhotographInPreparation::Job {
    std::mutex lock;
    bool done = false;
    Result result;
};

PhotographInPreparation::PhotographInPreparation(std::shared_ptr<PhotoFolder> folder,
                                                 const PhotoOptions& options)
    : folder(std::move(folder)), options(options) {}

bool PhotographInPreparation::start() {
    if (job != nullptr) {
        return false;
    }
    job = std::make_shared<Job>();
    // The thread inherits the mask it is started with.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);
    try {
        std::thread([folder = folder, options = options, job = job] {
            Result result;
            result.error =
                folder->next(options, result.buffers, result.path, result.summary, result.skipped);
            const std::lock_guard<std::mutex> held(job->lock);
            job->result = std::move(result);
            job->done = true;
        }).detach();
    } catch (const std::system_error& failed) {
        job->result.error = std::string("cannot prepare the next photograph: ") + failed.what();
        job->done = true;
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    return true;
}

bool PhotographInPreparation::take(Result& result) {
    if (job == nullptr) {
        return false;
    }
    {
        const std::lock_guard<std::mutex> held(job->lock);
        if (!job->done) {
            return false;
        }
        result = std::move(job->result);
    }
    job.reset();
    return true;
}

} // namespace tessera
