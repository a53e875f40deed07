// The editor widget on screens of 100, 150 and 200 percent: the backing image holds
// the screen's own pixels and reaches the screen one to one, the caret stays on whole
// pixels, and a window moved to a screen of another scale follows it.

#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "editor/LumEdit.h"
#include "qt/widget/LumEditWidget.h"

using namespace zentabo;

namespace {

QImage Unscaled(QImage img) {
    img.setDevicePixelRatio(1);
    return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class LumEditWidgetHiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::screens().size(), 3);
        QCOMPARE(QGuiApplication::screens()[1]->devicePixelRatio(), 1.5);
        QCOMPARE(QGuiApplication::screens()[2]->devicePixelRatio(), 2.0);
    }

    void imageHoldsTheScreensPixels_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("150 percent") << 1;
        QTest::newRow("200 percent") << 2;
    }
    void imageHoldsTheScreensPixels() {
        QFETCH(int, screen);
        QScreen* s = QGuiApplication::screens()[screen];
        const double scale = s->devicePixelRatio();
        LumEditWidget w;
        TLumEdit& e = w.Edit();
        w.setScreen(s);
        w.move(s->geometry().topLeft() + QPoint(10, 10));
        w.resize(201, 151);  // odd sizes: at 150 percent they end inside an image pixel
        w.show();
        w.activateWindow();
        w.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QVERIFY(w.CaretVisible());
        e.ShowLineNumber = e.ShowCR = e.ShowEOF = true;
        e.SetShowRuler(true);
        e.SetAllText("abc\x8A\xBF\x8E\x9A\r\n\x81\x40tab\there");
        QApplication::processEvents();

        const QImage& backing = w.BackingImage();
        QCOMPARE(backing.devicePixelRatio(), scale);
        QCOMPARE(backing.size(), QSize(qRound(201 * scale), qRound(151 * scale)));

        // What reaches the screen is the image itself, pixel for pixel.
        const QImage shown = Unscaled(w.grab().toImage());
        QCOMPARE(shown.size(), backing.size());
        // Everything left of the scroll bar.
        const QRect text(0, 0, qRound(w.ScrollBar(ScrollBarKind::Vertical)->x() * scale) - 1,
                         backing.height());
        const QRect caret(qRound(w.CaretRect().left() * scale) - 2, 0,
                          qRound(w.CaretRect().width() * scale) + 4, backing.height());
        for (int y = 0; y < text.height(); ++y) {
            for (int x = 0; x < text.width(); ++x) {
                const QRgb want = backing.pixel(x, y) & 0xFFFFFF;
                const QRgb got = shown.pixel(x, y) & 0xFFFFFF;
                if (got == want) continue;
                // The caret inverts whole pixels; nothing in between.
                QVERIFY2(caret.contains(x, y) && got == (want ^ 0xFFFFFF),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }

        // Moved to the screen of 100 percent, the image follows.
        QScreen* plain = QGuiApplication::screens()[0];
        w.move(plain->geometry().topLeft() + QPoint(10, 10));
        QTRY_COMPARE(w.devicePixelRatioF(), 1.0);
        w.repaint();
        QCOMPARE(w.BackingImage().devicePixelRatio(), 1.0);
        QCOMPARE(w.BackingImage().size(), QSize(201, 151));
        // Drawn anew: the ruler's base line runs along the top band.
        QCOMPARE(w.BackingImage().pixel(e.TextLeft() + 30, 10) & 0xFFFFFF, 0u);
    }
};

int main(int argc, char** argv) {
    // Three offscreen screens side by side, scaled 1, 1.5 and 2. The file lives in a
    // private folder, so test runs of several users at once never share it.
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens": [
        {"name": "s100", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},
        {"name": "s150", "x": 800, "y": 0, "width": 1200, "height": 900, "logicalDpi": 96},
        {"name": "s200", "x": 2000, "y": 0, "width": 1600, "height": 1200, "logicalDpi": 96}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    qputenv("QT_SCREEN_SCALE_FACTORS", "1;1.5;2");
    qunsetenv("QT_SCALE_FACTOR");
    QApplication app(argc, argv);
    LumEditWidgetHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LumEditWidgetHiDpiTest.moc"
