#include "WidgetAdapters.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

QuietTextArea::QuietTextArea(QWidget *parent) : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, &QuietTextArea::onContentsChanged);
}

namespace {

// The document's raw text separates lines with U+2029 or U+2028.
QString withLineFeeds(QString text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case QChar::ParagraphSeparator:
        case QChar::LineSeparator:
            c = u'\n';
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

QString QuietTextArea::text() const
{
    return m_reportedTextIsCurrent ? m_reportedText : withLineFeeds(document()->toRawText());
}

void QuietTextArea::setText(const QString &text)
{
    if (text == this->text())
        return;
    {
        const QScopedValueRollback quiet(m_settingQuietly, true);
        setPlainText(text);
    }
    // Silent when emptied, or when changed from within its own handler.
    if (text.isEmpty() || m_reportingChange)
        remember(this->text());
    else
        report(this->text());
}

void QuietTextArea::eraseUndoably()
{
    if (document()->isEmpty())
        return;
    // An edit through a cursor, unlike setPlainText(), keeps the undo history.
    const QScopedValueRollback quiet(m_settingQuietly, true);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    remember(QString());
}

void QuietTextArea::copyAll()
{
    selectAll();
    // An empty area leaves the clipboard to what the user copied before.
    if (document()->isEmpty())
        return;
    // copy() would also offer HTML, Markdown and ODF, built from the whole
    // document whenever another program asks, and turn no-break spaces into spaces.
    QGuiApplication::clipboard()->setText(text(), QClipboard::Clipboard);
}

QMimeData *QuietTextArea::createMimeDataFromSelection() const
{
    // Qt takes ownership. Its own offers HTML, Markdown and ODF besides and turns
    // no-break spaces into spaces.
    auto *data = new QMimeData;
    data->setText(withLineFeeds(textCursor().selectedText()));
    return data;
}

void QuietTextArea::insertFromMimeData(const QMimeData *source)
{
    // The source's plain text as it stands. Qt 6.4's own paste renders a source
    // that offers Markdown first, and crashes on the format list it copies when
    // the clipboard changes hands during a large paste.
    if (!source)
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    insertPlainText(text);
    ensureCursorVisible();
}

void QuietTextArea::onContentsChanged()
{
    m_reportedTextIsCurrent = false;
    if (m_settingQuietly || m_reportingChange)
        return;
    // Qt also signals input-method pre-edit and cursor moves, which leave the text as it was.
    QString current = text();
    if (current != m_reportedText)
        report(std::move(current));
}

void QuietTextArea::report(QString text)
{
    remember(std::move(text));
    const QScopedValueRollback reporting(m_reportingChange, true);
    emit changed();
}

void QuietTextArea::remember(QString text)
{
    m_reportedText = std::move(text);
    m_reportedTextIsCurrent = true;
}

namespace {

// Entries of the drop-down list are 17 pixels high whatever the style says.
class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), 17};
    }
};

} // namespace

SilentComboBox::SilentComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion would rewrite what the user types; the field keeps it as typed.
    setCompleter(nullptr);
    // Sizing to the contents would walk every entry of a large split.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setItemDelegate(new FixedHeightDelegate(this));
    connect(this, &QComboBox::editTextChanged, this, &SilentComboBox::onEditTextChanged);
}

void SilentComboBox::replaceEntries(const QStringList &entries)
{
    const QScopedValueRollback quiet(m_quiet, true);
    const QString field = lineEdit()->text();
    clear();
    addItems(entries);
    lineEdit()->setText(field);
}

void SilentComboBox::selectEntry(int index)
{
    setCurrentIndex(index);
    const QString entry = itemText(index);
    if (lineEdit()->text() != entry)
        lineEdit()->setText(entry);
}

void SilentComboBox::onEditTextChanged(const QString &text)
{
    if (m_quiet || text == m_fieldText)
        return;
    m_fieldText = text;
    emit fieldChanged();
}
