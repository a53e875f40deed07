#include "qt/shell/EditSheet.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QVBoxLayout>
#include <cerrno>
#include <cstring>

#include "app/FindCompare.h"
#include "app/OpenableFile.h"
#include "app/Settings.h"
#include "app/Utf8File.h"
#include "editor/LumEdit.h"
#include "qt/shell/BusyProgress.h"
#include "qt/widget/Cp932Text.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString ShownPath(const std::string& path) {
    return QDir::toNativeSeparators(QFile::decodeName(QByteArray::fromStdString(path)));
}

}  // namespace

TEditSheet::TEditSheet(SheetPrompts* prompts, QMenu* editPopupMenu, QWidget* parent)
    : QWidget(parent), prompts_(prompts), widget_(new LumEditWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget_);
    if (editPopupMenu) {
        widget_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget_, &QWidget::customContextMenuRequested, this,
                [this, editPopupMenu](const QPoint& pos) {
                    editPopupMenu->popup(widget_->mapToGlobal(pos));
                });
    }
    setFocusProxy(widget_);
    WireEditorEvents();
}

TEditSheet::~TEditSheet() = default;

TLumEdit& TEditSheet::Edit() {
    return widget_->Edit();
}

void TEditSheet::SetSaveMode(bool on) {
    saveMode_ = on;
    emit SaveModeChanged(this);
}

QString ReadFailureMessage(const std::string& path, const std::string& reason) {
    return QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2")
        .arg(ShownPath(path), QString::fromLocal8Bit(reason.c_str()));
}

QString TEditSheet::DisplayFileName() const {
    return QFile::decodeName(QByteArray::fromStdString(fileName_));
}

FileResult TEditSheet::LoadFile(const std::string& path, bool offerConversion) {
    // Refused before a byte is read: running out of memory half-way kills the program.
    if (FileResult fits = CheckFileFitsInMemory(path); !fits) return fits;
    // Offering the conversion reads a code page 932 file only as far as its first
    // characters that are no UTF-8, not twice whole.
    Utf8FileRead read =
        offerConversion ? ReadIfUtf8File(path) : Utf8FileRead{ReadWholeFile(path), {}};
    ReadFileResult& file = read.file;
    if (!file.exists)
        return FileResult::Failure("cannot open " + path + ": " + std::strerror(ENOENT),
                                   std::strerror(ENOENT));
    if (!file.status) return file.status;
    if (read.kind.utf8 && LoadConvertedUtf8(path, file.data)) return {};
    std::string().swap(file.data);
    return LoadAsItIs(path);
}

bool TEditSheet::LoadConvertedUtf8(const std::string& path, const std::string& bytes) {
    const QString name = ShownPath(path);
    if (!prompts_->AskYesNo(QStringLiteral("「%1」は UTF-8 で書かれています。シフトJIS に変換して"
                                           "開きますか？\n「いいえ」を選ぶとそのまま開き、"
                                           "変更しない行は保存してもそのまま残ります。")
                                .arg(name)))
        return false;
    Cp932EncodeResult converted = Utf8FileToCp932(bytes);
    if (!converted.ok()) {
        prompts_->ShowMessage(
            QStringLiteral("「%1」にはシフトJIS で表せない文字が %2 個あるため変換できません"
                           "（最初の文字: %3）。変換せずに開きます。")
                .arg(name)
                .arg(converted.unmappable.size())
                .arg(QString::fromUcs4(&converted.unmappable.front().codePoint, 1)));
        return false;
    }
    TLumEdit& e = Edit();
    e.SetAllText(std::move(converted.bytes));
    // The page now differs from the file: a save writes the converted text.
    e.MarkModified();
    return true;
}

FileResult TEditSheet::LoadAsItIs(const std::string& path) {
    TLumEdit& e = Edit();
    // The editor empties itself before it reads; should the file fail between the
    // check above and this read, the old text is put back.
    std::string before = e.GetAllText();
    const bool wasModified = e.Modified();
    bool cancelled = false;
    {
        BusyProgress busy(window(), QStringLiteral("ファイルを読み込んでいます..."), false,
                          BusyProgress::Stop::Cancellable);
        e.OnLoadProgress = [&busy](double f) { return busy.Step(f); };
        const bool loaded = e.LoadFile(path);
        e.OnLoadProgress = nullptr;
        if (loaded) return {};
        cancelled = busy.Cancelled();
    }
    e.SetAllText(std::move(before));
    if (wasModified) e.MarkModified();
    if (!cancelled)
        return FileResult::Failure("cannot read " + path, "読み込みの途中でエラーが発生しました");
    FileResult stopped = FileResult::Failure("reading " + path + " was cancelled");
    stopped.cancelled = true;
    return stopped;
}

