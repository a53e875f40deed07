#include "qt/dialogs/LinkDlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace zentabo {

TLinkDialog::TLinkDialog(QWidget* parent)
    : TAttributeForm(parent, 313, 177, QStringLiteral("ＭＳ Ｐゴシック"), 12) {
    setObjectName(QStringLiteral("LinkDialog"));
    setWindowTitle(QStringLiteral("アンカータグの貼り付け"));
    HrefEdit = new QLineEdit(QStringLiteral("http:"), this);
    HrefEdit->setObjectName(QStringLiteral("HrefEdit"));
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    TargerComboBox = FieldCombo("TargerComboBox");
    TargerComboBox->addItems({QString(), QStringLiteral("_blank"), QStringLiteral("_self"),
                              QStringLiteral("_top"), QStringLiteral("_parent")});

    QPushButton* ok = OkButton(QStringLiteral("&OK"), "OKBtn");
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    QPushButton* cancel = CancelButton(QStringLiteral("キャンセル(&C)"), "CancelBtn");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&href"), HrefEdit);
    form->addRow(QStringLiteral("&name"), NameEdit);
    form->addRow(QStringLiteral("&target"), TargerComboBox);
    Arrange(form, ok, cancel);
}

void TLinkDialog::FormShow() {
    TargerComboBox->setCurrentIndex(0);
    TargerComboBox->setEditText(QString());
    HrefEdit->setFocus(Qt::OtherFocusReason);
    HrefEdit->selectAll();
}

void TLinkDialog::DFItem_UniformResourceLocator_Drop(const QString& url) {
    HrefEdit->setText(TrimControls(url));
    NameEdit->clear();
}

void TLinkDialog::OKBtnClick() {
    const ShownBytes typed;
    const auto href = AttributeValue(HrefEdit, QStringLiteral("href"), HrefEdit->text(), typed);
    if (!href) return;
    const auto name = AttributeValue(NameEdit, QStringLiteral("name"), NameEdit->text(), typed);
    if (!name) return;
    const auto target = AttributeValue(TargerComboBox, QStringLiteral("target"),
                                       TargerComboBox->currentText(), typed);
    if (!target) return;
    href_ = *href;
    name_ = *name;
    target_ = *target;
    accept();
}

}  // namespace zentabo
