// The main window's actions, menus, tool bars, status bar and the idle update pass.

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <initializer_list>

#include "editor/LumEdit.h"
#include "qt/shell/ActionTable.h"
#include "qt/shell/Icons.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "qt/shell/StatusText.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

// A menu or tool bar entry: an action name, a separator, or a submenu.
struct Item {
    const char* action = nullptr;  // nullptr with no title: separator
    const char* submenu = nullptr;
    std::initializer_list<Item> children = {};
};

constexpr Item Sep() {
    return Item{};
}
constexpr Item Act(const char* name) {
    return Item{name, nullptr, {}};
}

// Fills menu with the entries whose actions exist. Later command groups register
// their actions and appear at their places; empty submenus and stray separators are
// left out so no dead item shows.
void Fill(QMenu* menu, std::initializer_list<Item> items, const QHash<QString, QAction*>& actions) {
    bool pendingSeparator = false;
    for (const Item& item : items) {
        if (!item.action && !item.submenu) {
            pendingSeparator = !menu->actions().isEmpty();
            continue;
        }
        QAction* added = nullptr;
        if (item.submenu) {
            auto* sub = new QMenu(QString::fromUtf8(item.submenu), menu);
            Fill(sub, item.children, actions);
            if (sub->actions().isEmpty()) {
                delete sub;
                continue;
            }
            added = sub->menuAction();
        } else if (QAction* a = actions.value(QString::fromLatin1(item.action))) {
            added = a;
        } else {
            continue;
        }
        if (pendingSeparator) menu->addSeparator();
        pendingSeparator = false;
        menu->addAction(added);
    }
}

void FillBar(QToolBar* bar, std::initializer_list<const char*> names,
             const QHash<QString, QAction*>& actions) {
    bool pendingSeparator = false;
    for (const char* name : names) {
        if (!name) {
            pendingSeparator = !bar->actions().isEmpty();
            continue;
        }
        QAction* a = actions.value(QString::fromLatin1(name));
        if (!a) continue;
        if (pendingSeparator) bar->addSeparator();
        pendingSeparator = false;
        bar->addAction(a);
    }
}

// Block, inline, list and table submenus: the editor menu repeats them.
const std::initializer_list<Item> kBlockItems = {
    Act("TagDiv1"),
    Item{nullptr,
         "見出し(&H)",
         {Act("TagH1"), Act("TagH2"), Act("TagH3"), Act("TagH4"), Act("TagH5"), Act("TagH6")}},
    Act("TagP1"),
    Act("TagPre1"),
    Act("TagBlockquote1"),
    Act("TagDel1"),
    Act("TagIns1")};
const std::initializer_list<Item> kInlineItems = {
    Act("TagSpan1"), Act("TagEm1"),   Act("TagStrong1"), Act("TagBr1"), Act("TagA1"),
    Act("TagQ1"),    Act("TagCite1"), Act("TagDel1"),    Act("TagIns1")};
const std::initializer_list<Item> kListItems = {Act("TagUl1"), Act("TagOl1"), Act("TagDl1")};
const std::initializer_list<Item> kTableItems = {Act("TagTableTab1"), Act("TagTableComma1")};
const std::initializer_list<Item> kTrimItems = {Act("EditTrim"), Act("EditTrimLeft"),
                                                Act("EditTrimRight")};

// Cheap enough for every idle pass: no joining of the whole text.
bool TextIsEmpty(const TLumEdit& e) {
    const TLumStrings& lines = e.Lines();
    return lines.Count() <= 1 && (lines.Count() == 0 || lines.Get(0).size() <= 1);
}

}  // namespace

