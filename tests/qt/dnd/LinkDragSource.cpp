// A window "linksource" that drags a link the way a browser offers it on X11:
// text/x-moz-url (UTF-16LE "URL\nTITLE"), text/uri-list, _NETSCAPE_URL and text/plain.
// Usage: link_drag_source URL TITLE. Prints "READY at=X,Y" (where to press, in screen
// pixels) and "DRAG-RESULT action=..." after each drag.
//
// Qt answers another program's request for text/x-moz-url with the first line of
// text/uri-list and no title, which no browser does; the window answers those requests
// on the drag selection itself with the exact bytes.

#include <xcb/xcb.h>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QString url;
QString title;

void Say(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray MozUrlBytes() {
    const QString s = url + QLatin1Char('\n') + title;
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(r);
    return atom;
}

class MozUrlAnswer : public QAbstractNativeEventFilter {
public:
    explicit MozUrlAnswer(xcb_connection_t* c)
        : c_(c), selection_(Atom(c, "XdndSelection")), mozUrl_(Atom(c, "text/x-moz-url")) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        auto* event = static_cast<xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST) return false;
        auto* req = reinterpret_cast<xcb_selection_request_event_t*>(event);
        if (req->selection != selection_ || req->target != mozUrl_) return false;
        const QByteArray bytes = MozUrlBytes();
        const xcb_atom_t property = req->property ? req->property : req->target;
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, req->requestor, property, mozUrl_, 8,
                            bytes.size(), bytes.constData());
        xcb_selection_notify_event_t notify;
        std::memset(&notify, 0, sizeof notify);
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = req->time;
        notify.requestor = req->requestor;
        notify.selection = req->selection;
        notify.target = req->target;
        notify.property = property;
        xcb_send_event(c_, 0, req->requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(c_);
        return true;
    }

private:
    xcb_connection_t* c_;
    xcb_atom_t selection_;
    xcb_atom_t mozUrl_;
};

QString ActionName(Qt::DropAction a) {
    switch (a) {
        case Qt::CopyAction:
            return QStringLiteral("CopyAction");
        case Qt::MoveAction:
            return QStringLiteral("MoveAction");
        case Qt::LinkAction:
            return QStringLiteral("LinkAction");
        default:
            return QStringLiteral("IgnoreAction");
    }
}

class LinkSource : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(200, 210, 240));
        p.drawText(rect(), Qt::AlignCenter, title);
    }
    void mousePressEvent(QMouseEvent* e) override {
        pressed_ = e->button() == Qt::LeftButton;
        press_ = e->position().toPoint();
    }
    void mouseReleaseEvent(QMouseEvent*) override { pressed_ = false; }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!pressed_ || (e->position().toPoint() - press_).manhattanLength() <
                             QApplication::startDragDistance())
            return;
        pressed_ = false;
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/x-moz-url"), MozUrlBytes());
        data->setData(QStringLiteral("text/uri-list"), (url + QStringLiteral("\r\n")).toUtf8());
        data->setData(QStringLiteral("_NETSCAPE_URL"), (url + u'\n' + title).toUtf8());
        data->setData(QStringLiteral("text/plain"), url.toUtf8());
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        const Qt::DropAction a = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
        Say(QStringLiteral("DRAG-RESULT action=") + ActionName(a));
    }

private:
    bool pressed_ = false;
    QPoint press_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: link_drag_source URL TITLE\n", stderr);
        return 2;
    }
    url = QString::fromUtf8(argv[1]);
    title = QString::fromUtf8(argv[2]);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        std::fputs("link_drag_source: needs the xcb platform\n", stderr);
        return 2;
    }
    MozUrlAnswer answer(x11->connection());
    app.installNativeEventFilter(&answer);
    LinkSource w;
    w.setWindowTitle(QStringLiteral("linksource"));
    w.setFixedSize(300, 200);
    w.move(700, 0);
    w.show();
    const QPoint centre = w.mapToGlobal(w.rect().center());
    Say(QStringLiteral("READY at=%1,%2").arg(centre.x()).arg(centre.y()));
    return app.exec();
}
