#include "BlockingWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

namespace {

class InputSwallower : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        case QEvent::Close:
            return event->spontaneous();
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

namespace BlockingWait {

void wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    run(loop);
}

void run(QEventLoop& loop) {
    InputSwallower swallower;
    QCoreApplication::instance()->installEventFilter(&swallower);
    loop.exec();
    QCoreApplication::instance()->removeEventFilter(&swallower);
}

} // namespace BlockingWait
