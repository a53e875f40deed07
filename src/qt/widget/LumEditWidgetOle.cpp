// The editor widget dragging text to and from other programs (dmOLEAuto): the
// selection goes out as text, dropped text goes in at the pointer and dropped files
// are reported by name. A drag between two editors of the program moves the text
// unless Ctrl is held; the source deletes its selection only when the drop answered
// a move.
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <cmath>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

namespace zentabo {

namespace {

LumEditWidget* oleDragSource = nullptr;

enum class DropKind { None, Files, Text };

bool OffersFiles(const QMimeData& data) {
    for (const QUrl& url : data.urls())
        if (url.isLocalFile()) return true;
    return false;
}

// Files first: a file manager offers the names as text too.
DropKind KindOf(const QMimeData* data) {
    if (!data) return DropKind::None;
    if (OffersFiles(*data)) return DropKind::Files;
    if (data->hasFormat(QString::fromLatin1(LumEditWidget::kCp932MimeType)) || data->hasText())
        return DropKind::Text;
    return DropKind::None;
}

// The names as the file system spells them, joined with "|".
std::string JoinedFileNames(const QMimeData& data) {
    std::string joined;
    bool first = true;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        if (!first) joined += '|';
        joined += QFile::encodeName(url.toLocalFile()).toStdString();
        first = false;
    }
    return joined;
}

QPoint EditorPoint(const QDropEvent& e) {
    const QPointF p = e.position();
    return QPoint(static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())));
}

Qt::DropAction Allowed(Qt::DropAction wanted, Qt::DropActions possible) {
    if (possible & wanted) return wanted;
    if (possible & Qt::CopyAction) return Qt::CopyAction;
    if (possible & Qt::MoveAction) return Qt::MoveAction;
    return Qt::IgnoreAction;
}

void Answer(QDropEvent& e, Qt::DropAction action) {
    e.setDropAction(action);
    e.setAccepted(action != Qt::IgnoreAction);
}

}  // namespace

const char* const LumEditWidget::kCp932MimeType = "application/x-zentabo-cp932";

void LumEditWidget::SetDragMode(TDragMode mode) {
    edit_->DragMode = mode;
    // Other modes leave drops to the parents (the window takes dropped addresses).
    setAcceptDrops(mode == dmOLEAuto);
}

LumEditWidget* LumEditWidget::OleDragSource() {
    return oleDragSource;
}

QMimeData* LumEditWidget::OleDragData(const std::string& cp932) {
    auto* data = new QMimeData;
    data->setText(QString::fromStdU16String(Cp932ToUtf16(cp932)));
    data->setData(QString::fromLatin1(kCp932MimeType),
                  QByteArray(cp932.data(), static_cast<qsizetype>(cp932.size())));
    return data;
}

void LumEditWidget::ArmOleDrag(const QPoint& press) {
    oleDragArmed_ = edit_->DragMode == dmOLEAuto && edit_->DragActive();
    oleDragPress_ = press;
}

bool LumEditWidget::StartOleDragAfter(const QPoint& pos) {
    if (!oleDragArmed_) return false;
    if ((pos - oleDragPress_).manhattanLength() < QApplication::startDragDistance()) return false;
    oleDragArmed_ = false;
    RunOleDrag();
    return true;
}

Qt::DropAction LumEditWidget::ExecOleDrag(QDrag& drag) {
    return drag.exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void LumEditWidget::RunOleDrag() {
    QPointer<QDrag> drag = new QDrag(this);
    drag->setMimeData(OleDragData(edit_->GetSelText()));
    oleDragSource = this;
    const Qt::DropAction result = ExecOleDrag(*drag);
    oleDragSource = nullptr;
    if (drag) drag->deleteLater();
    TLumEdit::TOleDragResult done = TLumEdit::odCancelled;
    if (result == Qt::MoveAction)
        done = TLumEdit::odMoved;
    else if (result == Qt::CopyAction || result == Qt::LinkAction)
        done = TLumEdit::odCopied;
    edit_->EndOleDrag(done);
    PointerShapeAt(mapFromGlobal(QCursor::pos()).x());
}

// Text from one of the program's editors moves, unless Ctrl asks for a copy; text from
// other programs and files are copied.
Qt::DropAction LumEditWidget::AnswerDragOver(QDropEvent& e) {
    const DropKind kind = KindOf(e.mimeData());
    if (!isEnabled() || kind == DropKind::None) return Qt::IgnoreAction;
    Qt::DropAction wanted = Qt::CopyAction;
    if (kind == DropKind::Text) {
        const QPoint p = EditorPoint(e);
        WithModifiers(e.modifiers(), [&] { edit_->OleDragOver(p.x(), p.y()); });
        if (oleDragSource && !(e.modifiers() & Qt::ControlModifier)) wanted = Qt::MoveAction;
    }
    return Allowed(wanted, e.possibleActions());
}

void LumEditWidget::dragEnterEvent(QDragEnterEvent* e) {
    if (!isEnabled() || edit_->DragMode != dmOLEAuto) {
        e->ignore();
        return;
    }
    if (KindOf(e->mimeData()) == DropKind::Text && !hasFocus()) {
        edit_->FocusIn();  // the caret shows where the text would go
        dropShowsCaret_ = true;
    }
    Answer(*e, AnswerDragOver(*e));
}

void LumEditWidget::dragMoveEvent(QDragMoveEvent* e) {
    Answer(*e, AnswerDragOver(*e));
}

void LumEditWidget::dragLeaveEvent(QDragLeaveEvent* e) {
    edit_->OleDragLeave();
    if (dropShowsCaret_ && !hasFocus()) edit_->FocusOut();
    dropShowsCaret_ = false;
    e->accept();
}

void LumEditWidget::dropEvent(QDropEvent* e) {
    const Qt::DropAction action = AnswerDragOver(*e);
    const DropKind kind = KindOf(e->mimeData());
    if (action == Qt::IgnoreAction || kind == DropKind::None) {
        Answer(*e, Qt::IgnoreAction);
    } else if (kind == DropKind::Files) {
        if (edit_->OnOLEDropFiles) edit_->OnOLEDropFiles(*edit_, JoinedFileNames(*e->mimeData()));
        Answer(*e, Qt::CopyAction);
    } else {
        DropText(*e, action);
    }
    edit_->OleDragLeave();
    if (dropShowsCaret_ && !hasFocus()) edit_->FocusOut();
    dropShowsCaret_ = false;
}

void LumEditWidget::DropText(QDropEvent& e, Qt::DropAction action) {
    const QMimeData& data = *e.mimeData();
    const QString ownType = QString::fromLatin1(kCp932MimeType);
    std::string text;
    std::vector<UnmappableChar> leftOut;
    if (data.hasFormat(ownType)) {
        const QByteArray bytes = data.data(ownType);
        text.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    } else {
        Cp932EncodeResult encoded = Utf16ToCp932(data.text().toStdU16String());
        text = std::move(encoded.bytes);
        leftOut = std::move(encoded.unmappable);
    }
    const bool ontoSource = oleDragSource == this;
    bool changed = false;
    WithModifiers(e.modifiers(), [&] { changed = edit_->OleDropText(text, ontoSource); });
    // A drop that changed nothing must not let the source delete its text.
    Answer(e, changed ? action : Qt::IgnoreAction);
    if (changed && !hasFocus()) setFocus(Qt::OtherFocusReason);
    if (changed && !leftOut.empty()) TellUnmappable(leftOut, UnmappableUse::Paste);
}

}  // namespace zentabo
