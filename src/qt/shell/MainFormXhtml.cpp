// The main window's XHTML commands: the check with its panel and the automatic check
// on a worker thread, the browser preview, the closing tag and the partner tag.

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "commands/XhtmlCheck.h"
#include "commands/XhtmlSource.h"
#include "commands/XhtmlTagScan.h"
#include "editor/LumEdit.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/XhtmlBackgroundCheck.h"
#include "qt/shell/XhtmlCheckPanel.h"
#include "qt/shell/XhtmlPreview.h"

namespace zentabo {

namespace {

// Larger pages are checked only on demand: their check would run for seconds after
// every pause in typing.
constexpr std::size_t kAutoCheckLimit = 4u << 20;
constexpr int kAutoCheckDelayMs = 1000;

// The page's size in bytes, counted up to `limit` without joining the text.
std::size_t TextSizeUpTo(const TLumEdit& e, std::size_t limit) {
    std::size_t size = 0;
    const TLumStrings& lines = e.Lines();
    for (int i = 0; i < lines.Count() && size <= limit; ++i) size += lines.Get(i).size();
    return size;
}

// Logical line and byte offset of a text offset, turned into the editor's display
// position.
void ToEditorPos(const TLumEdit& e, const XhtmlLineIndex& lines, std::size_t offset, int& col,
                 int& line) {
    line = lines.LineOf(offset);
    col = static_cast<int>(offset - lines.LineStart(line));
    e.ToDisplayPos(col, line);
}

std::size_t CaretOffset(const TLumEdit& e, const std::string& text, const XhtmlLineIndex& lines) {
    int col = e.CaretCol(), line = e.CaretLine();
    e.ToLogicalPos(col, line);
    line = std::clamp(line, 0, lines.LineOf(text.size()));
    return std::min(lines.LineStart(line) + static_cast<std::size_t>(std::max(col, 0)),
                    text.size());
}

// The check's options from the settings; an unknown DTD name keeps the default.
XhtmlCheckOptions CheckOptions(const TSettings& s) {
    XhtmlCheckOptions o;
    const std::pair<const char*, XhtmlDtd> names[] = {{"Strict", XhtmlDtd::kStrict10},
                                                      {"Transitional", XhtmlDtd::kTransitional10},
                                                      {"Frameset", XhtmlDtd::kFrameset10},
                                                      {"XHTML11", XhtmlDtd::kXhtml11},
                                                      {"None", XhtmlDtd::kNone}};
    for (const auto& [name, dtd] : names)
        if (s.FragmentDtd == name) o.fragmentDtd = dtd;
    return o;
}

void SelectRange(TLumEdit& e, const XhtmlLineIndex& lines, std::size_t anchor, std::size_t caret) {
    int anchorCol, anchorLine, caretCol, caretLine;
    ToEditorPos(e, lines, anchor, anchorCol, anchorLine);
    ToEditorPos(e, lines, caret, caretCol, caretLine);
    if (anchor == caret)
        e.MoveCaretTo(caretCol, caretLine, kScrollCentre);
    else
        e.SetSel(anchorCol, anchorLine, caretLine, caretCol);
}

}  // namespace

class XhtmlCommands : public QObject {
public:
    XhtmlCommands(TMainForm& form, XhtmlCheckPanel* panel, QLabel* count)
        : QObject(&form),
          form_(form),
          panel_(panel),
          count_(count),
          worker_(new XhtmlBackgroundCheck(this)),
          preview_(new XhtmlPreview(this)) {
        delay_.setSingleShot(true);
        delay_.setInterval(kAutoCheckDelayMs);
        connect(&delay_, &QTimer::timeout, this, [this] { StartCheck(false); });
        connect(worker_, &XhtmlBackgroundCheck::Finished, this,
                [this](TEditSheet* page, const XhtmlCheckResult& r) { Show(page, r); });
    }

    XhtmlBackgroundCheck* Worker() const { return worker_; }
    XhtmlPreview* Preview() const { return preview_; }

    void CheckNow() { StartCheck(true); }
    void SetAuto(bool on);
    // Called by every idle pass: follows the active page.
    void Follow(TEditSheet* active);
    void GoTo(TEditSheet* page, const XhtmlProblem& problem);
    void InsertClosingTag(TEditSheet& page);
    void MoveToPartner(TEditSheet& page, bool select);
    void ShowInBrowser(TEditSheet& page);

private:
    void Hook(TEditSheet* page);
    void TextChanged(TEditSheet* page);
    void StartCheck(bool onDemand);
    void Show(TEditSheet* page, const XhtmlCheckResult& result);
    void SetCount(const QString& text) { count_->setText(text); }
    void RevealPanel();

