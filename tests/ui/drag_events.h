#pragma once

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

// Sends a left-button drag from a point of the strip by `offset`, as the window system would:
// the frameless windows are moved by dragging their title strips.
inline void drag(QWidget *strip, const QPoint &from, const QPoint &offset)
{
    const QPoint global = strip->mapToGlobal(from);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(from), QPointF(global), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + offset), QPointF(global + offset), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(from + offset), QPointF(global + offset), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &release);
}
