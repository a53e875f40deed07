// The editor widget's side of the input method: the composition events, committed
// text, the answers to the input method's queries (the caret's rectangle and font and
// the text around the caret, through which it reconverts a selection), and what is
// done when the input method goes away in the middle of a composition.
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>

#include "editor/LumEdit.h"
#include "qt/widget/KeyMapping.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString FromUtf16(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

// As typed text, but the line breaks and tabs of a reconverted multi-line selection
// come back with its candidate.
TypedText EncodeCommitText(const QString& text) {
    Cp932EncodeResult r = Utf16ToCp932(text.toStdU16String());
    std::erase_if(r.bytes, [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b < 0x20 && c != '\r' && c != '\n' && c != '\t') || b == 0x7F;
    });
    return {std::move(r.bytes), std::move(r.unmappable)};
}

}  // namespace

void LumEditWidget::InsertCommitText(const QString& text, int replaceStart, int replaceLength) {
    if (text.isEmpty() && replaceLength <= 0) return;
    const TypedText t = EncodeCommitText(text);
    // Characters code page 932 lacks are left out; when nothing is left, the range
    // the input method meant to replace stays as well.
    if (!t.bytes.empty() || text.isEmpty()) edit_->ImeCommit(t.bytes, replaceStart, replaceLength);
    // Under ReadOnly nothing is typed at all, so there is nothing to explain.
    if (!edit_->ReadOnly) TellUnmappable(t.unmappable, UnmappableUse::Input);
}

void LumEditWidget::SetCompositionWindow(int x, int y) {
    compositionPos_ = QPoint(x, y);
    QGuiApplication::inputMethod()->update(Qt::ImQueryInput | Qt::ImFont);
}

void LumEditWidget::RefreshInputMethodState() {
    if (!hasFocus() || !edit_) return;
    const TLumEdit& e = *edit_;
    const std::array<int, 11> now{e.CaretLine(),
                                  e.CaretCol(),
                                  e.SelStartLine(),
                                  e.SelStartCol(),
                                  e.SelEndLine(),
                                  e.SelEndCol(),
                                  e.SelActive() * 4 + e.AllSelected() * 2 + e.BoxSelMode(),
                                  e.LineCount(),
                                  static_cast<int>(e.UndoList().size()),
                                  static_cast<int>(e.RedoList().size()),
                                  e.IMEComposing()};
    // Told again until the input method has read it: its context for this window
    // may come into being only after the focus arrived.
    if (now == imState_ && imHeard_) return;
    imState_ = now;
    imHeard_ = false;
    QGuiApplication::inputMethod()->update(Qt::ImQueryInput);
}

void LumEditWidget::DropStaleComposition() {
    if (composition_.IsEmpty() && !edit_->IMEComposing()) return;
    composition_.Clear();
    update();
    if (edit_->IMEComposing()) edit_->ImeEndComposition();
}

void LumEditWidget::CompleteComposition() {
    QInputMethod* im = QGuiApplication::inputMethod();
    im->commit();
    // Some input methods complete only when reset: fcitx5 commits what it shows then.
    if (edit_->IMEComposing()) im->reset();
    // One that no longer answers leaves its composition open: what the user saw of it
    // is typed here instead.
    if (!edit_->IMEComposing()) return;
    const QString shown = composition_.Text();
    DropStaleComposition();
    InsertCommitText(shown);
}

void LumEditWidget::inputMethodEvent(QInputMethodEvent* e) {
    TLumEdit& ed = *edit_;
    const QString& commit = e->commitString();
    const bool composing = !e->preeditString().isEmpty();
    const bool wasComposing = ed.IMEComposing();
    if (commit.isEmpty() && !composing && !wasComposing &&
        (e->replacementLength() > 0 || e->attributes().isEmpty())) {
        // Only a range: the input method deletes around the caret, or takes the
        // selection to reconvert it.
        ed.ImeDeleteSurrounding(e->replacementStart(), e->replacementLength());
        e->accept();
        return;
    }
    if (composing && !wasComposing) ed.ImeStartComposition();
    InsertCommitText(commit, e->replacementStart(), e->replacementLength());
    if (!composition_.IsEmpty() || composing) {
        composition_.Set(*e);
        update();
    }
    if (!composing && ed.IMEComposing()) ed.ImeEndComposition();
    e->accept();
}

QVariant LumEditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
    const TLumEdit& e = *edit_;
    switch (query) {
        case Qt::ImEnabled:
            return testAttribute(Qt::WA_InputMethodEnabled);
        case Qt::ImHints:
            return static_cast<int>(Qt::ImhMultiLine);
        case Qt::ImCursorRectangle: {
            // While composing, the cursor inside the composition: the candidates follow it.
            if (const std::unique_ptr<QTextLayout> layout = LayComposition())
                return composition_.CursorRect(*layout);
            // Where the composition window goes: at the caret, one font cell high.
            const int h = std::max(1, e.FontHeight());
            return QRect(compositionPos_, QSize(2, h));
        }
        case Qt::ImFont:
            return measurer_ ? measurer_->Font().font : font();
        case Qt::ImSurroundingText:
            imHeard_ = true;
            return FromUtf16(e.ImeSurroundingText().text);
        case Qt::ImCursorPosition:
            return e.ImeSurroundingText().cursor;
        case Qt::ImAnchorPosition:
            return e.ImeSurroundingText().anchor;
        case Qt::ImCurrentSelection: {
            const TLumEdit::ImeSurrounding s = e.ImeSurroundingText();
            const int from = std::min(s.cursor, s.anchor);
            return FromUtf16(s.text.substr(from, std::max(s.cursor, s.anchor) - from));
        }
        default:
            return QWidget::inputMethodQuery(query);
    }
}

}  // namespace zentabo
