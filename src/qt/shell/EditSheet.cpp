#include "qt/shell/EditSheet.h"

#include <QMenu>
#include <QVBoxLayout>

#include "app/FindCompare.h"
#include "app/Settings.h"
#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString FromCp932(const std::string& s) {
    return QString::fromStdU16String(Cp932ToUtf16(s));
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

void TEditSheet::WireEditorEvents() {
    TLumEdit& e = Edit();
    e.OnChangeModify = [this](TLumEdit&, bool modified) { canUndo_ = modified; };
    e.OnChangeRedoMode = [this](TLumEdit&, bool redo) { canRedo_ = redo; };
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

void TEditSheet::ApplySettings(const TSettings& s) {
    TLumEdit& e = Edit();
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
    e.ApplyViewSettings();
}

void TEditSheet::WrapSelection(const std::string& open, const std::string& close) {
    TLumEdit& e = Edit();
    e.ReplaceSelection(open + e.GetSelText() + close);
}

void TEditSheet::InsertAtSelection(const std::string& text) {
    Edit().ReplaceSelection(text);
}

}  // namespace zentabo
