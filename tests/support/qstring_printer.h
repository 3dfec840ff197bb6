// Lets GoogleTest print a QString as its text instead of a dump of its UTF-16 code units.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