void TMainForm::CreateActions() {
    for (const ActionSpec& spec : ActionTable()) {
        auto* a = new QAction(QString::fromUtf8(spec.caption), this);
        a->setObjectName(QString::fromLatin1(spec.name));
        const QString hint = QString::fromUtf8(spec.hint);
        const int bar = hint.indexOf(QLatin1Char('|'));
        a->setToolTip(bar < 0 ? hint : hint.left(bar));
        a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
        if (spec.shortcut[0]) a->setShortcut(QKeySequence(QString::fromLatin1(spec.shortcut)));
        a->setIcon(ActionIcon(spec.icon));
        a->setIconVisibleInMenu(false);
        a->setData(spec.tag);
        a->setProperty("category", QString::fromUtf8(spec.category));
        actions_.insert(a->objectName(), a);
    }
    Action(QStringLiteral("ViewToolBar1"))->setCheckable(true);
    Action(QStringLiteral("ViewMultiLine1"))->setCheckable(true);
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    auto top = [&](const char* title, std::initializer_list<Item> items) {
        auto* m = new QMenu(QString::fromUtf8(title), bar);
        Fill(m, items, actions_);
        if (!m->actions().isEmpty())
            bar->addMenu(m);
        else
            delete m;
    };
    top("ファイル(&F)",
        {Act("FileNewPage1"), Act("FileCopyPage1"), Act("FileDeletePage1"), Sep(), Act("FileOpen1"),
         Act("FileSaveAs1"), Act("FileSave1"), Sep(), Act("FileClearFileName1"),
         Act("FileChangeCaption1"), Sep(), Act("FilePrint1"), Sep(), Act("FileExit1")});
    top("編集(&E)",
        {Act("EditCut1"), Act("EditCopy1"), Act("EditPaste1"), Act("EditQuotePaste1"),
         Act("EditAllSelect1"), Act("EditBoxSel1"), Sep(), Act("EditUndo1"), Act("EditRedo1"),
         Sep(), Act("EditAllCopy1"), Act("EditDatePaste1"), Act("EditDateTimePaste1"), Sep(),
         Act("EditCovertBreak1"), Item{nullptr, "トリミング(&T)", kTrimItems},
         Item{nullptr, "エンコード(&E)", {Act("EditEncodeHtml1"), Act("EditEncodeMail1")}},
         Item{nullptr, "デコード(&D)", {Act("EditDecodeHtml1"), Act("EditDecodeMail1")}}});
    top("検索(&S)", {Act("SearchFind1"), Act("SearchReplace1")});
    top("表示(&V)", {Act("ViewToolBar1"), Act("ViewMultiLine1")});
    top("&XHTMLタグ",
        {Item{nullptr, "ブロック要素(&B)", kBlockItems},
         Item{nullptr, "インライン要素(&I)", kInlineItems}, Item{nullptr, "リスト(&L)", kListItems},
         Item{nullptr, "テーブル(&T)", kTableItems}, Sep(),
         Item{nullptr, "属性(&A)", {Act("TagClass1"), Act("TagStyle1")}}, Sep(), Act("XhtmlCheck1"),
         Act("XhtmlAutoCheck1"), Act("XhtmlNextProblem1"), Act("XhtmlPrevProblem1"), Sep(),
         Act("XhtmlPreview1"), Sep(), Act("TagCloseTag1"), Act("TagPartner1"),
         Act("TagPartnerSelect1")});
    top("ツール(&T)", {Act("ToolOption1")});
    top("ヘルプ(&H)", {Act("HelpAbout1")});

    editPopupMenu_ = new QMenu(this);
    editPopupMenu_->setObjectName(QStringLiteral("EditPopupMenu"));
    Fill(editPopupMenu_,
         {Act("EditCut1"),
          Act("EditCopy1"),
          Act("EditPaste1"),
          Act("EditQuotePaste1"),
          Act("EditAllSelect1"),
          Sep(),
          Item{nullptr, "ブロック要素(&B)", kBlockItems},
          Item{nullptr, "インライン要素(&I)", kInlineItems},
          Item{nullptr, "リスト(&L)", kListItems},
          Item{nullptr, "テーブル(&T)", kTableItems},
          Item{nullptr, "属性(&A)", {Act("TagClass1")}},
          Sep(),
          Act("EditAllCopy1"),
          Act("EditDatePaste1"),
          Act("EditDateTimePaste1"),
          Sep(),
          Item{nullptr, "トリミング(&T)", kTrimItems},
          Act("EditCovertBreak1"),
          Act("EditEncodeHtml1"),
          Act("EditEncodeMail1")},
         actions_);

    tabPopupMenu_ = new QMenu(this);
    tabPopupMenu_->setObjectName(QStringLiteral("TabPopupMenu"));
    Fill(tabPopupMenu_, {Act("FileChangeCaption2"), Act("FileCopyPage2"), Act("FileDeletePage2")},
         actions_);
    pageControl_->Bar()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pageControl_->Bar(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) {
                // Over the empty part of the row there is no page to act on.
                if (pageControl_->Bar()->tabAt(pos) < 0) return;
                UpdateActions();
                tabPopupMenu_->popup(pageControl_->Bar()->mapToGlobal(pos));
            });
}

