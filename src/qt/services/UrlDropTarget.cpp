#include "qt/services/UrlDropTarget.h"

#include <QWidget>

#include "qt/services/DataObjectReader.h"
#include "qt/services/OleDropTarget.h"

namespace zentabo {

TOleDropTarget* AttachUrlDropTarget(QWidget* control,
                                    std::function<void(const std::string& url)> onUrl) {
    auto* target = new TOleDropTarget(control);
    TDFItem& item = target->Formats().Add();
    item.FormatName = kUniformResourceLocator;
    item.OnDrop = [onUrl = std::move(onUrl)](TDFItem& sender, TDragContext& context) {
        const std::string url =
            TDataObjectReader(context.DataObject).ReadText(sender.ClipboardFormat());
        if (url.size() <= kMaxDroppedUrlBytes) onUrl(url);
    };
    target->SetWinControl(control);
    target->Loaded();
    return target;
}

}  // namespace zentabo
