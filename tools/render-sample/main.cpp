// Renders a sample document through the Qt editor widget into a PNG, so the painting
// can be looked at without a display: render-sample OUT.png (QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"
#include "store/Cp932Codec.h"

namespace {

std::string Sjis(const char* utf8) {
    const QString s = QString::fromUtf8(utf8);
    return zentabo::Utf16ToCp932(s.toStdU16String()).bytes;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "render-sample.png";
    zentabo::LumEditWidget widget;
    widget.resize(720, 420);
    widget.show();
    QApplication::processEvents();
    zentabo::TLumEdit& e = widget.Edit();
    zentabo::FontDescription font = e.Font();
    font.name = "IPAGothic";
    font.height = 16;
    e.SetFont(font);
    e.ShowLineNumber = true;
    e.ShowTAB = e.ShowSglSpace = e.ShowDblSpace = e.ShowCR = e.ShowEOF = true;
    e.ShowUnderLine = true;
    e.ShowHTMLTagColor = true;
    e.SetShowRuler(true);
    e.SetShowRulerCur(true);
    e.SetColumn(60);
    e.SetWordWrap(true);
    e.SetGutterWidth();
    e.SetAllText(
        Sjis("<p>日本語のテキスト\tタブ\t終わり</p>\r\n"
             "　全角スペースで始まる行と 半角 スペース\r\n"
             "> 引用の行はとても長いので折り返されて次の行にも続きます。"
             "引用の色は折り返しの後も同じです。\r\n"
             "\r\n"
             "リンク: http://example.jp/zentabo/index.html?q=1 と mail:someone@example.jp\r\n"
             "\ttag:zentabo.sample, 次の語\r\n"
             "最後の行"));
    e.MoveCaretTo(2, 3, 0);
    e.SetSel(4, 0, 1, 6);
    e.Paint();
    if (!widget.BackingImage().save(QString::fromLocal8Bit(out))) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    return 0;
}
