#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brevio {

// A run of more than this many UTF-16 units with nowhere to break a line makes
// word wrapping slow: the editor looks for the run's end on every screen line,
// so the time grows with the square of the run. Below it the cost is lost in
// the rest of the layout; no prose, address or link comes near it.
inline constexpr std::size_t kLongRunLength = 2000;

// Where a line may break. Fewer places than Unicode's rules allow (no hyphens, no
// ideographs, no no-break spaces), so a run counted here is never shorter than
// the one the editor sees.
constexpr bool isBreakOpportunity(char16_t unit)
{
    return unit == u' ' || unit == u'\t' || unit == u'\n' || unit == u'\u2028' || unit == u'\u2029';
}

// Whether the text holds a run longer than kLongRunLength, that is whether it
// should wrap anywhere rather than at word boundaries.
bool hasLongRun(std::u16string_view text);

// A copy of an editor's text, kept in step edit by edit at a cost in proportion
// to the edit (a gap buffer: edits next to the previous one move nothing). It
// tells whether an edit really changed the text and how many long runs it holds.
class TextMirror
{
public:
    // Replaces removed units at position with inserted. Returns whether the text
    // differs afterwards. The position and count must lie within the text.
    bool replace(std::size_t position, std::size_t removed, std::u16string_view inserted);
    void assign(std::u16string_view text);

    std::size_t size() const { return m_buffer.size() - gapLength(); }
    std::size_t longRunCount() const { return m_longRuns; }
    std::u16string text() const;

private:
    std::size_t gapLength() const { return m_gapEnd - m_gapStart; }
    char16_t at(std::size_t position) const
    {
        return m_buffer[position < m_gapStart ? position : position + gapLength()];
    }
    void moveGapTo(std::size_t position);
    void reserveGap(std::size_t length);
    bool equals(std::size_t position, std::u16string_view text) const;
    // The long runs that lie within [from, to), both ends at run boundaries.
    std::size_t longRunsWithin(std::size_t from, std::size_t to) const;

    std::u16string m_buffer; // text before the gap, the gap, text after the gap
    std::size_t m_gapStart = 0;
    std::size_t m_gapEnd = 0;
    std::size_t m_longRuns = 0;
};

} // namespace brevio
