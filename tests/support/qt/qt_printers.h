#pragma once

#include <ostream>

#include <QRect>
#include <QString>
#include <QStringList>

// Readable values in GoogleTest failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << "{ \"" << list.join(QStringLiteral("\", \"")).toStdString() << "\" }";
}
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}
inline void PrintTo(const QSize& s, std::ostream* os) { *os << "QSize(" << s.width() << ", " << s.height() << ")"; }