void TMainForm::CreateToolBars() {
    toolBar1_ = new QToolBar(QStringLiteral("ToolBar1"), this);
    toolBar1_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar2_ = new QToolBar(QStringLiteral("ToolBar2"), this);
    toolBar2_->setObjectName(QStringLiteral("ToolBar2"));
    addToolBar(Qt::TopToolBarArea, toolBar1_);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, toolBar2_);
    for (QToolBar* bar : {toolBar1_, toolBar2_}) {
        bar->setIconSize(QSize(16, 16));
        bar->setMovable(false);
        bar->setFloatable(false);
        bar->setMinimumHeight(22);
        // The two bars are one tool area: only the view command shows or hides them.
        bar->toggleViewAction()->setEnabled(false);
        bar->toggleViewAction()->setVisible(false);
    }
    FillBar(toolBar1_,
            {"FileNewPage1", "FileOpen1", "FileSaveAs1", "FileSave1", "FilePrint1", nullptr,
             "EditCut1", "EditCopy1", "EditPaste1", "EditAllCopy1", nullptr, "EditUndo1",
             "EditRedo1", nullptr, "SearchFind1", "SearchReplace1"},
            actions_);
    FillBar(toolBar2_,
            {"TagDiv1",     "TagH1",          "TagH2",    "TagH3",     "TagH4",     "TagP1",
             "TagPre1",     "TagBlockquote1", nullptr,    "TagSpan1",  "TagEm1",    "TagStrong1",
             "TagBr1",      "TagA1",          "TagCite1", nullptr,     "TagUl1",    "TagOl1",
             "TagDl1",      "TagTableTab1",   nullptr,    "TagClass1", "TagStyle1", nullptr,
             "XhtmlCheck1", "XhtmlPreview1"},
            actions_);
    // Tool bar 2 holds only the markup commands; until they exist it stays out of
    // sight instead of showing an empty strip.
    toolBar2_->setProperty("empty", toolBar2_->actions().isEmpty());
}

void TMainForm::SetToolBarsVisible(bool visible) {
    toolBar1_->setVisible(visible);
    toolBar2_->setVisible(visible && !toolBar2_->property("empty").toBool());
    toolBar1_->setProperty("shown", visible);
}

bool TMainForm::ToolBarsVisible() const {
    return toolBar1_->property("shown").toBool();
}

void TMainForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    panel1_ = new QLabel(bar);
    panel1_->setObjectName(QStringLiteral("StatusPanel1"));
    panel2_ = new QLabel(bar);
    panel2_->setObjectName(QStringLiteral("StatusPanel2"));
    panel2_->installEventFilter(this);
    for (QLabel* l : {panel1_, panel2_})
        l->setFrameShape(QFrame::Panel), l->setFrameShadow(QFrame::Sunken);
    panel1_->setFixedWidth(130);
    panel2_->setFixedWidth(50);
    FitPanel(panel1_, CaretPanelText(0, 0, true));
    FitPanel(panel2_, SaveModePanelText(true));
    bar->addPermanentWidget(panel1_);
    bar->addPermanentWidget(panel2_);
}

