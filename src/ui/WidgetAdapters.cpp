#include "WidgetAdapters.h"

#include "CharacterCount.h"
#include "WidgetText.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTextCursor>
#include <algorithm>
#include <utility>

QFont textAreaFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    return font;
}

QuietTextArea::QuietTextArea(QWidget *parent) : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, &QuietTextArea::onContentsChange);
    connect(this, &QPlainTextEdit::textChanged, this, &QuietTextArea::onTextChanged);
}

QuietTextArea::~QuietTextArea()
{
    emit aboutToChangeUnreported();
}

namespace {

bool isLineSeparator(QChar c)
{
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// The document's raw text separates lines with U+2029 or U+2028.
QString withLineFeeds(QString text)
{
    for (QChar &c : text) {
        if (isLineSeparator(c))
            c = u'\n';
    }
    return text;
}

// The document's text from position from to position to, lines separated by '\n'.
QString documentText(QTextDocument *document, int from, int to)
{
    if (from == to)
        return {};
    QTextCursor cursor(document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return withLineFeeds(cursor.selectedText());
}

// Qt's default: at a word boundary, else anywhere.
constexpr QTextOption::WrapMode kWordWrap = QTextOption::WrapAtWordBoundaryOrAnywhere;

} // namespace

QString QuietTextArea::text() const
{
    return withLineFeeds(document()->toRawText());
}

bool QuietTextArea::isEmpty() const
{
    return document()->isEmpty();
}

std::size_t QuietTextArea::characterCount() const
{
    // Without the separator that closes every document.
    const int length = document()->characterCount() - 1;
    return brevio::characterCount(
        std::size_t(length), length > 0 && isLineSeparator(document()->characterAt(length - 1)));
}

void QuietTextArea::setText(const QString &text)
{
    const QString current = this->text();
    if (text == current)
        return;
    // Silent when emptied, or when changed from within its own handler.
    const bool silent = text.isEmpty() || m_reportingChange;
    if (silent)
        emit aboutToChangeUnreported();
    // Decided before the text goes in, so that it is laid out once.
    if (brevio::hasLongRun(utf16(text)))
        wrapAnywhere();
    {
        const QScopedValueRollback quiet(m_settingQuietly, true);
        // What the user wrote stays one Ctrl+Z away, and only that: the steps of
        // the user's editing would lead back to a text the program put there.
        if (current != m_textSet) {
            document()->clearUndoRedoStacks();
            replaceUndoably(text, false);
            m_undoRestoresUserText = true;
        } else if (m_undoRestoresUserText) {
            replaceUndoably(text, true);
        } else {
            setPlainText(text);
        }
    }
    m_textSet = text;
    if (!silent)
        report();
}

void QuietTextArea::replaceUndoably(const QString &text, bool joinPrevious)
{
    QTextCursor cursor(document());
    if (joinPrevious)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    cursor.endEditBlock();
    // Where setPlainText() leaves it.
    moveCursor(QTextCursor::Start);
}

void QuietTextArea::eraseUndoably()
{
    if (document()->isEmpty())
        return;
    emit aboutToChangeUnreported();
    m_textSet.clear();
    m_undoRestoresUserText = false;
    // An edit through a cursor, unlike setPlainText(), keeps the undo history.
    const QScopedValueRollback quiet(m_settingQuietly, true);
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
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
    // The source's plain text as it stands. Qt's own paste renders a source that
    // offers Markdown first, and Qt 6.4's crashes on the format list it copies
    // when the clipboard changes hands during a large paste.
    // Seen on Qt 6.4.2, 6.8.2 (crash: 6.4.2); no QTBUG found; remove if the oldest Qt has neither.
    if (!source)
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    // A long run pasted whole is laid out once, wrapped anywhere from the start.
    if (brevio::hasLongRun(utf16(text)))
        wrapAnywhere();
    insertPlainText(text);
    ensureCursorVisible();
}

void QuietTextArea::onContentsChange(int position, int /*removed*/, int added)
{
    // The user's own edits, Ctrl+Z included, put their steps on top.
    if (!m_settingQuietly)
        m_undoRestoresUserText = false;
    // Qt counts the separator that closes the document in some changes and
    // reports clearing with odd figures; the position, the units added and the
    // sizes before and after are what can be relied on.
    // Seen on Qt 6.4.2 and 6.8.2, no QTBUG found; remove once the oldest Qt gives exact figures.
    const qsizetype oldSize = qsizetype(m_mirror.size());
    const qsizetype newSize = document()->characterCount() - 1;
    const qsizetype inserted = std::min<qsizetype>(added, newSize - position);
    const qsizetype taken = inserted + oldSize - newSize;
    if (position < 0 || inserted < 0 || taken < 0 || position + taken > oldSize) {
        m_mirror.assign(utf16(text()));
        m_unreportedChange = true;
    } else {
        const QString insertedText = documentText(document(), position, position + int(inserted));
        if (m_mirror.replace(std::size_t(position), std::size_t(taken), utf16(insertedText)))
            m_unreportedChange = true;
    }
    // Before Qt lays the change out, which it does right after this signal.
    if (m_mirror.longRunCount() > 0)
        wrapAnywhere();
}

void QuietTextArea::onTextChanged()
{
    // Back to word boundaries only once the whole edit is in: Qt lays the text
    // out again at once, and a text on its way out may still hold a long run.
    if (m_mirror.longRunCount() == 0)
        setWordWrapMode(kWordWrap);

    // Qt also signals input-method pre-edit and cursor moves, which leave the text as it was.
    const bool changedText = std::exchange(m_unreportedChange, false);
    if (changedText && !m_settingQuietly && !m_reportingChange)
        report();
}

void QuietTextArea::report()
{
    const QScopedValueRollback reporting(m_reportingChange, true);
    emit changed();
}

void QuietTextArea::wrapAnywhere()
{
    setWordWrapMode(QTextOption::WrapAnywhere);
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

QuietLineEdit::QuietLineEdit(const QString &text, QWidget *parent)
    : QLineEdit(text, parent), m_reportedText(text)
{
    connect(this, &QLineEdit::textChanged, this, &QuietLineEdit::onTextChanged);
}

void QuietLineEdit::onTextChanged(const QString &text)
{
    if (text == m_reportedText)
        return;
    // Before the report: a handler that sets the text again is told at once.
    m_reportedText = text;
    emit changed();
}

namespace {

// Qt's own interface names a combo box on Linux by the text in its field, so that
// after a split a screen reader calls it "1/3" and never by its name. This one is
// like Qt's in every other respect: the list and the field are its children, the
// field's text is its value, and its action opens the list. The combo box is
// always editable, so it always has its field.
class ComboBoxAccessible : public QAccessibleWidget
{
public:
    explicit ComboBoxAccessible(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox)
    {}

    QComboBox *comboBox() const { return static_cast<QComboBox *>(widget()); }
    QLineEdit *field() const { return comboBox()->lineEdit(); }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Value:
            return field()->text();
        case QAccessible::Accelerator:
            return QKeySequence(Qt::Key_Down).toString(QKeySequence::NativeText);
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = comboBox()->view()->isVisible();
        return state;
    }

    int childCount() const override { return 2; }

    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(comboBox()->view());
        if (index == 1)
            return QAccessible::queryAccessibleInterface(field());
        return nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == comboBox()->view())
            return 0;
        if (child->object() == field())
            return 1;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        if (QRect(field()->mapToGlobal(QPoint(0, 0)), field()->size()).contains(x, y))
            return child(1);
        return nullptr;
    }

    // The combo box holds the keyboard focus for its field.
    QAccessibleInterface *focusChild() const override { return child(1); }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (comboBox()->view()->isVisible())
            comboBox()->hidePopup();
        else
            comboBox()->showPopup();
    }

    QStringList keyBindingsForAction(const QString & /*action*/) const override { return {}; }
};

QAccessibleInterface *comboBoxAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String(SilentComboBox::staticMetaObject.className()))
        return nullptr;
    auto *combo = qobject_cast<SilentComboBox *>(object);
    return combo ? new ComboBoxAccessible(combo) : nullptr;
}

} // namespace

SilentComboBox::SilentComboBox(QWidget *parent) : QComboBox(parent)
{
    [[maybe_unused]] static const bool accessibleNamed = [] {
        QAccessible::installFactory(comboBoxAccessible);
        return true;
    }();
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
