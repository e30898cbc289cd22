#include "ui/window_drag.h"

#include <QMouseEvent>
#include <QObject>
#include <QWidget>

namespace fenlark {

namespace {

class WindowDragFilter final : public QObject {
public:
    explicit WindowDragFilter(QWidget *strip) : QObject(strip), m_strip(strip) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_strip)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton) {
                m_dragging = true;
                m_pressedAt = mouse->globalPosition().toPoint();
                m_windowAt = m_strip->window()->pos();
            }
            break;
        }
        case QEvent::MouseMove: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_dragging && (mouse->buttons() & Qt::LeftButton))
                m_strip->window()->move(m_windowAt + mouse->globalPosition().toPoint() - m_pressedAt);
            break;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                m_dragging = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget *m_strip;
    bool m_dragging = false;
    QPoint m_pressedAt;
    QPoint m_windowAt;
};

} // namespace

void makeWindowDragHandle(QWidget *strip)
{
    if (!strip)
        return;
    strip->installEventFilter(new WindowDragFilter(strip));
}

} // namespace fenlark