void TMainForm::ConnectActions() {
    auto on = [this](const char* name, auto fn) {
        connect(Action(QString::fromLatin1(name)), &QAction::triggered, this, fn);
    };
    on("FileNewPage1", [this] { AddPage(QStringLiteral("Page%1").arg(PageCount())); });
    on("FileCopyPage1", [this] {
        if (ActiveSheet()) CopyPage(ActiveSheet());
        FocusActiveEditor();
    });
    on("FileCopyPage2", [this] {
        if (TEditSheet* p = PopupSheet()) CopyPage(p);
        FocusActiveEditor();
    });
    on("FileDeletePage1", [this] {
        if (PageCount() > 1 && ActiveIndex() > 0) DeletePage(ActiveSheet());
    });
    on("FileDeletePage2", [this] {
        TEditSheet* p = PopupSheet();
        if (p && pageControl_->indexOf(p) > 0) DeletePage(p);
    });
    on("FileChangeCaption1", [this] {
        if (ActiveIndex() > 0) RenamePage(ActiveSheet());
    });
    on("FileChangeCaption2", [this] {
        TEditSheet* p = PopupSheet();
        if (p && pageControl_->indexOf(p) > 0) RenamePage(p);
    });
    on("FileClearFileName1", [this] {
        if (ActiveSheet()) ActiveSheet()->SetFileName({});
    });
    on("FileOpen1", [this] { FileOpen(); });
    on("FileSave1", [this] { FileSave(false); });
    on("FileSaveAs1", [this] { FileSave(true); });
    on("FilePrint1", [this] { FilePrint(); });
    on("FileExit1", [this] { close(); });

    auto withEdit = [this](auto fn) {
        return [this, fn] {
            if (TEditSheet* p = ActiveSheet()) fn(*p);
        };
    };
    on("EditCut1", withEdit([this](TEditSheet& p) {
           p.Edit().CutToClipboard();
           FocusActiveEditor();
       }));
    on("EditCopy1", withEdit([this](TEditSheet& p) {
           p.Edit().CopyToClipboard();
           FocusActiveEditor();
       }));
    on("EditPaste1", withEdit([this](TEditSheet& p) {
           p.Edit().PasteFromClipboard();
           FocusActiveEditor();
       }));
    on("EditAllCopy1", withEdit([](TEditSheet& p) {
           QClipboard* cb = QGuiApplication::clipboard();
           cb->clear();
           cb->setText(QString::fromStdU16String(Cp932ToUtf16(p.Edit().GetAllText())));
       }));
    on("EditAllSelect1", withEdit([](TEditSheet& p) { p.Edit().SelectAll(); }));
    on("EditUndo1", withEdit([](TEditSheet& p) { p.Edit().Undo(); }));
    on("EditRedo1", withEdit([](TEditSheet& p) { p.Edit().Redo(); }));
    on("SearchFind1", [this] { ShowFindDialog(false); });
    on("SearchReplace1", [this] { ShowFindDialog(true); });
    on("ViewToolBar1", [this] { SetToolBarsVisible(!ToolBarsVisible()); });
    on("ViewMultiLine1",
       [this] { pageControl_->Bar()->SetMultiLine(!pageControl_->Bar()->MultiLine()); });
    ConnectMarkupActions();
    ConnectOptionDialog();
    ConnectXhtmlActions();

    ConnectBoxSelection();
    connect(pageControl_, &PageControl::currentChanged, this, [this] { UpdateActions(); });
    // The update pass runs whenever the event loop runs out of work.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            [this] { UpdateActions(); });
}

// Widens the panel when the text would not fit (a six-digit line number, a large
// font); it never narrows again, so the panel does not jump while the caret moves.
void TMainForm::FitPanel(QLabel* panel, const QString& text) {
    const int frame =
        2 * panel->frameWidth() + 2 * panel->margin() + 2 * std::max(0, panel->indent()) + 4;
    const int needed = panel->fontMetrics().horizontalAdvance(text) + frame;
    if (needed > panel->width()) panel->setFixedWidth(needed);
}

TEditSheet* TMainForm::PopupSheet() const {
    const int tab = pageControl_->Bar()->PopupTab();
    return tab < 0 ? nullptr : Page(tab);
}

void TMainForm::UpdateActions() {
    if (updating_ || closed_) return;
    updating_ = true;
    TEditSheet* page = ActiveSheet();
    setWindowTitle(WindowCaption(page ? page->DisplayFileName() : QString()));
    const QString saveText = SaveModePanelText(page && page->SaveMode());
    if (panel2_->text() != saveText) panel2_->setText(saveText);
    if (page) {
        TLumEdit& e = page->Edit();
        const QString caret =
            CaretPanelText(e.CaretLine(), e.CaretDisplayColumn(), e.InsertMode(), e.BoxSelMode());
        if (panel1_->text() != caret) {
            FitPanel(panel1_, caret);
            panel1_->setText(caret);
        }
    }

    const int index = ActiveIndex();
    const int popupTab = pageControl_->Bar()->PopupTab();
    const bool hasSel = page && (page->Edit().SelActive() || page->Edit().AllSelected());
    auto set = [this](const char* name, bool enabled) {
        Action(QString::fromLatin1(name))->setEnabled(enabled);
    };
    set("FileDeletePage1", PageCount() > 1 && index > 0);
    set("FileDeletePage2", popupTab != 0);
    set("FileChangeCaption1", index > 0);
    set("FileChangeCaption2", popupTab != 0);
    set("FileClearFileName1", page && !page->FileName().empty());
    set("FileSave1", page && !page->FileName().empty() && page->Edit().Modified());
    set("EditCut1", hasSel);
    set("EditCopy1", hasSel);
    set("EditPaste1", page && clipboardHasText_);
    set("EditAllCopy1", page && !TextIsEmpty(page->Edit()));
    set("EditUndo1", page && page->CanUndo());
    set("EditRedo1", page && page->CanRedo());
    UpdateMarkupActions();
    UpdateXhtmlActions();
    Action(QStringLiteral("ViewToolBar1"))->setChecked(ToolBarsVisible());
    Action(QStringLiteral("ViewMultiLine1"))->setChecked(pageControl_->Bar()->MultiLine());
    UpdateBoxSelection(page);
    updating_ = false;
}

}  // namespace zentabo
