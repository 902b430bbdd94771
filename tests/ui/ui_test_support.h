#pragma once

// Shared by the interface tests: readable failure messages for Qt strings.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
