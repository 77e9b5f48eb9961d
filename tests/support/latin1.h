#pragma once
// Byte strings as QStrings, one character a byte (Latin-1): every byte survives, and
// QCOMPARE prints the lines when they differ.
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

namespace quarrix::testing {

inline QString Latin1(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline QStringList Latin1(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << Latin1(line);
  return list;
}

}  // namespace quarrix::testing