void TEditSheet::WireEditorEvents() {
    TLumEdit& e = Edit();
    e.OnChangeModify = [this](TLumEdit&, bool modified) { canUndo_ = modified; };
    e.OnChangeRedoMode = [this](TLumEdit&, bool redo) { canRedo_ = redo; };
    e.OnIMEReConvert = [this](TLumEdit&) { prompts_->ImeReconvert(widget_); };
    e.OnFind = [this](TLumEdit&, const std::string& str, const std::string& findchr, int, int& x,
                      int&) { x = FindCompare(str, findchr, prompts_->MatchCase()); };
    e.OnFindHit = [this](TLumEdit& ed, const std::string&, int, int, int, int) {
        ed.HighlightHit(findColor_);
    };
    // A repaint draws the hit plainly; mark it again.
    e.OnPaint = [this](TLumEdit& ed) { ed.HighlightHit(findColor_); };
    e.OnFindNoHit = [this](TLumEdit&, const std::string& findchr) {
        prompts_->ShowMessage(
            QStringLiteral("「%1」は見つかりませんでした。").arg(FromCp932(findchr)));
    };
    e.OnFindChange = [this](TLumEdit& ed, const std::string&, const std::string&, int, int, int,
                            int, bool& changeF, bool& kakuninF, bool& abortF) {
        ed.HighlightHit(findColor_);
        switch (prompts_->AskReplace()) {
            case SheetPrompts::ReplaceAnswer::Yes:
                changeF = true;
                break;
            case SheetPrompts::ReplaceAnswer::Abort:
                abortF = true;
                break;
            case SheetPrompts::ReplaceAnswer::All:
                kakuninF = false;
                break;
            default:
                changeF = false;
                break;
        }
    };
    e.OnFindChangeEnd = [this](TLumEdit&, const std::string&, const std::string&, int count) {
        prompts_->ShowMessage(QString::number(count) + QStringLiteral(" 個置換しました。"));
    };
}

bool TEditSheet::ApplySettings(const TSettings& s) {
    TLumEdit& e = Edit();
    e.HoldWrapsUntilApply();  // the setters below would each wrap the whole text
    FontDescription font = e.Font();
    font.name = s.Font.Name;
    font.height = widget_->PointsToPixels(s.Font.Size);
    font.color = s.Font.Color;
    e.SetFont(font);
    e.ShowCR = s.ShowCR;
    e.ShowEOF = s.ShowEOF;
    e.ShowDblSpace = s.ShowDblSpace;
    e.ShowTAB = s.ShowTAB;
    e.ShowLineNumber = s.ShowLineNumber;
    e.SetShowRuler(s.ShowRuler);
    e.SetShowRulerCur(s.ShowRulerCur);
    e.RulerColor = s.RulerColor;
    e.RulerCurColor = s.RulerCurColor;
    e.ShowUnderLine = s.ShowUnderLine;
    e.ColorPrintF = s.ColorPrintF;
    e.Color = s.Color;
    e.CREOFcolor = s.MarkColor;
    e.QuotMarkColor = s.QuoteColor;
    findColor_ = s.FindColor;
    e.SelColor = s.SelColor;
    e.URLColor = s.UrlColor;
    e.UlineColor = s.UlineColor;
    e.SetAutoWrap(s.AutoWrap);
    if (s.WordWrap) {
        e.SetColumn(s.Column);
    } else {
        const int cw = std::max(e.CharWidth(), 1);
        e.SetColumn((32767 / cw) / 2);
    }
    e.SetHorzScrollBar(s.HorzScrollBar);
    e.SetVertScrollBar(s.VertScrollBar);
    e.SetTabCount(s.TabCount & 0xFF);
    e.QuotMarkStr = s.QuoteString;
    return e.ApplyViewSettings();
}

void TEditSheet::WrapSelection(const std::string& open, const std::string& close) {
    TLumEdit& e = Edit();
    e.ReplaceSelection(open + e.GetSelText() + close);
}

void TEditSheet::InsertAtSelection(const std::string& text) {
    Edit().ReplaceSelection(text);
}

}  // namespace zentabo
