#include "qt/services/OleDropTarget.h"

#include <QDropEvent>
#include <QWidget>
#include <stdexcept>
#include <vector>

#include "app/ClipboardFormats.h"
#include "qt/services/DataObjectReader.h"

namespace zentabo {

namespace {

uint32_t MaskOf(Qt::DropActions actions) {
    uint32_t mask = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction) mask |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction) mask |= DROPEFFECT_MOVE;
    if (actions & Qt::LinkAction) mask |= DROPEFFECT_LINK;
    return mask;
}

// The one action a mask answers; copy first when a handler left several.
Qt::DropAction ActionOf(uint32_t mask) {
    if (mask & DROPEFFECT_COPY) return Qt::CopyAction;
    if (mask & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (mask & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

uint32_t KeyStateOf(const QDropEvent& e) {
    uint32_t state = 0;
    const Qt::KeyboardModifiers m = e.modifiers();
    if (m & Qt::ShiftModifier) state |= MK_SHIFT;
    if (m & Qt::ControlModifier) state |= MK_CONTROL;
    if (m & Qt::AltModifier) state |= MK_ALT;
    const Qt::MouseButtons b = e.buttons();
    if (b & Qt::LeftButton) state |= MK_LBUTTON;
    if (b & Qt::RightButton) state |= MK_RBUTTON;
    if (b & Qt::MiddleButton) state |= MK_MBUTTON;
    return state;
}

void Answer(QDropEvent& e, uint32_t effect) {
    const Qt::DropAction action = ActionOf(effect);
    e.setDropAction(action);
    e.setAccepted(action != Qt::IgnoreAction);
}

}  // namespace

TOleDropTarget::TOleDropTarget(QObject* owner) : QObject(owner) {}

TOleDropTarget::~TOleDropTarget() {
    Detach();
}

void TOleDropTarget::SetWinControl(QWidget* control) {
    if (control == control_) return;
    Detach();
    control_ = control;
    if (loaded_) Attach();
}

void TOleDropTarget::SetFormats(const TDFItems&) {
    throw std::logic_error("この動作はサポートされていません.");
}

void TOleDropTarget::Loaded() {
    for (int i = 0; i < formats_.Count(); ++i) {
        TDFItem& item = formats_[i];
        if (!item.FormatName.empty()) item.format_ = ResolveFormatName(item.FormatName);
    }
    loaded_ = true;
    Attach();
}

void TOleDropTarget::Attach() {
    if (!control_ || attached_ == control_) return;
    attached_ = control_;
    hadAcceptDrops_ = control_->acceptDrops();
    control_->setAcceptDrops(true);
    control_->installEventFilter(this);
}

void TOleDropTarget::Detach() {
    current_ = nullptr;
    if (!attached_) return;
    attached_->removeEventFilter(this);
    attached_->setAcceptDrops(hadAcceptDrops_);
    attached_ = nullptr;
}

bool TOleDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != attached_) return false;
    switch (event->type()) {
        case QEvent::WinIdChange:
        case QEvent::ParentChange:
            // A new native window or parent: drops must still find this widget.
            attached_->setAcceptDrops(true);
            return false;
        case QEvent::DragEnter:
            EnterOrMove(*static_cast<QDropEvent*>(event), true);
            return true;
        case QEvent::DragMove:
            EnterOrMove(*static_cast<QDropEvent*>(event), false);
            return true;
        case QEvent::DragLeave: {
            long result = S_OK;
            if (OnDragLeave) OnDragLeave(*this, result);
            return true;
        }
        case QEvent::Drop:
            Dropped(*static_cast<QDropEvent*>(event));
            return true;
        default:
            return false;
    }
}

void TOleDropTarget::ChooseItem(const QDropEvent& e) {
    const TDataObjectReader reader(e.mimeData());
    std::vector<FormatOffer> offers;
    offers.reserve(static_cast<size_t>(formats_.Count()));
    for (int i = 0; i < formats_.Count(); ++i) {
        const TDFItem& item = formats_[i];
        offers.push_back({item.format_ != 0 && reader.HasFormat(item.format_), item.DropEffects});
    }
    const FormatChoice choice = ChooseFormat(offers, MaskOf(e.possibleActions()), KeyStateOf(e));
    current_ = choice.item >= 0 ? &formats_[choice.item] : nullptr;
    chosen_ = choice.effect;
}

TDragContext TOleDropTarget::ContextOf(const QDropEvent& e, uint32_t effect) const {
    TDragContext context;
    context.DataObject = e.mimeData();
    context.KeyState = KeyStateOf(e);
    context.Point = e.position().toPoint();
    context.Effect = effect;
    return context;
}

void TOleDropTarget::EnterOrMove(QDropEvent& e, bool enter) {
    ChooseItem(e);
    TDragContext context = ContextOf(e, EffectToMask(chosen_));
    if (current_) {
        auto& itemHandler = enter ? current_->OnDragEnter : current_->OnDragOver;
        if (itemHandler) itemHandler(*current_, context);
    }
    auto& handler = enter ? OnDragEnter : OnDragOver;
    if (handler) handler(*this, context);
    Answer(e, context.Effect);
}

void TOleDropTarget::Dropped(QDropEvent& e) {
    // The item of the last move stands; the effect starts empty, as a handler leaves it.
    TDragContext context = ContextOf(e, DROPEFFECT_NONE);
    if (current_ && current_->OnDrop) current_->OnDrop(*current_, context);
    if (OnDrop) OnDrop(*this, context);
    Answer(e, context.Effect);
}

}  // namespace zentabo
