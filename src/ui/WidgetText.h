#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one path between widget text and locale text.

inline std::u16string_view utf16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.constData()), std::size_t(text.size())};
}

std::string localeText(const QString &text);
QString widgetText(std::string_view localeText);
