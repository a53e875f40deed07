#pragma once

// Runs CheckXhtml on worker threads for the automatic check. The user-interface
// thread only hands over the text and receives the result; starting a new check
// abandons the one still running (its cancel flag is raised and its result never
// shown), so typing never waits for a check.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "commands/XhtmlCheck.h"

namespace zentabo {

class TEditSheet;

class XhtmlBackgroundCheck : public QObject {
    Q_OBJECT
public:
    explicit XhtmlBackgroundCheck(QObject* parent = nullptr);
    // Cancels every check and waits for the threads, which stop soon once told.
    ~XhtmlBackgroundCheck() override;

    void Start(TEditSheet* page, std::string text, const XhtmlCheckOptions& options);
    // The running check's result will not be delivered.
    void Abandon();
    bool Running() const { return current_ != nullptr; }
    // Checks abandoned since construction, and how many of them actually stopped
    // early through their cancel flag (for tests and the bench).
    int AbandonedCount() const { return abandoned_; }
    int CancelledCount() const { return cancelled_; }

signals:
    void Finished(TEditSheet* page, const XhtmlCheckResult& result);

private:
    struct Job;
    void Deliver(const std::shared_ptr<Job>& job);

    std::shared_ptr<Job> current_;
    // Every job whose thread has not been joined yet, the abandoned ones included.
    std::vector<std::shared_ptr<Job>> jobs_;
    int abandoned_ = 0;
    int cancelled_ = 0;
};

}  // namespace zentabo
