#include "WidgetAdapters.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

QuietTextArea::QuietTextArea(QWidget *parent) : QPlainTextEdit(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, &QuietTextArea::onContentsChanged);
}

QString QuietTextArea::text() const
{
    QString text = document()->toRawText();
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

void QuietTextArea::setText(const QString &text)
{
    if (text == this->text())
        return;
    {
        const QScopedValueRollback quiet(m_settingQuietly, true);
        setPlainText(text);
    }
    if (!text.isEmpty())
        onContentsChanged();
}

void QuietTextArea::copyAll()
{
    selectAll();
    // An empty area leaves the clipboard to what the user copied before.
    if (!document()->isEmpty())
        copy();
}

void QuietTextArea::onContentsChanged()
{
    if (m_settingQuietly || m_reportingChange)
        return;
    const QScopedValueRollback reporting(m_reportingChange, true);
    emit changed();
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
