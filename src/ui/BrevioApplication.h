#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTranslator>
#include <memory>

class QuietTextArea;

// The application object: besides Qt's own state it carries the program's title
// (the caption of the plain message box, deliberately not Qt's
// applicationDisplayName, which X11 window captions would pick up) and the
// terminating flag that silences every box once the main window is closed. It
// also installs Qt's German translation for the texts Qt puts into the window.
class BrevioApplication : public QApplication
{
    Q_OBJECT

public:
    BrevioApplication(int &argc, char **argv);
    ~BrevioApplication() override;

    static BrevioApplication *instance();

    QString title() const;
    void setTitle(const QString &title);
    // Makes the title the area's whole text from now on, built only when read:
    // a keystroke need not copy a long text that only a message box shows. Ends
    // with setTitle(), or keeps the text as it was before a change the area
    // does not report.
    void setTitleFollowing(QuietTextArea *area);

    bool isTerminating() const { return m_terminating; }
    // Sets the terminating flag and leaves the event loop.
    void terminate();
    // Whether the process ends right after the event loop, without Qt's platform
    // teardown and with the main window still shown: on Wayland.
    static bool endsWithoutTeardown();
    // Whether Qt draws through its Wayland plugin.
    static bool onWayland();

    // The form that message boxes are shown over when no window is active.
    QWidget *activeForm() const { return m_activeForm; }
    void setActiveForm(QWidget *form) { m_activeForm = form; }

    // Owner for boxes when no form has a native window yet; created on first use, never shown.
    QWidget *hiddenOwner();

private:
    QTranslator m_toolkitTexts;
    QString m_title;
    QPointer<QuietTextArea> m_titleSource;
    QMetaObject::Connection m_titleSourceWatch;
    bool m_terminating = false;
    QPointer<QWidget> m_activeForm;
    std::unique_ptr<QWidget> m_hiddenOwner;
};
