// Reading and writing the page store: the main window and its pages as the page-store
// format sees them.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <memory>
#include <optional>
#include <vector>

#include "app/PageStore.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/SnapshotTimer.h"
#include "qt/widget/Cp932Text.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// Captions are code page 932 in the file.
class SheetRecord : public PageStorePage {
public:
    SheetRecord(TMainForm& form, TEditSheet& sheet) : form_(form), sheet_(sheet) {}

    TEditSheet& Sheet() { return sheet_; }

    std::string Caption() const override { return ToCp932(form_.PageCaption(Index())); }
    std::string FileName() const override { return sheet_.FileName(); }
    bool SaveMode() const override { return sheet_.SaveMode(); }
    std::string Text() const override { return sheet_.Edit().GetAllText(); }

    void SetCaption(const std::string& caption) override {
        form_.SetPageCaption(Index(), FromCp932(caption));
    }
    void SetFileName(const std::string& fileName) override { sheet_.SetFileName(fileName); }
    void SetSaveMode(bool saveMode) override { sheet_.SetSaveMode(saveMode); }
    void SetText(std::string text, const TaskProgress& progress) override {
        sheet_.Edit().SetAllText(std::move(text), progress);
    }
    FileResult LoadFile(const std::string& path) override {
        // Restoring is no opening: the user decided about the file's encoding then.
        return sheet_.LoadFile(path, false);
    }
    void MarkModified() override { sheet_.Edit().MarkModified(); }

private:
    int Index() const { return form_.Pages()->indexOf(&sheet_); }
    TMainForm& form_;
    TEditSheet& sheet_;
};

class FormPages : public PageStoreHost {
public:
    explicit FormPages(TMainForm& form) : form_(form) {}

    int PageCount() const override { return form_.PageCount(); }
    PageStorePage& Page(int index) override { return Keep(*form_.Page(index)); }
    PageStorePage& CreatePage() override { return Keep(*form_.CreatePage()); }
    bool AskReloadChangedFile(PageStorePage& page, const std::string& path) override {
        TEditSheet& sheet = static_cast<SheetRecord&>(page).Sheet();
        form_.ActivatePage(form_.Pages()->indexOf(&sheet));
        const QString shown =
            QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
        // The question waits for the user, not the busy cursor of the reading.
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        return form_.AskYesNo(
            QStringLiteral("「%1」はプログラムの終了後に変更されています。ディスクから読み込み"
                           "直しますか？\n「いいえ」を選ぶとページの文章を残します。")
                .arg(shown));
    }

private:
    PageStorePage& Keep(TEditSheet& sheet) {
        records_.push_back(std::make_unique<SheetRecord>(form_, sheet));
        return *records_.back();
    }
    TMainForm& form_;
    std::vector<std::unique_ptr<SheetRecord>> records_;
};

// The page store's own path in the file system's bytes.
std::string StorePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

void TMainForm::LoadPageStore() {
    FormPages host(*this);
    PageStoreLoadResult r;
    {
        // The progress and a bound file's question let events through; none may
        // write the pages read so far over the file they come from.
        restoringPages_ = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{restoringPages_};
        BusyProgress busy(this, QStringLiteral("ページを読み込んでいます..."), false);
        r = zentabo::LoadPageStore(host, StorePath(paths_.PageStorePath), FileModifiedTime,
                                   [&busy](double f) { return busy.Step(f); });
    }
    for (const UnreadFile& f : r.read.unreadFiles)
        ShowMessage(ReadFailureMessage(f.path, f.reason));
    // The next write first sets the unread file aside.
    pageStoreIncomplete_ = r.StoppedEarly();
}

bool TMainForm::SavePageStore(QString* error, bool showProgress) {
    // The progress dialog lets events through; one that asks for a write again (a
    // session's end) must not start a second write under the first.
    if (storeWriting_) {
        if (error) *error = QStringLiteral("the page store is being written");
        return false;
    }
    if (restoringPages_) {
        if (error) *error = QStringLiteral("the page store is still being read");
        return false;
    }
    storeWriting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{storeWriting_};
    std::optional<BusyProgress> busy;
    if (showProgress) busy.emplace(this, QStringLiteral("ページを保存しています..."), false);
    TaskProgress progress;
    if (busy) progress = [&busy](double f) { return busy->Step(f); };
    // Through the snapshots' guard: a snapshot still being written finishes first,
    // and a store we could not read or did not write is kept aside before it is
    // replaced.
    const StoreWriteOutcome outcome = snapshots_->WriteNow([&](const std::string& path) {
        FormPages host(*this);
        return zentabo::SavePageStore(host, path, {}, progress);
    });
    busy.reset();
    if (!outcome.status && error) *error = QString::fromLocal8Bit(outcome.status.error.c_str());
    return outcome.status.ok;
}

}  // namespace zentabo
