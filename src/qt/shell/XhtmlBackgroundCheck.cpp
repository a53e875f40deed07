#include "qt/shell/XhtmlBackgroundCheck.h"

#include <QPointer>
#include <algorithm>
#include <atomic>
#include <thread>

#include "qt/shell/EditSheet.h"

namespace zentabo {

struct XhtmlBackgroundCheck::Job {
    std::atomic<bool> cancel{false};
    std::string text;
    XhtmlCheckOptions options;
    XhtmlCheckResult result;
    QPointer<TEditSheet> page;  // read on the user-interface thread only
    std::thread thread;
};

XhtmlBackgroundCheck::XhtmlBackgroundCheck(QObject* parent) : QObject(parent) {}

XhtmlBackgroundCheck::~XhtmlBackgroundCheck() {
    for (const std::shared_ptr<Job>& job : jobs_) job->cancel = true;
    for (const std::shared_ptr<Job>& job : jobs_)
        if (job->thread.joinable()) job->thread.join();
}

void XhtmlBackgroundCheck::Start(TEditSheet* page, std::string text,
                                 const XhtmlCheckOptions& options) {
    Abandon();
    auto job = std::make_shared<Job>();
    job->text = std::move(text);
    job->options = options;
    job->page = page;
    current_ = job;
    jobs_.push_back(job);
    // The list keeps the job (and so its thread object) alive until Deliver joins it;
    // the worker's own reference only travels back in the posted call.
    job->thread = std::thread([this, job] {
        job->result = CheckXhtml(job->text, job->options, &job->cancel);
        std::string().swap(job->text);
        QMetaObject::invokeMethod(
            this, [this, job] { Deliver(job); }, Qt::QueuedConnection);
    });
}

void XhtmlBackgroundCheck::Abandon() {
    if (!current_) return;
    current_->cancel = true;
    current_.reset();
    ++abandoned_;
}

void XhtmlBackgroundCheck::Deliver(const std::shared_ptr<Job>& job) {
    // The worker has posted its last act: the join returns at once.
    if (job->thread.joinable()) job->thread.join();
    jobs_.erase(std::remove(jobs_.begin(), jobs_.end(), job), jobs_.end());
    if (job->result.cancelled) ++cancelled_;
    if (job != current_) return;
    current_.reset();
    if (!job->result.cancelled && job->page) emit Finished(job->page, job->result);
}

}  // namespace zentabo
