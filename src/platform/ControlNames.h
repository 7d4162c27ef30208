#pragma once

#include <QString>
#include <QWidget>

// Helpers for windows whose controls sit at fixed pixel geometry: placing them, and naming the
// members of a control family by family and index ("Option3(7)"), so tests and readers find
// each control by name.

inline QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

template <typename Widget> Widget* placed(Widget* widget, const QRect& geometry) {
    widget->setGeometry(geometry);
    return widget;
}

template <typename Widget>
Widget* named(Widget* widget, const QString& name, const QRect& geometry) {
    widget->setObjectName(name);
    return placed(widget, geometry);
}
