#include "qt/dialogs/AboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include "qt/dialogs/DesignFont.h"

namespace zentabo {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    setFont(DesignFont(QStringLiteral("MS Sans Serif"), 11));
    setFixedSize(252, 184);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(ProgramIcon());
    icon->setFixedSize(32, 32);
    auto* product = new QLabel(QStringLiteral("Zentabo"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    auto* version = new QLabel(QStringLiteral("Version 3.00α7"), panel);
    version->setObjectName(QStringLiteral("Version"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(14);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(version, 1, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->addWidget(panel, 1);
    root->addLayout(buttons);
}

QPixmap TAboutBox::ProgramIcon() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    const QPointF page[] = {{5.5, 1.5}, {21.5, 1.5}, {27.5, 7.5}, {27.5, 30.5}, {5.5, 30.5}};
    p.drawPolygon(page, 5);
    p.setPen(QPen(QColor(30, 90, 200), 2.5));
    const QPointF open[] = {{14, 11}, {9, 16}, {14, 21}};
    const QPointF close[] = {{19, 11}, {24, 16}, {19, 21}};
    p.drawPolyline(open, 3);
    p.drawPolyline(close, 3);
    return pm;
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    if (QWidget* ok = findChild<QWidget*>(QStringLiteral("OKButton")))
        ok->setFocus(Qt::OtherFocusReason);
}

}  // namespace zentabo
