#pragma once

// Qt 6 widgets with the change-event rules the handlers are written against:
// a text area is silent when emptied or set to the text it holds and never
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
    // Selects the whole text, which stays selected, and copies it as plain text.
    void copyAll();

signals:
    // After every change by the user and every program change setText() reports.
    void changed();

private:
    void onContentsChanged();

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
