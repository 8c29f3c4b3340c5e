// Text between the program's UTF-16 strings and Qt's.
//
// Every operation runs on the GUI thread.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tf::platform {

// UTF-16 both sides, so the conversion is exact, lone surrogates included.
std::u16string ToU16(const QString& s);
QString ToQString(std::u16string_view s);

}  // namespace tf::platform
