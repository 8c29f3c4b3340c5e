#include "platform/strings.h"

namespace tf::platform {

std::u16string ToU16(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), static_cast<size_t>(s.size()));
}

QString ToQString(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

}  // namespace tf::platform
