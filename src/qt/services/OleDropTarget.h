#pragma once

// A drop target for any widget: a list of accepted clipboard formats, each with the
// effects it may produce and its own handlers. At every drag enter and move the first
// format the data offers with an effect the source allows is chosen; the drop then
// goes to that format's handlers and is answered with the effect they leave.
// The widget keeps accepting drops when its native window is re-created or it moves
// to another parent, and several targets may sit on one widget: the newest sees the
// events first.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "app/DropEffects.h"

class QDropEvent;
class QMimeData;
class QWidget;

namespace zentabo {

constexpr long S_OK = 0;

// What every drag handler gets; handlers may change Effect and Result.
struct TDragContext {
    const QMimeData* DataObject = nullptr;
    uint32_t KeyState = 0;  // MK_* bits
    QPoint Point;           // in the attached widget's coordinates
    uint32_t Effect = DROPEFFECT_NONE;
    long Result = S_OK;
};

class TOleDropTarget;

class TDFItem {
public:
    TDropEffects DropEffects = EffectSet(ekCopy);
    std::string FormatName;
    int32_t Tag = 0;
    std::function<void(TDFItem& sender, TDragContext& context)> OnDragEnter;
    std::function<void(TDFItem& sender, TDragContext& context)> OnDragOver;
    std::function<void(TDFItem& sender, TDragContext& context)> OnDrop;

    // The format number resolved from FormatName when the target finished loading.
    uint16_t ClipboardFormat() const { return format_; }
    std::string DisplayName() const { return FormatName.empty() ? "TDFItem" : FormatName; }

private:
    friend class TOleDropTarget;
    uint16_t format_ = 0;
};

class TDFItems {
public:
    TDFItem& Add() { return items_.emplace_back(); }
    int Count() const { return static_cast<int>(items_.size()); }
    TDFItem& operator[](int index) { return items_.at(static_cast<size_t>(index)); }
    const TDFItem& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }

private:
    std::deque<TDFItem> items_;  // stable addresses: handlers keep their item
};

class TOleDropTarget : public QObject {
    Q_OBJECT
public:
    explicit TOleDropTarget(QObject* owner = nullptr);
    ~TOleDropTarget() override;

    QWidget* WinControl() const { return control_; }
    // Attaches at once after Loaded; before it, Loaded attaches.
    void SetWinControl(QWidget* control);
    TDFItems& Formats() { return formats_; }
    // Items are added and edited in place; replacing the list whole throws.
    void SetFormats(const TDFItems& formats);
    // The end of setting up: resolves every item's format name and attaches.
    void Loaded();
    // The item chosen at the last drag enter or move, or none.
    TDFItem* CurrentItem() const { return current_; }

    std::function<void(TOleDropTarget& sender, TDragContext& context)> OnDragEnter;
    std::function<void(TOleDropTarget& sender, TDragContext& context)> OnDragOver;
    std::function<void(TOleDropTarget& sender, TDragContext& context)> OnDrop;
    std::function<void(TOleDropTarget& sender, long& aResult)> OnDragLeave;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Attach();
    void Detach();
    void ChooseItem(const QDropEvent& e);
    void EnterOrMove(QDropEvent& e, bool enter);
    void Dropped(QDropEvent& e);
    TDragContext ContextOf(const QDropEvent& e, uint32_t effect) const;

    TDFItems formats_;
    QPointer<QWidget> control_;
    QPointer<QWidget> attached_;
    bool hadAcceptDrops_ = false;
    bool loaded_ = false;
    TDFItem* current_ = nullptr;
    TDropEffect chosen_ = ekNone;
};

}  // namespace zentabo
