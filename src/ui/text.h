#pragma once
// Paths and texts are bytes in the core; the widgets show them decoded with the
// locale's 8-bit decoding and hand typed text back the same way.

#include <string>
#include <string_view>

#include <QString>

namespace corvane::ui {

inline QString Q(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Bytes(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

// Gives a widget the object name by which tests and the window's tables find it.
template <typename Widget>
Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace corvane::ui
