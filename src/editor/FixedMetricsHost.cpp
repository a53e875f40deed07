#include "editor/FixedMetricsHost.h"

namespace zentabo {

FontMetrics FixedMetricsHost::CreateEditorFont(const FontDescription& font) {
    lastFont = font;
    return FontMetrics{kCellHeight, kCellWidth};
}

int FixedMetricsHost::TextWidth(std::string_view cp932) {
    return static_cast<int>(cp932.size()) * kCellWidth;
}

bool FixedMetricsHost::GetClipboardText(std::string& text) {
    if (!clipboardHasText_) return false;
    text = clipboard_;
    return true;
}

ClipboardWrite FixedMetricsHost::SetClipboardText(std::string_view text) {
    clipboard_.assign(text);
    clipboardHasText_ = true;
    return ClipboardWrite::Ok;
}

}  // namespace zentabo
