// The main window's markup and text commands: they ask their dialog, build the text
// with the core functions and put it into the active page in one replacement, which
// one undo takes back.

#include <QAction>
#include <QDialog>
#include <QObject>
#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

#include "app/Settings.h"
#include "commands/BlockBuilders.h"
#include "commands/DateTimeFormat.h"
#include "commands/TagTexts.h"
#include "commands/TextTransforms.h"
#include "editor/LumEdit.h"
#include "qt/dialogs/AboutBox.h"
#include "qt/dialogs/InsDelDlg.h"
#include "qt/dialogs/LinkDlg.h"
#include "qt/dialogs/SingleDlg.h"
#include "qt/dialogs/StyleDlg.h"
#include "qt/shell/MainForm.h"
#include "qt/widget/Cp932Clipboard.h"

namespace zentabo {

namespace {

// Selects the whole text when nothing is selected: the command then rewrites it all.
TLumEdit& ScopeOf(TEditSheet& page) {
    TLumEdit& e = page.Edit();
    if (!e.SelActive() && !e.AllSelected()) e.SelectAll();
    return e;
}

// The selection is read in place where it can be; a copy, if one was made, goes before
// the result moves in, so a whole-text command holds the text three times at most: in
// the editor, the result and the new lines.
void Replace(TLumEdit& e, std::string& storage, std::string&& result) {
    std::string().swap(storage);
    e.ReplaceSelection(std::move(result));
}

}  // namespace

// The dialogs the commands fill and read, created once with the window and kept for
// the whole run, and the handlers that use them.
class MarkupCommands : public QObject {
public:
    MarkupCommands(TMainForm& form, std::function<void()> focusEditor)
        : QObject(&form),
          form_(form),
          focusEditor_(std::move(focusEditor)),
          about_(new TAboutBox(&form)),
          single_(new TSingleDialog(&form)),
          insDel_(new TInsDelDialog(&form)),
          link_(new TLinkDialog(&form)),
          style_(new TStyleDialog(&form)) {}

    void InsertTag(const std::string& element);
    void InsertEmptyTag(const std::string& element);
    void InsertClass();
    void InsertStyle();
    void InsertInsDel(const std::string& element);
    void InsertAnchor();
    void InsertBlock(const QString& caption,
                     const std::function<std::string(std::string_view, std::string_view)>& build);
    void Transform(std::string (*transform)(std::string_view));
    void QuotePaste();
    void DatePaste(const std::string& format);
    void About();

private:
    // Shows the class prompt; false when it was not confirmed.
    bool AskClass(const QString& caption);
    void StoreClassHistory();
    void TellLeftOut(const std::vector<UnmappableChar>& chars);
    // The page the command acts on; the focus goes back to its editor afterwards.
    TEditSheet* Page() const { return form_.ActiveSheet(); }
    void Done() { focusEditor_(); }

