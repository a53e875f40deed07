#pragma once

// Small pieces the main-window tests share: code page 932 text from a QString,
// dialogs that collect messages instead of showing them, and answering a modal dialog.

#include <QApplication>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>
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

template <typename T>
T* Child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c) qFatal("no child %s", name);
    return c;
}

// Answers the next modal dialog: `fill` gets it, then `button` is pressed.
inline void Answer(std::function<void(QWidget*)> fill, const char* button = "OKBtn") {
    QTimer::singleShot(0, [fill, button] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) qFatal("no dialog to answer");
        fill(dialog);
        QTest::mouseClick(Child<QPushButton>(dialog, button), Qt::LeftButton);
    });
}

}  // namespace zentabo::testing
