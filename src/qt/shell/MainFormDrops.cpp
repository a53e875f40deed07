// Web addresses dropped on the window: over the pages they become an anchor around
// the active page's selection; over the link dialog's address field and the ins/del
// dialog's cite field they fill the field.
#include <QLineEdit>

#include "commands/TagTexts.h"
#include "qt/dialogs/InsDelDlg.h"
#include "qt/dialogs/LinkDlg.h"
#include "qt/services/UrlDropTarget.h"
#include "qt/shell/EditSheet.h"
#include "qt/shell/MainForm.h"
#include "qt/shell/PageControl.h"
#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

QString Shown(const std::string& cp932) {
    return QString::fromStdU16String(Cp932ToUtf16(cp932));
}

template <typename Dialog>
void AttachFieldDrop(Dialog* dialog, const char* field) {
    if (!dialog) return;
    auto* edit = dialog->template findChild<QLineEdit*>(QString::fromLatin1(field));
    if (!edit) return;
    AttachUrlDropTarget(edit, [dialog](const std::string& url) {
        dialog->DFItem_UniformResourceLocator_Drop(Shown(url));
    });
}

}  // namespace

void TMainForm::ConnectUrlDrops() {
    AttachUrlDropTarget(pageControl_, [this](const std::string& url) {
        if (TEditSheet* page = ActiveSheet())
            page->WrapSelection(UrlOpeningTag(url), ClosingTag("a"));
    });
    AttachFieldDrop(findChild<TLinkDialog*>(), "HrefEdit");
    AttachFieldDrop(findChild<TInsDelDialog*>(), "CiteEdit");
}

}  // namespace zentabo
