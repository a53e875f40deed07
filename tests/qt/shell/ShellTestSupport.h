#pragma once

// Small pieces the main-window tests share: code page 932 text from a QString, and
// dialogs that collect messages instead of showing them.

#include <QString>
#include <QStringList>
#include <string>

#include "qt/shell/MainForm.h"
#include "store/Cp932Codec.h"

namespace zentabo::testing {

inline std::string Sjis(const QString& s) {
    return Utf16ToCp932(s.toStdU16String()).bytes;
}

inline ShellDialogs Quiet(QStringList* messages) {
    ShellDialogs d = StandardDialogs();
    d.message = [messages](QWidget*, const QString& text) { *messages << text; };
    return d;
}

}  // namespace zentabo::testing
