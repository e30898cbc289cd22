#pragma once

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace fenlark {

// Windows are data: a design (JSON, under :/designs/) lists the window's title, rectangle and font
// and every control with its kind, parent, rectangle and captions. buildWindow turns a design into
// controls inside an existing widget (the window class), each named by its design name
// (objectName), so window code looks them up by name. The format is described in
// docs/window-designs.md.
class BuiltWindow {
public:
    QWidget *window() const { return m_window; }

    // The control of that name as T, nullptr when there is none or it is of another kind.
    template <class T> T *control(const QString &name) const { return qobject_cast<T *>(object(name)); }
    QObject *object(const QString &name) const { return m_controls.value(name).data(); }
    QWidget *widget(const QString &name) const { return qobject_cast<QWidget *>(object(name)); }
    bool contains(const QString &name) const { return m_controls.contains(name); }
    QString kind(const QString &name) const { return m_kinds.value(name); } // as the design names it
    QStringList names() const { return m_order; }                           // in design order

    // Anything of the design that could not be built (a fault of the design, never of the user).
    QStringList errors() const { return m_errors; }
    bool ok() const { return m_errors.isEmpty(); }

private:
    friend class WindowBuilder;
    QPointer<QWidget> m_window;
    QHash<QString, QPointer<QObject>> m_controls;
    QHash<QString, QString> m_kinds;
    QStringList m_order;
    QStringList m_errors;
};

// Builds from the design at a resource path (":/designs/main_window.json"). What cannot be
// built is skipped, listed in errors() and warned about.
BuiltWindow buildWindow(const QString &resourcePath, QWidget *into);
// The same from design text (tests, tools).
BuiltWindow buildWindowFromJson(const QByteArray &json, QWidget *into);

// The font of captioned controls: "微软雅黑", then "WenQuanYi Micro Hei" so Chinese shows with
// Chinese glyphs where the first is missing, then the fonts of rare name characters (below);
// normal weight, the given character height in pixels.
QFont captionFont(int pixelSize = 12);

// families followed by the installed fonts that cover CJK Extensions A to G, so a rare name
// character (生僻字) is drawn instead of an empty box.
QStringList withRareCharacterFonts(QStringList families);

class WindowBuilder {
public:
    static BuiltWindow build(const QByteArray &json, QWidget *into, const QString &source);
};

} // namespace fenlark
