#pragma once

// The system clipboard as code page 932 text. The system holds Unicode; beside it we
// put the original bytes, so text copied and pasted inside the program comes back
// byte for byte even when it holds bytes that do not decode.

#include <string>
#include <string_view>
#include <vector>

#include "store/Cp932Codec.h"

class QClipboard;

namespace zentabo {

enum class ClipboardStatus { Ok, NoClipboard, NoText };

struct ClipboardText {
    ClipboardStatus status = ClipboardStatus::NoText;
    std::string bytes;
    // Characters the clipboard holds that code page 932 cannot; they are left out of
    // bytes and the caller tells the user. Offsets are UTF-16 units of the clipboard text.
    std::vector<UnmappableChar> unmappable;
    bool ok() const { return status == ClipboardStatus::Ok; }
};

class Cp932Clipboard {
public:
    static constexpr const char* kRawMimeType = "application/x-zentabo-cp932";

    // Null when there is no clipboard (no GUI application); every call then says so.
    explicit Cp932Clipboard(QClipboard* clipboard);
    // The application's clipboard, or none without a GUI application.
    Cp932Clipboard();

    ClipboardStatus SetText(std::string_view cp932);
    ClipboardText GetText() const;

private:
    QClipboard* clipboard_;
};

}  // namespace zentabo
