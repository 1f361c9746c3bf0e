#pragma once

// Shared by the text logic tests: views between Qt's test data and the library's
// std types, and a scoped switch of LC_CTYPE.

#include <QByteArray>
#include <QString>
#include <clocale>
#include <string>
#include <string_view>

inline std::string_view view(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

inline std::u16string_view view(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

inline QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString qString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

// Switches LC_CTYPE for one test and puts the previous one back afterwards.
class ScopedCtypeLocale
{
public:
    explicit ScopedCtypeLocale(const char *name)
        : m_previous(std::setlocale(LC_CTYPE, nullptr)),
          m_active(std::setlocale(LC_CTYPE, name) != nullptr)
    {}
    ~ScopedCtypeLocale() { std::setlocale(LC_CTYPE, m_previous.c_str()); }
    ScopedCtypeLocale(const ScopedCtypeLocale &) = delete;
    ScopedCtypeLocale &operator=(const ScopedCtypeLocale &) = delete;

    bool isActive() const { return m_active; }

private:
    std::string m_previous;
    bool m_active;
};

// The tests' Latin-1 locale. Debian does not ship it compiled; ctest makes it in
// the build tree and points LOCPATH there.
inline constexpr const char *latin1Locale = "en_US";
inline constexpr const char *missingLatin1Locale =
    "locale en_US (ISO-8859-1) is missing; run the test through ctest, which makes it";