    TMainForm& form_;
    std::function<void()> focusEditor_;
    TAboutBox* about_;
    TSingleDialog* single_;
    TInsDelDialog* insDel_;
    TLinkDialog* link_;
    TStyleDialog* style_;
};

bool MarkupCommands::AskClass(const QString& caption) {
    const TSettings& s = form_.Settings();
    single_->Setup(caption, QStringLiteral("&class"), s.ClassDialogList, s.ClassDialogText);
    return single_->exec() == QDialog::Accepted;
}

void MarkupCommands::StoreClassHistory() {
    TSettings& s = form_.Settings();
    s.ClassDialogText = TSingleDialog::ComboText();
    s.ClassDialogList = single_->ComboList();
}

void MarkupCommands::InsertTag(const std::string& element) {
    const QString name = QString::fromLatin1(element.c_str());
    if (Page() && AskClass(QStringLiteral("<%1>タグの貼り付け").arg(name))) {
        Page()->WrapSelection(OpeningTag(element, TSingleDialog::ComboText()), ClosingTag(element));
        StoreClassHistory();
    }
    Done();
}

void MarkupCommands::InsertEmptyTag(const std::string& element) {
    const QString name = QString::fromLatin1(element.c_str());
    if (Page() && AskClass(QStringLiteral("<%1>タグの貼り付け").arg(name))) {
        Page()->InsertAtSelection(EmptyTag(element, TSingleDialog::ComboText()));
        StoreClassHistory();
    }
    Done();
}

void MarkupCommands::InsertClass() {
    if (Page() && AskClass(QStringLiteral("class属性の貼り付け"))) {
        const std::string& cls = TSingleDialog::ComboText();
        if (!cls.empty()) Page()->InsertAtSelection(ClassAttribute(cls));
        StoreClassHistory();
    }
    Done();
}

void MarkupCommands::InsertStyle() {
    if (Page() && style_->exec() == QDialog::Accepted && !style_->StyleText().empty())
        Page()->InsertAtSelection(StyleAttribute(style_->StyleText()));
    Done();
}

void MarkupCommands::InsertInsDel(const std::string& element) {
    if (Page()) {
        TSettings& s = form_.Settings();
        insDel_->setWindowTitle(
            QStringLiteral("<%1>タグの挿入").arg(QString::fromLatin1(element.c_str())));
        insDel_->SetClassText(s.ClassDialogText);
        insDel_->SetClassList(s.ClassDialogList);
        if (insDel_->exec() == QDialog::Accepted) {
            Page()->WrapSelection(InsDelOpeningTag(element, insDel_->Cite(), insDel_->Datetime(),
                                                   insDel_->ClassText()),
                                  ClosingTag(element));
            s.ClassDialogText = insDel_->ClassText();
            s.ClassDialogList = insDel_->ClassList();
        }
    }
    Done();
}

void MarkupCommands::InsertAnchor() {
    if (Page() && link_->exec() == QDialog::Accepted)
        Page()->WrapSelection(AnchorOpeningTag(link_->Href(), link_->Name(), link_->Target()),
                              ClosingTag("a"));
    Done();
}

void MarkupCommands::InsertBlock(
    const QString& caption,
    const std::function<std::string(std::string_view, std::string_view)>& build) {
    if (Page() && AskClass(caption)) {
        StoreClassHistory();
        TLumEdit& e = ScopeOf(*Page());
        std::string storage;
        std::string result = build(e.GetSelTextInPlace(storage), TSingleDialog::ComboText());
        Replace(e, storage, std::move(result));
    }
    Done();
}

void MarkupCommands::Transform(std::string (*transform)(std::string_view)) {
    if (TEditSheet* page = Page()) {
        TLumEdit& e = ScopeOf(*page);
        std::string storage;
        const std::string_view selected = e.GetSelTextInPlace(storage);
        std::string result = transform(selected);
        // An empty document stays as it is, without an undo step.
        if (!selected.empty() || !result.empty()) Replace(e, storage, std::move(result));
    }
    Done();
}

void MarkupCommands::QuotePaste() {
    const ClipboardText clip = Cp932Clipboard().GetText();
    if (Page() && clip.ok()) {
        const std::string quoted = QuoteLines(clip.bytes, form_.Settings().QuoteMark);
        if (!quoted.empty()) Page()->InsertAtSelection(quoted);
        if (!clip.unmappable.empty()) TellLeftOut(clip.unmappable);
    }
    Done();
}

void MarkupCommands::TellLeftOut(const std::vector<UnmappableChar>& chars) {
    QString text;
    for (const UnmappableChar& c : chars) {
        // A long list would not fit in a message box; the first ones tell the story.
        if (text.size() >= 20) {
            text += QStringLiteral("…");
            break;
        }
        text += QString::fromUcs4(&c.codePoint, 1);
    }
    form_.ShowMessage(
        QStringLiteral(
            "「%1」はShift_JIS（コードページ932）で表せない文字のため、貼り付けませんでした。")
            .arg(text));
}

void MarkupCommands::DatePaste(const std::string& format) {
    static const DateLocale locale = LoadDateLocale();
    if (Page()) Page()->InsertAtSelection(FormatDateTime(format, CurrentLocalTime(), locale));
    Done();
}

void MarkupCommands::About() {
    about_->exec();
}

void TMainForm::ConnectMarkupActions() {
    markup_ = new MarkupCommands(*this, [this] { FocusActiveEditor(); });
    MarkupCommands& m = *markup_;
    auto on = [this](const char* name, auto fn) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, fn);
    };
    const std::pair<const char*, const char*> wraps[] = {
        {"TagP1", "p"},       {"TagDiv1", "div"},
        {"TagPre1", "pre"},   {"TagSpan1", "span"},
        {"TagEm1", "em"},     {"TagStrong1", "strong"},
        {"TagCite1", "cite"}, {"TagBlockquote1", "blockquote"},
        {"TagQ1", "q"}};
    for (const auto& [action, element] : wraps)
        on(action, [&m, e = std::string(element)] { m.InsertTag(e); });
    for (int level = 1; level <= 6; ++level) {
        QAction* heading = Action(QStringLiteral("TagH%1").arg(level));
        connect(heading, &QAction::triggered, this,
                [&m, heading] { m.InsertTag("h" + std::to_string(heading->data().toInt())); });
    }
    on("TagBr1", [&m] { m.InsertEmptyTag("br"); });
    on("TagClass1", [&m] { m.InsertClass(); });
    on("TagStyle1", [&m] { m.InsertStyle(); });
    on("TagIns1", [&m] { m.InsertInsDel("ins"); });
    on("TagDel1", [&m] { m.InsertInsDel("del"); });
    on("TagA1", [&m] { m.InsertAnchor(); });

    auto list = [](const char* element) {
        return [element](std::string_view text, std::string_view cls) {
            return BuildList(text, element, cls);
        };
    };
    auto table = [](char separator) {
        return [separator](std::string_view text, std::string_view cls) {
            return BuildTable(text, separator, cls);
        };
    };
    on("TagUl1", [&m, list] { m.InsertBlock(QStringLiteral("<ul>タグの貼り付け"), list("ul")); });
    on("TagOl1", [&m, list] { m.InsertBlock(QStringLiteral("<ol>タグの貼り付け"), list("ol")); });
    on("TagDl1",
       [&m] { m.InsertBlock(QStringLiteral("定義型リストタグの貼り付け"), BuildDefinitionList); });
    on("TagTableTab1",
       [&m, table] { m.InsertBlock(QStringLiteral("テーブルタグの貼り付け"), table('\t')); });
    on("TagTableComma1",
       [&m, table] { m.InsertBlock(QStringLiteral("テーブルタグの貼り付け"), table(',')); });

    on("EditCovertBreak1", [&m] { m.Transform(ConvertParagraphs); });
    on("EditEncodeHtml1", [&m] { m.Transform(EncodeHtml); });
    on("EditDecodeHtml1", [&m] { m.Transform(DecodeHtml); });
    on("EditEncodeMail1", [&m] { m.Transform(EncodeMail); });
    on("EditDecodeMail1", [&m] { m.Transform(DecodeMail); });
    on("EditTrim", [&m] { m.Transform(TrimLines); });
    on("EditTrimLeft", [&m] { m.Transform(TrimLinesLeft); });
    on("EditTrimRight", [&m] { m.Transform(TrimLinesRight); });
    on("EditQuotePaste1", [&m] { m.QuotePaste(); });
    on("EditDatePaste1", [this, &m] { m.DatePaste(Settings().DateFormat); });
    on("EditDateTimePaste1", [this, &m] { m.DatePaste(Settings().DateTimeFormat); });
    on("HelpAbout1", [&m] { m.About(); });
}

void TMainForm::UpdateMarkupActions() {
    // Every other markup and text command is always available.
    Action(QStringLiteral("EditQuotePaste1"))->setEnabled(ActiveSheet() && clipboardHasText_);
}

}  // namespace zentabo
