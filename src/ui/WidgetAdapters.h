#pragma once

// Qt 6 widgets with the change-event rules the handlers are written against:
// a text area reports only real changes of its text (not input-method pre-edit
// or cursor moves), is silent when emptied or set to the text it holds and never
// re-enters its own handler; a single-line field reports only real changes of
// its text, those made while its handler runs included; the combo box reports
// changes of its field's text and nothing else (adding and removing entries is
// silent). A text area also wraps anywhere while its text holds a run too long
// to wrap at word boundaries in reasonable time. The combo box keeps its
// accessible name whatever its field shows.

#include "TextMirror.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstddef>

// The font of the text areas: "Courier New", 13 pixels.
QFont textAreaFont();

class QuietTextArea : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit QuietTextArea(QWidget *parent = nullptr);
    ~QuietTextArea() override;

    // Lines joined by '\n'; unlike toPlainText() keeps no-break spaces as typed.
    QString text() const;
    bool isEmpty() const;
    // The length of text(), one line feed at its very end not counted; read
    // without building the text.
    std::size_t characterCount() const;
    // Raises changed() only for a different, non-empty text. Replacing a text
    // that the user edited leaves exactly one step to undo, which brings the
    // edited text back; a text set here and left as it was goes without a trace.
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
    // Before a change that changed() will not report, and before the area goes:
    // the last moment to read the text as the user left it.
    void aboutToChangeUnreported();

private:
    void onContentsChange(int position, int removed, int added);
    void onTextChanged();
    void report();
    void wrapAnywhere();
    void replaceUndoably(const QString &text, bool joinPrevious);

    // Follows every edit, so that telling a real change from an input-method
    // pre-edit or a format change costs as much as the edit, not the whole text.
    brevio::TextMirror m_mirror;
    // What setText() last put there, to tell whether the user has edited it
    // since; and whether the one step to undo leads back to the user's text.
    QString m_textSet;
    bool m_undoRestoresUserText = false;
    bool m_unreportedChange = false;
    bool m_settingQuietly = false;
    bool m_reportingChange = false;
};

class QuietLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit QuietLineEdit(const QString &text, QWidget *parent = nullptr);

signals:
    // After every change of the text. Unlike textChanged() not when an edit
    // leaves the text as it was (typing a selected character over itself), and
    // like it at once for a change made while a handler of changed() runs.
    void changed();

private:
    void onTextChanged(const QString &text);

    QString m_reportedText;
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
