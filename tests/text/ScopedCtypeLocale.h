#pragma once

#include <clocale>
#include <string>

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

// The tests' Latin-1 locale. Debian does not ship it compiled.
inline constexpr const char *latin1Locale = "en_US";
inline constexpr const char *missingLatin1Locale =
    "locale en_US (ISO-8859-1) is missing; create it with: localedef -i en_US -f ISO-8859-1 en_US";
