#include "TextMirror.h"

#include <algorithm>
#include <cstdint>

namespace brevio {

namespace {

// The runs longer than kLongRunLength within [from, to), both ends at run
// boundaries; at(i) reads position i. Such a run covers one of every
// kLongRunLength + 1 consecutive positions, so only those are looked at, and the
// runs they fall into: ordinary text costs a few reads per 2,000 units.
template<typename At>
std::size_t longRuns(std::size_t from, std::size_t to, const At &at, std::size_t atMost)
{
    constexpr std::size_t step = kLongRunLength + 1;
    std::size_t count = 0;
    for (std::size_t probe = from + kLongRunLength; probe < to && count < atMost;) {
        if (isBreakOpportunity(at(probe))) {
            probe += step;
            continue;
        }
        std::size_t start = probe;
        while (start > from && !isBreakOpportunity(at(start - 1)))
            --start;
        std::size_t end = probe + 1;
        while (end < to && !isBreakOpportunity(at(end)))
            ++end;
        count += end - start > kLongRunLength;
        probe = end + step;
    }
    return count;
}

} // namespace

bool hasLongRun(std::u16string_view text)
{
    return longRuns(
               0, text.size(), [text](std::size_t i) { return text[i]; }, 1) > 0;
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
    return longRuns(
        from, to, [this](std::size_t i) { return at(i); }, SIZE_MAX);
}

} // namespace brevio
