#pragma once

// Qt 6 widgets with the change-event rules the handlers are written against:
// a text area reports only real changes of its text (not input-method pre-edit
// or cursor moves), is silent when emptied or set to the text it holds and never
// re-enters its own handler; the combo box reports changes of its field's text
// and nothing else (adding and removing entries is silent).

#include <QComboBox>
#include <QPlainTextEdit>

class QuietTextArea : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit QuietTextArea(QWidget *parent = nullptr);

    // Lines joined by '\n'; unlike toPlainText() keeps no-break spaces as typed.
    QString text() const;
    // Raises changed() only for a different, non-empty text.
    void setText(const QString &text);
    // Empties the area as one edit that Ctrl+Z takes back; raises nothing.
    void eraseUndoably();
    // Selects the whole text, which stays selected, and puts exactly text() on
    // the clipboard as plain text and nothing else.
    void copyAll();

protected:
    // What Ctrl+C, cutting, dragging and the X11 selection offer: the selected
    // text as it stands, as plain text only, like the copy buttons.
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

signals:
    // After every change of the text by the user and every program change
    // setText() reports.
    void changed();

private:
    void onContentsChanged();
    void report(QString text);
    void remember(QString text);

    // What changed() last stood for, or what the program set quietly since.
    QString m_reportedText;
    // Whether m_reportedText is also the text now, so that the handler of
    // changed() reads it without building it again. Every change of the document
    // passes onContentsChanged(), which clears it.
    bool m_reportedTextIsCurrent = true;
    bool m_settingQuietly = false;
    bool m_reportingChange = false;
};

class SilentComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit SilentComboBox(QWidget *parent = nullptr);

    // Replaces every entry; the field keeps its text and nothing is raised.
    void replaceEntries(const QStringList &entries);
    // Makes entry index current and writes its text into the field, which raises
    // fieldChanged() when that changes the field.
    void selectEntry(int index);

signals:
    void fieldChanged();

private:
    void onEditTextChanged(const QString &text);

    QString m_fieldText;
    bool m_quiet = false;
};
