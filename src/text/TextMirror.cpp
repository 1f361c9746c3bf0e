#include "TextMirror.h"

#include <algorithm>

namespace brevio {

bool hasLongRun(std::u16string_view text)
{
    std::size_t run = 0;
    for (const char16_t unit : text) {
        run = isBreakOpportunity(unit) ? 0 : run + 1;
        if (run > kLongRunLength)
            return true;
    }
    return false;
}

bool TextMirror::replace(std::size_t position, std::size_t removed, std::u16string_view inserted)
{
    // Only the runs that touch the edit can change: widen it to their boundaries,
    // which the edit leaves in place.
    std::size_t from = position;
    while (from > 0 && !isBreakOpportunity(at(from - 1)))
        --from;
    std::size_t to = position + removed;
    while (to < size() && !isBreakOpportunity(at(to)))
        ++to;
    const std::size_t runsBefore = longRunsWithin(from, to);

    moveGapTo(position);
    const bool changed = removed != inserted.size() || !equals(position + gapLength(), inserted);
    m_gapEnd += removed;
    reserveGap(inserted.size());
    std::copy(inserted.begin(), inserted.end(), m_buffer.begin() + std::ptrdiff_t(m_gapStart));
    m_gapStart += inserted.size();

    m_longRuns = m_longRuns - runsBefore + longRunsWithin(from, to - removed + inserted.size());
    return changed;
}

void TextMirror::assign(std::u16string_view text)
{
    m_buffer.assign(text);
    m_gapStart = m_gapEnd = m_buffer.size();
    m_longRuns = longRunsWithin(0, size());
}

std::u16string TextMirror::text() const
{
    std::u16string text(m_buffer, 0, m_gapStart);
    text.append(m_buffer, m_gapEnd);
    return text;
}

void TextMirror::moveGapTo(std::size_t position)
{
    const auto buffer = m_buffer.begin();
    if (position < m_gapStart) {
        std::copy_backward(buffer + std::ptrdiff_t(position), buffer + std::ptrdiff_t(m_gapStart),
                           buffer + std::ptrdiff_t(m_gapEnd));
    } else {
        std::copy(buffer + std::ptrdiff_t(m_gapEnd),
                  buffer + std::ptrdiff_t(m_gapEnd + position - m_gapStart),
                  buffer + std::ptrdiff_t(m_gapStart));
    }
    m_gapEnd = position + gapLength();
    m_gapStart = position;
}

void TextMirror::reserveGap(std::size_t length)
{
    if (gapLength() >= length)
        return;
    // Grows geometrically, so typing costs constant time on average.
    const std::size_t tail = m_buffer.size() - m_gapEnd;
    const std::size_t newGap = std::max(length, size() / 2 + 64);
    m_buffer.insert(m_gapEnd, newGap - gapLength(), u'\0');
    m_gapEnd = m_buffer.size() - tail;
}

bool TextMirror::equals(std::size_t position, std::u16string_view text) const
{
    return std::equal(text.begin(), text.end(), m_buffer.begin() + std::ptrdiff_t(position));
}

std::size_t TextMirror::longRunsWithin(std::size_t from, std::size_t to) const
{
    std::size_t count = 0;
    std::size_t run = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (isBreakOpportunity(at(i))) {
            run = 0;
        } else if (++run == kLongRunLength + 1) {
            ++count;
        }
    }
    return count;
}

} // namespace brevio