    TMainForm& form_;
    XhtmlCheckPanel* panel_;
    QLabel* count_;
    XhtmlBackgroundCheck* worker_;
    XhtmlPreview* preview_;
    QTimer delay_;
    QPointer<TEditSheet> followed_;
    QPointer<TEditSheet> checking_;
    bool showPanel_ = false;  // the running check was asked for: raise the panel
    bool panelSized_ = false;
};

void XhtmlCommands::Hook(TEditSheet* page) {
    if (page->property("xhtmlHooked").toBool()) return;
    page->setProperty("xhtmlHooked", true);
    TLumEdit& e = page->Edit();
    QPointer<XhtmlCommands> self(this);
    e.OnChange = [previous = std::move(e.OnChange), self, page](TLumEdit& sender) {
        if (previous) previous(sender);
        if (self) self->TextChanged(page);
    };
}

void XhtmlCommands::Follow(TEditSheet* active) {
    if (active == followed_) return;
    followed_ = active;
    if (!active) return;
    Hook(active);
    if (form_.Settings().AutoCheck) delay_.start();
}

void XhtmlCommands::SetAuto(bool on) {
    form_.Settings().AutoCheck = on;
    if (!on) {
        delay_.stop();
        return;
    }
    RevealPanel();
    StartCheck(false);
}

void XhtmlCommands::TextChanged(TEditSheet* page) {
    if (worker_->Running() && page == checking_) {
        worker_->Abandon();
        SetCount(form_.Settings().AutoCheck ? QString()
                                            : QStringLiteral("XHTML 検査を中止しました"));
    }
    if (form_.Settings().AutoCheck && page == form_.ActiveSheet()) delay_.start();
}

void XhtmlCommands::StartCheck(bool onDemand) {
    delay_.stop();
    TEditSheet* page = form_.ActiveSheet();
    if (!page) return;
    if (!onDemand && TextSizeUpTo(page->Edit(), kAutoCheckLimit) > kAutoCheckLimit) {
        SetCount(QStringLiteral("XHTML: 4 MB を超えるページは自動検査しません"));
        return;
    }
    showPanel_ = onDemand || (showPanel_ && worker_->Running());
    checking_ = page;
    // The one copy of the text the worker needs; the editor goes on at once.
    worker_->Start(page, page->Edit().GetAllText(), CheckOptions(form_.Settings()));
    SetCount(QStringLiteral("XHTML 検査中…"));
}

void XhtmlCommands::Show(TEditSheet* page, const XhtmlCheckResult& result) {
    std::size_t n = result.problems.size();
    // The last row may only say that the list stops there.
    const bool more = n && result.problems.back().kind == XhtmlProblemKind::kTooManyProblems;
    if (more) --n;
    panel_->ShowProblems(page, result.problems);
    if (showPanel_) RevealPanel();
    showPanel_ = false;
    if (n == 0)
        SetCount(QStringLiteral("XHTML: 問題はありません。"));
    else
        SetCount(
            (more ? QStringLiteral("XHTML: 問題 %1 件以上") : QStringLiteral("XHTML: 問題 %1 件"))
                .arg(n));
    // The step commands follow the rows now, not at the next idle pass.
    form_.UpdateActions();
}

void XhtmlCommands::RevealPanel() {
    panel_->show();
    panel_->raise();
    // The first time a few rows' height, so the page keeps most of the window; the
    // user's own size stays after that.
    if (panelSized_) return;
    panelSized_ = true;
    form_.resizeDocks({panel_}, {std::max(90, form_.height() / 4)}, Qt::Vertical);
}

void XhtmlCommands::GoTo(TEditSheet* page, const XhtmlProblem& problem) {
    const int index = form_.Pages()->indexOf(page);
    if (index < 0) return;
    if (index != form_.ActiveIndex()) form_.ActivatePage(index);
    TLumEdit& e = page->Edit();
    const std::string text = e.GetAllText();
    const XhtmlLineIndex lines(text);
    const std::size_t at = std::min(problem.offset, text.size());
    const std::size_t start = std::min(problem.selStart, text.size());
    const std::size_t end = std::min(problem.selEnd, text.size());
    // The caret stands on the fault; the offending tag is selected from its far end
    // when the fault is at one of the tag's ends.
    if (start < end && at == start)
        SelectRange(e, lines, end, start);
    else if (start < end && at == end)
        SelectRange(e, lines, start, end);
    else
        SelectRange(e, lines, at, at);
    page->setFocus();
}

void XhtmlCommands::InsertClosingTag(TEditSheet& page) {
    TLumEdit& e = page.Edit();
    const std::string text = e.GetAllText();
    const XhtmlLineIndex lines(text);
    const std::optional<std::string> tag = ClosingTagText(text, CaretOffset(e, text, lines));
    if (!tag) {
        form_.statusBar()->showMessage(QStringLiteral("閉じていない要素はありません。"), 5000);
        return;
    }
    // A selection stays in the text: the end tag goes where the caret is.
    if (e.SelActive() || e.AllSelected())
        e.MoveCaretTo(e.CaretCol(), e.CaretLine(), kScrollKeepMargin);
    e.InsertString(*tag);
}

void XhtmlCommands::MoveToPartner(TEditSheet& page, bool select) {
    TLumEdit& e = page.Edit();
    const std::string text = e.GetAllText();
    const XhtmlLineIndex lines(text);
    const std::size_t caret = CaretOffset(e, text, lines);
    const std::optional<XhtmlTagRange> partner = FindPartnerTag(text, caret);
    if (!partner) {
        form_.statusBar()->showMessage(QStringLiteral("対応するタグがありません。"), 5000);
        return;
    }
    if (!select) {
        SelectRange(e, lines, partner->start, partner->start);
        return;
    }
    // From the far end of the tag under the caret to the far end of its partner: the
    // whole element, whichever way the caret goes.
    const std::optional<XhtmlTagRange> here = FindPartnerTag(text, partner->start);
    if (!here) return;
    if (partner->start > here->start)
        SelectRange(e, lines, here->start, partner->end);
    else
        SelectRange(e, lines, here->end, partner->start);
}

void XhtmlCommands::ShowInBrowser(TEditSheet& page) {
    QString error;
    const int index = form_.Pages()->indexOf(&page);
    if (!preview_->Show(page, form_.PageCaption(index), &error)) form_.ShowMessage(error);
}

void TMainForm::ConnectXhtmlActions() {
    auto* panel = new XhtmlCheckPanel(this);
    addDockWidget(Qt::BottomDockWidgetArea, panel);
    panel->hide();
    auto* count = new QLabel(statusBar());
    count->setObjectName(QStringLiteral("XhtmlCountLabel"));
    statusBar()->addWidget(count, 1);
    xhtml_ = new XhtmlCommands(*this, panel, count);
    xhtmlPanel_ = panel;
    XhtmlCommands& x = *xhtml_;
    connect(panel, &XhtmlCheckPanel::ProblemActivated, this,
            [&x](TEditSheet* page, const XhtmlProblem& p) { x.GoTo(page, p); });

    auto on = [this](const char* name, auto fn) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, fn);
    };
    auto withPage = [this](auto fn) {
        return [this, fn] {
            if (TEditSheet* p = ActiveSheet()) fn(*p);
            FocusActiveEditor();
        };
    };
    QAction* autoCheck = Action(QStringLiteral("XhtmlAutoCheck1"));
    autoCheck->setCheckable(true);
    // Only the user's toggle switches the check on; the idle pass shows the setting.
    connect(autoCheck, &QAction::triggered, this, [&x](bool on) { x.SetAuto(on); });

    on("XhtmlCheck1", [&x] { x.CheckNow(); });
    on("XhtmlNextProblem1", [panel] { panel->Step(1); });
    on("XhtmlPrevProblem1", [panel] { panel->Step(-1); });
    on("XhtmlPreview1", withPage([&x](TEditSheet& p) { x.ShowInBrowser(p); }));
    on("TagCloseTag1", withPage([&x](TEditSheet& p) { x.InsertClosingTag(p); }));
    on("TagPartner1", withPage([&x](TEditSheet& p) { x.MoveToPartner(p, false); }));
    on("TagPartnerSelect1", withPage([&x](TEditSheet& p) { x.MoveToPartner(p, true); }));
}

void TMainForm::UpdateXhtmlActions() {
    xhtml_->Follow(ActiveSheet());
    const bool page = ActiveSheet() != nullptr;
    const bool problems = !xhtmlPanel_->Problems().empty();
    for (const char* name :
         {"XhtmlCheck1", "XhtmlPreview1", "TagCloseTag1", "TagPartner1", "TagPartnerSelect1"})
        Action(QString::fromLatin1(name))->setEnabled(page);
    Action(QStringLiteral("XhtmlNextProblem1"))->setEnabled(problems);
    Action(QStringLiteral("XhtmlPrevProblem1"))->setEnabled(problems);
    Action(QStringLiteral("XhtmlAutoCheck1"))->setChecked(Settings().AutoCheck);
}

XhtmlBackgroundCheck* TMainForm::XhtmlWorker() const {
    return xhtml_->Worker();
}

XhtmlPreview* TMainForm::Preview() const {
    return xhtml_->Preview();
}

}  // namespace zentabo
