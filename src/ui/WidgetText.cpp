#include "WidgetText.h"

#include "LocaleCodec.h"

std::string localeText(const QString &text)
{
    return brevio::toLocale(utf16(text));
}

QString widgetText(std::string_view localeText)
{
    return QString::fromStdU16String(brevio::fromLocale(localeText));
}
