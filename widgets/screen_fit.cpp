#include "widgets/screen_fit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

class ScreenFitFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            // Menus, tool tips and pop-ups place themselves.
            const Qt::WindowType type = widget->windowType();
            if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog))
                fitIntoScreen(widget);
        }
        return false;
    }
};

}  // namespace

void fitIntoScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    // The frame the window manager adds; until the window is on the screen it is often not
    // known yet, so room for a title bar and borders is kept free then.
    QMargins frame(window->geometry().left() - window->frameGeometry().left(),
                   window->geometry().top() - window->frameGeometry().top(),
                   window->frameGeometry().right() - window->geometry().right(),
                   window->frameGeometry().bottom() - window->geometry().bottom());
    if (frame.isNull())
        frame = QMargins(4, 30, 4, 4);
    const QSize room = available.size().shrunkBy(frame);
    const QSize size = window->size();
    const QSize fitted(std::max(std::min(size.width(), room.width()), window->minimumWidth()),
                       std::max(std::min(size.height(), room.height()), window->minimumHeight()));
    if (fitted != size)
        window->resize(fitted);
    // pos() is where the frame begins.
    const QSize outer = fitted.grownBy(frame);
    const QPoint at = window->pos();
    const QPoint inside(
        std::max(available.left(), std::min(at.x(), available.right() + 1 - outer.width())),
        std::max(available.top(), std::min(at.y(), available.bottom() + 1 - outer.height())));
    if (inside != at)
        window->move(inside);
}

ContentScrollArea::ContentScrollArea(QWidget* contents, QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The controls inside take the focus; the area itself is no stop of its own for Tab.
    setFocusPolicy(Qt::NoFocus);
    setWidget(contents);
}

QSize ContentScrollArea::sizeHint() const {
    return widget() != nullptr ? widget()->sizeHint() : QScrollArea::sizeHint();
}

void keepWindowsOnScreen(QCoreApplication* application) {
    application->installEventFilter(new ScreenFitFilter(application));
}
